// The tree property sheet: page area and layout, one page shown at a time, OK applying
// every page in order, Cancel / Escape / close applying nothing, and its own modal loop.
// Each sheet is driven from inside its modal loop by a timer on its first page; a watchdog
// thread closes a sheet that is still open after 8 s, so no test can hang.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "resources/controls_test_ids.h"
#include "controls_test_util.h"
#include "framework/win/prop_sheet.h"
#include "test_app.h"

using TWIG4::PropPage2;
using TWIG4::PropSheet2;

namespace {

constexpr UINT_PTR kDriveTimer = 77;

class TestPage : public PropPage2 {
public:
    TestPage(int templateId, int number, std::vector<int>* log, int width = 0, int height = 0)
        : PropPage2(templateId), number(number), log(log), width(width), height(height) {}

    std::function<void()> drive;  // run once, from a timer inside the sheet's modal loop

    void OnApply() override {
        if (log) log->push_back(number);
    }
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) {
            // Child templates have no frame: the window size is the client size.
            if (width > 0) SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
            if (drive) ::SetTimer(hwnd, kDriveTimer, 150, nullptr);
        }
        if (message == WM_TIMER && wParam == kDriveTimer) {
            ::KillTimer(hwnd, kDriveTimer);
            if (drive) drive();
            return 1;
        }
        return PropPage2::WndProc(hwnd, message, wParam, lParam);
    }

private:
    int number;
    std::vector<int>* log;
    int width;
    int height;
};

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

RECT RectInSheet(HWND child, HWND sheet) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Shown(const PropPage2& p) { return IsWindowVisible(p.GetHandle()) && IsWindowEnabled(p.GetHandle()); }
bool Hidden(const PropPage2& p) { return !IsWindowVisible(p.GetHandle()) && !IsWindowEnabled(p.GetHandle()); }

class PropSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::App().CreateFrame());
        ASSERT_TRUE(parent.Make(100, 100, 800, 600));
    }
    void TearDown() override {
        parent.Destroy();
        test::App().DestroyFrame();
    }

    // Runs the sheet with a watchdog; returns DoModal's result.
    int Run(PropSheet2& sheet, const wchar_t* title, bool centre) {
        volatile bool done = false;
        stuck = false;
        wintest::Helper watchdog([&] {
            for (int i = 0; i < 400 && !done; ++i) Sleep(20);
            if (done) return;
            stuck = true;
            if (HWND h = sheet.GetHandle()) PostMessageW(h, WM_CLOSE, 0, 0);
        });
        const int result = sheet.DoModal(title, &parent, centre);
        done = true;
        EXPECT_TRUE(watchdog.Join(10000));
        return result;
    }

    static void Click(PropSheet2& sheet, TWIG4::ButtonWnd& button) {
        SendMessageW(sheet.GetHandle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button.GetHandle()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button.GetHandle()));
    }

    test::OwnerWnd parent;
    volatile bool stuck = false;
};

TEST_F(PropSheetTest, PageAreaIsTheLargestWidthByTheLargestHeightAndTheSheetIsLaidOutAroundIt) {
    std::vector<int> applied;
    TestPage a(IDD_CONTROLS_TEST_CHILD_PAGE, 1, &applied, 300, 200);
    TestPage b(IDD_CONTROLS_TEST_CHILD_PAGE, 2, &applied, 300, 200);
    TestPage c(IDD_CONTROLS_TEST_CHILD_PAGE, 3, &applied, 320, 150);
    PropSheet2 sheet;
    ASSERT_TRUE(sheet.AddPage(&a, L"First"));
    ASSERT_TRUE(sheet.AddPage(&b, L"Second"));
    ASSERT_TRUE(sheet.AddPage(&c, L"Third"));

    RECT pageRect = {}, client = {}, window = {}, ok = {}, cancel = {}, tree = {}, pageAt[3] = {};
    bool frameDisabled = false;
    a.drive = [&] {
        HWND s = sheet.GetHandle();
        pageRect = sheet.GetPageRect();
        GetClientRect(s, &client);
        GetWindowRect(s, &window);
        ok = RectInSheet(sheet.GetOkButton().GetHandle(), s);
        cancel = RectInSheet(sheet.GetCancelButton().GetHandle(), s);
        tree = RectInSheet(sheet.GetTree().GetHandle(), s);
        pageAt[0] = RectInSheet(a.GetHandle(), s);
        pageAt[1] = RectInSheet(b.GetHandle(), s);
        pageAt[2] = RectInSheet(c.GetHandle(), s);
        frameDisabled = !IsWindowEnabled(test::App().GetHandle());
        Click(sheet, sheet.GetCancelButton());
    };
    EXPECT_EQ(Run(sheet, L"Settings", true), 2);
    EXPECT_FALSE(stuck);

    EXPECT_TRUE(Same(pageRect, RECT{200, 0, 520, 200}));
    for (const RECT& r : pageAt) EXPECT_TRUE(Same(r, pageRect));
    EXPECT_EQ(client.right, 520);
    EXPECT_EQ(client.bottom, 248);
    EXPECT_TRUE(Same(ok, RECT{354, 213, 429, 236}));
    EXPECT_TRUE(Same(cancel, RECT{433, 213, 508, 236}));
    EXPECT_TRUE(Same(tree, RECT{6, 6, 194, 202}));
    // Centred over the parent (100, 100, 900, 700), halves truncated.
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    EXPECT_EQ(window.left, 500 - w / 2);
    EXPECT_EQ(window.top, 400 - h / 2);
    EXPECT_TRUE(frameDisabled);
    EXPECT_TRUE(IsWindowEnabled(test::App().GetHandle()));  // enabled again afterwards
    EXPECT_TRUE(applied.empty());
    EXPECT_EQ(sheet.GetHandle(), nullptr);
}

