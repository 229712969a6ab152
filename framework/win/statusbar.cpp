#include "framework/win/statusbar.h"

#include <commctrl.h>

#include "framework/win/dc.h"


namespace TWIG4 {

bool StatusBar::Create(DWORD exStyle, DWORD style, Wnd* parent) {
    if (!CtrlBarWnd::Create(STATUSCLASSNAMEW, exStyle, style | WS_CHILD | WS_VISIBLE, L"", 0, 0, 0, 0, parent, 0))
        return false;
    subclassed = false;  // a new window; the object may have subclassed an earlier one
    Subclass();
    return true;
}

bool StatusBar::SetParts(int count, const int* rightEdges) {
    if (count < 0 || (count > 0 && !rightEdges)) return false;
    return SendMessage(SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rightEdges)) != 0;
}

bool StatusBar::SetPartText(int part, const wchar_t* text) {
    return SendMessage(SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text ? text : L"")) != 0;
}

int StatusBar::GetThickness() {
    RECT r = {};
    if (!GetClientRect(&r)) return 0;
    return r.bottom - r.top;
}

LRESULT StatusBar::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        return OnPaint(hwnd);
    case WM_ERASEBKGND:
        return 1;  // everything is painted in WM_PAINT, off screen
    default:
        return Wnd::WndProc(hwnd, message, wParam, lParam);
    }
}

LRESULT StatusBar::OnPaint(HWND hwnd) {
    PaintDC paint(hwnd);
    RECT c = {};
    GetClientRect(&c);
    {
        BufferedDC buffer(&paint, &c);
        paint.FillRect(&c, kBackground);
        paint.Line(0, 0, c.right, 0, RGB(0, 0, 0));
        paint.Line(0, 1, c.right, 1, RGB(0x80, 0x80, 0x80));
        // The control draws its parts, texts and grip into the buffer over that background.
        ::CallWindowProcW(previousProc, hwnd, WM_PAINT, reinterpret_cast<WPARAM>(paint.GetHandle()), 0);
    }  // the composed picture goes to the window in one copy
    return 1;
}

}  // namespace TWIG4
