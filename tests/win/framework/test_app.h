// The one application object of the framework test program.
#pragma once

#include "support/wintest.h"
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/win/sdiapp.h"

namespace test {

class TestApp : public TWIG4::SDIApp {
public:
    TestApp();

    // Instance, common controls and window classes, as Run does before creating the frame.
    void Prepare();
    // Makes the frame window (as Run does, without showing it or running the loop).
    bool CreateFrame();
    // Destroys the frame (if any) and removes the quit message that destroying it posts.
    void DestroyFrame();

    void ResetFirstIdle() { firstIdle = true; }
    void SetAccelerators(HACCEL table) { accelerators = table; }
    HACCEL GetAccelerators() const { return accelerators; }
    void SetClient(TWIG4::SDIClientWnd* c) { client = c; }

    // Hooks a test sets for one run; cleared by ResetHooks.
    std::function<bool()> onFirstIdle;
    std::function<bool(unsigned)> onIdle;
    std::function<LRESULT(UINT, WPARAM, LPARAM)> onThreadMessage;
    std::function<void(CREATESTRUCTW&)> onPreCreate;
    // Called before the frame's own handling; a non-zero result is the message result.
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> onMessage;
    std::function<void()> onInitialShow;
    void ResetHooks();

    bool OnFirstIdle() override;
    bool OnIdle(unsigned idleCount) override;
    LRESULT OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreCreateWindow(CREATESTRUCTW& params) override;
    void InitialShow() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};

TestApp& App();


}  // namespace test