TEST_F(PropSheetTest, SelectingATreeItemShowsExactlyThatPage) {
    TestPage a(IDD_CONTROLS_TEST_CHILD_PAGE, 1, nullptr, 200, 100);
    TestPage b(IDD_CONTROLS_TEST_CHILD_PAGE, 2, nullptr, 200, 100);
    TestPage c(IDD_CONTROLS_TEST_POPUP_PAGE, 3, nullptr);
    PropSheet2 sheet;
    sheet.AddPage(&a, L"First");
    sheet.AddPage(&b, L"Second");
    sheet.AddPage(&c, L"Third");

    bool firstOnly = false, thirdOnly = false, secondOnly = false;
    HTREEITEM selected = nullptr;
    LONG_PTR style = 0, exStyle = 0;
    HWND cParent = nullptr;
    HWND sheetHandle = nullptr;
    std::wstring label;
    a.drive = [&] {
        firstOnly = Shown(a) && Hidden(b) && Hidden(c);
        // A click on the third item (the tree notifies the sheet).
        sheet.GetTree().SelectItem(c.GetTreeItem());
        thirdOnly = Hidden(a) && Hidden(b) && Shown(c);
        // Through the sheet, selecting in the tree too.
        EXPECT_TRUE(sheet.ShowPage(&b, true));
        secondOnly = Hidden(a) && Shown(b) && Hidden(c);
        selected = reinterpret_cast<HTREEITEM>(
            SendMessageW(sheet.GetTree().GetHandle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
        EXPECT_FALSE(sheet.ShowPage(nullptr, false));
        // The popup template became a plain child of the sheet.
        style = GetWindowLongPtrW(c.GetHandle(), GWL_STYLE);
        exStyle = GetWindowLongPtrW(c.GetHandle(), GWL_EXSTYLE);
        cParent = GetParent(c.GetHandle());
        sheetHandle = sheet.GetHandle();
        wchar_t text[64] = {};
        TVITEMW item = {};
        item.mask = TVIF_TEXT;
        item.hItem = c.GetTreeItem();
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(sheet.GetTree().GetHandle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        label = text;
        Click(sheet, sheet.GetCancelButton());
    };
    EXPECT_EQ(Run(sheet, L"Pages", false), 2);
    EXPECT_FALSE(stuck);
    EXPECT_TRUE(firstOnly);
    EXPECT_TRUE(thirdOnly);
    EXPECT_TRUE(secondOnly);
    EXPECT_EQ(selected, b.GetTreeItem());
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
    EXPECT_FALSE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(cParent, sheetHandle);
    EXPECT_EQ(label, L"Third");
}

TEST_F(PropSheetTest, OkAppliesEveryPageInOrderIncludingPagesNeverShown) {
    std::vector<int> applied;
    TestPage a(IDD_CONTROLS_TEST_CHILD_PAGE, 1, &applied, 200, 100);
    TestPage b(IDD_CONTROLS_TEST_CHILD_PAGE, 2, &applied, 200, 100);
    TestPage c(IDD_CONTROLS_TEST_POPUP_PAGE, 3, &applied);
    PropSheet2 sheet;
    sheet.AddPage(&a, L"First");
    sheet.AddPage(&b, L"Second");
    sheet.AddPage(&c, L"Third");
    a.drive = [&] { Click(sheet, sheet.GetOkButton()); };  // pages 2 and 3 never shown
    EXPECT_EQ(Run(sheet, L"Settings", true), 1);
    EXPECT_FALSE(stuck);  // the sheet woke itself: nothing else had to arrive
    EXPECT_EQ(applied, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(sheet.IsAccepted());
    EXPECT_TRUE(IsWindowEnabled(test::App().GetHandle()));
}

TEST_F(PropSheetTest, CancelEscapeAndCloseApplyNothing) {
    struct Way {
        const char* name;
        std::function<void(PropSheet2&)> leave;
    };
    const Way ways[] = {
        {"cancel", [](PropSheet2& s) { Click(s, s.GetCancelButton()); }},
        {"escape", [](PropSheet2& s) { SendMessageW(s.GetHandle(), WM_CHAR, VK_ESCAPE, 0); }},
        {"close", [](PropSheet2& s) { SendMessageW(s.GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways) {
        std::vector<int> applied;
        TestPage a(IDD_CONTROLS_TEST_CHILD_PAGE, 1, &applied, 200, 100);
        TestPage b(IDD_CONTROLS_TEST_CHILD_PAGE, 2, &applied, 200, 100);
        PropSheet2 sheet;
        sheet.AddPage(&a, L"First");
        sheet.AddPage(&b, L"Second");
        a.drive = [&] { way.leave(sheet); };
        EXPECT_EQ(Run(sheet, L"Settings", true), 2) << way.name;
        EXPECT_FALSE(stuck) << way.name;
        EXPECT_TRUE(applied.empty()) << way.name;
        EXPECT_FALSE(sheet.IsAccepted()) << way.name;
    }
}

TEST_F(PropSheetTest, EscapeInAPageControlStaysWithTheControlAndEnterDoesNotPressOk) {
    std::vector<int> applied;
    TestPage a(IDD_CONTROLS_TEST_POPUP_PAGE, 1, &applied);
    PropSheet2 sheet;
    sheet.AddPage(&a, L"Only");
    bool stillOpen = false;
    LONG_PTR okStyle = 0;
    a.drive = [&] {
        HWND edit = GetDlgItem(a.GetHandle(), IDC_CONTROLS_TEST_EDIT);
        SetFocus(edit);
        SendMessageW(edit, WM_CHAR, VK_ESCAPE, 0);
        SendMessageW(edit, WM_CHAR, VK_RETURN, 0);
        wintest::Pump(50);
        stillOpen = sheet.ContinueModal();
        okStyle = GetWindowLongPtrW(sheet.GetOkButton().GetHandle(), GWL_STYLE);
        Click(sheet, sheet.GetOkButton());
    };
    EXPECT_EQ(Run(sheet, L"Settings", false), 1);
    EXPECT_TRUE(stillOpen);
    EXPECT_NE(okStyle & 0xF, BS_DEFPUSHBUTTON);
    EXPECT_EQ(applied, (std::vector<int>{1}));
}

TEST_F(PropSheetTest, NoPagesMeansNoSheet) {
    PropSheet2 sheet;
    EXPECT_FALSE(sheet.AddPage(nullptr, L"none"));
    EXPECT_EQ(sheet.DoModal(L"Empty", &parent, true), -1);
    EXPECT_EQ(sheet.GetHandle(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(test::App().GetHandle()));
}

TEST_F(PropSheetTest, PagesPaintLabelsOnTheirOwnColour) {
    TestPage a(IDD_CONTROLS_TEST_CHILD_PAGE, 1, nullptr, 200, 100);
    PropSheet2 sheet;
    sheet.AddPage(&a, L"Only");
    LRESULT brush = 0;
    int mode = 0;
    a.drive = [&] {
        wintest::Canvas canvas(4, 4);
        SetBkMode(canvas.dc(), OPAQUE);
        HWND label = GetDlgItem(a.GetHandle(), IDC_CONTROLS_TEST_LABEL);
        brush = SendMessageW(a.GetHandle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc()),
                             reinterpret_cast<LPARAM>(label));
        mode = GetBkMode(canvas.dc());
        Click(sheet, sheet.GetOkButton());
    };
    EXPECT_EQ(Run(sheet, L"Settings", false), 1);
    ASSERT_NE(brush, 0);
    LOGBRUSH info = {};
    GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(info), &info);
    EXPECT_EQ(info.lbColor, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(mode, TRANSPARENT);
}

}  // namespace
