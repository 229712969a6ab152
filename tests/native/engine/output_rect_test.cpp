#include "engine/output_rect.h"

#include <gtest/gtest.h>

#include <cmath>

namespace bistrope {
namespace {

struct RectCase {
    ImageSize left, right;
    Alignment alignment;
    OutputRect rect;
};

class OutputRectOfTwoImages : public ::testing::TestWithParam<RectCase> {};

TEST_P(OutputRectOfTwoImages, IsTheInscribedRectangleClampedAndTruncated) {
    const RectCase& c = GetParam();
    const OutputRect r = ComputeOutputRect(c.left, c.right, c.alignment);
    EXPECT_EQ((std::array<int, 4>{r.left, r.top, r.right, r.bottom}),
              (std::array<int, 4>{c.rect.left, c.rect.top, c.rect.right, c.rect.bottom}));
}

constexpr ImageSize k4000x3000{4000, 3000};

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputRectOfTwoImages,
    ::testing::Values(RectCase{k4000x3000, k4000x3000, {0, 0, 0}, {-2000, -1500, 2000, 1500}},
                      // Rotation of either sign shrinks to the inscribed rectangle.
                      RectCase{k4000x3000, k4000x3000, {0, 0, 10}, {-1818, -1202, 1818, 1202}},
                      RectCase{k4000x3000, k4000x3000, {0, 0, -10}, {-1818, -1202, 1818, 1202}},
                      // Edges truncate toward zero; offsetY is positive downwards.
                      RectCase{k4000x3000, k4000x3000, {100.5, -20.25, 0}, {-1899, -1479, 2000, 1500}},
                      RectCase{k4000x3000, k4000x3000, {-100.5, 20.75, 0}, {-2000, -1500, 1899, 1479}},
                      RectCase{k4000x3000, k4000x3000, {100.5, -20.25, 5}, {-1789, -1320, 1990, 1360}},
                      RectCase{{3000, 2000}, k4000x3000, {0, 0, 0}, {-1500, -1000, 1500, 1000}},
                      RectCase{{8000, 6000}, {400, 300}, {123.75, -45.5, 3}, {-200, -150, 200, 150}},
                      // Wide images at 20 degrees: clamped into the right image, or turned inside out.
                      RectCase{{2700, 1000}, {2700, 1000}, {0, 0, 20}, {-1350, -10, 1350, 10}},
                      RectCase{k4000x3000, k4000x3000, {4001, 0, 0}, {2000, -1500, 2000, 1500}}));

TEST(OutputRect, DegenerateInputsAndEmptiness) {
    const OutputRect one = ComputeOutputRect(ImageSize{5, 3}, std::nullopt, {40, -7, 12});
    EXPECT_TRUE(one == (OutputRect{-2, -1, 2, 1}));  // its own extent, the alignment ignored
    EXPECT_TRUE(ComputeOutputRect(std::nullopt, ImageSize{5, 3}, {}) == (OutputRect{-2, -1, 2, 1}));
    EXPECT_TRUE(ComputeOutputRect(std::nullopt, std::nullopt, {10, 10, 10}) == OutputRect{});
    for (const Alignment a : {Alignment{0, 0, 45}, Alignment{0, 0, -45}, Alignment{NAN, 0, 0}, Alignment{0, 0, INFINITY},
                              Alignment{0, 3001, 0}})
        EXPECT_TRUE(ComputeOutputRect(k4000x3000, k4000x3000, a).IsEmpty()) << a.offsetX << " " << a.offsetY << " " << a.rotation;
    EXPECT_TRUE(ComputeOutputRect(ImageSize{3000, 1000}, ImageSize{3000, 1000}, {0, 0, 20}).IsEmpty());
    // Signed comparisons, both sides strict.
    EXPECT_TRUE((OutputRect{0, 0, 0, 5}).IsEmpty());
    EXPECT_TRUE((OutputRect{0, 5, 3, 5}).IsEmpty());
    EXPECT_TRUE((OutputRect{3, 0, -3, 5}).IsEmpty());
    EXPECT_FALSE((OutputRect{-3, -5, -2, -4}).IsEmpty());
    EXPECT_EQ((OutputRect{-2147483647, 0, 2147483647, 1}).Width(), 4294967294LL);
}

}  // namespace
}  // namespace bistrope
