// The texture limit rules and the upload layout of preview rows.
#include "view/texture_limit.h"

#include <gtest/gtest.h>

namespace bistrope {
namespace {

TEST(TextureLimit, ImplementationLimitLowersOnlyLargerSizes) {
    TextureLimits t = ApplyTextureLimit({4096, 0}, 2048);
    EXPECT_EQ(t.maxTexSize, 2048u);
    EXPECT_EQ(t.hardwareMaxTexSize, 2048u);
    t = ApplyTextureLimit({1000, 0}, 2048);
    EXPECT_EQ(t.maxTexSize, 1000u);
    EXPECT_EQ(t.hardwareMaxTexSize, 2048u);
    t = ApplyTextureLimit({2048, 0}, 2048);
    EXPECT_EQ(t.maxTexSize, 2048u);
}

TEST(TextureLimit, NegativeTypedSizeIsHugeUnsignedAndIsLowered) {
    // -100 typed into the settings is stored as 0xFFFFFF9C.
    const std::uint32_t typed = static_cast<std::uint32_t>(-100);
    const TextureLimits t = ApplyTextureLimit({typed, 0}, 16384);
    EXPECT_EQ(t.maxTexSize, 16384u);
}

TEST(TextureLimit, UnusableQueryChangesNothing) {
    // Without a current context the query yields 0 (or garbage below it).
    for (std::int32_t m : {0, -1, INT32_MIN}) {
        const TextureLimits t = ApplyTextureLimit({4096, 0}, m);
        EXPECT_EQ(t.maxTexSize, 4096u) << m;
        EXPECT_EQ(t.hardwareMaxTexSize, 0u) << m;
    }
    const TextureLimits kept = ApplyTextureLimit({4096, 8192}, 0);
    EXPECT_EQ(kept.hardwareMaxTexSize, 8192u);
}

TEST(PreviewLimit, SizesThatFitAreKeptAsTheyAre) {
    EXPECT_EQ(PreviewSizeLimit(4096, 16384), 4096u);
    EXPECT_EQ(PreviewSizeLimit(1000, 2048), 1000u);  // lets a side reach 1024 as before
    EXPECT_EQ(PreviewSizeLimit(1025, 2048), 1025u);  // 2048 still fits
    EXPECT_EQ(PreviewSizeLimit(0, 2048), 0u);        // sides stay at 2
}

TEST(PreviewLimit, SizesAboveTheImplementationAreHeldToIt) {
    EXPECT_EQ(PreviewSizeLimit(8192, 2048), 2048u);
    EXPECT_EQ(PreviewSizeLimit(static_cast<std::uint32_t>(-1), 16384), 16384u);
    EXPECT_EQ(PreviewSizeLimit(0x80000000u, 8192), 8192u);
    // A limit that is not a power of two is brought down to one, so no side exceeds it.
    EXPECT_EQ(PreviewSizeLimit(1500, 1600), 1024u);
    // Unknown implementation limit: the fallback bound.
    EXPECT_EQ(PreviewSizeLimit(static_cast<std::uint32_t>(-100), 0), kUnknownHardwareTextureLimit);
    EXPECT_EQ(PreviewSizeLimit(4096, 0), 4096u);
}

TEST(PreviewLimit, FloorPowerOfTwo) {
    EXPECT_EQ(FloorPowerOfTwo(0), 0u);
    EXPECT_EQ(FloorPowerOfTwo(1), 1u);
    EXPECT_EQ(FloorPowerOfTwo(3), 2u);
    EXPECT_EQ(FloorPowerOfTwo(2048), 2048u);
    EXPECT_EQ(FloorPowerOfTwo(2049), 2048u);
    EXPECT_EQ(FloorPowerOfTwo(0xFFFFFFFFu), 0x80000000u);
}

TEST(UnpackAlignment, MatchesThePaddedRowsOfConvertedImages) {
    // 24-bit rows padded to 4 bytes: (3w + 3) & ~3.
    EXPECT_EQ(UnpackAlignmentFor(2, 8, 3), 4);      // 6 bytes of pixels, 8 in memory
    EXPECT_EQ(UnpackAlignmentFor(4, 12, 3), 1);
    EXPECT_EQ(UnpackAlignmentFor(3, 11, 3), 0);  // 9 bytes in 11: no alignment rounds to that
    EXPECT_EQ(UnpackAlignmentFor(4096, 12288, 3), 1);
    EXPECT_EQ(UnpackAlignmentFor(1, 4, 3), 2);      // 3 -> 4 already with alignment 2
    EXPECT_EQ(UnpackAlignmentFor(5, 16, 3), 2);     // 15 -> 16 already with alignment 2
    EXPECT_EQ(UnpackAlignmentFor(3, 12, 4), 1);
    EXPECT_EQ(UnpackAlignmentFor(2, 16, 3), 0);     // no alignment gives 16
    EXPECT_EQ(UnpackAlignmentFor(0, 0, 3), 0);
}

}  // namespace
}  // namespace bistrope
