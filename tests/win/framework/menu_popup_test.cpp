// Owner-drawn popup menus: item sizes, the drawing of each kind of item, and the command
// that reaches the target.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "resources/controls_test_ids.h"
#include "controls_test_util.h"
#include "framework/win/menu_popup.h"
#include "test_app.h"

using TWIG4::MenuPopup;

namespace {

constexpr int kFirst = 7141;
constexpr int kSecond = 7142;
constexpr int kNested = 7143;

HFONT MenuFont() {
    return CreateFontW(-11, 0, 0, 0, 128, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
}

class MenuPopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::App().CreateFrame());
        ASSERT_TRUE(target.Make(100, 100, 300, 200));
        SetCursorPos(1, 1);
    }
    void TearDown() override {
        target.Destroy();
        test::App().DestroyFrame();
    }

    // A menu like the view's context menu: a shortcut item, a separator, a plain item.
    HMENU MakeMenu() {
        HMENU m = CreatePopupMenu();
        AppendMenuW(m, MF_STRING, kFirst, L"Save image...\tCtrl+S");
        AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(m, MF_STRING, kSecond, L"Zoom all");
        return m;
    }

    // Tracks `menu` with `during` run inside the menu loop; then the menu is left by
    // `keys` (posted key presses), or dismissed when there are none.
    void Track(MenuPopup& popup, HMENU menu, const std::function<void()>& during, std::vector<WPARAM> keys) {
        wintest::OneShot shot(250, [&] {
            inMenu = test::FindMenuWindow() != nullptr;
            if (during) during();
            HWND menuWindow = test::FindMenuWindow();
            if (keys.empty() || !menuWindow) {
                EndMenu();
                return;
            }
            for (WPARAM k : keys) PostMessageW(menuWindow, WM_KEYDOWN, k, 0);
        });
        // The watchdog: a menu still open after 5 s is ended and the test fails.
        wintest::OneShot watchdog(5000, [this] {
            stuck = true;
            EndMenu();
        });
        ASSERT_TRUE(popup.TrackMenu(menu, &target, 150, 150));
        EXPECT_FALSE(stuck);
    }

    // Draws one item of the tracked menu through the popup's own handler.
    void DrawItem(MenuPopup& popup, HMENU menu, UINT id, UINT state, wintest::Canvas& canvas) {
        DRAWITEMSTRUCT d = {};
        d.CtlType = ODT_MENU;
        d.itemID = id;
        d.itemAction = ODA_DRAWENTIRE;
        d.itemState = state;
        d.hwndItem = reinterpret_cast<HWND>(menu);
        d.hDC = canvas.dc();
        d.rcItem = RECT{0, 0, canvas.width(), canvas.height()};
        SendMessageW(popup.GetHandle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
        GdiFlush();
    }

    test::OwnerWnd target;
    bool inMenu = false;
    bool stuck = false;
};

TEST_F(MenuPopupTest, MeasuresTextItemsInTheMenuFontAndSeparatorsFiveHigh) {
    MenuPopup popup;
    HMENU menu = MakeMenu();
    MEASUREITEMSTRUCT text = {};
    text.CtlType = ODT_MENU;
    text.itemID = kFirst;
    MEASUREITEMSTRUCT separator = {};
    separator.CtlType = ODT_MENU;
    Track(popup, menu, [&] {
        SendMessageW(popup.GetHandle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&text));
        SendMessageW(popup.GetHandle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&separator));
    }, {});
    EXPECT_TRUE(inMenu);

    // The whole string, shortcut and tab included, measured independently.
    HDC dc = GetDC(nullptr);
    HFONT font = MenuFont();
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    const wchar_t* whole = L"Save image...\tCtrl+S";
    GetTextExtentPoint32W(dc, whole, static_cast<int>(wcslen(whole)), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);

    EXPECT_EQ(text.itemWidth, static_cast<UINT>(size.cx + 32));
    EXPECT_EQ(text.itemHeight, 24u);
    EXPECT_EQ(separator.itemWidth, 0u);
    EXPECT_EQ(separator.itemHeight, 5u);
    DestroyMenu(menu);
}

