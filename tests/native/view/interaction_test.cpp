#include "view/interaction.h"

#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace bistrope {
namespace {

using TWIG4::Vec3;
using Calls = std::vector<std::string>;

// Records every call the interaction makes on its window.
class FakeHost final : public InteractionHost {
public:
    bool left = false, right = false;
    Calls calls;
    Alignment alignment;

    bool HasLeftImage() const override { return left; }
    bool HasRightImage() const override { return right; }
    void CaptureMouse() override { calls.push_back("capture"); }
    void ReleaseMouse() override { calls.push_back("release"); }
    void SetCursor(int id) override { calls.push_back("cursor " + std::to_string(id)); }
    void Render() override { calls.push_back("render"); }
    void UpdateStatus() override { calls.push_back("status"); }
    void SetModeHint(const std::wstring& text) override { calls.push_back("hint " + std::string(text.begin(), text.end())); }
    Alignment GetAlignment() const override { return alignment; }
    // The window's answer to a new alignment: output rectangle, status line, redraw.
    void SetAlignment(const Alignment& a) override { alignment = a, calls.push_back("align"); }
};

// A 600 x 400 viewport showing the plane at zoom 1 around the origin, one frame drawn:
// window (300 + X, 200 - Y) shows the point (X, Y).
struct Interaction : ::testing::Test {
    TWIG4::Camera camera;
    FakeHost host;
    Alignment& alignment = host.alignment;
    ViewInteraction view{camera, host};

