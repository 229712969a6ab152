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



}  // namespace apptest
