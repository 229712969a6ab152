// Not a check: with BISTROPE_SHOWCASE_MS set, shows a frame with rebar, toolbar and status
// bar, then an owner-drawn menu, then the property sheet, each for that many milliseconds,
// so screenshots can be taken under Xvfb. Skipped otherwise.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "../../../resources/controls_test_ids.h"
#include "controls_test_util.h"
#include "framework/win/menu_popup.h"
#include "framework/win/prop_sheet.h"
#include "framework/win/rebar.h"
#include "framework/win/statusbar.h"
#include "framework/win/toolbar.h"
#include "test_app.h"

namespace {

class ShowcasePage : public TWIG4::PropPage2 {
public:
    ShowcasePage(int id, int hold) : PropPage2(id), hold(hold) {}
    bool leaves = false;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG && leaves) ::SetTimer(hwnd, 5, hold, nullptr);
        if (message == WM_TIMER && wParam == 5) {
            ::KillTimer(hwnd, 5);
            ::SendMessageW(::GetParent(hwnd), WM_CLOSE, 0, 0);
            return 1;
        }
        return PropPage2::WndProc(hwnd, message, wParam, lParam);
    }

private:
    int hold;
};

TEST(ControlsShowcase, ToolbarMenuAndSheetOnScreen) {
    const char* env = getenv("BISTROPE_SHOWCASE_MS");
    if (!env) GTEST_SKIP() << "set BISTROPE_SHOWCASE_MS to show the controls";
    const int hold = atoi(env);
    test::EnsureGdiplus();
    test::TestApp& app = test::App();
    ASSERT_TRUE(app.CreateFrame());
    MoveWindow(app.GetHandle(), 20, 20, 760, 320, TRUE);

    TWIG4::RebarWnd rebar;
    TWIG4::StatusBar status;
    TWIG4::ToolBar bar;
    test::OwnerWnd owner;
    ASSERT_TRUE(owner.Make(0, 0, 10, 10));
    ASSERT_TRUE(rebar.Create(0, 0, &app));
    rebar.LoadBackground(IDB_CONTROLS_TEST_TILE, IDB_CONTROLS_TEST_LEFT, IDB_CONTROLS_TEST_RIGHT);
    ASSERT_TRUE(status.Create(0, 0x0103, &app));
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    SetParent(bar.GetHandle(), app.GetHandle());
    // Cells: a light square per image, darker per state row, a white bar marking the row.
    const std::wstring strip = test::TempFile(L"controls_showcase_strip.bmp");
    test::WriteBmp24(strip, 12 * 48, 5 * 48, [](int x, int y) {
        const int column = x / 48, row = y / 48, cx = x % 48, cy = y % 48;
        if (cx < 6 || cx >= 42 || cy < 6 || cy >= 42) return RGB(0xF4, 0xF4, 0xF4);
        if (cy >= 36 && cx < 6 + 6 * (row + 1)) return RGB(0xFF, 0xFF, 0xFF);
        const int shade = 220 - row * 35;
        return RGB(shade * (column % 3 == 0), shade * (column % 3 == 1) + 30, shade * (column % 3 == 2) + 30);
    });
    bar.LoadButtonImages(strip.c_str(), 48, 48);
    owner.answers[40002] = {true, true};
    owner.answers[40003] = {false, false};
    owner.answers[40004] = {false, true};
    bar.AddButton(0, 40001, BTNS_AUTOSIZE, 0, L"Normal");
    bar.AddButton(8, -1, BTNS_SEP, 0, nullptr);
    bar.AddButton(1, 40002, BTNS_AUTOSIZE, 0, L"Checked");
    bar.AddButton(2, 40003, BTNS_AUTOSIZE, 0, L"Disabled");
    bar.AddButton(3, 40004, BTNS_AUTOSIZE, 0, L"Disabled and checked");
    bar.AddButton(12, 40005, BTNS_AUTOSIZE, 0, L"Outside the strip");
    rebar.AddBand(&bar, nullptr, false);
    const int parts[] = {100, 200, -1};
    status.SetParts(3, parts);
    status.SetPartText(0, L"Pan view");
    status.SetPartText(1, L"100%");
    status.SetPartText(2, L"1024 x 768");
    ShowWindow(app.GetHandle(), SW_SHOW);
    app.RecalcLayout();
    fprintf(stderr, "PHASE 1 toolbar\n");
    test::Pump(hold);

    TWIG4::MenuPopup popup;
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 40001, L"Normal item");
    AppendMenuW(menu, MF_STRING, 40002, L"Checked item\tCtrl+K");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 40006, L"Radio item\tR");
    AppendMenuW(menu, MF_STRING, 40003, L"Disabled item\tF3");
    owner.answers[40006] = {true, false, true};
    test::OneShot select(300, [] {
        if (HWND m = test::FindMenuWindow()) {
            PostMessageW(m, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(m, WM_KEYDOWN, VK_DOWN, 0);
        }
        fprintf(stderr, "PHASE 2 menu\n");
    });
    test::OneShot close(hold, [] { EndMenu(); });
    popup.TrackMenu(menu, &owner, 300, 120);
    DestroyMenu(menu);

    ShowcasePage a(IDD_CONTROLS_TEST_POPUP_PAGE, hold), b(IDD_CONTROLS_TEST_CHILD_PAGE, hold);
    a.leaves = true;
    TWIG4::PropSheet2 sheet;
    sheet.AddPage(&a, L"Output settings");
    sheet.AddPage(&b, L"Custom colour blending");
    fprintf(stderr, "PHASE 3 sheet\n");
    sheet.DoModal(L"Settings", &app, true);
    fprintf(stderr, "PHASE 4 done\n");
    owner.Destroy();
    app.DestroyFrame();
}

}  // namespace
