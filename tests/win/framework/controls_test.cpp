// Toolbar, rebar, status bar and popup menu in the frame: the UpdateUI pass, buttons drawn
// from the image strip by state, tooltips, docking, the rebar's tiled background, and the
// owner-drawn menu's drawing and command.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "framework/win/ctrlbar.h"
#include "framework/win/menu_popup.h"
#include "framework/win/rebar.h"
#include "framework/win/statusbar.h"
#include "framework/win/toolbar.h"
#include "framework/win/update_ui.h"
#include "resources/controls_test_ids.h"
#include "test_app.h"

using TWIG4::ToolBar;
using test::App;

namespace {

// A hidden owner that answers UpdateUI queries from a table and records the ids it was
// asked for (-1 for separators) and the commands it got.
class OwnerWnd : public TWIG4::Wnd {
public:
    std::map<int, TWIG4::UpdateUIRecord> answers;
    std::vector<int> queries, commands;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_COMMAND) return Wnd::WndProc(hwnd, message, wParam, lParam);
        const int id = LOWORD(wParam) == 0xFFFF ? -1 : LOWORD(wParam);
        if (!TWIG4::IsUpdateUIQuery(message, wParam, lParam)) return commands.push_back(id), 1;
        queries.push_back(id);
        if (answers.count(id)) *reinterpret_cast<TWIG4::UpdateUIRecord*>(lParam) = answers[id];
        return 1;
    }
};

TWIG4::UpdateUIRecord Answer(bool enabled, bool checked, bool radio = false, int image = TWIG4::kNoImageChange,
                             const wchar_t* text = nullptr) {
    TWIG4::UpdateUIRecord r;
    r.enabled = enabled, r.checked = checked, r.radio = radio, r.image = image, r.text = text;
    return r;
}

