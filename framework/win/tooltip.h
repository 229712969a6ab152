#pragma once
// The one shared tooltip control of the process, owned by the application object.
//
// Tools are registered by the windows that want tips (Wnd::AddToolTip); the tooltip asks
// for a tip's text with TTN_GETDISPINFOW, which reaches this object first by reflection and
// is passed on to the framework object named in the tool's parameter, whose WndProc fills
// in the text. A tool whose parameter is not a live framework object gets no text.
// Tips show at once, hide after 10 s, and are drawn dark blue on pale yellow.
#include <windows.h>

#include "framework/win/wnd.h"

namespace TWIG4 {

class ToolTipWnd : public CtrlWnd {
public:
    static constexpr COLORREF kBackground = 0xE1FFFF;  // red 0xFF, green 0xFF, blue 0xE1
    static constexpr COLORREF kText = 0x200000;        // red 0, green 0, blue 0x20
    static constexpr int kAutoPopMs = 10000;

    ToolTipWnd();

    // Makes the native tooltip ("tooltips_class32", topmost tool window, popup, no prefix
    // processing, named "*** TOOL TIP ***") owned by `owner`, subclassed, with its colours
    // and delays set. False when the window is not made.
    bool Create(Wnd* owner);

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnGetDispInfo(WPARAM wParam, LPARAM lParam);

    Wnd* owner;
};

}  // namespace TWIG4
