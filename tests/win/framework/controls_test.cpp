// Toolbar, rebar, status bar and popup menu in the frame: the UpdateUI pass, buttons drawn
// from the image strip by state, the frame's layout, the rebar's tiled background, and the
// owner-drawn menu's drawing and command.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "framework/win/menu_popup.h"
#include "framework/win/rebar.h"
#include "framework/win/statusbar.h"
#include "framework/win/toolbar.h"
#include "framework/win/update_ui.h"
#include "resources/controls_test_ids.h"
#include "test_app.h"

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

TWIG4::UpdateUIRecord Answer(bool enabled, bool checked, bool radio = false, const wchar_t* text = nullptr) {
    TWIG4::UpdateUIRecord r;
    r.enabled = enabled, r.checked = checked, r.radio = radio, r.text = text;
    return r;
}

class Controls : public ::testing::Test {
protected:
    OwnerWnd owner;
    TWIG4::ToolBar bar;
    void SetUp() override {
        static ULONG_PTR gdiplus = 0;  // the program starts GDI+ itself
        Gdiplus::GdiplusStartupInput input;
        if (!gdiplus) Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
        ASSERT_TRUE(App().CreateFrame() && owner.CreateChild(0, WS_POPUP, nullptr));
        ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &owner));
        SetCursorPos(1, 1);  // nothing hot
    }
    void TearDown() override {
        bar.Destroy();
        owner.Destroy();
        App().DestroyFrame();
    }
    LRESULT State(int id) { return SendMessageW(bar.GetHandle(), TB_GETSTATE, id, 0) & (TBSTATE_ENABLED | TBSTATE_CHECKED); }
};

TEST_F(Controls, ToolbarAsksItsOwnerForEveryButtonAndAppliesTheAnswers) {
    ASSERT_TRUE(bar.AddButton(0, 40001, BTNS_AUTOSIZE, 0, L"one") && bar.AddButton(8, -1, BTNS_SEP, 0, nullptr));
    ASSERT_TRUE(bar.AddButton(1, 40002, BTNS_AUTOSIZE, 0, L"two") && bar.AddButton(2, 40003, BTNS_AUTOSIZE, 0, L"three"));
    EXPECT_EQ(State(40001), 0) << "nobody answered";
    owner.queries.clear();
    owner.answers = {{40001, Answer(true, false)}, {40002, Answer(false, true)}, {40003, Answer(true, false, true, L"renamed")}};
    EXPECT_FALSE(bar.OnIdle(0)) << "never asks for more idle passes";
    EXPECT_EQ(owner.queries, (std::vector<int>{40001, -1, 40002, 40003}));
    EXPECT_EQ(State(40001), TBSTATE_ENABLED);
    EXPECT_EQ(State(40002), TBSTATE_CHECKED);
    EXPECT_EQ(State(40003), TBSTATE_ENABLED | TBSTATE_CHECKED) << "a radio answer shows checked";
    wchar_t text[64] = {};
    SendMessageW(bar.GetHandle(), TB_GETBUTTONTEXTW, 40003, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"renamed");
    owner.answers[40002] = Answer(true, false);  // the timer's pass turns it back
    wintest::Pump(550);
    EXPECT_EQ(State(40002), TBSTATE_ENABLED);
}

