#include "framework/win/tooltip.h"

#include <commctrl.h>

#include "framework/win/sdiapp.h"

namespace TWIG4 {

ToolTipWnd::ToolTipWnd() : owner(nullptr) {}

bool ToolTipWnd::Create(Wnd* ownerWnd) {
    owner = ownerWnd;
    if (!CtrlWnd::Create(TOOLTIPS_CLASSW, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT,
                         WS_POPUP | TTS_NOPREFIX, L"*** TOOL TIP ***", 0, 0, 0, 0, ownerWnd, 0))
        return false;
    ::SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    subclassed = false;  // a new window; the object may have subclassed an earlier one
    Subclass();
    SendMessage(TTM_SETTIPBKCOLOR, kBackground, 0);
    SendMessage(TTM_SETTIPTEXTCOLOR, kText, 0);
    SendMessage(TTM_SETDELAYTIME, TTDT_INITIAL, 0);
    SendMessage(TTM_SETDELAYTIME, TTDT_AUTOPOP, kAutoPopMs);
    SendMessage(TTM_SETDELAYTIME, TTDT_RESHOW, 0);
    return true;
}

LRESULT ToolTipWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && lParam) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        SDIApp* app = SDIApp::GetApp();
        switch (static_cast<int>(hdr->code)) {
        case static_cast<int>(TTN_GETDISPINFOW):
            OnGetDispInfo(wParam, lParam);
            break;
        case static_cast<int>(TTN_POP):
            if (app) app->OnToolTipPop(wParam);
            break;
        case static_cast<int>(TTN_SHOW):
            if (app) app->OnToolTipShow(wParam);
            break;
        default:
            break;
        }
    }
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

void ToolTipWnd::OnGetDispInfo(WPARAM wParam, LPARAM lParam) {
    const NMTTDISPINFOW* info = reinterpret_cast<const NMTTDISPINFOW*>(lParam);
    // The parameter is trusted only when it is a live framework object.
    Wnd* tool = reinterpret_cast<Wnd*>(info->lParam);
    if (!tool || tool == this || !WindowList::Contains(tool)) return;
    tool->WndProc(tool->GetHandle(), WM_NOTIFY, wParam, lParam);
}

}  // namespace TWIG4
