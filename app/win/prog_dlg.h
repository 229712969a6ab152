// The progress dialog shown inside the stereo view while a long job runs (loading an image,
// rebuilding the previews, saving). The job drives it by explicit calls with no message
// loop running: each SetProgress repaints the dialog at once.
//
// A job divides itself into consecutive steps: SetRange(low, high) chooses the share of the
// bar the next step fills, SetProgress(0..100 %) reports inside it (app/progress_range.h).
// If the dialog cannot be made the job still runs; the calls then have no visible effect.
#pragma once

#include <windows.h>

#include "framework/win/dlg.h"

class cProgDlg : public TWIG4::ModelessDlg {
public:
    cProgDlg();
    // Gives the keyboard focus to the application's frame, then destroys the dialog.
    ~cProgDlg() override;

    // Dialog 116 as a child of `parent`, centred inside it.
    bool Create(TWIG4::Wnd* parent);
    using TWIG4::ModelessDlg::Create;

    // Sets the sub-range of the bar that the next step's 0..100 % map to. Returns true.
    bool SetRange(int low, int high);
    // Puts `text` (when given) into the activity line, moves the bar to the position of
    // `percent` in the current sub-range and repaints the dialog. Returns true.
    bool SetProgress(double percent, const wchar_t* text = nullptr);

    int GetRangeLow() const { return rangeLow; }
    int GetRangeHigh() const { return rangeHigh; }

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    int rangeLow;
    int rangeHigh;
};
