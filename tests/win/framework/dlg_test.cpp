// Modal and modeless dialogs: centring, Enter and Escape, reflection inside a dialog and the
// item helpers. The templates are the program's own (about box 114: a popup with an OK
// button and a static text; progress 116: a child with a static text and a progress bar).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/win/dlg.h"
#include "resources/resource.h"
#include "test_app.h"

using TWIG4::CtrlWnd;
using TWIG4::ModalDlg;
using TWIG4::ModelessDlg;
using TWIG4::Wnd;
namespace WindowList = TWIG4::WindowList;

namespace {

const UINT_PTR kSafetyTimer = 0x5AFE;

// A framework popup standing in for a dialog's parent, at a known place.
class ParentWnd : public Wnd {};

bool MakeParent(ParentWnd& parent, int x, int y, int width, int height) {
    if (!parent.CreateChild(0, WS_POPUP | WS_VISIBLE, nullptr)) return false;
    return parent.Move(x, y, width, height, false);
}

// A modal dialog that is driven by what it posts to itself at initialisation, with a
// safety timer that ends it with -2 should nothing else do so.
class DrivenDialog : public ModalDlg {
public:
    std::vector<std::string> log;
    int resizeWidth = 0, resizeHeight = 0;  // resized before the centring when set
    UINT postKey = 0;                        // a key posted to the focused control
    bool clickOk = false;
    RECT placed = {};
    CtrlWnd okButton;
    bool bindOk = false;

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_INITDIALOG: return OnInitDialog(hwnd, wParam, lParam);
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK) log.push_back("dialog");
                break;
            case WM_TIMER:
                if (wParam == kSafetyTimer) {
                    log.push_back("timeout");
                    EndDialog(-2);
                    return 1;
                }
                break;
        }
        return ModalDlg::WndProc(hwnd, message, wParam, lParam);
    }

    LRESULT OnInitDialog(HWND hwnd, WPARAM wParam, LPARAM lParam) {
        if (resizeWidth) SetWindowPos(hwnd, nullptr, 0, 0, resizeWidth, resizeHeight, SWP_NOMOVE | SWP_NOZORDER);
        const LRESULT result = ModalDlg::WndProc(hwnd, WM_INITDIALOG, wParam, lParam);
        GetWindowRect(&placed);
        ::SetTimer(hwnd, kSafetyTimer, 5000, nullptr);
        if (bindOk && okButton.Attach(GetItem(IDOK))) okButton.Subclass();
        if (postKey) {
            HWND target = GetItem(IDOK);
            ::PostMessageW(target, WM_KEYDOWN, postKey, 1);
            ::PostMessageW(target, WM_KEYUP, postKey, 0xC0000001);
        }
        if (clickOk) ::PostMessageW(GetItem(IDOK), BM_CLICK, 0, 0);
        if (!postKey && !clickOk) ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
        return result;
    }
};

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override { test::App().Prepare(); }
};

TEST_F(Dialogs, ModalDialogIsCentredOverItsParent) {
    ParentWnd parent;
    ASSERT_TRUE(MakeParent(parent, 100, 100, 600, 400));
    DrivenDialog dlg;
    dlg.resizeWidth = 200;
    dlg.resizeHeight = 101;
    EXPECT_EQ(dlg.DoModal(IDD_ABOUTBOX, &parent, true), 2);
    EXPECT_EQ(dlg.placed.left, 300);
    EXPECT_EQ(dlg.placed.top, 250);
    EXPECT_EQ(dlg.placed.right - dlg.placed.left, 200);
    EXPECT_EQ(dlg.placed.bottom - dlg.placed.top, 101);

    // Made for a child window, it centres over that child, not over the top-level window
    // that owns the box: the child covers (300, 200)-(600, 400) on the screen.
    ParentWnd child;
    ASSERT_TRUE(child.CreateChild(0, WS_CHILD | WS_VISIBLE, &parent));
    ASSERT_TRUE(child.Move(200, 100, 300, 200, false));
    DrivenDialog overChild;
    overChild.resizeWidth = 200;
    overChild.resizeHeight = 101;
    EXPECT_EQ(overChild.DoModal(IDD_ABOUTBOX, &child, true), 2);
    EXPECT_EQ(overChild.placed.left, 350);
    EXPECT_EQ(overChild.placed.top, 250);

    // Without the centre flag, or without a framework parent, it stays where it was made.
    DrivenDialog notCentred;
    notCentred.resizeWidth = 200;
    notCentred.resizeHeight = 101;
    EXPECT_EQ(notCentred.DoModal(IDD_ABOUTBOX, &parent, false), 2);
    EXPECT_NE(notCentred.placed.left, 300);

    DrivenDialog orphan;
    orphan.resizeWidth = 200;
    orphan.resizeHeight = 101;
    EXPECT_EQ(orphan.DoModal(IDD_ABOUTBOX, nullptr, true), 2);
    EXPECT_NE(orphan.placed.left, 300);
}

