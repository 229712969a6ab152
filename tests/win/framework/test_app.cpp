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
    p.x = p.y = 50;
    p.cx = 640;
    p.cy = 480;
    p.hInstance = instance;
    return Create(p);
}

void TestApp::DestroyFrame() {
    if (GetHandle()) Destroy();
    wintest::DrainQueue();
}

LRESULT TestApp::OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return onThreadMessage ? onThreadMessage(message, wParam, lParam) : SDIApp::OnThreadMessage(message, wParam, lParam);
}

LRESULT TestApp::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (onMessage)
        if (const LRESULT result = onMessage(hwnd, message, wParam, lParam)) return result;
    return SDIApp::WndProc(hwnd, message, wParam, lParam);
}

}  // namespace test
