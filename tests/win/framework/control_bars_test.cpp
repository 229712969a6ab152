// Control bars in the frame: docking order, the four docking sides, the rebar's tiled
// background, locking, and its lock menu.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "resources/controls_test_ids.h"
#include "controls_test_util.h"
#include "framework/win/ctrlbar.h"
#include "framework/win/rebar.h"
#include "framework/win/statusbar.h"
#include "framework/win/toolbar.h"
#include "test_app.h"

using TWIG4::CtrlBarWnd;
using TWIG4::RebarWnd;
using TWIG4::StatusBar;
using TWIG4::ToolBar;

namespace {

RECT WindowRectInParent(HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

std::string Show(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

class ControlBars : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureGdiplus();
        ASSERT_TRUE(test::App().CreateFrame());
        SetCursorPos(1, 1);
    }
    void TearDown() override {
        test::App().SetClient(nullptr);
        test::App().DestroyFrame();
    }
};

class ClientWnd : public TWIG4::SDIClientWnd {};

TEST_F(ControlBars, RebarTakesTheTopStatusBarTheBottomClientTheRest) {
    test::OwnerWnd owner;
    ASSERT_TRUE(owner.Make(0, 0, 10, 10));
    ClientWnd client;
    RebarWnd rebar;
    StatusBar status;
    ToolBar bar;
    ASSERT_TRUE(client.Create(&test::App()));
    ASSERT_TRUE(rebar.Create(0, 0, &test::App()));
    ASSERT_TRUE(status.Create(0, 0x0103, &test::App()));
    ASSERT_TRUE(bar.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &test::App()));
    ASSERT_EQ(test::App().GetControlBarCount(), 3u);
    ASSERT_TRUE(bar.AddButton(0, 40001, BTNS_AUTOSIZE, 0, L"one"));
    ASSERT_TRUE(rebar.AddBand(&bar, nullptr, false));
    EXPECT_EQ(test::App().GetControlBarCount(), 2u);  // the toolbar is the rebar's now
    EXPECT_TRUE(bar.IsInBand());
    EXPECT_FALSE(rebar.IsLocked());  // one band only

    test::App().RecalcLayout();
    test::App().RecalcLayout();
    RECT c = {};
    GetClientRect(test::App().GetHandle(), &c);
    const int top = rebar.GetThickness();
    const int bottom = status.GetThickness();
    ASSERT_GT(top, 0);
    ASSERT_GT(bottom, 0);
    const RECT rebarAt = WindowRectInParent(rebar.GetHandle());
    const RECT statusAt = WindowRectInParent(status.GetHandle());
    const RECT clientAt = WindowRectInParent(client.GetHandle());
    EXPECT_TRUE(SameRect(rebarAt, RECT{0, 0, c.right, top})) << Show(rebarAt);
    EXPECT_TRUE(SameRect(statusAt, RECT{0, c.bottom - bottom, c.right, c.bottom})) << Show(statusAt);
    EXPECT_TRUE(SameRect(clientAt, RECT{0, top, c.right, c.bottom - bottom})) << Show(clientAt);
}

// A bar of the framework's own control class, so only our docking places it.
class PlainBar : public CtrlBarWnd {
public:
    bool Make(DWORD sideStyle, TWIG4::Wnd* parent) {
        return Create(L"TWIG4_CTRL_CLASS", 0, WS_CHILD | WS_VISIBLE | sideStyle, L"", 0, 0, 5, 5, parent, 0);
    }
};

TEST_F(ControlBars, RepositionDocksAtTheSideItsStyleNames) {
    struct Case {
        DWORD style;
        RECT placement;
        RECT remaining;
    };
    const Case cases[] = {
        {0x83, {270, 10, 302, 200}, {20, 10, 270, 200}},  // vertical and bottom: right
        {0x80, {20, 10, 52, 200}, {52, 10, 300 + 2, 200}},
        {0x03, {20, 168, 302, 200}, {20, 10, 302, 168}},  // bottom
        {0x00, {20, 10, 302, 42}, {20, 42, 302, 200}},    // top
    };
    for (const Case& k : cases) {
        PlainBar bar;
        ASSERT_TRUE(bar.Make(k.style, &test::App()));
        EXPECT_EQ(bar.GetThickness(), 32);
        RECT r = {20, 10, 302, 200};
        ASSERT_TRUE(bar.Reposition(&r));
        const RECT at = WindowRectInParent(bar.GetHandle());
        EXPECT_TRUE(SameRect(at, k.placement)) << "style " << k.style << " at " << Show(at);
        EXPECT_TRUE(SameRect(r, k.remaining)) << "style " << k.style << " left " << Show(r);
    }
    PlainBar bar;
    ASSERT_TRUE(bar.Make(0, &test::App()));
    EXPECT_FALSE(bar.Reposition(nullptr));
    bar.Destroy();
    RECT r = {1, 2, 3, 4};
    EXPECT_FALSE(bar.Reposition(&r));  // no window: the move fails and nothing changes
    EXPECT_TRUE(SameRect(r, RECT{1, 2, 3, 4}));
}

