// The live preview read back from OpenGL: where each eye lands and which channels it
// writes, the left image's offset and rotation, the output frame, the texture rows.
#include <cmath>

#include "app_support.h"

namespace apptest {
namespace {

using bistrope::Eye;
const Rgb kBackground{254, 252, 242};

class Render : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        Start();
        Settings().blendMode = 9;  // colours copied unchanged: the channel masks alone separate the eyes
    }
    // Draws at zoom 1 around the origin and keeps the pixels.
    void Draw() {
        View().SetZoom(1.0);
        View().SetTarget({0, 0, 0});
        pixels = ViewPixels(width, height);
    }
    // The pixel showing alignment-frame point (x, y) (y upwards).
    Rgb At(double x, double y) const {
        const int gx = int(std::floor(1 + (width - 2) / 2.0 + x)), gy = int(std::floor(1 + (height - 2) / 2.0 + y));
        const std::uint8_t* p = &pixels[(std::size_t(gy) * std::size_t(width) + std::size_t(gx)) * 3];
        return {p[0], p[1], p[2]};
    }
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
};

TEST_F(Render, EachEyeWritesItsOwnChannelsWhereTheAlignmentPutsIt) {
    ASSERT_TRUE(Doc().SetEyeImage(Eye::Left, Solid(160, 120, {240, 10, 20}, {90, 10, 20}), L"l").ok());
    ASSERT_TRUE(Doc().SetEyeImage(Eye::Right, Solid(160, 120, {30, 120, 220}, {30, 120, 220}), L"r").ok());
    Doc().SetAlignment({60.0, 0.0, 0.0});
    Draw();
    EXPECT_EQ(At(0, 30), (Rgb{240, 120, 220}));    // both eyes, upper half of the left image
    EXPECT_EQ(At(0, -30), (Rgb{90, 120, 220}));    // lower half: the top row is uploaded first
    EXPECT_EQ(At(110, 30), (Rgb{240, 0, 0}));      // the left image alone
    EXPECT_EQ(At(-70, 30), (Rgb{0, 120, 220}));    // the right image alone
    EXPECT_EQ(At(0, 100), kBackground);
    EXPECT_EQ(At(180, 0), kBackground);

    // The output rectangle (-20, -60, 80, 60) is framed: every pixel along its top edge is
    // black or yellow, with dashes of both.
    int yellow = 0, black = 0;
    for (int x = -15; x < 75; ++x) {
        const Rgb c = At(x + 0.5, 60.0);
        yellow += c == Rgb{255, 255, 0};
        black += c == Rgb{0, 0, 0};
    }
    EXPECT_EQ(yellow + black, 90);
    EXPECT_GT(yellow, 20);
    EXPECT_GT(black, 20);

    // Ten degrees clockwise about the left image's centre (60, 0): its top-right corner
    // region moves down to the right, the top-left one up.
    Doc().SetAlignment({60.0, 0.0, 10.0});
    Draw();
    const double a = 10 * 0.017453292519943295;
    const auto turned = [a](double x, double y) {  // a point of the unturned image, turned
        return std::pair<double, double>{60 + x * std::cos(a) + y * std::sin(a), -x * std::sin(a) + y * std::cos(a)};
    };
    for (auto [x, y] : {std::pair{70.0, 50.0}, std::pair{-70.0, 50.0}, std::pair{70.0, -50.0}}) {
        const auto [tx, ty] = turned(x, y);
        EXPECT_EQ(At(tx, ty)[0], y > 0 ? 240 : 90) << x << "," << y;
    }
    EXPECT_EQ(At(60 + 78, 58), kBackground);  // the unturned corner is left empty
}

TEST_F(Render, ATwoPixelWidePreviewIsUploadedWithItsRealRowLength) {
    ASSERT_TRUE(Doc().SetEyeImage(Eye::Left, Solid(2, 64, {250, 0, 0}, {10, 0, 0}), L"l").ok());
    ASSERT_EQ(Doc().Preview(Eye::Left)->width(), 2);
    View().SetZoom(16.0);  // the output frame's 3-pixel lines stay clear of the columns
    View().SetTarget({0, 0, 0});
    pixels = ViewPixels(width, height);
    const auto red = [this](double x, double y) {
        const int gx = int(std::floor(1 + (width - 2) / 2.0 + 16 * x)), gy = int(std::floor(1 + (height - 2) / 2.0 + 16 * y));
        return int(pixels[(std::size_t(gy) * std::size_t(width) + std::size_t(gx)) * 3]);
    };
    // Rows shear apart when the unpack alignment is wrong; both columns stay alike here
    // (within the few levels GL_CLAMP's border blends into samples near a 2-texel edge).
    ASSERT_GT(height, 2 * 16 * 9);
    for (double y : {-8.0, -3.0, 3.0, 8.0}) {
        EXPECT_NEAR(red(-0.5, y), y > 0 ? 250 : 10, 12) << y;
        EXPECT_NEAR(red(0.5, y), y > 0 ? 250 : 10, 12) << y;
    }
}

}  // namespace
}  // namespace apptest
