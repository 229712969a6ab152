// The frame as a person meets it: where it opens, how its windows are laid out, which keys,
// toolbar buttons and wheel turns reach which command, and the dialogs those open.
#include <string>
#include <tuple>

#include "app/frame_layout.h"
#include "app_support.h"
#include "resources/app_ids.h"
#include "view/status_text.h"

namespace apptest {
namespace {

using bistrope::Eye;
using bistrope::InteractionMode;

// A stored placement ("cmd" = -1: none stored) and what the next start shows.
struct Placement {
    int cmd;
    bool iconic;
};

class FramePlacement : public AppTest, public ::testing::WithParamInterface<Placement> {};

TEST_P(FramePlacement, IsRestoredAtStart) {
    const RECT stored{100, 80, 900, 600};
    if (GetParam().cmd >= 0) {
        const std::wstring key = std::wstring(kPlacementKey) + L"\\WindowPos";
        const std::pair<const wchar_t*, LONG> values[] = {{L"rect.left", stored.left},   {L"rect.top", stored.top},
                                                          {L"rect.right", stored.right}, {L"rect.bottom", stored.bottom},
                                                          {L"cmd", GetParam().cmd}};
        for (auto [name, value] : values)
            ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value, sizeof(value)), 0);
    }
    Start();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    ASSERT_TRUE(GetWindowPlacement(Frame(), &placement));
    EXPECT_TRUE(IsWindowVisible(Frame()));
    EXPECT_EQ(IsIconic(Frame()) != 0, GetParam().iconic);
    const RECT& r = placement.rcNormalPosition;
    if (GetParam().cmd < 0) {
        const auto first = bistrope::DefaultFrameRect(GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                                      GetSystemMetrics(SM_CYVIRTUALSCREEN));
        EXPECT_EQ((std::array<LONG, 4>{r.left, r.top, r.right, r.bottom}),
                  (std::array<LONG, 4>{first.left, first.top, first.right, first.bottom}));
    } else {
        EXPECT_EQ((std::array<LONG, 4>{r.left, r.top, r.right, r.bottom}),
                  (std::array<LONG, 4>{stored.left, stored.top, stored.right, stored.bottom}));
    }
}

INSTANTIATE_TEST_SUITE_P(Stored, FramePlacement,
                         ::testing::Values(Placement{-1, false}, Placement{SW_SHOWNORMAL, false},
                                           Placement{SW_SHOWMINIMIZED, true}, Placement{SW_HIDE, false}),
                         [](const auto& info) {
                             const int cmd = info.param.cmd;
                             return std::string(cmd < 0 ? "FirstRun" : cmd == 1 ? "Normal" : cmd == 2 ? "Minimised" : "Hidden");
                         });

TEST_F(AppTest, ChildrenFollowTheLayoutAndKeysButtonsAndTheWheelReachTheCommands) {
    Start();
    MoveWindow(Frame(), 10, 10, 1000, 700, TRUE);
    RECT client{};
    GetClientRect(app->GetSlot(Eye::Left).GetParent()->GetHandle(), &client);
    const bistrope::FrameLayout layout = bistrope::LayoutFrame(client.right, client.bottom);
    const auto placeOf = [](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
        return TWIG4::LayoutRect{r.left, r.top, r.right, r.bottom};
    };
    EXPECT_EQ(placeOf(app->GetSlot(Eye::Left).GetHandle()), layout.leftSlot);
    EXPECT_EQ(placeOf(app->GetSlot(Eye::Right).GetHandle()), layout.rightSlot);
    EXPECT_EQ(placeOf(View().GetHandle()), layout.view);

    // Before any image only settings, about and the loads are enabled.
    EXPECT_FALSE(ButtonEnabled(ID_SAVE));
    EXPECT_FALSE(ButtonEnabled(ID_PAN_LEFT));
    EXPECT_TRUE(ButtonEnabled(ID_SETTINGS));
    EXPECT_TRUE(app->PressKey('C'));  // translated, then refused without images
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::None);

    LoadBoth();
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::PanLeft);
    EXPECT_TRUE(ButtonChecked(ID_PAN_LEFT));
    EXPECT_TRUE(ButtonChecked(ID_BLEND_FULL_COLOUR));
    const std::tuple<UINT, InteractionMode, int> keys[] = {{'V', InteractionMode::RotateLeft, ID_ROTATE_LEFT},
                                                           {'X', InteractionMode::PanView, ID_PAN_VIEW},
                                                           {'Z', InteractionMode::ZoomView, ID_ZOOM_VIEW},
                                                           {'C', InteractionMode::PanLeft, ID_PAN_LEFT}};
    for (auto [key, mode, command] : keys) {
        EXPECT_TRUE(app->PressKey(key));
        EXPECT_EQ(View().GetInteractionMode(), mode) << char(key);
        EXPECT_TRUE(ButtonChecked(command)) << char(key);
    }

    // The wheel: up zooms in by one step of 1.1, down out, whatever the delta's size.
    const double zoom = View().GetCamera().GetZoom();
    SendMessageW(Frame(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(View().GetCamera().GetZoom(), zoom * 1.1);
    EXPECT_EQ(Pane(bistrope::kZoomPane), bistrope::ZoomStatusText(zoom * 1.1));
    SendMessageW(Frame(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-960)), 0);
    EXPECT_EQ(View().GetCamera().GetZoom(), zoom * 1.1 / 1.1);

    // F4 swaps the eyes.
    EXPECT_TRUE(app->PressKey(VK_F4));
    EXPECT_EQ(Doc().Path(Eye::Left).filename(), L"right.jpg");
    EXPECT_EQ(Doc().Path(Eye::Right).filename(), L"left.jpg");

    // 'A' fits the pair again.
    View().SetZoom(3.0);
    EXPECT_TRUE(app->PressKey('A'));
    EXPECT_EQ(View().GetCamera().GetZoom(), zoom);
}

// A click on a slot opens the open dialog with its eye's title (F2, F3 and Ctrl+S open
// theirs in the end-to-end test); cancelling it changes nothing.
TEST_F(AppTest, AClickOnASlotOpensItsEyesOpenDialog) {
    Start();
    std::wstring title;
    wintest::OneShot cancel(300, [&title] {
        const HWND dialog = wintest::WaitForWindow([](HWND w) { return wintest::ClassOf(w) == L"#32770"; }, 5000,
                                                   wintest::Shown::Only);
        title = dialog ? wintest::TextOf(dialog) : L"<none>";
        if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageW(app->GetSlot(Eye::Right).GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_EQ(title, L"Load right image");
    EXPECT_FALSE(Doc().IsLoaded(Eye::Right));
}

}  // namespace
}  // namespace apptest
