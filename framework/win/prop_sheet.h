#pragma once
// The tree property sheet: a modal settings window with the pages listed in a tree on the
// left, the selected page to its right, and OK and Cancel below.
//
// Each page (PropPage2) is a modeless dialog from its own template, turned into a child of
// the sheet. The page area is the largest width by the largest height over all pages, so
// one page may give the width and another the height. Selecting a tree item shows exactly
// that page; the others are hidden and disabled. OK calls OnApply of every page in the
// order they were added (pages never shown included) and no page can refuse; Cancel,
// Escape on the sheet and closing the window apply nothing. Neither button is a default
// button, so Enter does not press OK.
//
// The sheet runs its own modal loop (Wnd::RunModalLoop) while the application's frame is
// disabled; closing it posts a message to itself so the loop notices at once.
#include <windows.h>
#include <commctrl.h>

#include "framework/list.h"
#include "framework/win/button.h"
#include "framework/win/dlg.h"
#include "framework/win/tree.h"
#include "framework/win/wnd.h"

namespace TWIG4 {

class PropSheet2;

class PropPage2 : public ModelessDlg {
public:
    explicit PropPage2(int templateId);
    ~PropPage2() override;

    // Makes the page's dialog as a child of `sheet` (caption, popup and frame styles
    // removed). False when the template did not make a window.
    bool CreateInSheet(PropSheet2* sheet);
    // Commits the page's controls to the application's data. Empty by default.
    virtual void OnApply();
    // Labels and check boxes are drawn transparently on the page colour.
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    int GetTemplateId() const { return templateId; }
    const wchar_t* GetLabel() const { return label; }
    HTREEITEM GetTreeItem() const { return treeItem; }

private:
    friend class PropSheet2;

    int templateId;
    HBRUSH background;
    const wchar_t* label;
    HTREEITEM treeItem;
};

class PropSheet2 : public Wnd {
public:
    static constexpr DWORD kStyle = 0x92C80000;  // visible popup with caption and system menu, clipping children
    static constexpr COLORREF kLineDark = 12036268;  // red 0xAC, green 0xA8, blue 0xB7
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;
    static constexpr int kTreeId = -1;

    PropSheet2();
    ~PropSheet2() override;

    // Appends a page with its tree label (not copied). False for a null page. Pages are
    // added before DoModal and are not owned.
    bool AddPage(PropPage2* page, const wchar_t* label);
    // Runs the sheet: 1 after OK, 2 after Cancel / Escape / close, -1 when there are no
    // pages or the window is not made. With `centre` and a framework parent it is centred
    // over the parent; otherwise it opens at the screen's origin.
    int DoModal(const wchar_t* title, Wnd* parent, bool centre);
    // Shows `page` and hides and disables every other page; with `selectInTree` its tree
    // item becomes selected too. True when the page is one of the sheet's.
    bool ShowPage(PropPage2* page, bool selectInTree);

    // OK: every page applies, in order; the sheet closes.
    virtual void OnOK();
    // Cancel: the sheet closes; nothing is applied.
    virtual void OnCancel();
    bool ContinueModal() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    bool IsAccepted() const { return accepted; }
    unsigned GetPageCount() const { return pages.Count(); }
    PropPage2* GetPage(unsigned index) { return index < pages.Count() ? pages.At(index) : nullptr; }
    RECT GetPageRect() const { return pageRect; }
    ButtonWnd& GetOkButton() { return okButton; }
    ButtonWnd& GetCancelButton() { return cancelButton; }
    TreeWnd& GetTree() { return tree; }

private:
    void OnCreate();
    void OnNotify(const NMHDR* hdr);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void Close();
    void PlaceSheet(int pageWidth, int pageHeight);

    List<PropPage2*> pages;
    bool centreOnParent;
    Wnd* requestedParent = nullptr;  // the window DoModal was given, centred over
    bool closed;
    int treeWidth;
    int buttonStripHeight;
    RECT pageRect;
    ButtonWnd okButton;
    ButtonWnd cancelButton;
    TreeWnd tree;
    bool accepted;
};

}  // namespace TWIG4