TEST_F(Dialogs, EnterAndEscapeEndTheBoxWithOneAndTwo) {
    ParentWnd parent;
    ASSERT_TRUE(MakeParent(parent, 100, 100, 600, 400));
    DrivenDialog enter;
    enter.postKey = VK_RETURN;
    EXPECT_EQ(enter.DoModal(IDD_ABOUTBOX, &parent, true), 1);
    DrivenDialog escape;
    escape.postKey = VK_ESCAPE;
    EXPECT_EQ(escape.DoModal(IDD_ABOUTBOX, &parent, true), 2);

    // A derived dialog replaces OnOK, e.g. to read its fields first.
    class ReadsFirst : public DrivenDialog {
    public:
        std::wstring read;
        void OnOK() override {
            wchar_t text[64] = L"";
            GetDlgItemTextW(handle, IDC_ABOUT_TEXT, text, 64);
            read = text;
            EndDialog(7);
        }
    } reads;
    reads.postKey = VK_RETURN;
    EXPECT_EQ(reads.DoModal(IDD_ABOUTBOX, &parent, true), 7);
    EXPECT_EQ(reads.read.rfind(L"Bistrope v1.8.4", 0), 0u);

    // The object is still listed after the box closed, without a handle, until destroyed.
    EXPECT_EQ(reads.GetHandle(), nullptr);
    EXPECT_TRUE(WindowList::Contains(&reads));
}

TEST_F(Dialogs, DialogObjectsLeaveTheListWhenDestroyed) {
    const unsigned before = WindowList::Count();
    {
        DrivenDialog dlg;
        EXPECT_EQ(dlg.DoModal(IDD_ABOUTBOX, nullptr, false), 2);
        EXPECT_EQ(WindowList::Count(), before + 1);
    }
    EXPECT_EQ(WindowList::Count(), before);

    ModalDlg none;
    EXPECT_EQ(none.DoModal(0, nullptr, true), -1);
    EXPECT_EQ(none.DoModal(9999, nullptr, true), -1) << "no such template";
    EXPECT_EQ(WindowList::Count(), before);
}

TEST_F(Dialogs, AControlCommandReachesTheControlBeforeTheDialog) {
    class Button : public CtrlWnd {
    public:
        std::vector<std::string>* log = nullptr;
        LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_COMMAND && LOWORD(wParam) == IDOK) log->push_back("button");
            return CtrlWnd::WndProc(hwnd, message, wParam, lParam);
        }
    };
    class WithButton : public DrivenDialog {
    public:
        Button button;
        LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_INITDIALOG) {
                button.log = &log;
                // Bound before the click is posted (DrivenDialog posts it after this).
                if (button.Attach(GetDlgItem(hwnd, IDOK))) button.Subclass();
            }
            return DrivenDialog::WndProc(hwnd, message, wParam, lParam);
        }
    } dlg;
    dlg.clickOk = true;
    EXPECT_EQ(dlg.DoModal(IDD_ABOUTBOX, nullptr, false), 1);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"button", "dialog"}));
}

// ---------------------------------------------------------------------------------------
// Modeless dialogs and the item helpers

class Modeless : public Dialogs {};

// Records its window rectangle as made, before the centring.
class RecordingModeless : public ModelessDlg {
public:
    RECT made = {};
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) ::GetWindowRect(hwnd, &made);
        return ModelessDlg::WndProc(hwnd, message, wParam, lParam);
    }
};

