// The modal about box (dialog 114): the application icon at 48 x 48, a credit line and OK.
#pragma once

#include <windows.h>

#include "framework/win/dlg.h"

class cAboutBox : public TWIG4::ModalDlg {
public:
    ~cAboutBox() override;

    // Runs the box centred over `parent`; returns the ModalDlg result (1 for OK).
    INT_PTR Show(TWIG4::Wnd* parent);

    // At initialisation the icon (resource 115, 48 x 48, shared) becomes the image of item
    // 1008; then the modal dialog's own handling runs.
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};
