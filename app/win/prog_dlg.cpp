#include "app/win/prog_dlg.h"

#include "framework/win/sdiapp.h"
#include "resources/resource.h"

cProgDlg::cProgDlg() = default;

cProgDlg::~cProgDlg() {
    if (TWIG4::SDIApp* app = TWIG4::SDIApp::GetApp()) {
        if (HWND frame = app->GetHandle()) SetFocus(frame);
    }
    Destroy();
}

bool cProgDlg::Create(TWIG4::Wnd* parent) { return ModelessDlg::Create(IDD_PROGRESS, parent, true); }

bool cProgDlg::SetProgress(int percent, const wchar_t* text) {
    if (text) SetItemText(IDC_PROGRESS_TEXT, text);
    SetItemProgress(IDC_PROGRESS_BAR, percent < 0 ? 0 : percent > 100 ? 100 : percent);
    if (handle) RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return true;
}

LRESULT cProgDlg::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ModelessDlg::WndProc(hwnd, message, wParam, lParam);
}
