#include "framework/win/button.h"

namespace TWIG4 {

ButtonWnd::ButtonWnd() : font(13, L"MS Shell Dlg 2", FW_NORMAL, 0) {}

ButtonWnd::~ButtonWnd() {
    // The window goes first, so it never draws with a deleted font.
    if (handle && !notOwned) Destroy();
}

bool ButtonWnd::Create(DWORD exStyle, DWORD style, const wchar_t* text, Wnd* parent, int id) {
    if (!CtrlWnd::Create(L"BUTTON", exStyle, style, text, 0, 0, 0, 0, parent, id)) return false;
    subclassed = false;  // a new window; the object may have subclassed an earlier one
    Subclass();
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    return true;
}

LRESULT ButtonWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

}  // namespace TWIG4
