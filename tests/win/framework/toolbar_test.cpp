// The toolbar: the UpdateUI pass, drawing from the image strip by state row, tooltips.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "controls_test_util.h"
#include "framework/win/toolbar.h"
#include "framework/win/tooltip.h"
#include "test_app.h"

using TWIG4::ToolBar;

namespace {

constexpr int kCell = 48;

// Strip cell (column, row) is one flat colour of its own.
COLORREF CellColour(int column, int row) { return RGB(10 + column * 20, 30 + row * 45, 0x77); }

std::wstring MakeStrip(int columns, int rows) {
    const std::wstring path = test::TempFile(L"controls_test_strip_" + std::to_wstring(columns) + L".bmp");
    test::WriteBmp24(path, columns * kCell, rows * kCell,
                     [](int x, int y) { return CellColour(x / kCell, y / kCell); });
    return path;
}

class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureGdiplus();
        ASSERT_TRUE(test::App().CreateFrame());
        ASSERT_TRUE(owner.Make(200, 200, 700, 120));
        SetCursorPos(1, 1);  // nothing hot
    }
    void TearDown() override {
        bar.Destroy();
        owner.Destroy();
        test::App().DestroyFrame();
    }

    // Draws the toolbar's client area into a canvas the way a paint would.
    void Print(wintest::Canvas& canvas) {
        SendMessageW(bar.GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
        GdiFlush();
    }
    RECT ItemRect(int index) {
        RECT r = {};
        SendMessageW(bar.GetHandle(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        return r;
    }

    test::OwnerWnd owner;
    ToolBar bar;
};

TEST_F(ToolBarTest, AsksItsOwnerForEveryButtonSeparatorsIncluded) {
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    ASSERT_TRUE(bar.AddButton(0, 40012, BTNS_AUTOSIZE, 0, L"Save image... (Ctrl+S)"));
    ASSERT_TRUE(bar.AddButton(8, -1, BTNS_SEP, 0, nullptr));
    ASSERT_TRUE(bar.AddButton(1, 40001, BTNS_AUTOSIZE, 0, L"Monochromatic blending"));
    // Each AddButton runs a pass at once, over the buttons so far.
    EXPECT_EQ(owner.queries, (std::vector<int>{40012, 40012, -1, 40012, -1, 40001}));

    owner.queries.clear();
    EXPECT_FALSE(bar.OnIdle(0));  // never asks for more idle passes
    EXPECT_EQ(owner.queries, (std::vector<int>{40012, -1, 40001}));
}

TEST_F(ToolBarTest, AppliesTheAnswers) {
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    ASSERT_TRUE(bar.AddButton(0, 40001, BTNS_AUTOSIZE, 0, L"one"));
    ASSERT_TRUE(bar.AddButton(1, 40002, BTNS_AUTOSIZE, 0, L"two"));
    ASSERT_TRUE(bar.AddButton(2, 40003, BTNS_AUTOSIZE, 0, L"three"));
    HWND h = bar.GetHandle();
    // Added with state 0, but nobody answered otherwise: they stay disabled and unchecked.
    EXPECT_EQ(SendMessageW(h, TB_GETSTATE, 40001, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED), 0);

    owner.answers[40001] = {true, false};
    owner.answers[40002] = {false, true};
    owner.answers[40003] = {true, false, true, 7, L"renamed"};  // radio shows checked
    bar.OnIdle(0);
    EXPECT_EQ(SendMessageW(h, TB_GETSTATE, 40001, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED), TBSTATE_ENABLED);
    EXPECT_EQ(SendMessageW(h, TB_GETSTATE, 40002, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED), TBSTATE_CHECKED);
    EXPECT_EQ(SendMessageW(h, TB_GETSTATE, 40003, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED),
              TBSTATE_ENABLED | TBSTATE_CHECKED);
    wchar_t text[64] = {};
    SendMessageW(h, TB_GETBUTTONTEXTW, 40003, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"renamed");
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_IMAGE;
    SendMessageW(h, TB_GETBUTTONINFOW, 40003, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.iImage, 7);

    // The next answer turns them back.
    owner.answers[40002] = {true, false};
    bar.OnIdle(0);
    EXPECT_EQ(SendMessageW(h, TB_GETSTATE, 40002, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED), TBSTATE_ENABLED);
}

TEST_F(ToolBarTest, TheTimerRefreshesTheStates) {
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    ASSERT_TRUE(bar.AddButton(0, 40001, BTNS_AUTOSIZE, 0, L"one"));
    owner.queries.clear();
    owner.answers[40001] = {true, true};
    wintest::Pump(550);
    EXPECT_GE(owner.QueriesFor(40001), 2);  // 100 ms period
    EXPECT_EQ(SendMessageW(bar.GetHandle(), TB_GETSTATE, 40001, 0) & TBSTATE_CHECKED, TBSTATE_CHECKED);
}

TEST_F(ToolBarTest, DrawsEachButtonFromTheStripRowOfItsState) {
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    ASSERT_TRUE(bar.LoadButtonImages(MakeStrip(12, 5).c_str(), kCell, kCell));
    ASSERT_TRUE(bar.HasImages());
    ASSERT_TRUE(bar.AddButton(3, 40001, BTNS_AUTOSIZE, 0, L"normal"));
    ASSERT_TRUE(bar.AddButton(8, -1, BTNS_SEP, 0, nullptr));
    ASSERT_TRUE(bar.AddButton(5, 40002, BTNS_AUTOSIZE, 0, L"disabled and checked"));
    ASSERT_TRUE(bar.AddButton(7, 40003, BTNS_AUTOSIZE, 0, L"checked"));
    ASSERT_TRUE(bar.AddButton(12, 40004, BTNS_AUTOSIZE, 0, L"outside the strip"));
    owner.answers[40001] = {true, false};
    owner.answers[40002] = {false, true};
    owner.answers[40003] = {true, true};
    owner.answers[40004] = {true, false};
    bar.OnIdle(0);

    const COLORREF sentinel = RGB(0x01, 0x02, 0x03);
    wintest::Canvas canvas(800, 100, sentinel);
    Print(canvas);

    struct Expect {
        int index;
        COLORREF colour;
    };
    const Expect expected[] = {
        {0, CellColour(3, 0)},  // normal: row 0
        {2, CellColour(5, 4)},  // disabled and checked: row 4, disabled wins
        {3, CellColour(7, 3)},  // checked: row 3
        {4, sentinel},          // index 12 lies past a 576-pixel strip: nothing drawn
    };
    for (const Expect& e : expected) {
        const RECT r = ItemRect(e.index);
        ASSERT_GT(r.right - r.left, 8) << e.index;
        const int cx = (r.left + r.right) / 2;
        const int cy = (r.top + r.bottom) / 2;
        EXPECT_EQ(canvas.Pixel(cx, cy), e.colour) << "button " << e.index;
        EXPECT_EQ(canvas.Pixel(r.left + 4, r.top + 4), e.colour) << "button " << e.index;
        EXPECT_EQ(canvas.Pixel(r.right - 5, r.bottom - 5), e.colour) << "button " << e.index;
    }
    // No frame and no text: the whole button is the cell (checked at its centre row).
    const RECT checked = ItemRect(3);
    for (int x = checked.left + 2; x < checked.right - 2; ++x)
        EXPECT_EQ(canvas.Pixel(x, (checked.top + checked.bottom) / 2), CellColour(7, 3)) << x;
}

TEST_F(ToolBarTest, AStripThatCannotBeReadLeavesButtonsBlank) {
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    EXPECT_FALSE(bar.LoadButtonImages(test::TempFile(L"controls_test_no_such_file.png").c_str(), kCell, kCell));
    EXPECT_FALSE(bar.HasImages());

    const std::wstring empty = test::TempFile(L"controls_test_empty.png");
    FILE* f = _wfopen(empty.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fclose(f);
    EXPECT_FALSE(bar.LoadButtonImages(empty.c_str(), kCell, kCell));

    const std::wstring garbage = test::TempFile(L"controls_test_garbage.png");
    f = _wfopen(garbage.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fputs("\x89PNG\r\n\x1a\n this is not really a png", f);
    fclose(f);
    EXPECT_FALSE(bar.LoadButtonImages(garbage.c_str(), kCell, kCell));
    EXPECT_FALSE(bar.HasImages());

    owner.answers[40001] = {true, false};
    ASSERT_TRUE(bar.AddButton(0, 40001, BTNS_AUTOSIZE, 0, L"no image"));
    const COLORREF sentinel = RGB(0x05, 0x06, 0x07);
    wintest::Canvas canvas(400, 100, sentinel);
    Print(canvas);
    const RECT r = ItemRect(0);
    EXPECT_EQ(canvas.Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2), sentinel);
}

TEST_F(ToolBarTest, ButtonsAreToolsOfTheSharedTooltipAndGiveTheirText) {
    HWND tips = test::App().GetToolTipHandle();
    ASSERT_NE(tips, nullptr);
    ASSERT_TRUE(IsWindow(tips));
    const LRESULT toolsBefore = SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0);

    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    ASSERT_TRUE(bar.AddButton(0, 40012, BTNS_AUTOSIZE, 0, L"Save image... (Ctrl+S)"));
    ASSERT_TRUE(bar.AddButton(8, -1, BTNS_SEP, 0, nullptr));
    ASSERT_TRUE(bar.AddButton(11, 40013, 0, 0, L"About Bistrope..."));
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), toolsBefore + 2);  // not the separator

    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = bar.GetHandle();
    tool.uId = 40013;
    ASSERT_TRUE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    RECT button = {};
    SendMessageW(bar.GetHandle(), TB_GETRECT, 40013, reinterpret_cast<LPARAM>(&button));
    EXPECT_TRUE(EqualRect(&tool.rect, &button));
    EXPECT_EQ(tool.lParam, reinterpret_cast<LPARAM>(&bar));
    EXPECT_EQ(SendMessageW(tips, TTM_GETMAXTIPWIDTH, 0, 0), 300);

    // The tooltip asks the tool for its text; the request reaches the toolbar object.
    wchar_t text[128] = {};
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"About Bistrope...");
}

