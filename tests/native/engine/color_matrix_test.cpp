#include "engine/color_matrix.h"

#include <gtest/gtest.h>

namespace bistrope {
namespace {

const CustomMatrices kDefaults{FullColourMatrix(Eye::Left), FullColourMatrix(Eye::Right)};

ColorMatrix Select(unsigned mode, Eye eye, const CustomMatrices& custom = kDefaults) {
    auto m = SelectBlendMatrix(mode, eye, custom);
    EXPECT_TRUE(m.has_value()) << "mode " << mode;
    return m.value_or(ColorMatrix{});
}

Rgba8 Apply(unsigned mode, Eye eye, Rgba8 px) { return ApplyColorMatrix(Select(mode, eye), px); }

// Every element of m equal to zero except those listed (row, col, value).
void ExpectOnly(const ColorMatrix& m, std::initializer_list<std::tuple<int, int, float>> nonZero) {
    ColorMatrix expected;
    for (auto [r, c, v] : nonZero) expected.at(r, c) = v;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) EXPECT_EQ(m.at(r, c), expected.at(r, c)) << "m[" << r << "][" << c << "]";
}

TEST(BlendMatrices, FixedModesHoldExactlyTheirElements) {
    ExpectOnly(Select(Monochromatic, Eye::Left),
               {{0, 0, 0.299f}, {1, 0, 0.587f}, {2, 0, 0.114f}, {3, 3, 1.f}, {4, 4, 1.f}});
    ExpectOnly(Select(Monochromatic, Eye::Right), {{0, 1, 0.299f}, {0, 2, 0.299f}, {1, 1, 0.587f}, {1, 2, 0.587f},
                                                   {2, 1, 0.114f}, {2, 2, 0.114f}, {3, 3, 1.f}, {4, 4, 1.f}});
    ExpectOnly(Select(FullColour, Eye::Left), {{0, 0, 1.f}, {3, 3, 1.f}, {4, 4, 1.f}});
    ExpectOnly(Select(FullColour, Eye::Right), {{1, 1, 1.f}, {2, 2, 1.f}, {3, 3, 1.f}, {4, 4, 1.f}});
    ExpectOnly(Select(OptimisedColour, Eye::Left), {{1, 0, 0.7f}, {2, 0, 0.3f}, {3, 3, 1.f}, {4, 4, 1.f}});
}

TEST(BlendMatrices, ModesShareTheirEyeMatricesAsDocumented) {
    EXPECT_EQ(Select(HalfColour, Eye::Left), Select(Monochromatic, Eye::Left));
    EXPECT_EQ(Select(HalfColour, Eye::Right), Select(FullColour, Eye::Right));
    EXPECT_EQ(Select(OptimisedColour, Eye::Right), Select(FullColour, Eye::Right));
    EXPECT_EQ(Select(CustomColour, Eye::Left), Select(FullColour, Eye::Left));
    EXPECT_EQ(Select(CustomColour, Eye::Right), Select(FullColour, Eye::Right));
}

TEST(BlendMatrices, CustomModeReturnsTheStoredMatrixOfTheEye) {
    CustomMatrices custom = kDefaults;
    custom.left.at(1, 0) = 0.5f;
    custom.right.at(0, 2) = 0.25f;
    EXPECT_EQ(Select(CustomColour, Eye::Left, custom), custom.left);
    EXPECT_EQ(Select(CustomColour, Eye::Right, custom), custom.right);
}

TEST(BlendMatrices, ModeZeroAndModesAboveFiveSelectNoMatrix) {
    EXPECT_FALSE(SelectBlendMatrix(0, Eye::Left, kDefaults).has_value());
    EXPECT_FALSE(SelectBlendMatrix(6, Eye::Right, kDefaults).has_value());
    EXPECT_FALSE(SelectBlendMatrix(0xFFFFFFFFu, Eye::Left, kDefaults).has_value());
    EXPECT_FALSE(CanConvert(0));
    EXPECT_TRUE(CanConvert(6));
}

TEST(BlendMatrices, LabelsAndCommandIds) {
    EXPECT_STREQ(BlendModeLabel(1), L"Monochromatic blending");
    EXPECT_STREQ(BlendModeLabel(2), L"Full colour blending");
    EXPECT_STREQ(BlendModeLabel(3), L"Half colour blending");
    EXPECT_STREQ(BlendModeLabel(4), L"Optimised colour blending");
    EXPECT_STREQ(BlendModeLabel(5), L"Custom colour blending");
    EXPECT_EQ(BlendModeLabel(0), nullptr);
    EXPECT_EQ(BlendModeLabel(6), nullptr);
    EXPECT_EQ(kBlendModeCommandBase + CustomColour, 40005u);
}

TEST(BlendMatrices, MonochromaticWeightsAddUpToExactlyOneInSinglePrecision) {
    EXPECT_EQ(0.299f + 0.587f + 0.114f, 1.0f);
    const ColorMatrix left = Select(Monochromatic, Eye::Left);
    EXPECT_EQ(left.at(0, 0) + left.at(1, 0) + left.at(2, 0), 1.0f);
}

TEST(ApplyColorMatrix, GreyStaysGreyInMonochromaticForEveryLevel) {
    for (int v = 0; v < 256; ++v) {
        const auto g = static_cast<std::uint8_t>(v);
        const Rgba8 l = Apply(Monochromatic, Eye::Left, {g, g, g, 255});
        const Rgba8 r = Apply(Monochromatic, Eye::Right, {g, g, g, 255});
        ASSERT_EQ(l.r, v);
        ASSERT_EQ(l.g, 0);
        ASSERT_EQ(l.b, 0);
        ASSERT_EQ(r.r, 0);
        ASSERT_EQ(r.g, v);
        ASSERT_EQ(r.b, v);
    }
}

TEST(ApplyColorMatrix, OptimisedIgnoresTheLeftEyesOwnRed) {
    const Rgba8 red = Apply(OptimisedColour, Eye::Left, {255, 0, 0, 255});
    EXPECT_EQ(red.r, 0);
    // 0.7 * 100/255 + 0.3 * 200/255 = 130/255
    const Rgba8 mixed = Apply(OptimisedColour, Eye::Left, {17, 100, 200, 255});
    EXPECT_EQ(mixed.r, 130);
    EXPECT_EQ(mixed.g, 0);
    EXPECT_EQ(mixed.b, 0);
}

TEST(ApplyColorMatrix, MonochromaticRoundsToNearest) {
    // 0.299*200 + 0.587*100 + 0.114*50 = 124.2 -> 124; 0.299*10 + 0.587*20 + 0.114*251 = 43.35 -> 43
    EXPECT_EQ(Apply(Monochromatic, Eye::Left, {200, 100, 50, 255}).r, 124);
    EXPECT_EQ(Apply(Monochromatic, Eye::Right, {10, 20, 251, 255}).b, 43);
}

TEST(ApplyColorMatrix, ConstantRowAddsAndClampsAt255) {
    ColorMatrix m = FullColourMatrix(Eye::Left);
    m.at(4, 0) = 0.5f;   // +127.5 to red
    m.at(4, 1) = 2.0f;   // green saturates
    m.at(4, 2) = -1.0f;  // blue floors at 0
    const Rgba8 out = ApplyColorMatrix(m, {200, 10, 10, 255});
    EXPECT_EQ(out.r, 255);
    EXPECT_EQ(out.g, 255);
    EXPECT_EQ(out.b, 0);
    EXPECT_EQ(ApplyColorMatrix(m, {100, 0, 0, 255}).r, 228);  // 100 + 127.5 = 227.5 -> 228
}

TEST(ApplyColorMatrix, FixedMatricesKeepAlpha) {
    for (unsigned mode = 1; mode <= 4; ++mode) {
        EXPECT_EQ(Apply(mode, Eye::Left, {1, 2, 3, 77}).a, 77);
        EXPECT_EQ(Apply(mode, Eye::Right, {1, 2, 3, 77}).a, 77);
    }
}

TEST(ToByte, ClampsAndRounds) {
    EXPECT_EQ(ToByte(-0.5f), 0);
    EXPECT_EQ(ToByte(0.0f), 0);
    EXPECT_EQ(ToByte(1.0f), 255);
    EXPECT_EQ(ToByte(7.0f), 255);
    EXPECT_EQ(ToByte(0.5f), 128);  // 127.5 rounds up
    EXPECT_EQ(ToByte(std::numeric_limits<float>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace bistrope
