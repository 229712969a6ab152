#include "framework/win/button.h"

namespace TWIG4 {

ButtonWnd::ButtonWnd()
    : font(::CreateFontW(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg 2")) {}

ButtonWnd::~ButtonWnd() {
    // The window goes first, so it never draws with a deleted font.
    if (handle && !notOwned) Destroy();
    if (font) ::DeleteObject(font);
}

bool ButtonWnd::Create(DWORD exStyle, DWORD style, const wchar_t* text, Wnd* parent, int id) {
    if (!CtrlWnd::Create(L"BUTTON", exStyle, style, text, 0, 0, 0, 0, parent, id)) return false;
    Subclass();
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return true;
}

LRESULT ButtonWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

}  // namespace TWIG4
