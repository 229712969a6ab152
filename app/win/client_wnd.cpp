#include "app/win/client_wnd.h"

#include "app/frame_layout.h"
#include "framework/win/dc.h"

LRESULT ClientWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        break;  // the base handling finds nothing left to paint
    default:
        break;
    }
    return SDIClientWnd::WndProc(hwnd, message, wParam, lParam);
}

void ClientWnd::OnPaint() {
    TWIG4::PaintDC dc(handle);
    RECT client{};
    GetClientRect(&client);
    dc.FillRect(&client, RGB(bistrope::kClientRed, bistrope::kClientGreen, bistrope::kClientBlue));
}
