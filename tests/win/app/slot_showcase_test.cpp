// The slots and the preview on screen, for a person to look at: runs only when
// BISTROPE_SHOWCASE_SECONDS is set, and then holds each stage (empty slots, loaded slots
// with the preview) on screen for that many seconds while screenshots are taken.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "slot_test_support.h"

using namespace slot_test;

namespace {

// A small scene: sky, ground, a sun and a post whose place differs between the eyes.
std::array<std::uint8_t, 3> Scene(int x, int y, int shift) {
    const int w = 640, h = 480;
    std::array<std::uint8_t, 3> c{};
    if (y < h * 6 / 10) {
        c = {std::uint8_t(90 + y / 6), std::uint8_t(150 + y / 8), 235};
    } else {
        c = {std::uint8_t(60 + (x % 40)), std::uint8_t(140 - (y - h * 6 / 10) / 4), 50};
    }
    const double dx = x - (w * 0.7), dy = y - (h * 0.25);
    if (dx * dx + dy * dy < 45.0 * 45.0) c = {250, 220, 60};
    const int post = w / 2 + shift;
    if (x > post - 18 && x < post + 18 && y > h / 3) c = {170, 40, 40};
    return c;
}

// Announces a stage on standard output (a script waits for it), then keeps it on screen.
void Stage(const char* name, int milliseconds) {
    Pump(300);
    std::printf("SHOWCASE %s\n", name);
    std::fflush(stdout);
    Pump(milliseconds);
}

TEST(SlotShowcase, EmptyThenLoadedSlotsAndThePreview) {
    const char* seconds = std::getenv("BISTROPE_SHOWCASE_SECONDS");
    if (!seconds) GTEST_SKIP() << "set BISTROPE_SHOWCASE_SECONDS to show the slots on screen";
    const int hold = std::atoi(seconds) * 1000;
    ScratchDir dir;
    WriteBmpWith(dir / L"left.bmp", 640, 480, [](int x, int y) { return Scene(x, y, 14); });
    WriteBmpWith(dir / L"right.bmp", 640, 480, [](int x, int y) { return Scene(x, y, -14); });

    slot_test::Stage stage(Settings());
    ASSERT_TRUE(stage.Open());
    Stage("empty slots", hold);
    ASSERT_TRUE(stage.left.LoadFile((dir / L"left.bmp").wstring().c_str()));
    ASSERT_TRUE(stage.right.LoadFile((dir / L"right.bmp").wstring().c_str()));
    stage.view.Render();
    Stage("loaded slots and the preview", hold);
    stage.view.SetAlignment({30.0, -12.0, 6.0});
    stage.view.UpdateOutputRect();
    stage.view.Render();
    Stage("the left image moved and turned", hold);
}

}  // namespace
