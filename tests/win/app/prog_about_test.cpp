// The progress dialog (sub-ranges on the real bar, its text, the focus going back to the
// frame) and the about box (icon, credit line, OK), over a frame and a view like the
// program's.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "app/win/about_box.h"
#include "app/win/prog_dlg.h"
#include "app_test_env.h"
#include "framework/win/sdiapp.h"
#include "resources/resource.h"

namespace {

using apptest::App;
using apptest::Helper;

// The stereo view stands in as a plain framework child filling part of the frame.
class ViewWnd : public TWIG4::Wnd {};

class ShellDialogs : public ::testing::Test {
protected:
    ViewWnd view;
    void SetUp() override {
        ASSERT_TRUE(App().MakeFrame());
        ASSERT_TRUE(view.CreateChild(0, WS_CHILD | WS_VISIBLE, &App()));
        view.Move(50, 40, 500, 300, true);
    }
    void TearDown() override {
        view.Destroy();
        wintest::Pump(0);
    }
    static int BarPosition(const cProgDlg& dlg) {
        return static_cast<int>(SendMessageW(dlg.GetItem(IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0));
    }
    static std::wstring ActivityText(const cProgDlg& dlg) {
        return wintest::TextOf(dlg.GetItem(IDC_PROGRESS_TEXT));
    }
};

TEST_F(ShellDialogs, ProgressStepsFillTheirSubRanges) {
    cProgDlg dlg;
    EXPECT_EQ(dlg.GetRangeLow(), 0);
    EXPECT_EQ(dlg.GetRangeHigh(), 100);
    ASSERT_TRUE(dlg.Create(&view));
    EXPECT_EQ(ActivityText(dlg), L"Static");

    EXPECT_TRUE(dlg.SetProgress(0, L"Loading image..."));
    EXPECT_EQ(BarPosition(dlg), 0);
    EXPECT_EQ(ActivityText(dlg), L"Loading image...");

    EXPECT_TRUE(dlg.SetRange(50, 100));
    EXPECT_TRUE(dlg.SetProgress(50));
    EXPECT_EQ(BarPosition(dlg), 75);
    EXPECT_EQ(ActivityText(dlg), L"Loading image...") << "no text given: the text stays";

    EXPECT_TRUE(dlg.SetRange(0, 40));
    EXPECT_TRUE(dlg.SetProgress(0, L"Regenerating colour matices..."));
    EXPECT_EQ(BarPosition(dlg), 0);
    EXPECT_EQ(ActivityText(dlg), L"Regenerating colour matices...");

    dlg.SetRange(0, 100);
    dlg.SetProgress(33);
    EXPECT_EQ(BarPosition(dlg), 33);
    dlg.SetRange(80, 100);
    dlg.SetProgress(33);
    EXPECT_EQ(BarPosition(dlg), 86);

    // The bar's own range is never changed; positions beyond it are limited by the bar.
    PBRANGE range = {};
    SendMessageW(dlg.GetItem(IDC_PROGRESS_BAR), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    dlg.SetRange(0, 100);
    dlg.SetProgress(150);
    EXPECT_EQ(BarPosition(dlg), 100);
}

TEST_F(ShellDialogs, ProgressShowsInTheMiddleOfTheView) {
    cProgDlg dlg;
    ASSERT_TRUE(dlg.Create(&view));
    EXPECT_NE(dlg.GetLong(GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetParent(dlg.GetHandle()), view.GetHandle());
    RECT v = {}, d = {};
    view.GetWindowRect(&v);
    dlg.GetWindowRect(&d);
    const int viewCentreX = (v.left + v.right) / 2, viewCentreY = (v.top + v.bottom) / 2;
    const int dlgCentreX = (d.left + d.right) / 2, dlgCentreY = (d.top + d.bottom) / 2;
    EXPECT_LE(std::abs(viewCentreX - dlgCentreX), 2);
    EXPECT_LE(std::abs(viewCentreY - dlgCentreY), 2);
}

TEST_F(ShellDialogs, TheFrameHasTheFocusAfterTheProgressDialog) {
    HWND frame = App().GetHandle();
    SetForegroundWindow(frame);
    SetActiveWindow(frame);
    HWND bar = nullptr;
    {
        cProgDlg dlg;
        ASSERT_TRUE(dlg.Create(&view));
        bar = dlg.GetItem(IDC_PROGRESS_BAR);
        SetFocus(bar);
        ASSERT_EQ(GetFocus(), bar) << "the dialog's bar holds the focus while the job runs";
        dlg.SetProgress(100);
    }
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_EQ(GetFocus(), frame);
}

TEST_F(ShellDialogs, ProgressWithoutAWindowStillAnswers) {
    cProgDlg dlg;
    EXPECT_FALSE(dlg.Create(nullptr)) << "a child dialog needs a parent";
    EXPECT_TRUE(dlg.SetRange(50, 100));
    EXPECT_TRUE(dlg.SetProgress(50, L"Saving image"));
}

TEST_F(ShellDialogs, AboutBoxShowsTheIconAndClosesWithOk) {
    struct Seen {
        bool found = false;
        std::wstring caption, credit;
        SIZE iconSize = {};
        RECT iconRect = {}, textRect = {};
    } seen;
    Helper helper([&] {
        HWND box = wintest::WaitForWindow(
            [](HWND w) { return wintest::ClassOf(w) == L"#32770" && wintest::TextOf(w) == L"About Bistrope v1.2.1"; },
            15000, wintest::Shown::Only);
        if (!box) return;
        seen.found = true;
        wchar_t text[128] = L"";
        seen.caption = wintest::TextOf(box);
        GetDlgItemTextW(box, IDC_ABOUT_TEXT, text, 128);
        seen.credit = text;
        HWND iconItem = GetDlgItem(box, IDC_ABOUT_ICON);
        HICON icon = reinterpret_cast<HICON>(SendMessageW(iconItem, STM_GETIMAGE, IMAGE_ICON, 0));
        ICONINFO info = {};
        if (icon && GetIconInfo(icon, &info)) {
            BITMAP bm = {};
            GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
            seen.iconSize = {bm.bmWidth, bm.bmHeight};
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
        }
        GetWindowRect(iconItem, &seen.iconRect);
        GetWindowRect(GetDlgItem(box, IDC_ABOUT_TEXT), &seen.textRect);
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
        if (IsWindow(box)) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);  // never leave it hanging
    });
    cAboutBox about;
    const INT_PTR result = about.Show(&view);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(result, 1) << "closed with OK";
    EXPECT_EQ(seen.caption, L"About Bistrope v1.2.1");
    EXPECT_EQ(seen.credit.rfind(L"Bistrope v1.8.4", 0), 0u);
    EXPECT_EQ(seen.iconSize.cx, 48);
    EXPECT_EQ(seen.iconSize.cy, 48);
    EXPECT_LE(seen.iconRect.right, seen.textRect.left) << "the icon stands left of the text";
}

}  // namespace
