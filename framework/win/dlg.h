// TWIG4 dialogs made from dialog-template resources of the application's module.
//
// - Dlg: the common base; item helpers that read and write controls by id.
// - ModalDlg: DoModal runs the template as a modal dialog box and returns the value given
//   to EndDialog. Enter (IDOK, 1) calls OnOK and Escape (IDCANCEL, 2) calls OnCancel, which
//   end the box with 1 and 2; a derived dialog replaces them to read its fields first.
// - ModelessDlg: Create makes the template as a window living alongside the others; the
//   framework gives it no keyboard navigation (no dialog-message pre-translation).
//
// Both are bound to their objects by the creation hook (the dialog itself, not its
// controls) and receive their messages through DialogProc: a non-zero WndProc result means
// handled. Dialog WndProcs do not pass messages on to Wnd::WndProc, so OnDestroy is not
// called for dialogs; the Dlg destructor takes the object out of the WindowList.
//
// Centring (when the centre flag is given and the parent is a framework window):
// modal dialogs, and modeless ones without WS_CHILD, are centred over the parent's window
// rectangle; modeless child dialogs are moved by the distance between the two centres
// (framework/dialog_geometry.h).
#pragma once

#include <windows.h>

#include "framework/win/wnd.h"

namespace TWIG4 {

// The window a popup made for `requested` centres over: `requested` while it is still a
// listed framework window (a child window stays the one to centre over, although a popup's
// owner is its top-level window), otherwise the framework window named by `window`'s parent
// (or owner) handle, or null.
Wnd* CentringParent(HWND window, Wnd* requested);

class Dlg : public Wnd {
public:
    Dlg();
    // Takes the object out of the WindowList (unless notOwned).
    ~Dlg() override;

    // Ends a modal dialog box with `result`.
    virtual bool EndDialog(INT_PTR result);

    // --- Item helpers: false when the item does not exist (readers: also for a null out
    // pointer, leaving the out value unchanged) -----------------------------------------
    HWND GetItem(int id) const;
    bool GetItemPos(int id, int* position) const;       // trackbar position
    bool SetItemPos(int id, int position);               // trackbar position, redrawn
    bool SetItemProgress(int id, int position);          // progress-bar position
    bool GetItemInt(int id, int* value) const;           // leading integer of the text, else 0
    bool GetItemDouble(int id, double* value) const;     // leading number of the text, else 0
    bool SetItemInt(int id, int value);                  // "%d"
    // "%.*f" with `decimals` digits; formatted in a 100-character buffer: a value whose
    // text would not fit is refused (false, text unchanged).
    bool SetItemDouble(int id, double value, int decimals);
    bool SetItemText(int id, const wchar_t* text);

protected:
    // Moves the dialog by the modal rule (`modalRule`) or the modeless rule (child style
    // decides) when it has a framework parent and centreOnParent is set.
    void CentreOverParent(bool modalRule);
    // CentringParent of the dialog's window and the window it was made for; null while the
    // dialog has no window.
    Wnd* GetFrameworkParent() const;

    bool centreOnParent;
    Wnd* requestedParent;
};

class ModalDlg : public Dlg {
public:
    // Runs the box; returns the EndDialog value, or -1 for template id 0 or a box that was
    // not made. `parent` may be null.
    INT_PTR DoModal(int templateId, Wnd* parent, bool centre);

    // WM_INITDIALOG: centre, return 1. WM_COMMAND 1 / 2: OnOK / OnCancel, return 1.
    // Everything else: 0.
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void OnOK();
    virtual void OnCancel();
};

class ModelessDlg : public Dlg {
public:
    // Destroys the window (if any) first.
    ~ModelessDlg() override;
    // Creates the dialog window without waiting; false for template id 0 or failure.
    bool Create(int templateId, Wnd* parent, bool centre);
    // WM_INITDIALOG: centre, return 1. Everything else: 0.
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace TWIG4
