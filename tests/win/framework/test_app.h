// The one application object of the framework test program.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/win/sdiapp.h"
#include "support/wintest.h"

namespace test {

class TestApp : public TWIG4::SDIApp {
public:
    TestApp() : SDIApp(L"Framework tests", L"Software\\Bistrope-tests\\framework") {}
    // Instance, common controls and window classes, as Run does before creating the frame.
    void Prepare() {
        instance = GetModuleHandleW(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x4FF};
        InitCommonControlsEx(&controls);
        RegisterWindowClasses();
    }
    // Makes the (hidden) frame window as Run does, without the loop.
    bool CreateFrame() {
        Prepare();  // at (50, 50), 640 x 480
        return Create(CREATESTRUCTW{nullptr, instance, nullptr, nullptr, 480, 640, 50, 50, 0x06CF0000, title, kFrameClass, 0});
    }
    // Destroys the frame (if any) and drops the quit message that destroying it posts.
    void DestroyFrame() {
        if (GetHandle()) Destroy();
        wintest::DrainQueue();
    }
};

inline TestApp& App() {
    static TestApp app;
    return app;
}
// The application object exists before any test runs, as the program's global one does.
inline const bool kAppMadeEarly = (App(), true);

}  // namespace test