class Controls : public ::testing::Test {
protected:
    OwnerWnd owner;
    ToolBar bar;
    void SetUp() override {
        static ULONG_PTR gdiplus = 0;
        Gdiplus::GdiplusStartupInput input;
        if (!gdiplus) Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
        ASSERT_TRUE(App().CreateFrame());
        ASSERT_TRUE(owner.CreateChild(0, WS_POPUP, nullptr) && owner.Move(200, 200, 700, 120, true));
        SetCursorPos(1, 1);  // nothing hot
    }
    void TearDown() override {
        bar.Destroy();
        owner.Destroy();
        App().SetClient(nullptr);
        App().DestroyFrame();
    }
    COLORREF ButtonCentre(const wintest::Canvas& canvas, int index) {
        RECT r = {};
        SendMessageW(bar.GetHandle(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        return canvas.Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

TEST_F(Controls, ToolbarAsksItsOwnerForEveryButtonAndAppliesTheAnswers) {
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    ASSERT_TRUE(bar.AddButton(0, 40001, BTNS_AUTOSIZE, 0, L"one"));
    ASSERT_TRUE(bar.AddButton(8, -1, BTNS_SEP, 0, nullptr));
    ASSERT_TRUE(bar.AddButton(1, 40002, BTNS_AUTOSIZE, 0, L"two"));
    ASSERT_TRUE(bar.AddButton(2, 40003, BTNS_AUTOSIZE, 0, L"three"));
    const HWND h = bar.GetHandle();
    EXPECT_EQ(SendMessageW(h, TB_GETSTATE, 40001, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED), 0) << "nobody answered";
    owner.queries.clear();
    owner.answers = {{40001, Answer(true, false)}, {40002, Answer(false, true)}, {40003, Answer(true, false, true, 7, L"renamed")}};
    EXPECT_FALSE(bar.OnIdle(0)) << "never asks for more idle passes";
    EXPECT_EQ(owner.queries, (std::vector<int>{40001, -1, 40002, 40003}));
    EXPECT_EQ(SendMessageW(h, TB_GETSTATE, 40001, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED), TBSTATE_ENABLED);
    EXPECT_EQ(SendMessageW(h, TB_GETSTATE, 40002, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED), TBSTATE_CHECKED);
    EXPECT_EQ(SendMessageW(h, TB_GETSTATE, 40003, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED), TBSTATE_ENABLED | TBSTATE_CHECKED);
    wchar_t text[64] = {};
    SendMessageW(h, TB_GETBUTTONTEXTW, 40003, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"renamed");
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_IMAGE;
    SendMessageW(h, TB_GETBUTTONINFOW, 40003, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.iImage, 7);
    owner.answers[40002] = Answer(true, false);  // the timer's pass turns it back
    wintest::Pump(550);
    EXPECT_EQ(SendMessageW(h, TB_GETSTATE, 40002, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED), TBSTATE_ENABLED);
}

TEST_F(Controls, ToolbarDrawsEachButtonFromTheStripRowOfItsState) {
    // A 24-bit BMP strip of 12 x 5 cells of 48 pixels, cell (column, row) one flat colour.
    const auto cell = [](int column, int row) { return RGB(10 + column * 20, 30 + row * 45, 0x77); };
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {sizeof(info), 12 * 48, 5 * 48, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    wintest::Bytes bmp(sizeof(file) + sizeof(info));
    std::memcpy(bmp.data(), &file, sizeof(file));
    std::memcpy(bmp.data() + sizeof(file), &info, sizeof(info));
    for (int y = 5 * 48 - 1; y >= 0; --y)  // bottom-up rows of 1728 bytes, no padding
        for (int x = 0; x < 12 * 48; ++x) {
            const COLORREF c = cell(x / 48, y / 48);
            bmp.insert(bmp.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
        }
    wintest::ScratchDir dir;
    wintest::WriteFileBytes(dir / L"strip.bmp", bmp);
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    wintest::WriteFileBytes(dir / L"garbage.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 'x'});
    EXPECT_FALSE(bar.LoadButtonImages((dir / L"garbage.png").c_str(), 48, 48));
    EXPECT_FALSE(bar.HasImages());
    ASSERT_TRUE(bar.LoadButtonImages((dir / L"strip.bmp").c_str(), 48, 48));
    ASSERT_TRUE(bar.AddButton(3, 40001, BTNS_AUTOSIZE, 0, L"normal"));
    ASSERT_TRUE(bar.AddButton(5, 40002, BTNS_AUTOSIZE, 0, L"disabled and checked"));
    ASSERT_TRUE(bar.AddButton(7, 40003, BTNS_AUTOSIZE, 0, L"checked"));
    ASSERT_TRUE(bar.AddButton(12, 40004, BTNS_AUTOSIZE, 0, L"outside the strip"));
    owner.answers = {{40001, Answer(true, false)}, {40002, Answer(false, true)}, {40003, Answer(true, true)}, {40004, Answer(true, false)}};
    bar.OnIdle(0);
    const COLORREF sentinel = RGB(0x01, 0x02, 0x03);
    wintest::Canvas shown(800, 100, sentinel);  // the bar is sized by its owner's layout, not here
    SendMessageW(bar.GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc()), PRF_CLIENT);
    EXPECT_EQ(ButtonCentre(shown, 0), cell(3, 0)) << "normal: row 0";
    EXPECT_EQ(ButtonCentre(shown, 1), cell(5, 4)) << "disabled and checked: row 4, disabled wins";
    EXPECT_EQ(ButtonCentre(shown, 2), cell(7, 3)) << "checked: row 3";
    EXPECT_EQ(ButtonCentre(shown, 3), sentinel) << "index 12 lies past the strip: nothing drawn";
}

TEST_F(Controls, ToolbarButtonsAreToolsOfTheSharedTooltipGivingTheirText) {
    HWND tips = App().GetToolTipHandle();
    ASSERT_NE(tips, nullptr);
    const LRESULT before = SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0);
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
    ASSERT_TRUE(bar.AddButton(0, 40012, BTNS_AUTOSIZE, 0, L"Save image... (Ctrl+S)"));
    ASSERT_TRUE(bar.AddButton(8, -1, BTNS_SEP, 0, nullptr));
    ASSERT_TRUE(bar.AddButton(11, 40013, 0, 0, L"About Bistrope..."));
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), before + 2) << "not the separator";
    wchar_t text[128] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = bar.GetHandle();
    tool.uId = 40013;
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"About Bistrope...");
}

RECT InParent(const TWIG4::Wnd& child) {
    RECT r = {};
    GetWindowRect(child.GetHandle(), &r);
    MapWindowPoints(nullptr, GetParent(child.GetHandle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(Controls, RebarTakesTheTopStatusBarTheBottomAndTheClientTheRest) {
    class Client : public TWIG4::SDIClientWnd {} client;
    TWIG4::RebarWnd rebar;
    TWIG4::StatusBar status;
    ASSERT_TRUE(client.Create(&App()) && rebar.Create(0, 0, &App()) && status.Create(0, 0x0103, &App()));
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &App()) && bar.AddButton(0, 40001, BTNS_AUTOSIZE, 0, L"one"));
    ASSERT_TRUE(rebar.AddBand(&bar, nullptr, false));
    EXPECT_EQ(App().GetControlBarCount(), 2u) << "the toolbar is the rebar's";
    const int edges[] = {100, 200, -1};
    ASSERT_TRUE(status.SetParts(3, edges));
    App().RecalcLayout();
    RECT c = {}, part = {};
    GetClientRect(App().GetHandle(), &c);
    const int top = rebar.GetThickness(), bottom = status.GetThickness();
    ASSERT_GT(top, 0);
    const RECT expected[] = {{0, 0, c.right, top}, {0, c.bottom - bottom, c.right, c.bottom}, {0, top, c.right, c.bottom - bottom}};
    const RECT got[] = {InParent(rebar), InParent(status), InParent(client)};
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(EqualRect(&got[i], &expected[i])) << i;
    SendMessageW(status.GetHandle(), SB_GETRECT, 2, reinterpret_cast<LPARAM>(&part));
    EXPECT_EQ(part.right, c.right) << "the last part reaches the window edge";
    client.Destroy();
}

// A bar of the framework's own control class, so only the docking places it.
class PlainBar : public TWIG4::CtrlBarWnd {
public:
    bool Make(DWORD side) { return Create(L"TWIG4_CTRL_CLASS", 0, WS_CHILD | WS_VISIBLE | side, L"", 0, 0, 5, 5, &App(), 0); }
};

TEST_F(Controls, BarsDockAtTheSideTheirStyleNames) {
    const struct {
        DWORD style;
        RECT placement, remaining;
    } cases[] = {{0x83, {270, 10, 302, 200}, {20, 10, 270, 200}},  // vertical and bottom: right
                 {0x80, {20, 10, 52, 200}, {52, 10, 302, 200}},    // left
                 {0x03, {20, 168, 302, 200}, {20, 10, 302, 168}},  // bottom
                 {0x00, {20, 10, 302, 42}, {20, 42, 302, 200}}};   // top
    for (const auto& k : cases) {
        PlainBar side;
        ASSERT_TRUE(side.Make(k.style));
        RECT r = {20, 10, 302, 200};
        ASSERT_TRUE(side.Reposition(&r));
        const RECT at = InParent(side);
        EXPECT_TRUE(EqualRect(&at, &k.placement)) << k.style;
        EXPECT_TRUE(EqualRect(&r, &k.remaining)) << k.style;
    }
}

TEST_F(Controls, RebarBackgroundTilesFromTheLeftEndAndCutsTheLastTile) {
    TWIG4::RebarWnd rebar;
    ASSERT_TRUE(rebar.Create(0, 0, &App()));
    ASSERT_TRUE(rebar.LoadBackground(IDB_CONTROLS_TEST_TILE, IDB_CONTROLS_TEST_LEFT, IDB_CONTROLS_TEST_RIGHT));
    ASSERT_TRUE(rebar.Move(0, 0, 1000, 40, false));
    const COLORREF sentinel = RGB(0x01, 0x02, 0x03);
    wintest::Canvas canvas(1000, 40, sentinel);
    EXPECT_EQ(SendMessageW(rebar.GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0), 1);
    for (int x = 0; x < 1000; ++x) {  // left end 20 wide, right end 30; tiles of 64 from x 20
        const COLORREF expected = x < 20 ? RGB(0xE0, 0, 0) : x >= 970 ? RGB(0, 0, 0xE0) : RGB(0x10, (x - 20) % 64 * 4, 0x20);
        ASSERT_EQ(canvas.Pixel(x, 5), expected) << x;
        ASSERT_EQ(canvas.Pixel(x, 8), sentinel) << "only the bitmaps' height is painted";
    }
}

TEST_F(Controls, PopupMenuDrawsItsItemsAndSendsTheChosenCommand) {
    const int kFirst = 7141, kSecond = 7142;
    TWIG4::MenuPopup popup;
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kFirst, L"Save image...\tCtrl+S");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kSecond, L"Zoom all");
    owner.answers = {{kFirst, Answer(true, true)}, {kSecond, Answer(false, false)}};
    wintest::Canvas selected(200, 24);
    wintest::OneShot inside(250, [&] {
        DRAWITEMSTRUCT d = {};  // the checked first item, selected
        d.CtlType = ODT_MENU, d.itemID = kFirst, d.itemAction = ODA_DRAWENTIRE, d.itemState = ODS_SELECTED;
        d.hwndItem = reinterpret_cast<HWND>(menu), d.hDC = selected.dc(), d.rcItem = RECT{0, 0, 200, 24};
        SendMessageW(popup.GetHandle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
        HWND shown = wintest::WaitForWindow([](HWND w) { return wintest::ClassOf(w) == L"#32768"; }, 0, wintest::Shown::Only);
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageW(shown, WM_KEYDOWN, key, 0);
    });
    wintest::OneShot watchdog(5000, [] { EndMenu(); });
    ASSERT_TRUE(popup.TrackMenu(menu, &owner, 150, 150));
    EXPECT_EQ(owner.commands, (std::vector<int>{kSecond})) << "a disabled item is still chosen";
    EXPECT_EQ(std::count(owner.queries.begin(), owner.queries.end(), -1), 0) << "separators are not asked";
    const std::pair<POINT, COLORREF> expected[] = {
        {{0, 0}, RGB(0, 0, 0xFF)},        {{199, 23}, RGB(0, 0, 0xFF)},       // outline
        {{1, 1}, RGB(0xC0, 0xC8, 0xD7)},  {{198, 1}, RGB(0xC1, 0xD2, 0xEE)},  // icon column, body
        {{2, 2}, RGB(0xBE, 0xDC, 0xF0)},  {{9, 18}, RGB(0x20, 0x80, 0x20)}};  // mark box, tick
    for (const auto& [at, colour] : expected) EXPECT_EQ(selected.Pixel(at.x, at.y), colour) << at.x << ", " << at.y;

    owner.commands.clear();
    wintest::OneShot dismiss(250, [] { EndMenu(); });
    ASSERT_TRUE(popup.TrackMenu(menu, &owner, 150, 150));
    EXPECT_EQ(owner.commands, (std::vector<int>{0})) << "dismissed";
    EXPECT_FALSE(popup.TrackMenuResource(7198, &owner, 0, 0)) << "no such menu";
    DestroyMenu(menu);
}

}  // namespace