TEST_F(Modeless, ChildDialogIsCentredInsideItsParent) {
    ParentWnd parent;
    ASSERT_TRUE(MakeParent(parent, 100, 100, 600, 400));
    RecordingModeless dlg;
    ASSERT_TRUE(dlg.Create(IDD_PROGRESS, &parent, true));
    ASSERT_NE(dlg.GetHandle(), nullptr);
    EXPECT_NE(dlg.GetLong(GWL_STYLE) & WS_CHILD, 0);
    RECT d = {};
    dlg.GetWindowRect(&d);
    const RECT& m = dlg.made;
    EXPECT_EQ(d.right - d.left, m.right - m.left) << "the size is kept";
    // Made at the parent's client origin (its border just outside it) and moved, in client
    // coordinates, by the difference of the two centres: (P.right + P.left - D.right -
    // D.left) / 2, which centres it inside the parent up to that border.
    EXPECT_EQ(d.left - 100, (700 + 100 - m.right - m.left) / 2);
    EXPECT_EQ(d.top - 100, (500 + 100 - m.bottom - m.top) / 2);
    const int w = m.right - m.left, h = m.bottom - m.top;
    EXPECT_LE(std::abs((d.left - 100) - (600 - w) / 2), 2);
    EXPECT_LE(std::abs((d.top - 100) - (400 - h) / 2), 2);
}

TEST_F(Modeless, NoFrameworkParentMeansNoCentring) {
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    // An object naming the plain window without being a framework window (not listed).
    class Unlisted : public Wnd {
    public:
        explicit Unlisted(HWND hwnd) {
            notOwned = true;
            Attach(hwnd);
            WindowList::Remove(this);
        }
    } unlisted(plain);
    RecordingModeless dlg;
    ASSERT_TRUE(dlg.Create(IDD_PROGRESS, &unlisted, true));
    EXPECT_EQ(GetParent(dlg.GetHandle()), plain);
    RECT d = {};
    dlg.GetWindowRect(&d);
    EXPECT_EQ(d.left, dlg.made.left) << "left where it was made";
    EXPECT_EQ(d.top, dlg.made.top);
    EXPECT_LE(std::abs(d.left - 100), 2);
    dlg.Destroy();
    DestroyWindow(plain);
}

TEST_F(Modeless, PopupDialogUsesTheModalRule) {
    ParentWnd parent;
    ASSERT_TRUE(MakeParent(parent, 100, 100, 600, 400));
    class Sized : public ModelessDlg {
    public:
        LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_INITDIALOG) SetWindowPos(hwnd, nullptr, 0, 0, 200, 101, SWP_NOMOVE | SWP_NOZORDER);
            return ModelessDlg::WndProc(hwnd, message, wParam, lParam);
        }
    } dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX, &parent, true));
    RECT d = {};
    dlg.GetWindowRect(&d);
    EXPECT_EQ(d.left, 300);
    EXPECT_EQ(d.top, 250);
}

