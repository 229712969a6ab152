// The progress dialog shown inside the stereo view while a long job runs (loading an image,
// rebuilding the previews, saving). The job drives it by explicit calls with no message
// loop running: each SetProgress repaints the dialog at once.
//
// The job reports the whole bar, 0 to 100 %; its steps divide the bar among themselves
// (engine/progress.h, Subrange). If the dialog cannot be made the job still runs; the calls
// then have no visible effect.
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

    // Puts `text` (when given) into the activity line, moves the bar to `percent` (held
    // within 0..100) and repaints the dialog. Returns true.
    bool SetProgress(int percent, const wchar_t* text = nullptr);

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};
