// The preview's quads, the left image's transform and the output frame.
#include "view/preview_geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace bistrope {
namespace {

TEST(PreviewQuad, HalfSizesTruncateAndOddImagesAreDrawnOnEvenQuadsWithTheTopRowAtTZero) {
    EXPECT_EQ(std::pair(ImageHalfSize(801, 601).width, ImageHalfSize(801, 601).height), std::pair(400, 300));
    EXPECT_EQ(std::pair(ImageHalfSize(-1, -1).width, ImageHalfSize(-1, -1).height), std::pair(0, 0));  // an empty slot
    // A 1-pixel-wide image has no visible quad; 2 x 2 has a 2 x 2 one.
    EXPECT_FALSE(QuadVisible(ImageHalfSize(-1, -1)));
    EXPECT_FALSE(QuadVisible(ImageHalfSize(1, 500)));
    EXPECT_FALSE(QuadVisible(ImageHalfSize(500, 1)));
    EXPECT_TRUE(QuadVisible(ImageHalfSize(2, 2)));

    // Corners counter-clockwise with y up (front-facing): top-left, bottom-left, bottom-right, top-right.
    const ImageQuad q = MakeImageQuad(ImageHalfSize(801, 601), 0.4);
    std::vector<std::array<double, 5>> corners;
    for (int i = 0; i < 4; ++i) corners.push_back({q[i].x, q[i].y, q[i].z, q[i].s, q[i].t});
    EXPECT_EQ(corners, (std::vector<std::array<double, 5>>{
                           {-400, 300, 0.4, 0, 0}, {-400, -300, 0.4, 0, 1}, {400, -300, 0.4, 1, 1}, {400, 300, 0.4, 1, 0}}));
}

TEST(LeftTransform, OffsetsWithYDownwardsAndRotatesClockwiseOnScreenAboutTheImageCentre) {
    const TWIG4::Matrix4 shift = LeftImageTransform({50.0, 20.0, 0.0});
    const TWIG4::Vec3 corner = shift.TransformPoint({-400, 300, 0});
    EXPECT_EQ(std::tuple(corner.x, corner.y, corner.z), std::tuple(-350.0, 280.0, 0.0));  // offsetY is downwards

    const double c = std::cos(10 * kDegreesToRadians), s = std::sin(10 * kDegreesToRadians);
    for (double sign : {1.0, -1.0}) {
        const TWIG4::Matrix4 m = LeftImageTransform({50.0, 0.0, sign * 10.0});
        // The point straight above the centre moves right for a positive rotation, the one to
        // its right moves down, about the centre at (offsetX, -offsetY).
        const TWIG4::Vec3 up = m.TransformPoint({0, 100, 0}), right = m.TransformPoint({100, 0, 0});
        EXPECT_NEAR(up.x, 50.0 + sign * 100 * s, 1e-12);
        EXPECT_NEAR(up.y, 100 * c, 1e-12);
        EXPECT_NEAR(right.y, -sign * 100 * s, 1e-12);
        // The column order handed to OpenGL puts the translation at elements 12 to 14.
        const auto cols = m.ToColumnOrder();
        EXPECT_EQ(std::tuple(cols[12], cols[13], cols[14], cols[15]), std::tuple(50.0, 0.0, 0.0, 1.0));
        EXPECT_NEAR(cols[1], -sign * s, 1e-15);
    }
}

TEST(OutputFrame, FourEdgesInDrawingOrderAndNoneForAnEmptyRectangle) {
    const auto frame = OutputFrameSegments({-2000, -1500, 2000, 1500});
    ASSERT_TRUE(frame.has_value());
    std::vector<std::array<double, 4>> edges;
    for (const auto& e : *frame) edges.push_back({e.x0, e.y0, e.x1, e.y1});
    EXPECT_EQ(edges, (std::vector<std::array<double, 4>>{{-2000, -1500, 2000, -1500}, {2000, -1500, 2000, 1500},
                                                          {2000, 1500, -2000, 1500}, {-2000, 1500, -2000, -1500}}));
    EXPECT_FALSE(OutputFrameSegments({0, 0, 0, 0}).has_value());
    EXPECT_FALSE(OutputFrameSegments({-5, -5, -5, 5}).has_value());        // zero width
    EXPECT_FALSE(OutputFrameSegments({-1350, 20, 1350, -20}).has_value());  // bottom < top
    EXPECT_TRUE(OutputFrameSegments({0, 0, 1, 1}).has_value());             // one unit is enough
    // Extreme edges do not overflow the width test.
    EXPECT_FALSE(OutputFrameSegments({INT32_MAX, 0, INT32_MIN, 1}).has_value());
    EXPECT_TRUE(OutputFrameSegments({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}).has_value());
}

}  // namespace
}  // namespace bistrope