TEST_F(ControlBars, BackgroundTilesFromTheLeftEndAndCutsTheLastTileAtTheRightEnd) {
    RebarWnd rebar;
    ASSERT_TRUE(rebar.Create(0, 0, &test::App()));
    ASSERT_TRUE(rebar.LoadBackground(IDB_CONTROLS_TEST_TILE, IDB_CONTROLS_TEST_LEFT, IDB_CONTROLS_TEST_RIGHT));
    ASSERT_TRUE(rebar.Move(0, 0, 1000, 40, false));
    RECT c = {};
    GetClientRect(rebar.GetHandle(), &c);
    ASSERT_EQ(c.right, 1000);

    const COLORREF sentinel = RGB(0x01, 0x02, 0x03);
    wintest::Canvas canvas(1000, 40, sentinel);
    EXPECT_EQ(SendMessageW(rebar.GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0), 1);
    GdiFlush();

    const COLORREF left = RGB(0xE0, 0, 0);
    const COLORREF right = RGB(0, 0, 0xE0);
    auto tileColumn = [](int column) { return RGB(0x10, column * 4, 0x20); };
    for (int x = 0; x < 20; ++x) EXPECT_EQ(canvas.Pixel(x, 3), left) << x;
    for (int x = 970; x < 1000; ++x) EXPECT_EQ(canvas.Pixel(x, 3), right) << x;
    // Tiles start at 20, 84, 148, ...: every pixel between the ends is the tile column
    // (x - 20) mod 64, and the last copy (from 916) is cut at 970.
    for (int x = 20; x < 970; ++x) ASSERT_EQ(canvas.Pixel(x, 5), tileColumn((x - 20) % 64)) << x;
    EXPECT_EQ(canvas.Pixel(916, 0), tileColumn(0));
    EXPECT_EQ(canvas.Pixel(969, 7), tileColumn(53));
    // Only the bitmaps' height is painted.
    for (int x = 0; x < 1000; x += 37) EXPECT_EQ(canvas.Pixel(x, 8), sentinel) << x;
}

TEST_F(ControlBars, NoBackgroundBitmapsPaintNothing) {
    RebarWnd rebar;
    ASSERT_TRUE(rebar.Create(0, 0, &test::App()));
    ASSERT_TRUE(rebar.LoadBackground(0, 0, 0));
    ASSERT_TRUE(rebar.LoadBackground(7199, 0, 0));  // a missing resource is simply not drawn
    ASSERT_TRUE(rebar.Move(0, 0, 300, 40, false));
    const COLORREF sentinel = RGB(0x01, 0x02, 0x03);
    wintest::Canvas canvas(300, 40, sentinel);
    EXPECT_EQ(SendMessageW(rebar.GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0), 1);
    EXPECT_EQ(canvas.FirstColumnNot(sentinel, 0, 300, 0, 40), -1);
}

// What a right click on the toolbar did: whether a menu came up, and its first item.
struct MenuWatch {
    bool shown = false;
    std::wstring text;
    int pressDown = 0;  // chooses the first item when set
};

void RightClickToolBar(ToolBar& bar, MenuWatch& watch) {
    wintest::OneShot probe(300, [&watch] {
        HWND menuWindow = test::FindMenuWindow();
        if (!menuWindow) return;
        watch.shown = true;
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
        wchar_t text[64] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 64;
        if (menu && GetMenuItemInfoW(menu, 0, TRUE, &info)) watch.text = text;
        if (watch.pressDown) {
            PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
        } else {
            EndMenu();
        }
    });
    // A menu would block here until the probe ends it; without one this returns at once.
    SendMessageW(bar.GetHandle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    wintest::Pump(50);
}

TEST_F(ControlBars, OneBandShowsNoLockMenuTwoBandsLockAndOfferUnlocking) {
    RebarWnd rebar;
    ToolBar first;
    ToolBar second;
    ASSERT_TRUE(rebar.Create(0, 0, &test::App()));
    ASSERT_TRUE(first.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &test::App()));
    ASSERT_TRUE(second.Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, &test::App()));
    ASSERT_TRUE(first.AddButton(0, 40001, BTNS_AUTOSIZE, 0, L"one"));
    ASSERT_TRUE(second.AddButton(0, 40002, BTNS_AUTOSIZE, 0, L"two"));
    ASSERT_TRUE(rebar.AddBand(&first, nullptr, false));
    EXPECT_FALSE(rebar.AddBand(nullptr, nullptr, false));

    MenuWatch none;
    RightClickToolBar(first, none);
    EXPECT_FALSE(none.shown);

    ASSERT_TRUE(rebar.AddBand(&second, L"second", true));
    EXPECT_TRUE(rebar.IsLocked());
    auto bandStyle = [&rebar](int index) {
        REBARBANDINFOW band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_STYLE;
        SendMessageW(rebar.GetHandle(), RB_GETBANDINFOW, index, reinterpret_cast<LPARAM>(&band));
        return band.fStyle;
    };
    EXPECT_EQ(bandStyle(0), 0x60u | RBBS_NOGRIPPER);
    EXPECT_EQ(bandStyle(1), 0x61u | RBBS_NOGRIPPER);

    MenuWatch unlock;
    unlock.pressDown = 1;
    RightClickToolBar(first, unlock);
    EXPECT_TRUE(unlock.shown);
    EXPECT_EQ(unlock.text, L"Unlock control bars");
    EXPECT_FALSE(rebar.IsLocked());  // the chosen command came back to the rebar
    EXPECT_EQ(bandStyle(0), 0x60u);
    EXPECT_EQ(bandStyle(1), 0x61u);

    MenuWatch lock;
    RightClickToolBar(second, lock);
    EXPECT_TRUE(lock.shown);
    EXPECT_EQ(lock.text, L"Lock control bars");
    EXPECT_FALSE(rebar.IsLocked());  // dismissed: command 0 changes nothing
}

}  // namespace