TEST_F(ToolBarTest, SizeAndStyle) {
    EXPECT_FALSE(bar.Create(0, 0, nullptr));
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    const LONG_PTR style = GetWindowLongPtrW(bar.GetHandle(), GWL_STYLE);
    EXPECT_EQ(style & 0x5000904C, 0x5000904C);  // visible child, transparent, list, no divider, placed by us
    EXPECT_EQ(SendMessageW(bar.GetHandle(), TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_MIXEDBUTTONS,
              TBSTYLE_EX_MIXEDBUTTONS);
    EXPECT_TRUE(bar.BarQuery());
    ASSERT_TRUE(bar.LoadButtonImages(MakeStrip(12, 5).c_str(), kCell, kCell));
    ASSERT_TRUE(bar.AddButton(0, 40001, BTNS_AUTOSIZE, 0, L"one"));
    ASSERT_TRUE(bar.AddButton(1, 40002, BTNS_AUTOSIZE, 0, L"two"));
    SIZE max = {};
    SendMessageW(bar.GetHandle(), TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&max));
    EXPECT_EQ(bar.GetThickness(), max.cy);
    EXPECT_GE(max.cy, kCell);
    RECT extent = {};
    ASSERT_TRUE(bar.GetBarRect(&extent));
    EXPECT_EQ(extent.left, 0);
    EXPECT_EQ(extent.top, 0);
    EXPECT_EQ(extent.right, max.cx);
    EXPECT_EQ(extent.bottom, max.cy);
    EXPECT_FALSE(bar.GetBarRect(nullptr));
}

}  // namespace
