// The main frame: first-run placement, the children it builds, the toolbar's entries, the
// layout and status panes, the minimum size, the routing of commands, keys and the wheel to
// the stereo view, the blending button that follows the stored mode, and the placement and
// settings kept between runs.
#include <array>
#include <vector>

#include "app/frame_layout.h"
#include "resources/app_ids.h"
#include "shell_fixture.h"
#include "view/interaction_mode.h"
#include "view/status_text.h"

namespace shelltest {
namespace {

using bistrope::InteractionMode;

RECT WindowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
    RECT r = WindowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectRect(const RECT& r, int x, int y, int w, int h, const char* what) {
    EXPECT_EQ(r.left, x) << what;
    EXPECT_EQ(r.top, y) << what;
    EXPECT_EQ(r.right - r.left, w) << what;
    EXPECT_EQ(r.bottom - r.top, h) << what;
}

using FrameTest = ShellTest;

TEST_F(FrameTest, FirstRunOpensCentredAndBuildsClientSlotsViewBarsAndIcon) {
    Start();
    const RECT r = WindowRect(Frame());
    const int sw = GetSystemMetrics(SM_CXVIRTUALSCREEN), sh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    ExpectRect(r, (sw - 656) / 2, (sh - 464) / 2, 656, 464, "frame");
    EXPECT_EQ(TextOf(Frame()), L"Bistrope v1.8.4");
    EXPECT_TRUE(IsWindowVisible(Frame()));
    EXPECT_FALSE(IsIconic(Frame()));
    EXPECT_NE(SendMessageW(Frame(), WM_GETICON, ICON_BIG, 0), 0);

    // The client window is the frame's; the view and the two slots are its children.
    HWND client = app->GetClient().GetHandle();
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(app->GetClientWnd(), &app->GetClient());
    EXPECT_EQ(GetParent(client), Frame());
    EXPECT_EQ(GetParent(View().GetHandle()), client);
    EXPECT_EQ(GetParent(app->GetLeftSlot().GetHandle()), client);
    EXPECT_EQ(GetParent(app->GetRightSlot().GetHandle()), client);
    EXPECT_TRUE(GetWindowLongW(View().GetHandle(), GWL_STYLE) & WS_CLIPCHILDREN);
    // The toolbar sits in the rebar, which is above the client window; the status bar below.
    EXPECT_EQ(GetParent(ToolBarHandle()), app->GetRebar().GetHandle());
    EXPECT_LE(WindowRect(app->GetRebar().GetHandle()).bottom, WindowRect(client).top);
    EXPECT_GE(WindowRect(app->GetStatusBar().GetHandle()).top, WindowRect(client).bottom);
    EXPECT_TRUE(app->GetToolBar()->HasImages()) << "Bistrope.dll was not found beside the tests";
}

TEST_F(FrameTest, ToolbarHoldsTheSixteenEntriesInOrder) {
    Start();
    struct Entry {
        int image, command;
        BYTE style;
    };
    const std::array<Entry, 16> expected = {{{0, 40012, BTNS_AUTOSIZE},  {8, -1, BTNS_SEP},
                                             {1, 40001, BTNS_AUTOSIZE},  {2, 40002, BTNS_AUTOSIZE},
                                             {3, 40003, BTNS_AUTOSIZE},  {4, 40004, BTNS_AUTOSIZE},
                                             {5, 40005, BTNS_AUTOSIZE},  {8, -1, BTNS_SEP},
                                             {6, 40007, BTNS_AUTOSIZE},  {7, 40006, BTNS_AUTOSIZE},
                                             {8, 40008, BTNS_AUTOSIZE},  {9, 40009, BTNS_AUTOSIZE},
                                             {8, -1, BTNS_SEP},          {10, 40011, BTNS_AUTOSIZE},
                                             {8, -1, BTNS_SEP},          {11, 40013, BTNS_BUTTON}}};
    ASSERT_EQ(SendMessageW(ToolBarHandle(), TB_BUTTONCOUNT, 0, 0), 16);
    for (int i = 0; i < 16; ++i) {
        TBBUTTON b{};
        SendMessageW(ToolBarHandle(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        EXPECT_EQ(b.iBitmap, expected[i].image) << "entry " << i + 1;
        EXPECT_EQ(b.idCommand, expected[i].command) << "entry " << i + 1;
        EXPECT_EQ(b.fsStyle, expected[i].style) << "entry " << i + 1;
    }
}

TEST_F(FrameTest, AClientWidthOf1000GivesPaneEdges548To1000AndTheFixedSlotPlaces) {
    Start();
    HWND client = app->GetClient().GetHandle();
    RECT c{};
    GetClientRect(client, &c);
    const RECT f = WindowRect(Frame());
    SetWindowPos(Frame(), nullptr, 0, 0, (f.right - f.left) + (1000 - c.right), 600, SWP_NOZORDER | SWP_NOMOVE);
    wintest::Pump(30, IdlePass);
    GetClientRect(client, &c);
    ASSERT_EQ(c.right, 1000);
    std::array<int, 8> edges{};
    ASSERT_EQ(SendMessageW(app->GetStatusBar().GetHandle(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges.data())),
              5);
    EXPECT_EQ(edges[0], 548);
    EXPECT_EQ(edges[1], 626);
    EXPECT_EQ(edges[2], 760);
    EXPECT_EQ(edges[3], 896);
    EXPECT_EQ(edges[4], 1000);
    ExpectRect(ChildRect(app->GetLeftSlot().GetHandle()), 2, 2, 198, 175, "left slot");
    ExpectRect(ChildRect(app->GetRightSlot().GetHandle()), 2, 179, 198, 175, "right slot");
    ExpectRect(ChildRect(View().GetHandle()), 202, 2, 1000 - 204, c.bottom - 4, "view");
    // The view's status texts survive the change from eight panes to five.
    EXPECT_EQ(Pane(1), L" Zoom: 100%");
    EXPECT_EQ(Pane(2), L"  No output image");
    EXPECT_EQ(Pane(3), L" offset: 0.00,0.00");
    EXPECT_EQ(Pane(4), L" rotation: 0.00");
}

TEST_F(FrameTest, TheMinimumTrackingSizeIs626By461AndKeepsTheSlots) {
    Start();
    MINMAXINFO info{};
    SendMessageW(Frame(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 626);
    EXPECT_EQ(info.ptMinTrackSize.y, 461);

    const RECT before = ChildRect(View().GetHandle());
    SetWindowPos(Frame(), nullptr, 0, 0, 626, 461, SWP_NOZORDER | SWP_NOMOVE);
    wintest::Pump(30, IdlePass);
    ExpectRect(ChildRect(app->GetLeftSlot().GetHandle()), 2, 2, 198, 175, "left slot");
    ExpectRect(ChildRect(app->GetRightSlot().GetHandle()), 2, 179, 198, 175, "right slot");
    const RECT after = ChildRect(View().GetHandle());
    EXPECT_EQ(after.right - after.left, (before.right - before.left) - 30);
    EXPECT_EQ(after.bottom - after.top, (before.bottom - before.top) - 3);
    // Minimised: nothing gets a negative size.
    ShowWindow(Frame(), SW_MINIMIZE);
    wintest::Pump(30, IdlePass);
    const RECT tiny = ChildRect(View().GetHandle());
    EXPECT_GE(tiny.right - tiny.left, 0);
    EXPECT_GE(tiny.bottom - tiny.top, 0);
    ShowWindow(Frame(), SW_RESTORE);
}

TEST_F(FrameTest, WheelMessagesToTheFrameZoomTheViewAndAreHandled) {
    Start();
    EXPECT_EQ(Pane(1), L" Zoom: 100%");
    const double zoom = View().GetZoom();
    EXPECT_NE(SendMessageW(Frame(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(300, 300)), 0);
    EXPECT_NE(View().GetZoom(), zoom);
    EXPECT_EQ(Pane(1), bistrope::ZoomStatusText(View().GetZoom()));
    EXPECT_TRUE(Pane(1) == L" Zoom: 110%" || Pane(1) == L" Zoom: 91%") << std::string(Pane(1).begin(), Pane(1).end());
    SendMessageW(Frame(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(300, 300));
    EXPECT_NEAR(View().GetZoom(), zoom, 1e-12);
    EXPECT_EQ(Pane(1), L" Zoom: 100%");
}

TEST_F(FrameTest, AcceleratorTable110HoldsTheEightKeysAndTheyReachTheView) {
    Start();
    ASSERT_NE(app->GetAccelerators(), nullptr);
    ACCEL keys[16] = {};
    ASSERT_EQ(CopyAcceleratorTableW(app->GetAccelerators(), keys, 16), 8);
    struct Key {
        WORD key, cmd;
        BYTE control;
    };
    const Key expected[] = {{VK_F2, 40017, 0}, {VK_F3, 40018, 0}, {'A', 40014, 0}, {'X', 40006, 0},
                            {'C', 40008, 0},   {'V', 40009, 0},   {'S', 40012, 1}, {'Z', 40007, 0}};
    for (const Key& k : expected) {
        bool found = false;
        for (const ACCEL& a : keys)
            if (a.key == k.key && a.cmd == k.cmd) {
                found = true;
                EXPECT_EQ((a.fVirt & FCONTROL) != 0, k.control != 0) << k.cmd;
                EXPECT_TRUE(a.fVirt & FVIRTKEY) << k.cmd;
            }
        EXPECT_TRUE(found) << k.cmd;
    }

    // Before any image the mode keys are refused by the view.
    EXPECT_TRUE(app->PressKey('V'));
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::None);
    ASSERT_TRUE(LoadBoth());
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::PanLeft);
    const std::pair<UINT, InteractionMode> modes[] = {{'V', InteractionMode::RotateLeft},
                                                      {'Z', InteractionMode::ZoomView},
                                                      {'X', InteractionMode::PanView},
                                                      {'C', InteractionMode::PanLeft}};
    for (auto [key, mode] : modes) {
        EXPECT_TRUE(app->PressKey(key));
        EXPECT_EQ(View().GetInteractionMode(), mode) << char(key);
        Refresh();
        EXPECT_TRUE(ButtonChecked(bistrope::ModeCommand(mode))) << char(key);
    }
    // A, Zoom All, undoes a wheel zoom.
    const double fitted = View().GetZoom();
    SendMessageW(Frame(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_NE(View().GetZoom(), fitted);
    EXPECT_TRUE(app->PressKey('A'));
    EXPECT_DOUBLE_EQ(View().GetZoom(), fitted);

    // F2 opens the left slot's open dialog, Ctrl+S the save dialog; both are cancelled.
    for (auto [key, control] : {std::pair<UINT, bool>{VK_F2, false}, std::pair<UINT, bool>{'S', true}}) {
        std::wstring title;
        Poller closer(
            100, 8000,
            [&] {
                for (HWND d : VisibleWindowsOfClass(L"#32770")) {
                    title = TextOf(d);
                    PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                    return true;
                }
                return false;
            },
            [] {});
        EXPECT_TRUE(app->PressKey(key, control));
        EXPECT_FALSE(closer.GaveUp()) << "no dialog for key " << key;
        if (key == 'S') {
            EXPECT_EQ(title, L"Save image as");
        }
    }
    wintest::Pump(50, IdlePass);
    EXPECT_TRUE(VisibleWindowsOfClass(L"#32770").empty());
}

TEST_F(FrameTest, TheCheckedBlendingButtonFollowsTheStoredModeAndTheModeIsWrittenAtExit) {
    ASSERT_TRUE(WriteDword(kSettingsKey, L"Colour blending", L"Mode", 4));
    Start();
    EXPECT_EQ(Settings().blendMode, 4);
    Refresh();
    for (int id = 40001; id <= 40005; ++id) {
        EXPECT_EQ(ButtonChecked(id), id == 40004) << id;
        EXPECT_FALSE(ButtonEnabled(id)) << id;  // no images yet
    }
    ASSERT_TRUE(LoadBoth());
    Refresh();
    EXPECT_TRUE(ButtonEnabled(40001));
    // A click on "Monochromatic blending" (the toolbar's own click path).
    RECT r{};
    SendMessageW(ToolBarHandle(), TB_GETRECT, 40001, reinterpret_cast<LPARAM>(&r));
    SendMessageW(ToolBarHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    SendMessageW(ToolBarHandle(), WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    wintest::Pump(50, IdlePass);
    Refresh();
    EXPECT_EQ(Settings().blendMode, 1);
    for (int id = 40001; id <= 40005; ++id) EXPECT_EQ(ButtonChecked(id), id == 40001) << id;

    Stop();
    DWORD mode = 0;
    ASSERT_TRUE(ReadDword(kSettingsKey, L"Colour blending", L"Mode", mode));
    EXPECT_EQ(mode, 1u);
    std::wstring leftFolder;
    ASSERT_TRUE(ReadString(kSettingsKey, L"General", L"Left image path", leftFolder));
    EXPECT_TRUE(leftFolder.empty()) << "a file loaded without the dialog changes no folder";
}

TEST_F(FrameTest, ThePlacementIsSavedOnCloseAndRestoredAtTheNextStart) {
    Start();
    SetWindowPos(Frame(), nullptr, 100, 80, 700, 500, SWP_NOZORDER);
    wintest::Pump(20, IdlePass);
    Stop();
    const wchar_t* names[] = {L"rect.left", L"rect.top", L"rect.right", L"rect.bottom", L"cmd"};
    const DWORD expected[] = {100, 80, 800, 580, 1};
    for (int i = 0; i < 5; ++i) {
        DWORD v = 0;
        ASSERT_TRUE(ReadDword(kPlacementKey, L"WindowPos", names[i], v)) << names[i];
        EXPECT_EQ(v, expected[i]) << names[i];
    }
    Start();
    ExpectRect(WindowRect(Frame()), 100, 80, 700, 500, "restored frame");
    Stop();

    // A frame closed while minimised opens normally, at its normal place.
    ASSERT_TRUE(WriteDword(kPlacementKey, L"WindowPos", L"cmd", SW_SHOWMINIMIZED));
    Start();
    EXPECT_TRUE(IsWindowVisible(Frame()));
    EXPECT_FALSE(IsIconic(Frame()));
    ExpectRect(WindowRect(Frame()), 100, 80, 700, 500, "frame after a minimised close");
    Stop();
    // A damaged show state (hidden) would leave an invisible program: it opens normally.
    ASSERT_TRUE(WriteDword(kPlacementKey, L"WindowPos", L"cmd", SW_HIDE));
    Start();
    EXPECT_TRUE(IsWindowVisible(Frame()));
}

TEST_F(FrameTest, AResizeRefitsTheZoomWithAnImageAndOnlyRefreshesTheStatusWithout) {
    Start();
    SendMessageW(Frame(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    const double wheeled = View().GetZoom();
    SendMessageW(app->GetStatusBar().GetHandle(), SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"stale"));
    const RECT f = WindowRect(Frame());
    SetWindowPos(Frame(), nullptr, 0, 0, f.right - f.left + 200, f.bottom - f.top + 100, SWP_NOZORDER | SWP_NOMOVE);
    wintest::Pump(20, IdlePass);
    EXPECT_DOUBLE_EQ(View().GetZoom(), wheeled);
    EXPECT_EQ(Pane(1), bistrope::ZoomStatusText(wheeled));

    ASSERT_TRUE(Load(app->GetLeftSlot(), L"left.jpg", 1200, 900, 1));
    const double fitted = View().GetZoom();
    SetWindowPos(Frame(), nullptr, 0, 0, f.right - f.left + 500, f.bottom - f.top + 300, SWP_NOZORDER | SWP_NOMOVE);
    wintest::Pump(20, IdlePass);
    EXPECT_GT(View().GetZoom(), fitted * 1.2);
    EXPECT_EQ(Pane(1), bistrope::ZoomStatusText(View().GetZoom()));
}

TEST_F(FrameTest, ATooltipSuspendsTheViewsDrawingUntilItDisappears) {
    Start();
    EXPECT_TRUE(View().IsDrawingEnabled());
    app->OnToolTipShow(40012);
    EXPECT_FALSE(View().IsDrawingEnabled());
    EXPECT_FALSE(View().Render(nullptr));
    app->OnToolTipPop(40012);
    EXPECT_TRUE(View().IsDrawingEnabled());
}

}  // namespace
}  // namespace shelltest
