#include "framework/win/statusbar.h"

#include <commctrl.h>


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
    PAINTSTRUCT ps;
    HDC target = ::BeginPaint(hwnd, &ps);
    if (!target) return 1;
    RECT c = {};
    GetClientRect(&c);
    const int w = c.right - c.left;
    const int h = c.bottom - c.top;
    HDC buffer = ::CreateCompatibleDC(target);
    HBITMAP bitmap = buffer && w > 0 && h > 0 ? ::CreateCompatibleBitmap(target, w, h) : nullptr;
    if (!bitmap) {
        // No buffer to compose in: the control paints directly.
        if (buffer) ::DeleteDC(buffer);
        ::CallWindowProcW(previousProc, hwnd, WM_PAINT, reinterpret_cast<WPARAM>(target), 0);
        ::EndPaint(hwnd, &ps);
        return 1;
    }
    HGDIOBJ oldBitmap = ::SelectObject(buffer, bitmap);
    ::SetWindowOrgEx(buffer, c.left, c.top, nullptr);

    HBRUSH fill = ::CreateSolidBrush(kBackground);
    ::FillRect(buffer, &c, fill);
    ::DeleteObject(fill);
    HPEN black = ::CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
    HPEN grey = ::CreatePen(PS_SOLID, 0, RGB(0x80, 0x80, 0x80));
    HGDIOBJ oldPen = ::SelectObject(buffer, black);
    ::MoveToEx(buffer, 0, 0, nullptr);
    ::LineTo(buffer, c.right, 0);
    ::SelectObject(buffer, grey);
    ::MoveToEx(buffer, 0, 1, nullptr);
    ::LineTo(buffer, c.right, 1);
    ::SelectObject(buffer, oldPen);
    ::DeleteObject(black);
    ::DeleteObject(grey);

    // The control draws its parts, texts and grip into the buffer over that background.
    ::CallWindowProcW(previousProc, hwnd, WM_PAINT, reinterpret_cast<WPARAM>(buffer), 0);
    ::BitBlt(target, c.left, c.top, w, h, buffer, c.left, c.top, SRCCOPY);

    ::SelectObject(buffer, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(buffer);
    ::EndPaint(hwnd, &ps);
    return 1;
}

}  // namespace TWIG4