TEST_F(Modeless, DestroyingTheObjectDestroysTheWindow) {
    ParentWnd parent;
    ASSERT_TRUE(MakeParent(parent, 100, 100, 600, 400));
    const unsigned before = WindowList::Count();
    HWND hwnd;
    {
        ModelessDlg dlg;
        EXPECT_FALSE(dlg.Create(0, &parent, false));
        EXPECT_FALSE(dlg.Create(IDD_PROGRESS, nullptr, false)) << "a child dialog needs a parent";
        EXPECT_EQ(WindowList::Count(), before);
        ASSERT_TRUE(dlg.Create(IDD_PROGRESS, &parent, false));
        hwnd = dlg.GetHandle();
        EXPECT_FALSE(dlg.Create(IDD_PROGRESS, &parent, false)) << "one window per object";
        EXPECT_EQ(WindowList::Count(), before + 1);
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(WindowList::Count(), before);
    EXPECT_EQ(WindowList::FromHandle(hwnd), nullptr);
}

TEST_F(Modeless, ItemHelpersReadAndWriteControlsById) {
    ParentWnd parent;
    ASSERT_TRUE(MakeParent(parent, 100, 100, 600, 400));
    ModelessDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_PROGRESS, &parent, false));
    wchar_t text[128] = L"";

    EXPECT_TRUE(dlg.SetItemDouble(IDC_PROGRESS_TEXT, 0.5, 3));
    GetDlgItemTextW(dlg.GetHandle(), IDC_PROGRESS_TEXT, text, 128);
    EXPECT_STREQ(text, L"0.500");
    EXPECT_TRUE(dlg.SetItemDouble(IDC_PROGRESS_TEXT, -2.0 / 3.0, 2));
    GetDlgItemTextW(dlg.GetHandle(), IDC_PROGRESS_TEXT, text, 128);
    EXPECT_STREQ(text, L"-0.67");
    EXPECT_TRUE(dlg.SetItemInt(IDC_PROGRESS_TEXT, -42));
    GetDlgItemTextW(dlg.GetHandle(), IDC_PROGRESS_TEXT, text, 128);
    EXPECT_STREQ(text, L"-42");

    // A number too long for the 100-character buffer is refused and changes nothing.
    EXPECT_FALSE(dlg.SetItemDouble(IDC_PROGRESS_TEXT, 1e300, 3));
    GetDlgItemTextW(dlg.GetHandle(), IDC_PROGRESS_TEXT, text, 128);
    EXPECT_STREQ(text, L"-42");

    int i = 5;
    double d = 5.0;
    EXPECT_TRUE(dlg.GetItemInt(IDC_PROGRESS_TEXT, &i));
    EXPECT_EQ(i, -42);
    EXPECT_TRUE(dlg.SetItemText(IDC_PROGRESS_TEXT, L""));
    EXPECT_TRUE(dlg.GetItemDouble(IDC_PROGRESS_TEXT, &d));
    EXPECT_EQ(d, 0.0) << "an empty field reads 0";
    EXPECT_TRUE(dlg.GetItemInt(IDC_PROGRESS_TEXT, &i));
    EXPECT_EQ(i, 0);
    EXPECT_TRUE(dlg.SetItemText(IDC_PROGRESS_TEXT, L"  3.25e2 px"));
    EXPECT_TRUE(dlg.GetItemDouble(IDC_PROGRESS_TEXT, &d));
    EXPECT_EQ(d, 325.0);
    EXPECT_TRUE(dlg.SetItemText(IDC_PROGRESS_TEXT, L"quality"));
    EXPECT_TRUE(dlg.GetItemInt(IDC_PROGRESS_TEXT, &i));
    EXPECT_EQ(i, 0);

    // Missing items and null out pointers: false, out value unchanged.
    i = 9;
    d = 9.0;
    EXPECT_FALSE(dlg.GetItemInt(9999, &i));
    EXPECT_FALSE(dlg.GetItemDouble(9999, &d));
    EXPECT_EQ(i, 9);
    EXPECT_EQ(d, 9.0);
    EXPECT_FALSE(dlg.GetItemInt(IDC_PROGRESS_TEXT, nullptr));
    EXPECT_FALSE(dlg.SetItemText(9999, L"x"));
    EXPECT_FALSE(dlg.SetItemInt(9999, 1));
    EXPECT_FALSE(dlg.SetItemDouble(9999, 1.0, 1));
    EXPECT_FALSE(dlg.SetItemProgress(9999, 1));
    EXPECT_EQ(dlg.GetItem(9999), nullptr);

    // Progress bar and trackbar positions.
    EXPECT_TRUE(dlg.SetItemProgress(IDC_PROGRESS_BAR, 40));
    EXPECT_EQ(SendDlgItemMessageW(dlg.GetHandle(), IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0), 40);
    HWND trackbar = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, dlg.GetHandle(),
                                    reinterpret_cast<HMENU>(2001), GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(trackbar, nullptr);
    SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    EXPECT_TRUE(dlg.SetItemPos(2001, 37));
    int pos = -1;
    EXPECT_TRUE(dlg.GetItemPos(2001, &pos));
    EXPECT_EQ(pos, 37);
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 37);
    EXPECT_FALSE(dlg.GetItemPos(2001, nullptr));
    EXPECT_FALSE(dlg.GetItemPos(9999, &pos));
}

}  // namespace
