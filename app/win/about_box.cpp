#include "app/win/about_box.h"

#include "resources/resource.h"

cAboutBox::~cAboutBox() {}

INT_PTR cAboutBox::Show(TWIG4::Wnd* parent) { return DoModal(IDD_ABOUTBOX, parent, true); }

LRESULT cAboutBox::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        HANDLE icon = LoadImageW(GetInstance(), MAKEINTRESOURCEW(IDI_BISTROPE), IMAGE_ICON, 48, 48, LR_SHARED);
        if (icon) SendDlgItemMessageW(hwnd, IDC_ABOUT_ICON, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    }
    return ModalDlg::WndProc(hwnd, message, wParam, lParam);
}
