// Status bar, shared tooltip, button and tree.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "controls_test_util.h"
#include "framework/win/button.h"
#include "framework/win/statusbar.h"
#include "framework/win/tooltip.h"
#include "framework/win/tree.h"
#include "test_app.h"

using TWIG4::StatusBar;

namespace {

class SmallControls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test::App().CreateFrame()); }
    void TearDown() override { test::App().DestroyFrame(); }
};

TEST_F(SmallControls, StatusBarPartsEndAtTheirEdgesTheLastAtTheWindowEdge) {
    StatusBar status;
    ASSERT_TRUE(status.Create(0, 0x0103, &test::App()));
    test::App().RecalcLayout();
    const int edges[] = {100, 200, -1};
    ASSERT_TRUE(status.SetParts(3, edges));
    EXPECT_FALSE(status.SetParts(2, nullptr));
    ASSERT_TRUE(status.SetPartText(1, L"Zoom: 100%"));
    EXPECT_EQ(SendMessageW(status.GetHandle(), SB_GETPARTS, 0, 0), 3);

    RECT c = {};
    GetClientRect(status.GetHandle(), &c);
    RECT part[3] = {};
    for (int i = 0; i < 3; ++i) SendMessageW(status.GetHandle(), SB_GETRECT, i, reinterpret_cast<LPARAM>(&part[i]));
    EXPECT_EQ(part[0].left, 0);
    EXPECT_EQ(part[0].right, 100);
    EXPECT_EQ(part[1].left, 100 + 2);  // the control's border between parts
    EXPECT_EQ(part[1].right, 200);
    EXPECT_EQ(part[2].right, c.right);  // reaching the size grip
    wchar_t text[32] = {};
    SendMessageW(status.GetHandle(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"Zoom: 100%");
    EXPECT_EQ(status.GetThickness(), c.bottom);
    EXPECT_EQ(test::App().GetControlBarCount(), 1u);
}

TEST_F(SmallControls, StatusBarNeverErasesAndComposesItsPictureOffScreen) {
    StatusBar status;
    ASSERT_TRUE(status.Create(0, 0x0103, &test::App()));
    test::App().RecalcLayout();
    wintest::Canvas canvas(50, 20, RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(SendMessageW(status.GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0), 1);
    EXPECT_EQ(canvas.FirstColumnNot(RGB(0x12, 0x34, 0x56), 0, 50, 0, 20), -1);  // untouched

    // A paint draws the control over the buffer and leaves nothing to repaint.
    ShowWindow(test::App().GetHandle(), SW_SHOWNA);
    InvalidateRect(status.GetHandle(), nullptr, TRUE);
    UpdateWindow(status.GetHandle());
    RECT dirty = {};
    EXPECT_FALSE(GetUpdateRect(status.GetHandle(), &dirty, FALSE));
    ShowWindow(test::App().GetHandle(), SW_HIDE);
}

TEST_F(SmallControls, TheSharedTooltipHasItsColoursDelaysAndName) {
    HWND tips = test::App().GetToolTipHandle();
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(wintest::ClassOf(tips), L"tooltips_class32");
    // (Its window name is not readable back: the control keeps its tip text there.)
    EXPECT_EQ(GetWindow(tips, GW_OWNER), test::App().GetHandle());
    EXPECT_EQ(SendMessageW(tips, TTM_GETTIPBKCOLOR, 0, 0), 0xE1FFFF);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTIPTEXTCOLOR, 0, 0), 0x200000);
    EXPECT_EQ(SendMessageW(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 0);
    EXPECT_EQ(SendMessageW(tips, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 10000);
    EXPECT_EQ(SendMessageW(tips, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 0);
    EXPECT_TRUE(GetWindowLongPtrW(tips, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(tips, GWL_STYLE) & TTS_NOPREFIX);
}

// A framework window that answers tip-text requests.
class TipOwner : public test::OwnerWnd {
public:
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOW) {
            reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = const_cast<wchar_t*>(L"from the object");
            return 1;
        }
        return test::OwnerWnd::WndProc(hwnd, message, wParam, lParam);
    }
};

TEST_F(SmallControls, TipTextComesFromTheToolsObjectAndOnlyFromAFrameworkObject) {
    HWND tips = test::App().GetToolTipHandle();
    TipOwner owner;
    ASSERT_TRUE(owner.Make(10, 10, 100, 100));
    const RECT area = {0, 0, 50, 50};
    ASSERT_TRUE(owner.AddToolTip(&area, 7, 300));

    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = owner.GetHandle();
    tool.uId = 7;
    wchar_t text[64] = {};
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"from the object");

    // A plain window registered by hand, its parameter not a framework object.
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    TTTOOLINFOW foreign = {};
    foreign.cbSize = sizeof(foreign);
    foreign.uFlags = TTF_SUBCLASS;
    foreign.hwnd = plain;
    foreign.uId = 9;
    foreign.rect = area;
    foreign.lpszText = LPSTR_TEXTCALLBACKW;
    foreign.lParam = 0x1234;
    ASSERT_TRUE(SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&foreign)));
    wchar_t none[64] = L"";
    foreign.lpszText = none;
    SendMessageW(tips, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&foreign));
    EXPECT_STREQ(none, L"");
    SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&foreign));
    DestroyWindow(plain);
    owner.Destroy();
}

TEST_F(SmallControls, ButtonAndTree) {
    test::OwnerWnd host;
    ASSERT_TRUE(host.Make(0, 0, 300, 300));
    TWIG4::ButtonWnd button;
    ASSERT_TRUE(button.Create(0, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, L"OK", &host, 1));
    EXPECT_EQ(wintest::ClassOf(button.GetHandle()), L"Button");
    EXPECT_EQ(wintest::TextOf(button.GetHandle()), L"OK");
    EXPECT_EQ(GetDlgCtrlID(button.GetHandle()), 1);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(button.GetHandle(), WM_GETFONT, 0, 0));
    ASSERT_EQ(font, button.GetFont());
    LOGFONTW info = {};
    GetObjectW(font, sizeof(info), &info);
    EXPECT_STREQ(info.lfFaceName, L"MS Shell Dlg 2");
    EXPECT_EQ(info.lfHeight, 13);
    EXPECT_EQ(info.lfWeight, 400);

    TWIG4::TreeWnd tree;
    ASSERT_TRUE(tree.Create(WS_EX_CLIENTEDGE, 0x26, L"", 6, 6, 150, 200, &host, -1));
    EXPECT_EQ(GetWindowLongPtrW(tree.GetHandle(), GWL_STYLE) & 0x50000026, 0x50000026);
    HTREEITEM one = tree.InsertItem(TVI_ROOT, TVI_LAST, L"one", 11);
    HTREEITEM two = tree.InsertItem(TVI_ROOT, TVI_LAST, L"two", 22);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(tree.GetItemParam(one), 11);
    EXPECT_EQ(tree.GetItemParam(two), 22);
    EXPECT_EQ(tree.GetItemParam(nullptr), 0);
    EXPECT_TRUE(tree.SelectItem(two));
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageW(tree.GetHandle(), TVM_GETNEXTITEM, TVGN_CARET, 0)), two);
    host.Destroy();
}

}  // namespace
