// The preview's quads, the left image's transform and the output frame.
#include "view/preview_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace bistrope {
namespace {

TEST(PreviewQuad, HalfSizesTruncateTowardZeroAndEmptySlotsGiveZero) {
    const HalfSize odd = ImageHalfSize(801, 601);
    EXPECT_EQ(odd.width, 400);
    EXPECT_EQ(odd.height, 300);
    const HalfSize empty = ImageHalfSize(-1, -1);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 0);
    EXPECT_FALSE(QuadVisible(empty));
    // A 1-pixel-wide image has no visible quad; 2 x 2 has a 2 x 2 one.
    EXPECT_FALSE(QuadVisible(ImageHalfSize(1, 500)));
    EXPECT_FALSE(QuadVisible(ImageHalfSize(500, 1)));
    EXPECT_TRUE(QuadVisible(ImageHalfSize(2, 2)));
}

TEST(PreviewQuad, OddImageIsDrawnOnAnEvenQuadWithTheTopRowAtTZero) {
    const ImageQuad q = MakeImageQuad(ImageHalfSize(801, 601), 0.4);
    // Corner order: top-left, bottom-left, bottom-right, top-right (counter-clockwise).
    const double expected[4][5] = {
        {-400, 300, 0.4, 0, 0},
        {-400, -300, 0.4, 0, 1},
        {400, -300, 0.4, 1, 1},
        {400, 300, 0.4, 1, 0},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(q[i].x, expected[i][0]) << i;
        EXPECT_EQ(q[i].y, expected[i][1]) << i;
        EXPECT_EQ(q[i].z, expected[i][2]) << i;
        EXPECT_EQ(q[i].s, expected[i][3]) << i;
        EXPECT_EQ(q[i].t, expected[i][4]) << i;
    }
    // Front-facing: the signed area (shoelace) is positive, i.e. counter-clockwise with y up.
    double area = 0;
    for (int i = 0; i < 4; ++i) {
        const QuadVertex& a = q[i];
        const QuadVertex& b = q[(i + 1) % 4];
        area += a.x * b.y - b.x * a.y;
    }
    EXPECT_EQ(area / 2, 800.0 * 600.0);
}

TEST(LeftTransform, TranslatesByOffsetWithScreenDownOffsetY) {
    const TWIG4::Matrix4 m = LeftImageTransform({50.0, 20.0, 0.0});
    const TWIG4::Vec3 centre = m.TransformPoint({0, 0, 0});
    EXPECT_EQ(centre.x, 50.0);
    EXPECT_EQ(centre.y, -20.0);  // offsetY is positive downwards, y grows upwards
    EXPECT_EQ(centre.z, 0.0);
    const TWIG4::Vec3 corner = m.TransformPoint({-400, 300, 0});
    EXPECT_EQ(corner.x, -350.0);
    EXPECT_EQ(corner.y, 280.0);
}

TEST(LeftTransform, PositiveRotationTurnsClockwiseOnScreenAboutTheImageCentre) {
    const Alignment a{50.0, 0.0, 10.0};
    const TWIG4::Matrix4 m = LeftImageTransform(a);
    const double c = std::cos(10 * kDegreesToRadians), s = std::sin(10 * kDegreesToRadians);
    // The point straight above the centre moves right (clockwise with y up).
    const TWIG4::Vec3 up = m.TransformPoint({0, 100, 0});
    EXPECT_NEAR(up.x, 50.0 + 100 * s, 1e-12);
    EXPECT_NEAR(up.y, 100 * c, 1e-12);
    // The point to the right of the centre moves down.
    const TWIG4::Vec3 right = m.TransformPoint({100, 0, 0});
    EXPECT_NEAR(right.x, 50.0 + 100 * c, 1e-12);
    EXPECT_NEAR(right.y, -100 * s, 1e-12);
    // The rotation is about the image's centre, which stays at (offsetX, -offsetY).
    const TWIG4::Vec3 centre = m.TransformPoint({0, 0, 0});
    EXPECT_NEAR(centre.x, 50.0, 1e-12);
    EXPECT_NEAR(centre.y, 0.0, 1e-12);
    // The exact matrix: rows (c, s, 0, 50), (-s, c, 0, 0), (0, 0, 1, 0), (0, 0, 0, 1).
    EXPECT_NEAR(m.m[0][0], c, 1e-15);
    EXPECT_NEAR(m.m[0][1], s, 1e-15);
    EXPECT_NEAR(m.m[1][0], -s, 1e-15);
    EXPECT_NEAR(m.m[1][1], c, 1e-15);
    EXPECT_EQ(m.m[2][2], 1.0);
    EXPECT_EQ(m.m[3][3], 1.0);
    EXPECT_EQ(m.m[0][3], 50.0);
    EXPECT_EQ(m.m[1][3], 0.0);
    // The column order handed to OpenGL puts the translation at elements 12 to 14.
    const auto cols = m.ToColumnOrder();
    EXPECT_EQ(cols[12], 50.0);
    EXPECT_EQ(cols[13], 0.0);
    EXPECT_NEAR(cols[1], -s, 1e-15);
}

TEST(LeftTransform, NegativeRotationTurnsCounterClockwise) {
    const TWIG4::Matrix4 m = LeftImageTransform({0.0, 0.0, -20.0});
    const TWIG4::Vec3 up = m.TransformPoint({0, 100, 0});
    EXPECT_LT(up.x, 0.0);
    EXPECT_NEAR(up.x, -100 * std::sin(20 * kDegreesToRadians), 1e-12);
}

TEST(OutputFrame, FourEdgesInDrawingOrder) {
    const auto frame = OutputFrameSegments({-2000, -1500, 2000, 1500});
    ASSERT_TRUE(frame.has_value());
    const double expected[4][4] = {
        {-2000, -1500, 2000, -1500},
        {2000, -1500, 2000, 1500},
        {2000, 1500, -2000, 1500},
        {-2000, 1500, -2000, -1500},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ((*frame)[i].x0, expected[i][0]) << i;
        EXPECT_EQ((*frame)[i].y0, expected[i][1]) << i;
        EXPECT_EQ((*frame)[i].x1, expected[i][2]) << i;
        EXPECT_EQ((*frame)[i].y1, expected[i][3]) << i;
    }
}

TEST(OutputFrame, NoFrameForEmptyOrInvertedRectangles) {
    EXPECT_FALSE(OutputFrameSegments({0, 0, 0, 0}).has_value());
    EXPECT_FALSE(OutputFrameSegments({-5, -5, -5, 5}).has_value());      // zero width
    EXPECT_FALSE(OutputFrameSegments({-1350, 20, 1350, -20}).has_value());  // bottom < top
    EXPECT_TRUE(OutputFrameSegments({-2, -1, 2, 1}).has_value());       // a 5 x 3 image: 4 x 2
    EXPECT_TRUE(OutputFrameSegments({0, 0, 1, 1}).has_value());         // one unit is enough
    // Extreme edges do not overflow the width test.
    EXPECT_FALSE(OutputFrameSegments({INT32_MAX, 0, INT32_MIN, 1}).has_value());
    EXPECT_TRUE(OutputFrameSegments({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}).has_value());
}

}  // namespace
}  // namespace bistrope
