#include "view/interaction.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace bistrope {
namespace {

using TWIG4::Camera;
using TWIG4::Vec3;
using Calls = std::vector<std::string>;

// Records every call the interaction makes on its window.
class FakeHost final : public InteractionHost {
public:
    bool left = false, right = false;
    Calls calls;

    bool HasLeftImage() const override { return left; }
    bool HasRightImage() const override { return right; }
    void CaptureMouse() override { calls.push_back("capture"); }
    void ReleaseMouse() override { calls.push_back("release"); }
    void SetCursor(int id) override { calls.push_back("cursor " + std::to_string(id)); }
    void Render() override { calls.push_back("render"); }
    void UpdateStatus() override { calls.push_back("status"); }
    void SetModeHint(const std::wstring& text) override {
        calls.push_back("hint " + std::string(text.begin(), text.end()));
    }
    Alignment GetAlignment() const override { return alignment; }
    // The window's answer to a new alignment: output rectangle, status line, redraw.
    void SetAlignment(const Alignment& a) override {
        alignment = a;
        calls.push_back("align");
    }
    Alignment alignment;

    Calls Take() { return std::exchange(calls, {}); }
};

// A 600 x 400 viewport showing the plane at zoom 1 around the origin, one frame drawn:
// window (300 + X, 200 - Y) shows the point (X, Y).
struct Interaction : ::testing::Test {
    Camera camera;
    FakeHost host;
    Alignment& alignment = host.alignment;
    ViewInteraction view{camera, host};