    void SetUp() override {
        camera.SetViewport(0, 0, 600, 400);
        camera.FitRect(-300, -200, 600, 400);
        ASSERT_TRUE(camera.ApplyCamera());
    }
    void EnterMode(InteractionMode mode) {
        host.left = host.right = true;
        ASSERT_TRUE(view.SetInteractionMode(mode));
        host.calls.clear();
    }
    // The calls the window saw since the last look.
    Calls Take() { return std::exchange(host.calls, {}); }
    // The calls a mode switch makes, or "refused".
    Calls Switch(InteractionMode mode) { return view.SetInteractionMode(mode) ? Take() : Calls{"refused"}; }
    // Plays mouse events, each a letter and most a window point: L x,y / l x,y left press /
    // release, M / m the middle button's, v x,y a move, c the capture lost. Returns the calls the
    // window saw since the last look.
    Calls Play(const std::string& events) {
        std::istringstream in(events);
        for (char e, comma; in >> e;) {
            int x = 0, y = 0;
            if (e != 'c') in >> x >> comma >> y;
            if (e == 'L') view.OnLeftPress(x, y);
            if (e == 'l') view.OnLeftRelease(x, y);
            if (e == 'M') view.OnMiddlePress(x, y);
            if (e == 'm') view.OnMiddleRelease(x, y);
            if (e == 'v') view.OnMove(x, y);
            if (e == 'c') view.OnCaptureLost();
        }
        return Take();
    }
};

TEST_F(Interaction, ModeSwitchesFollowTheLoadedImagesAndWithoutAModeAPressStartsNothing) {
    EXPECT_EQ(Switch(InteractionMode::ZoomView), Calls{"refused"});  // no image
    EXPECT_FALSE(view.UpdateCursor());                               // None: the window's arrow
    // The left button does nothing; the middle button pans even so, and the arrow comes back, so
    // no cursor is set at the end.
    EXPECT_EQ(Play("L40,50 v90,120 l90,120 M0,0 m0,0"), (Calls{"capture", "cursor 103", "release"}));

    for (auto [l, r] : {std::pair{true, false}, std::pair{false, true}}) {
        host.left = l, host.right = r;
        EXPECT_EQ(Switch(InteractionMode::PanView), (Calls{"cursor 102", "hint Left click and drag to pan image"}));
        EXPECT_EQ(std::pair(Switch(InteractionMode::PanLeft), Switch(InteractionMode::RotateLeft)),
                  std::pair(Calls{"refused"}, Calls{"refused"}));
        EXPECT_EQ(Switch(InteractionMode::ZoomView), (Calls{"cursor 104", "hint Left click and drag vertically to zoom"}));
    }
    host.left = host.right = true;
    EXPECT_EQ(Switch(InteractionMode::PanLeft), (Calls{"cursor 105", "hint Left click and drag to pan left image"}));
    EXPECT_EQ(Switch(InteractionMode::RotateLeft), (Calls{"cursor 108", "hint Left click and drag to rotate left image"}));
    EXPECT_EQ(Switch(static_cast<InteractionMode>(7)), Calls{"refused"});
    EXPECT_TRUE(view.UpdateCursor());  // the refused switch set nothing
    EXPECT_EQ(std::pair(view.Mode(), host.calls), std::pair(InteractionMode::RotateLeft, Calls{"cursor 108"}));
}

TEST_F(Interaction, ZoomDragScalesByTenPer150PixelsWithinTheLimits) {
    EnterMode(InteractionMode::ZoomView);
    camera.SetTarget({12, 34, 0});
    EXPECT_EQ(Play("L100,100 v100,250"), (Calls{"capture", "cursor 107", "status", "render"}));
    // 100 and 0.1 computed beyond the limits; a release, then a move that changes nothing.
    for (auto [events, zoom] :
         {std::pair{"", 10.0}, {"v130,400", 32.0}, {"v100,-50", 0.25}, {"v100,175 l100,175 v100,400", std::sqrt(10.0)}}) {
        Play(events);
        EXPECT_NEAR(camera.zoom, zoom, 1e-15) << events;
    }
    EXPECT_EQ(camera.target, (Vec3{12, 34, 0}));  // zooms about the centre
}

TEST_F(Interaction, RotationDragFollowsTheBearingFromTheLeftImageCentreAndHoldsAtTheLimits) {
    alignment = {50, 20, 0};  // centre at window (350, 220); bearings 0 straight up, growing clockwise
    EXPECT_NEAR(view.PointerAngle(250, 220), -90, 1e-9);
    EXPECT_NEAR(view.PointerAngle(450, 120), 45, 1e-9);
    EnterMode(InteractionMode::RotateLeft);
    // 100 below the centre, clockwise past straight down: the bearing jumps from +174 to -174,
    // the rotation does not.
    EXPECT_EQ(Play("L360,320 v340,320"), (Calls{"capture", "cursor 109", "align"}));
    const double deg = kRadiansToDegrees, a3 = std::atan(0.3), a4 = std::atan(0.4);
    // Then 22.4 computed, held at 20 with the anchor moved there, so the first move back lowers
    // it at once; then a little past the other limit (-20.58 computed).
    for (auto [x, rotation] : {std::pair{340, deg * 2 * std::atan(0.1)}, {320, 20.0}, {310, 20.0},
                               {320, 20 - deg * (a4 - a3)}, {380, 20 - deg * (a4 + a3)}, {384, -20.0}}) {
        Play("v" + std::to_string(x) + ",320");
        EXPECT_NEAR(alignment.rotation, rotation, 1e-9) << x;
    }
    Play("v450,240");  // far past it
    EXPECT_EQ(std::tuple(alignment.rotation, alignment.offsetX, alignment.offsetY), std::tuple(-20.0, 50.0, 20.0));
}

TEST_F(Interaction, PanDragsMoveThePictureWithThePointerTheMiddleButtonInAnyMode) {
    EnterMode(InteractionMode::PanView);
    camera.SetZoom(0.5), camera.SetTarget({10, 20, 3});
    EXPECT_EQ(Play("L200,200 v300,250"), (Calls{"capture", "cursor 103", "render"}));  // no status refresh
    EXPECT_EQ(camera.target, (Vec3{-190, 120, 3}));
    Play("v200,200 l200,200");  // measured from the press, not from the last move
    EXPECT_EQ(camera.target, (Vec3{10, 20, 3}));

    Switch(InteractionMode::PanLeft);
    EXPECT_EQ(Play("M100,100 v110,90"), (Calls{"capture", "cursor 103", "render"}));
    EXPECT_EQ(std::pair(camera.target, alignment.offsetX), std::pair(Vec3{-10, 0, 3}, 0.0));
    EXPECT_EQ(Play("m110,90"), (Calls{"release", "cursor 105"}));  // PanLeft's again; no redraw, no hint
}

TEST_F(Interaction, EachDragEndsOnlyWithTheReleaseOfItsOwnButtonAndModesWaitForIt) {
    EnterMode(InteractionMode::PanLeft);
    Play("M0,0 m0,0");  // savedMode is now PanLeft
    Switch(InteractionMode::PanView);

    // A middle click during a left pan neither ends it nor switches to the stale saved mode.
    EXPECT_EQ(Play("L10,10 M10,10 m10,10"), (Calls{"capture", "cursor 103"}));
    EXPECT_FALSE(view.SetInteractionMode(InteractionMode::RotateLeft));
    EXPECT_EQ(Play("l10,10"), (Calls{"release", "cursor 102", "render"}));  // the pan ran on until now

    // A left click during a middle pan does not leave the view stuck in PanView.
    Switch(InteractionMode::RotateLeft);
    EXPECT_EQ(Play("M10,10 L20,20 l20,20"), (Calls{"capture", "cursor 103"}));
    EXPECT_EQ(Play("m20,20"), (Calls{"release", "cursor 108"}));  // RotateLeft's cursor
}

TEST_F(Interaction, OffsetDragMovesTheLeftImageFromWhereThePressFoundItUntilTheCaptureIsLost) {
    EnterMode(InteractionMode::PanLeft);
    EXPECT_EQ(Play("c"), Calls{}) << "no drag, nothing to end";
    camera.SetZoom(2.0), alignment = {1, 2, 5};
    EXPECT_EQ(Play("L50,60 v80,80"), (Calls{"capture", "cursor 106", "align"}));
    EXPECT_EQ(std::tuple(alignment.offsetX, alignment.offsetY, alignment.rotation), std::tuple(16.0, 12.0, 5.0));
    // A move left of the window while captured; then say a dialog took the mouse: the capture
    // is gone already, so no release.
    EXPECT_EQ(Play("v-10,50 c"), (Calls{"align", "cursor 105", "render"}));
    EXPECT_EQ(Play("v200,200 l200,200"), Calls{}) << "later events change nothing";
    EXPECT_EQ(std::tuple(alignment.offsetX, alignment.offsetY, camera.target), std::tuple(-29.0, -3.0, Vec3{}));
    EXPECT_EQ(Switch(InteractionMode::RotateLeft).size(), 2u) << "mode switches work again";
    // A lost middle-button pan gives back the mode it interrupted.
    EXPECT_EQ(Play("M0,0 c"), (Calls{"capture", "cursor 103", "cursor 108", "render"}));
}

TEST_F(Interaction, WheelStepsTheZoomInAnyStateWithinTheLimits) {
    // No mode, no image; one step whatever the size, delta 0 only applies the limits.
    const struct { double before; int delta; double after; } steps[] = {
        {1.0, 0, 1.0}, {1.0, 120, 1.1}, {1.1, -1, 1.0}, {1.0, -960, 1.0 / 1.1}, {0.1, 120, 0.25}, {40, 0, 32}};
    for (const auto& s : steps) {
        camera.SetZoom(s.before);
        EXPECT_TRUE(view.OnWheel(s.delta));
        EXPECT_EQ(std::pair(camera.zoom, Take()), std::pair(s.after, Calls{"status", "render"})) << s.delta;
    }
    EnterMode(InteractionMode::PanView);
    Play("L0,0");
    view.OnWheel(-120);  // during a drag too
    EXPECT_EQ(std::tuple(camera.zoom, view.IsDragging(), host.calls), std::tuple(32.0 / 1.1, true, Calls{"status", "render"}));
}

TEST(MouseMessage, PositionsAndWheelDeltasAreSigned16BitWords) {
    EXPECT_EQ(MousePointFromPosition(0x00C80064u), (MousePoint{100, 200}));
    EXPECT_EQ(MousePointFromPosition(0xFFFEFFFFu), (MousePoint{-1, -2}));
    EXPECT_EQ(MousePointFromPosition(0x80007FFFu), (MousePoint{32767, -32768}));
    EXPECT_EQ(std::pair(WheelDeltaFromParam(0x00780008u), WheelDeltaFromParam(0x12345678FF880004ull)),
              std::pair(120, -120));
}

}  // namespace
}  // namespace bistrope
