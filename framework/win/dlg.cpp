// Dialog classes: modal and modeless dialogs from templates, centring and item helpers.
#include "framework/win/dlg.h"

#include <commctrl.h>

#include <string>

#include "framework/dialog_geometry.h"
#include "framework/item_text.h"

namespace TWIG4 {

namespace {

ScreenRect ToScreenRect(const RECT& r) {
    ScreenRect s;
    s.left = r.left;
    s.top = r.top;
    s.right = r.right;
    s.bottom = r.bottom;
    return s;
}

// The item's whole text.
std::wstring ItemText(HWND item) {
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int got = GetWindowTextW(item, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Dlg

Dlg::Dlg() : centreOnParent(false), requestedParent(nullptr) {}

Dlg::~Dlg() {
    if (!notOwned) {
        while (WindowList::Remove(this)) {
        }
    }
}

bool Dlg::EndDialog(INT_PTR result) { return ::EndDialog(handle, result) != 0; }

HWND Dlg::GetItem(int id) const { return handle ? GetDlgItem(handle, id) : nullptr; }

bool Dlg::GetItemPos(int id, int* position) const {
    HWND item = GetItem(id);
    if (!item || !position) return false;
    *position = static_cast<int>(::SendMessageW(item, TBM_GETPOS, 0, 0));
    return true;
}

bool Dlg::SetItemPos(int id, int position) {
    HWND item = GetItem(id);
    if (!item) return false;
    ::SendMessageW(item, TBM_SETPOS, TRUE, position);
    return true;
}

bool Dlg::SetItemProgress(int id, int position) {
    HWND item = GetItem(id);
    if (!item) return false;
    ::SendMessageW(item, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    return true;
}

bool Dlg::GetItemInt(int id, int* value) const {
    HWND item = GetItem(id);
    if (!item || !value) return false;
    *value = ParseLeadingInt(ItemText(item).c_str());
    return true;
}

bool Dlg::GetItemDouble(int id, double* value) const {
    HWND item = GetItem(id);
    if (!item || !value) return false;
    *value = ParseLeadingDouble(ItemText(item).c_str());
    return true;
}

bool Dlg::SetItemInt(int id, int value) {
    HWND item = GetItem(id);
    if (!item) return false;
    return SetWindowTextW(item, FormatItemInt(value).c_str()) != 0;
}

bool Dlg::SetItemDouble(int id, double value, int decimals) {
    HWND item = GetItem(id);
    if (!item) return false;
    std::wstring text;
    if (!FormatItemDouble(value, decimals, text)) return false;
    return SetWindowTextW(item, text.c_str()) != 0;
}

bool Dlg::SetItemText(int id, const wchar_t* text) {
    HWND item = GetItem(id);
    if (!item) return false;
    return SetWindowTextW(item, text ? text : L"") != 0;
}

Wnd* CentringParent(HWND window, Wnd* requested) {
    if (!window) return nullptr;
    if (requested && requested->GetHandle() && WindowList::FromHandle(requested->GetHandle()) == requested)
        return requested;
    // GetParent gives the owner of a popup and the parent of a child window.
    HWND parent = ::GetParent(window);
    return parent ? WindowList::FromHandle(parent) : nullptr;
}

Wnd* Dlg::GetFrameworkParent() const { return CentringParent(handle, requestedParent); }

void Dlg::CentreOverParent(bool modalRule) {
    Wnd* parent = GetFrameworkParent();
    if (!centreOnParent || !parent) return;
    RECT p = {}, d = {};
    if (!parent->GetWindowRect(&p) || !GetWindowRect(&d)) return;
    const bool child = (GetLong(GWL_STYLE) & WS_CHILD) != 0;
    const ScreenPoint at = (modalRule || !child) ? CentreModalDialog(ToScreenRect(p), ToScreenRect(d))
                                                 : CentreChildDialog(ToScreenRect(p), ToScreenRect(d));
    Move(at.x, at.y, d.right - d.left, d.bottom - d.top, true);
}

// ---------------------------------------------------------------------------------------
// ModalDlg

INT_PTR ModalDlg::DoModal(int templateId, Wnd* parent, bool centre) {
    centreOnParent = centre;
    requestedParent = parent;
    if (templateId == 0 || handle) return -1;
    INT_PTR result;
    {
        CreationHook hook(this);
        result = DialogBoxParamW(GetInstance(), MAKEINTRESOURCEW(templateId), parent ? parent->GetHandle() : nullptr,
                                 &DialogProc, 0);
    }
    // The box and its window are gone; the object stays listed until its destructor.
    handle = nullptr;
    return result;
}

LRESULT ModalDlg::WndProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            CentreOverParent(true);
            return 1;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    OnOK();
                    return 1;
                case IDCANCEL:
                    OnCancel();
                    return 1;
            }
            return 0;
    }
    return 0;
}

void ModalDlg::OnOK() { EndDialog(1); }
void ModalDlg::OnCancel() { EndDialog(2); }

// ---------------------------------------------------------------------------------------
// ModelessDlg

ModelessDlg::~ModelessDlg() {
    if (handle && !notOwned) {
        DestroyWindow(handle);
        handle = nullptr;
    }
}

bool ModelessDlg::Create(int templateId, Wnd* parent, bool centre) {
    centreOnParent = centre;
    requestedParent = parent;
    if (templateId == 0 || handle) return false;
    HWND created;
    {
        CreationHook hook(this);
        created = CreateDialogParamW(GetInstance(), MAKEINTRESOURCEW(templateId),
                                     parent ? parent->GetHandle() : nullptr, &DialogProc, 0);
    }
    return FinishCreation(created);
}

LRESULT ModelessDlg::WndProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        CentreOverParent(false);
        return 1;
    }
    return 0;
}

}  // namespace TWIG4