TEST_F(MenuPopupTest, ShortcutIsRightAlignedEighteenPixelsShortOfTheEdge) {
    MenuPopup popup;
    HMENU menu = MakeMenu();
    wintest::Canvas item(240, 24, RGB(0x55, 0x55, 0x55));
    Track(popup, menu, [&] { DrawItem(popup, menu, kFirst, 0, item); }, {});

    // The same texts drawn independently where they belong: label from x 30, shortcut
    // ending at 240 - 18.
    wintest::Canvas label(240, 24, RGB(0xFF, 0xFF, 0xFF));
    wintest::Canvas shortcut(240, 24, RGB(0xFF, 0xFF, 0xFF));
    HFONT font = MenuFont();
    for (wintest::Canvas* c : {&label, &shortcut}) {
        HGDIOBJ old = SelectObject(c->dc(), font);
        SetBkMode(c->dc(), TRANSPARENT);
        SetTextColor(c->dc(), RGB(0, 0, 0));
        RECT r = {30, 0, 240, 24};
        if (c == &label) {
            DrawTextW(c->dc(), L"Save image...", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        } else {
            r.right = 222;
            DrawTextW(c->dc(), L"Ctrl+S", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        }
        SelectObject(c->dc(), old);
        GdiFlush();
    }
    DeleteObject(font);

    const COLORREF white = RGB(0xFF, 0xFF, 0xFF);
    const int shortcutRight = shortcut.LastColumnNot(white, 0, 240, 0, 24);
    const int shortcutLeft = shortcut.FirstColumnNot(white, 0, 240, 0, 24);
    ASSERT_GT(shortcutRight, 150);
    ASSERT_LE(shortcutRight, 221);
    EXPECT_EQ(item.LastColumnNot(white, 30, 240, 0, 24), shortcutRight);
    EXPECT_EQ(item.FirstColumnNot(white, 30, 240, 0, 24), label.FirstColumnNot(white, 0, 240, 0, 24));
    // Pixel for pixel: the item's text area equals the two reference texts.
    for (int x = 30; x < 240; ++x)
        for (int y = 0; y < 24; ++y) {
            const COLORREF expected = x >= shortcutLeft ? shortcut.Pixel(x, y) : label.Pixel(x, y);
            ASSERT_EQ(item.Pixel(x, y), expected) << x << ", " << y;
        }
    // The icon column, then the white gap and body; no outline when not selected.
    EXPECT_EQ(item.Pixel(0, 0), RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(item.Pixel(23, 12), RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(item.Pixel(24, 12), white);
    EXPECT_EQ(item.Pixel(239, 0), white);
    DestroyMenu(menu);
}

TEST_F(MenuPopupTest, SelectedCheckedItemShowsHighlightAndTick) {
    MenuPopup popup;
    HMENU menu = MakeMenu();
    target.answers[kFirst] = {true, true};
    wintest::Canvas item(200, 24);
    Track(popup, menu, [&] { DrawItem(popup, menu, kFirst, ODS_SELECTED, item); }, {});
    EXPECT_EQ(item.Pixel(0, 0), RGB(0, 0, 0xFF));      // outline
    EXPECT_EQ(item.Pixel(199, 23), RGB(0, 0, 0xFF));
    EXPECT_EQ(item.Pixel(1, 1), RGB(0xC0, 0xC8, 0xD7));  // icon column, highlighted
    EXPECT_EQ(item.Pixel(198, 1), RGB(0xC1, 0xD2, 0xEE));  // body, highlighted
    EXPECT_EQ(item.Pixel(2, 2), RGB(0xBE, 0xDC, 0xF0));  // mark box outline
    EXPECT_EQ(item.Pixel(21, 21), RGB(0xBE, 0xDC, 0xF0));
    EXPECT_EQ(item.Pixel(9, 18), RGB(0x20, 0x80, 0x20));  // the tick's corner
    EXPECT_EQ(item.Pixel(14, 13), RGB(0x20, 0x80, 0x20));
    // The text is navy.
    bool navy = false;
    for (int x = 30; x < 120 && !navy; ++x)
        for (int y = 0; y < 24 && !navy; ++y) navy = item.Pixel(x, y) == RGB(0, 0, 0x80);
    EXPECT_TRUE(navy);
    DestroyMenu(menu);
}

TEST_F(MenuPopupTest, RadioItemSeparatorAndDisabledItem) {
    MenuPopup popup;
    HMENU menu = MakeMenu();
    target.answers[kFirst] = {true, false, true};
    target.answers[kSecond] = {false, false};
    wintest::Canvas radio(200, 24);
    wintest::Canvas separator(200, 5);
    wintest::Canvas disabled(200, 24);
    Track(popup, menu, [&] {
        DrawItem(popup, menu, kFirst, 0, radio);
        DrawItem(popup, menu, 0, 0, separator);
        DrawItem(popup, menu, kSecond, ODS_SELECTED, disabled);
    }, {});

    EXPECT_EQ(radio.Pixel(2, 2), RGB(0x20, 0x20, 0xF0));    // box outline
    EXPECT_EQ(radio.Pixel(4, 4), RGB(0xDC, 0xDC, 0xF0));    // box fill
    EXPECT_EQ(radio.Pixel(12, 12), RGB(0, 0, 0));           // the dot
    EXPECT_EQ(radio.Pixel(7, 12), RGB(0xDC, 0xDC, 0xF0));   // outside the dot (box shrunk by 6)

    EXPECT_EQ(separator.Pixel(5, 2), RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(separator.Pixel(31, 2), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(separator.Pixel(32, 2), RGB(0xC4, 0xC4, 0xC4));
    EXPECT_EQ(separator.Pixel(195, 2), RGB(0xC4, 0xC4, 0xC4));
    EXPECT_EQ(separator.Pixel(196, 2), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(separator.Pixel(100, 1), RGB(0xFF, 0xFF, 0xFF));

    // Disabled and selected: never highlighted, text grey.
    EXPECT_EQ(disabled.Pixel(0, 0), RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(disabled.Pixel(199, 23), RGB(0xFF, 0xFF, 0xFF));
    int darkest = 255;
    bool ink = false;
    for (int x = 30; x < 200; ++x)
        for (int y = 0; y < 24; ++y) {
            const COLORREF c = disabled.Pixel(x, y);
            if (c == RGB(0xFF, 0xFF, 0xFF)) continue;
            ink = true;
            darkest = std::min<int>(darkest, std::min<int>(GetRValue(c), std::min(GetGValue(c), GetBValue(c))));
        }
    EXPECT_TRUE(ink);
    EXPECT_EQ(darkest, 0x80);
    DestroyMenu(menu);
}

TEST_F(MenuPopupTest, DismissingSendsZero) {
    MenuPopup popup;
    HMENU menu = MakeMenu();
    Track(popup, menu, nullptr, {});
    EXPECT_TRUE(inMenu);
    EXPECT_EQ(target.commands, (std::vector<int>{0}));
    // Every drawn item asked for its state; separators are not asked.
    EXPECT_GE(target.QueriesFor(kFirst), 1);
    EXPECT_GE(target.QueriesFor(kSecond), 1);
    EXPECT_EQ(target.QueriesFor(0), 0);
    DestroyMenu(menu);
}

TEST_F(MenuPopupTest, ADisabledItemIsStillChosenAndItsCommandSent) {
    MenuPopup popup;
    HMENU menu = MakeMenu();
    target.answers[kSecond] = {false, false};
    Track(popup, menu, nullptr, {VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(target.commands, (std::vector<int>{kSecond}));
    // The menu was changed in place: every item is owner-drawn now.
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << i;
    }
    DestroyMenu(menu);
}

TEST_F(MenuPopupTest, ResourceMenusTrackTheirFirstSubmenuSubmenusIncluded) {
    MenuPopup popup;
    bool nestedOwnerDrawn = false;
    int items = 0;
    wintest::OneShot shot(250, [&] {
        HWND menuWindow = test::FindMenuWindow();
        HMENU shown = menuWindow ? reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1, 0, 0)) : nullptr;
        if (shown) {
            items = GetMenuItemCount(shown);
            HMENU more = GetSubMenu(shown, 3);
            MENUITEMINFOW info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_ID;
            if (more && GetMenuItemInfoW(more, 0, TRUE, &info))
                nestedOwnerDrawn = (info.fType & MFT_OWNERDRAW) && info.wID == kNested;
        }
        if (menuWindow) PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
        if (menuWindow) PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
    });
    wintest::OneShot watchdog(5000, [] { EndMenu(); });
    ASSERT_TRUE(popup.TrackMenuResource(IDR_CONTROLS_TEST_MENU, &target, 150, 150));
    EXPECT_EQ(items, 4);
    EXPECT_TRUE(nestedOwnerDrawn);
    EXPECT_EQ(target.commands, (std::vector<int>{kFirst}));
}

TEST_F(MenuPopupTest, MissingMenuTargetOrResourceShowsNothing) {
    MenuPopup popup;
    HMENU menu = MakeMenu();
    EXPECT_FALSE(popup.TrackMenu(nullptr, &target, 0, 0));
    EXPECT_FALSE(popup.TrackMenu(menu, nullptr, 0, 0));
    EXPECT_FALSE(popup.TrackMenuResource(IDR_CONTROLS_TEST_MENU, nullptr, 0, 0));
    EXPECT_FALSE(popup.TrackMenuResource(7198, &target, 0, 0));
    EXPECT_FALSE(popup.TrackAtCursor(IDR_CONTROLS_TEST_MENU, nullptr));
    EXPECT_TRUE(target.commands.empty());
    DestroyMenu(menu);
}

}  // namespace