    void SetUp() override {
        camera.SetViewport(0, 0, 600, 400);
        camera.FitRect(-300, -200, 600, 400);
        ASSERT_EQ(camera.zoom, 1.0);
        ASSERT_TRUE(camera.ApplyCamera());
    }
    void LoadImages(bool l, bool r) {
        host.left = l;
        host.right = r;
    }
    void EnterMode(InteractionMode mode) {
        LoadImages(true, true);
        ASSERT_TRUE(view.SetInteractionMode(mode));
        host.Take();
    }
    // Window point of a plane point.
    static int WX(double x) { return int(std::lround(300 + x)); }
    static int WY(double y) { return int(std::lround(200 - y)); }
};

TEST_F(Interaction, ModeSwitchesFollowTheLoadedImages) {
    const InteractionMode all[] = {InteractionMode::PanView, InteractionMode::ZoomView, InteractionMode::PanLeft,
                                   InteractionMode::RotateLeft};
    for (InteractionMode m : all) EXPECT_FALSE(view.SetInteractionMode(m));
    EXPECT_EQ(view.Mode(), InteractionMode::None);
    EXPECT_EQ(host.Take(), Calls{});

    for (auto [l, r] : {std::pair{true, false}, std::pair{false, true}}) {
        LoadImages(l, r);
        EXPECT_TRUE(view.SetInteractionMode(InteractionMode::PanView));
        EXPECT_EQ(host.Take(), (Calls{"cursor 102", "hint Left click and drag to pan image"}));
        EXPECT_FALSE(view.SetInteractionMode(InteractionMode::PanLeft));
        EXPECT_FALSE(view.SetInteractionMode(InteractionMode::RotateLeft));
        EXPECT_EQ(host.Take(), Calls{});
        EXPECT_EQ(view.Mode(), InteractionMode::PanView);
        EXPECT_TRUE(view.SetInteractionMode(InteractionMode::ZoomView));
        EXPECT_EQ(host.Take(), (Calls{"cursor 104", "hint Left click and drag vertically to zoom"}));
    }

    LoadImages(true, true);
    EXPECT_TRUE(view.SetInteractionMode(InteractionMode::PanLeft));
    EXPECT_EQ(host.Take(), (Calls{"cursor 105", "hint Left click and drag to pan left image"}));
    EXPECT_TRUE(view.SetInteractionMode(InteractionMode::RotateLeft));
    EXPECT_EQ(host.Take(), (Calls{"cursor 108", "hint Left click and drag to rotate left image"}));
    EXPECT_FALSE(view.SetInteractionMode(static_cast<InteractionMode>(7)));
    EXPECT_EQ(view.Mode(), InteractionMode::RotateLeft);
    EXPECT_EQ(host.Take(), Calls{});
}

TEST_F(Interaction, ModeSwitchesAreRefusedDuringEveryKindOfDrag) {
    EnterMode(InteractionMode::PanLeft);
    view.OnLeftPress(10, 10);
    host.Take();
    EXPECT_FALSE(view.SetInteractionMode(InteractionMode::RotateLeft));
    EXPECT_EQ(view.Mode(), InteractionMode::PanLeft);
    EXPECT_EQ(host.Take(), Calls{});
    view.OnLeftRelease(10, 10);

    view.OnMiddlePress(10, 10);
    host.Take();
    EXPECT_FALSE(view.SetInteractionMode(InteractionMode::ZoomView));
    EXPECT_EQ(host.Take(), Calls{});
    view.OnMiddleRelease(10, 10);
    EXPECT_EQ(view.Mode(), InteractionMode::PanLeft);
    EXPECT_TRUE(view.SetInteractionMode(InteractionMode::ZoomView));
}

TEST_F(Interaction, UpdateCursorFollowsModeAndDragState) {
    EXPECT_FALSE(view.UpdateCursor());  // None: the window's arrow
    EXPECT_EQ(host.Take(), Calls{});
    const std::pair<InteractionMode, Calls> cases[] = {
        {InteractionMode::PanView, {"cursor 102", "capture", "cursor 103", "release", "cursor 102", "render"}},
        {InteractionMode::ZoomView, {"cursor 104", "capture", "cursor 107", "release", "cursor 104", "render"}},
        {InteractionMode::PanLeft, {"cursor 105", "capture", "cursor 106", "release", "cursor 105", "render"}},
        {InteractionMode::RotateLeft, {"cursor 108", "capture", "cursor 109", "release", "cursor 108", "render"}},
    };
    for (const auto& [mode, expected] : cases) {
        EnterMode(mode);
        EXPECT_TRUE(view.UpdateCursor());
        view.OnLeftPress(5, 5);
        EXPECT_TRUE(view.IsDragging());
        view.OnLeftRelease(5, 5);
        EXPECT_FALSE(view.IsDragging());
        EXPECT_EQ(host.Take(), expected);
    }
}

TEST_F(Interaction, LeftPressWithoutModeStartsNothing) {
    view.OnLeftPress(40, 50);
    view.OnMove(90, 120);
    view.OnLeftRelease(90, 120);
    EXPECT_EQ(host.Take(), Calls{});
    EXPECT_FALSE(view.IsDragging());
    EXPECT_EQ(view.State().mouseDown, (MousePoint{40, 50}));
    EXPECT_EQ(view.State().mouseNow, (MousePoint{90, 120}));
    EXPECT_EQ(camera.target, (Vec3{0, 0, 0}));
    EXPECT_EQ(camera.zoom, 1.0);
}

TEST_F(Interaction, ZoomDragScalesByTenPer150PixelsWithinTheLimits) {
    EnterMode(InteractionMode::ZoomView);
    camera.SetTarget({12, 34, 0});
    view.OnLeftPress(100, 100);
    EXPECT_EQ(host.Take(), (Calls{"capture", "cursor 107"}));

    view.OnMove(100, 250);
    EXPECT_EQ(camera.zoom, 10.0);
    EXPECT_EQ(host.Take(), (Calls{"status", "render"}));
    view.OnMove(130, 400);
    EXPECT_EQ(camera.zoom, 32.0);
    view.OnMove(100, -50);
    EXPECT_EQ(camera.zoom, 0.25);  // 0.1 computed
    view.OnMove(100, 175);
    EXPECT_NEAR(camera.zoom, std::pow(10.0, 0.5), 1e-15);
    EXPECT_EQ(camera.target, (Vec3{12, 34, 0}));  // zooms about the centre

    host.Take();
    view.OnLeftRelease(100, 175);
    EXPECT_EQ(host.Take(), (Calls{"release", "cursor 104", "render"}));
    view.OnMove(100, 400);
    EXPECT_NEAR(camera.zoom, std::pow(10.0, 0.5), 1e-15);
    EXPECT_EQ(host.Take(), Calls{});
}

TEST_F(Interaction, PanDragMovesThePictureWithThePointer) {
    EnterMode(InteractionMode::PanView);
    camera.SetZoom(0.5);
    camera.SetTarget({10, 20, 3});
    view.OnLeftPress(200, 200);
    host.Take();
    view.OnMove(300, 250);
    EXPECT_EQ(camera.target, (Vec3{-190, 120, 3}));
    EXPECT_EQ(host.Take(), Calls{"render"});  // no status refresh
    // Each move is measured from the press, not from the last move.
    view.OnMove(200, 200);
    EXPECT_EQ(camera.target, (Vec3{10, 20, 3}));
}

TEST_F(Interaction, OffsetDragMovesTheLeftImageAndRefreshesOutputAndStatus) {
    EnterMode(InteractionMode::PanLeft);
    camera.SetZoom(2.0);
    alignment = {1, 2, 5};
    view.OnLeftPress(50, 60);
    host.Take();
    view.OnMove(80, 80);
    EXPECT_EQ(alignment.offsetX, 16);
    EXPECT_EQ(alignment.offsetY, 12);
    EXPECT_EQ(alignment.rotation, 5);
    EXPECT_EQ(host.Take(), Calls{"align"});
    view.OnMove(-10, 50);  // left of the window while captured
    EXPECT_EQ(alignment.offsetX, -29);
    EXPECT_EQ(alignment.offsetY, -3);
    EXPECT_EQ(camera.target, (Vec3{0, 0, 0}));
}

TEST_F(Interaction, PointerAngleIsTheBearingFromTheLeftImageCentre) {
    alignment = {50, 20, 0};  // centre at (50, -20)
    EXPECT_NEAR(view.PointerAngle(WX(50), WY(80)), 0, 1e-9);
    EXPECT_NEAR(view.PointerAngle(WX(150), WY(-20)), 90, 1e-9);
    EXPECT_NEAR(view.PointerAngle(WX(-50), WY(-20)), -90, 1e-9);
    EXPECT_NEAR(std::fabs(view.PointerAngle(WX(50), WY(-120))), 180, 1e-9);
    EXPECT_NEAR(view.PointerAngle(WX(150), WY(80)), 45, 1e-9);
}

TEST_F(Interaction, RotationDragCrossesStraightDownWithoutAJumpAndHoldsAtTheLimit) {
    EnterMode(InteractionMode::RotateLeft);
    alignment = {50, 20, 0};  // centre at (50, -20); pointer points 100 below it
    const double cx = 50, cy = -20;
    auto deg = [](double r) { return r * 57.29577951308232; };

    view.OnLeftPress(WX(cx + 10), WY(cy - 100));  // bearing 180 - atan(0.1)
    EXPECT_EQ(host.Take(), (Calls{"capture", "cursor 109"}));

    // Clockwise past straight down: bearing jumps from +174 to -174, rotation does not.
    view.OnMove(WX(cx - 10), WY(cy - 100));
    EXPECT_NEAR(alignment.rotation, deg(2 * std::atan(0.1)), 1e-9);
    EXPECT_EQ(host.Take(), Calls{"align"});

    // Further on: 22.4 degrees computed, held at 20 with the anchor moved here.
    view.OnMove(WX(cx - 30), WY(cy - 100));
    EXPECT_EQ(alignment.rotation, 20.0);
    EXPECT_EQ(view.State().dragStart.rotation, 20.0);
    EXPECT_NEAR(view.State().dragStart.angle, -180 + deg(std::atan(0.3)), 1e-9);
    view.OnMove(WX(cx - 40), WY(cy - 100));
    EXPECT_EQ(alignment.rotation, 20.0);

    // The first move back lowers it at once.
    view.OnMove(WX(cx - 30), WY(cy - 100));
    EXPECT_NEAR(alignment.rotation, 20 - deg(std::atan(0.4) - std::atan(0.3)), 1e-9);
    view.OnMove(WX(cx + 30), WY(cy - 100));
    EXPECT_NEAR(alignment.rotation, 20 - deg(std::atan(0.4) + std::atan(0.3)), 1e-9);

    // Counter-clockwise far enough: held at -20.
    view.OnMove(WX(cx + 100), WY(cy - 20));
    EXPECT_EQ(alignment.rotation, -20.0);
    EXPECT_EQ(alignment.offsetX, 50);
    EXPECT_EQ(alignment.offsetY, 20);
    host.Take();
    view.OnLeftRelease(0, 0);
    EXPECT_EQ(host.Take(), (Calls{"release", "cursor 108", "render"}));
}

TEST_F(Interaction, MiddleButtonPansInAnyModeAndRestoresIt) {
    EnterMode(InteractionMode::PanLeft);
    camera.SetZoom(0.5);
    view.OnMiddlePress(100, 100);
    EXPECT_EQ(view.Mode(), InteractionMode::PanView);
    EXPECT_EQ(view.State().savedMode, InteractionMode::PanLeft);
    EXPECT_EQ(host.Take(), (Calls{"capture", "cursor 103"}));

    view.OnMove(110, 90);
    EXPECT_EQ(camera.target, (Vec3{-20, -20, 0}));
    EXPECT_EQ(alignment.offsetX, 0);
    EXPECT_EQ(host.Take(), Calls{"render"});

    view.OnMiddleRelease(110, 90);
    EXPECT_EQ(view.Mode(), InteractionMode::PanLeft);
    EXPECT_FALSE(view.IsDragging());
    EXPECT_EQ(host.Take(), (Calls{"release", "cursor 105"}));  // no redraw, no hint

    // Also with no image and no mode: the arrow comes back, so no cursor is set at the end.
    Camera cam2;
    FakeHost empty;
    ViewInteraction idle{cam2, empty};
    idle.OnMiddlePress(0, 0);
    EXPECT_EQ(idle.Mode(), InteractionMode::PanView);
    idle.OnMiddleRelease(0, 0);
    EXPECT_EQ(idle.Mode(), InteractionMode::None);
    EXPECT_EQ(empty.calls, (Calls{"capture", "cursor 103", "release"}));
}

TEST_F(Interaction, EachDragEndsOnlyWithTheReleaseOfItsOwnButton) {
    EnterMode(InteractionMode::PanLeft);
    view.OnMiddlePress(0, 0);
    view.OnMiddleRelease(0, 0);  // savedMode is now PanLeft
    ASSERT_TRUE(view.SetInteractionMode(InteractionMode::PanView));
    host.Take();

    // A middle click during a left pan neither ends it nor switches to the stale saved mode.
    view.OnLeftPress(10, 10);
    view.OnMiddlePress(10, 10);
    view.OnMiddleRelease(10, 10);
    EXPECT_TRUE(view.IsDragging());
    EXPECT_EQ(view.Mode(), InteractionMode::PanView);
    view.OnLeftRelease(10, 10);
    EXPECT_FALSE(view.IsDragging());
    EXPECT_EQ(host.Take(), (Calls{"capture", "cursor 103", "release", "cursor 102", "render"}));

    // A left click during a middle pan does not leave the view stuck in PanView.
    ASSERT_TRUE(view.SetInteractionMode(InteractionMode::RotateLeft));
    host.Take();
    view.OnMiddlePress(10, 10);
    view.OnLeftPress(20, 20);
    view.OnLeftRelease(20, 20);
    EXPECT_TRUE(view.IsDragging());
    view.OnMiddleRelease(20, 20);
    EXPECT_EQ(view.Mode(), InteractionMode::RotateLeft);
    EXPECT_EQ(host.Take(), (Calls{"capture", "cursor 103", "release", "cursor 108"}));
}

TEST_F(Interaction, LosingTheMouseCaptureEndsTheDragWhereItStands) {
    EnterMode(InteractionMode::PanLeft);
    view.OnCaptureLost();
    EXPECT_TRUE(host.Take().empty()) << "no drag, nothing to end";

    view.OnLeftPress(100, 100);
    view.OnMove(110, 105);
    host.Take();
    view.OnCaptureLost();  // say a dialog took the mouse
    EXPECT_FALSE(view.IsDragging());
    EXPECT_EQ(host.Take(), (Calls{"cursor 105", "render"})) << "the capture is gone already: no release";
    view.OnMove(200, 200);
    view.OnLeftRelease(200, 200);
    EXPECT_EQ(alignment.offsetX, 10.0) << "later moves and the late release change nothing";
    EXPECT_EQ(alignment.offsetY, 5.0);
    EXPECT_TRUE(host.Take().empty());
    EXPECT_TRUE(view.SetInteractionMode(InteractionMode::RotateLeft)) << "mode switches work again";

    // A lost middle-button pan gives back the mode it interrupted.
    host.Take();
    view.OnMiddlePress(0, 0);
    view.OnCaptureLost();
    EXPECT_EQ(view.Mode(), InteractionMode::RotateLeft);
    EXPECT_EQ(host.Take(), (Calls{"capture", "cursor 103", "cursor 108", "render"}));
}

TEST_F(Interaction, WheelStepsTheZoomInAnyStateWithinTheLimits) {
    EXPECT_TRUE(view.OnWheel(0));  // no mode, no image
    EXPECT_EQ(camera.zoom, 1.0);
    EXPECT_EQ(host.Take(), (Calls{"status", "render"}));
    EXPECT_TRUE(view.OnWheel(120));
    EXPECT_EQ(camera.zoom, 1.1);
    EXPECT_TRUE(view.OnWheel(-1));
    EXPECT_EQ(camera.zoom, 1.1 / 1.1);
    view.OnWheel(-960);  // one step whatever the size
    EXPECT_EQ(camera.zoom, 1.0 / 1.1);

    camera.SetZoom(0.13333333333333333);  // a refit below the limit
    view.OnWheel(120);
    EXPECT_EQ(camera.zoom, 0.25);
    camera.SetZoom(40);
    view.OnWheel(0);
    EXPECT_EQ(camera.zoom, 32.0);
    view.OnWheel(120);
    EXPECT_EQ(camera.zoom, 32.0);

    EnterMode(InteractionMode::PanView);
    view.OnLeftPress(0, 0);
    host.Take();
    view.OnWheel(-120);
    EXPECT_EQ(camera.zoom, 32.0 / 1.1);
    EXPECT_TRUE(view.IsDragging());
    EXPECT_EQ(host.Take(), (Calls{"status", "render"}));
}

TEST(MouseMessage, PositionsAndWheelDeltasAreSigned16BitWords) {
    EXPECT_EQ(MousePointFromPosition(0x00C80064u), (MousePoint{100, 200}));
    EXPECT_EQ(MousePointFromPosition(0xFFFEFFFFu), (MousePoint{-1, -2}));
    EXPECT_EQ(MousePointFromPosition(0x80007FFFu), (MousePoint{32767, -32768}));
    EXPECT_EQ(WheelDeltaFromParam(0x00780008u), 120);
    EXPECT_EQ(WheelDeltaFromParam(0xFF880000u), -120);
    EXPECT_EQ(WheelDeltaFromParam(0x12345678FF880004ull), -120);
}

}  // namespace
}  // namespace bistrope
