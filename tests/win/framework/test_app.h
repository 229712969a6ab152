// The one application object of the framework test program, with hooks a test sets for
// one run (cleared by ResetHooks).
#pragma once

#include <windows.h>

#include <functional>

#include "framework/win/sdiapp.h"
#include "support/wintest.h"

namespace test {

class TestApp : public TWIG4::SDIApp {
public:
    TestApp();
    // Instance, common controls and window classes, as Run does before creating the frame.
    void Prepare();
    // Makes the (hidden) frame window as Run does, without the loop.
    bool CreateFrame();
    // Destroys the frame (if any) and drops the quit message that destroying it posts.
    void DestroyFrame();
    void ResetFirstIdle() { firstIdle = true; }
    void SetAccelerators(HACCEL table) { accelerators = table; }
    void SetClient(TWIG4::SDIClientWnd* c) { client = c; }

    std::function<bool()> onFirstIdle;
    std::function<bool(unsigned)> onIdle;
    std::function<LRESULT(UINT, WPARAM, LPARAM)> onThreadMessage;
    // Called before the frame's own handling; a non-zero result is the message result.
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> onMessage;
    void ResetHooks() { onFirstIdle = nullptr, onIdle = nullptr, onThreadMessage = nullptr, onMessage = nullptr; }

    bool OnFirstIdle() override { return onFirstIdle ? onFirstIdle() : SDIApp::OnFirstIdle(); }
    bool OnIdle(unsigned n) override { return onIdle ? onIdle(n) : SDIApp::OnIdle(n); }
    LRESULT OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};

TestApp& App();

}  // namespace test
