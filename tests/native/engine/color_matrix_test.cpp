// The blending modes on known pixels, through ApplyColorMatrix and through the whole-image
// conversion (which must agree byte for byte), and the rules of the matrix table.
#include "engine/color_matrix.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/convert.h"

namespace bistrope {
namespace {

const CustomMatrices kDefaults{FullColourMatrix(Eye::Left), FullColourMatrix(Eye::Right)};

struct ModeCase {
    unsigned mode;
    Eye eye;
    Rgba8 in, out;
};

class BlendModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(BlendModes, MapKnownPixels) {
    const ModeCase& c = GetParam();
    const auto matrix = SelectBlendMatrix(c.mode, c.eye, kDefaults);
    if (matrix) {
        const Rgba8 out = ApplyColorMatrix(*matrix, c.in);
        EXPECT_EQ((std::array<int, 4>{out.r, out.g, out.b, out.a}), (std::array<int, 4>{c.out.r, c.out.g, c.out.b, c.in.a}));
    }
    // The same pixel as a 1 x 1 opaque image (modes above 5 copy the colours).
    SourceImage s = SourceImage::Create(1, 1);
    const std::uint8_t bgra[4] = {c.in.b, c.in.g, c.in.r, 255};
    std::copy(bgra, bgra + 4, s.data());
    ConvertedImage out;
    ASSERT_TRUE(MakeOutputImage(s, ConversionParams{c.mode, c.eye, kDefaults}, out).ok());
    EXPECT_EQ((std::array<int, 3>{out.data()[2], out.data()[1], out.data()[0]}),
              (std::array<int, 3>{c.out.r, c.out.g, c.out.b}));
}

INSTANTIATE_TEST_SUITE_P(
    Fixed, BlendModes,
    ::testing::Values(
        // 0.299 * 200 + 0.587 * 100 + 0.114 * 50 = 124.2; 0.299 * 10 + 0.587 * 20 + 0.114 * 251 = 43.35
        ModeCase{Monochromatic, Eye::Left, {200, 100, 50, 77}, {124, 0, 0, 0}},
        ModeCase{Monochromatic, Eye::Right, {10, 20, 251, 77}, {0, 43, 43, 0}},
        ModeCase{Monochromatic, Eye::Right, {77, 77, 77, 77}, {0, 77, 77, 0}},
        ModeCase{FullColour, Eye::Left, {10, 20, 30, 77}, {10, 0, 0, 0}},
        ModeCase{FullColour, Eye::Right, {10, 20, 30, 77}, {0, 20, 30, 0}},
        ModeCase{HalfColour, Eye::Left, {200, 100, 50, 77}, {124, 0, 0, 0}},
        ModeCase{HalfColour, Eye::Right, {10, 20, 30, 77}, {0, 20, 30, 0}},
        // 0.7 * 100 + 0.3 * 200 = 130: the left eye's own red is ignored.
        ModeCase{OptimisedColour, Eye::Left, {17, 100, 200, 77}, {130, 0, 0, 0}},
        ModeCase{OptimisedColour, Eye::Right, {10, 20, 30, 77}, {0, 20, 30, 0}},
        ModeCase{CustomColour, Eye::Left, {10, 20, 30, 77}, {10, 0, 0, 0}},
        ModeCase{6, Eye::Left, {10, 20, 30, 77}, {10, 20, 30, 0}},
        ModeCase{1000, Eye::Right, {10, 20, 30, 77}, {10, 20, 30, 0}}));

TEST(BlendMatrices, GreyStaysGreyInMonochromaticForEveryLevel) {
    const ColorMatrix left = *SelectBlendMatrix(Monochromatic, Eye::Left, kDefaults);
    for (int v = 0; v < 256; ++v) ASSERT_EQ(ApplyColorMatrix(left, Rgba8{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v), 255}).r, v);
}

TEST(BlendMatrices, CustomModeZeroAndModesAboveFive) {
    CustomMatrices custom = kDefaults;
    custom.left.at(1, 0) = 0.5f;
    custom.right.at(0, 2) = 0.25f;
    EXPECT_EQ(SelectBlendMatrix(CustomColour, Eye::Left, custom), custom.left);
    EXPECT_EQ(SelectBlendMatrix(CustomColour, Eye::Right, custom), custom.right);
    EXPECT_FALSE(SelectBlendMatrix(0, Eye::Left, kDefaults));
    EXPECT_FALSE(SelectBlendMatrix(6, Eye::Right, kDefaults));
}

TEST(BlendMatrices, ConstantRowAddsAndOutputsClampAndRound) {
    ColorMatrix m = FullColourMatrix(Eye::Left);
    m.at(4, 0) = 0.5f;   // +127.5 to red
    m.at(4, 1) = 2.0f;   // green saturates
    m.at(4, 2) = -1.0f;  // blue floors at 0
    const Rgba8 out = ApplyColorMatrix(m, {100, 10, 10, 255});
    EXPECT_EQ((std::array<int, 3>{out.r, out.g, out.b}), (std::array<int, 3>{228, 255, 0}));  // 227.5 rounds up
    EXPECT_EQ(ToByte(0.5f), 128);
    EXPECT_EQ(ToByte(std::nanf("")), 0);
}

}  // namespace
}  // namespace bistrope
