#include "test_app.h"

#include <commctrl.h>

namespace test {

TestApp::TestApp() : SDIApp(L"Framework tests", L"Software\\Bistrope-tests\\framework") {}

TestApp& App() {
    static TestApp app;
    return app;
}

namespace {
// The application object exists before any test runs, as the program's global one does.
struct MakeAppEarly {
    MakeAppEarly() { App(); }
} makeAppEarly;
}  // namespace

void TestApp::Prepare() {
    instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x4FF};
    InitCommonControlsEx(&controls);
    RegisterWindowClasses();
}

bool TestApp::CreateFrame() {
    Prepare();
    CREATESTRUCTW p = {};
    p.lpszClass = kFrameClass;
    p.lpszName = title;
    p.style = 0x06CF0000;
    p.x = 50;
    p.y = 50;
    p.cx = 640;
    p.cy = 480;
    p.hInstance = instance;
    return Create(p);
}

void TestApp::DestroyFrame() {
    if (GetHandle()) Destroy();
    wintest::DrainQueue();
}

void TestApp::ResetHooks() {
    onFirstIdle = nullptr;
    onIdle = nullptr;
    onThreadMessage = nullptr;
    onPreCreate = nullptr;
    onMessage = nullptr;
    onInitialShow = nullptr;
}

bool TestApp::OnFirstIdle() { return onFirstIdle ? onFirstIdle() : SDIApp::OnFirstIdle(); }
bool TestApp::OnIdle(unsigned idleCount) { return onIdle ? onIdle(idleCount) : SDIApp::OnIdle(idleCount); }

LRESULT TestApp::OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return onThreadMessage ? onThreadMessage(message, wParam, lParam) : SDIApp::OnThreadMessage(message, wParam, lParam);
}

void TestApp::PreCreateWindow(CREATESTRUCTW& params) {
    if (onPreCreate) onPreCreate(params);
}

void TestApp::InitialShow() {
    if (onInitialShow)
        onInitialShow();
    else
        SDIApp::InitialShow();
}

LRESULT TestApp::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (onMessage) {
        const LRESULT result = onMessage(hwnd, message, wParam, lParam);
        if (result) return result;
    }
    return SDIApp::WndProc(hwnd, message, wParam, lParam);
}



}  // namespace test
