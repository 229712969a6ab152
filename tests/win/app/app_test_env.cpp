#include "app_test_env.h"

#include <commctrl.h>

namespace apptest {

ShellTestApp::ShellTestApp() : SDIApp(L"Shell tests", L"Software\\Bistrope-tests\\app") {}

bool ShellTestApp::MakeFrame() {
    instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x4FF};
    InitCommonControlsEx(&controls);
    if (!RegisterWindowClasses()) return false;
    if (GetHandle()) return true;
    CREATESTRUCTW p = {};
    p.lpszClass = kFrameClass;
    p.lpszName = title;
    p.style = 0x06CF0000 | WS_VISIBLE;
    p.x = 40;
    p.y = 40;
    p.cx = 700;
    p.cy = 500;
    p.hInstance = instance;
    return Create(p);
}

ShellTestApp& App() {
    static ShellTestApp app;
    return app;
}

namespace {
struct MakeAppEarly {
    MakeAppEarly() { App(); }
} makeAppEarly;
}  // namespace

void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    MSG msg;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

Helper::Helper(std::function<void()> action) : work(std::move(action)) {
    thread = CreateThread(nullptr, 0, &Helper::Main, this, 0, nullptr);
}

Helper::~Helper() {
    if (!thread) return;
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
}

bool Helper::Join(int milliseconds) {
    return thread && WaitForSingleObject(thread, static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

DWORD WINAPI Helper::Main(void* self) {
    static_cast<Helper*>(self)->work();
    return 0;
}

}  // namespace apptest
