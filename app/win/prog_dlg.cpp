#include "app/win/prog_dlg.h"

#include "app/progress_range.h"
#include "framework/win/sdiapp.h"
#include "resources/resource.h"

cProgDlg::cProgDlg() : rangeLow(0), rangeHigh(100) {}

cProgDlg::~cProgDlg() {
    if (TWIG4::SDIApp* app = TWIG4::SDIApp::GetApp()) {
        if (HWND frame = app->GetHandle()) SetFocus(frame);
    }
    Destroy();
}

bool cProgDlg::Create(TWIG4::Wnd* parent) { return ModelessDlg::Create(IDD_PROGRESS, parent, true); }

bool cProgDlg::SetRange(int low, int high) {
    rangeLow = low;
    rangeHigh = high;
    return true;
}

bool cProgDlg::SetProgress(double percent, const wchar_t* text) {
    if (text) SetItemText(IDC_PROGRESS_TEXT, text);
    SetItemProgress(IDC_PROGRESS_BAR, bistrope::ProgressBarPosition(percent, rangeLow, rangeHigh));
    if (handle) RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return true;
}

LRESULT cProgDlg::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ModelessDlg::WndProc(hwnd, message, wParam, lParam);
}
