#pragma once
// A push button (or any "BUTTON" control) in the font "MS Shell Dlg 2", 13 pixels.
#include <windows.h>

#include "framework/win/dc.h"
#include "framework/win/wnd.h"

namespace TWIG4 {

class ButtonWnd : public CtrlWnd {
public:
    ButtonWnd();
    ~ButtonWnd() override;

    // Class "BUTTON" with the given styles, text and id, zero position and size (the owner
    // moves it), subclassed, its font set without redrawing.
    bool Create(DWORD exStyle, DWORD style, const wchar_t* text, Wnd* parent, int id);

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    HFONT GetFont() const { return font.Get(); }

private:
    Font font;
};

}  // namespace TWIG4
