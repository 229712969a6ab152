#pragma once
// The status bar: a control bar ("msctls_statusbar32") that paints without flicker.
//
// It never erases its background; each paint is composed in an off-screen buffer (a light
// grey fill with a black and a grey line along the top, then the control's own parts, texts
// and size grip drawn over it) and copied to the window in one piece.
#include <windows.h>

#include "framework/win/ctrlbar.h"

namespace TWIG4 {

class StatusBar : public CtrlBarWnd {
public:
    static constexpr COLORREF kBackground = RGB(0xD8, 0xD8, 0xD8);

    // Visible child with the given styles (the main frame passes 0x0103: bottom, size
    // grip); subclassed; one of the parent frame's control bars.
    bool Create(DWORD exStyle, DWORD style, Wnd* parent);
    // Right edges of `count` parts; -1 extends a part to the right edge.
    bool SetParts(int count, const int* rightEdges);
    bool SetPartText(int part, const wchar_t* text);

    // The height of its client rectangle.
    int GetThickness() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnPaint(HWND hwnd);
};

}  // namespace TWIG4