TEST_F(Controls, ToolbarDrawsEachButtonFromTheStripRowOfItsState) {
    // A 24-bit BMP strip of 12 x 5 cells of 48 pixels, cell (column, row) one flat colour.
    const auto cell = [](int column, int row) { return RGB(10 + column * 20, 30 + row * 45, 0x77); };
    const DWORD header = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const BITMAPFILEHEADER file = {0x4D42, header + 1728 * 240, 0, 0, header};
    const BITMAPINFOHEADER info = {sizeof(info), 12 * 48, 5 * 48, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    wintest::Bytes bmp(file.bfOffBits);
    std::memcpy(bmp.data(), &file, sizeof(file));
    std::memcpy(bmp.data() + sizeof(file), &info, sizeof(info));
    for (int y = 5 * 48 - 1; y >= 0; --y)  // bottom-up rows of 1728 bytes, no padding
        for (int x = 0; x < 12 * 48; ++x)
            bmp.insert(bmp.end(), {GetBValue(cell(x / 48, y / 48)), GetGValue(cell(x / 48, y / 48)), GetRValue(cell(x / 48, y / 48))});
    wintest::ScratchDir dir;
    wintest::WriteFileBytes(dir / L"strip.bmp", bmp);
    wintest::WriteFileBytes(dir / L"garbage.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 'x'});
    EXPECT_FALSE(bar.LoadButtonImages((dir / L"garbage.png").c_str(), 48, 48));
    ASSERT_TRUE(bar.LoadButtonImages((dir / L"strip.bmp").c_str(), 48, 48));
    const int images[] = {3, 5, 7, 12};  // the last lies past the strip
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(bar.AddButton(images[i], 40001 + i, BTNS_AUTOSIZE, 0, L"button"));
    owner.answers = {{40001, Answer(true, false)}, {40002, Answer(false, true)}, {40003, Answer(true, true)}, {40004, Answer(true, false)}};
    bar.OnIdle(0);
    const COLORREF sentinel = RGB(0x01, 0x02, 0x03);
    wintest::Canvas shown(800, 100, sentinel);  // the bar is sized by its owner's layout, not here
    SendMessageW(bar.GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc()), PRF_CLIENT);
    // Normal: row 0; disabled and checked: row 4 (disabled wins); checked: row 3; none.
    const COLORREF expected[] = {cell(3, 0), cell(5, 4), cell(7, 3), sentinel};
    for (int i = 0; i < 4; ++i) {
        RECT r = {};
        SendMessageW(bar.GetHandle(), TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        EXPECT_EQ(shown.Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2), expected[i]) << "button " << i;
    }
}

RECT InFrame(const TWIG4::Wnd& child) {
    RECT r = {};
    GetWindowRect(child.GetHandle(), &r);
    MapWindowPoints(nullptr, App().GetHandle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(Controls, RebarTakesTheTopStatusBarTheBottomAndTheClientTheRest) {
    class Client : public TWIG4::SDIClientWnd {} client;
    TWIG4::RebarWnd rebar;
    TWIG4::StatusBar status;
    TWIG4::ToolBar inBand;
    ASSERT_TRUE(client.Create(&App()) && rebar.Create(0, 0, &App()) && status.Create(0, 0x0103, &App()));
    ASSERT_TRUE(inBand.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &App()) && inBand.AddButton(0, 40001, 0, 0, L"one"));
    ASSERT_TRUE(rebar.AddBand(&inBand, nullptr, false));
    EXPECT_EQ(App().GetControlBarCount(), 2u) << "the toolbar is the rebar's";
    const int edges[] = {100, 200, -1};
    ASSERT_TRUE(status.SetParts(3, edges));
    App().RecalcLayout();
    RECT c = {}, part = {};
    GetClientRect(App().GetHandle(), &c);
    const int top = rebar.GetThickness(), bottom = status.GetThickness();
    ASSERT_GT(top, 0);
    const RECT expected[] = {{0, 0, c.right, top}, {0, c.bottom - bottom, c.right, c.bottom}, {0, top, c.right, c.bottom - bottom}};
    const RECT got[] = {InFrame(rebar), InFrame(status), InFrame(client)};
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(EqualRect(&got[i], &expected[i])) << i;
    SendMessageW(status.GetHandle(), SB_GETRECT, 2, reinterpret_cast<LPARAM>(&part));
    EXPECT_EQ(part.right, c.right) << "the last part reaches the window edge";
    client.Destroy();
    App().SetClient(nullptr);
}

TEST_F(Controls, RebarBackgroundTilesFromTheLeftEndAndCutsTheLastTile) {
    TWIG4::RebarWnd rebar;
    ASSERT_TRUE(rebar.Create(0, 0, &App()) && rebar.Move(0, 0, 1000, 40, false));
    ASSERT_TRUE(rebar.LoadBackground(IDB_CONTROLS_TEST_TILE, IDB_CONTROLS_TEST_LEFT, IDB_CONTROLS_TEST_RIGHT));
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
    DestroyMenu(menu);
}

}  // namespace
