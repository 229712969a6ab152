// The texture limit rules and the upload layout of preview rows.
#include "view/texture_limit.h"

#include <gtest/gtest.h>

#include <vector>

namespace bistrope {
namespace {

TEST(TextureLimit, TheImplementationLimitLowersOnlyLargerSizesAndAnUnusableQueryChangesNothing) {
    const auto limited = [](std::uint32_t stored, std::uint32_t hardware, std::int32_t queried) {
        const TextureLimits t = ApplyTextureLimit({stored, hardware}, queried);
        return std::pair(t.maxTexSize, t.hardwareMaxTexSize);
    };
    EXPECT_EQ(limited(4096, 0, 2048), std::pair(2048u, 2048u));
    EXPECT_EQ(limited(2048, 0, 2048), std::pair(2048u, 2048u));
    EXPECT_EQ(limited(1000, 0, 2048), std::pair(1000u, 2048u));
    EXPECT_EQ(limited(static_cast<std::uint32_t>(-100), 0, 16384), std::pair(16384u, 16384u));  // -100 typed
    // Without a current context the query yields 0 (or garbage below it).
    for (std::int32_t m : {0, -1, INT32_MIN}) EXPECT_EQ(limited(4096, 0, m), std::pair(4096u, 0u)) << m;
    EXPECT_EQ(limited(4096, 8192, 0), std::pair(4096u, 8192u));
}

TEST(PreviewLimit, SizesAreHeldToTheImplementationsPowerOfTwo) {
    EXPECT_EQ(PreviewSizeLimit(4096, 16384), 4096u);
    EXPECT_EQ(PreviewSizeLimit(1000, 2048), 1000u);  // lets a side reach 1024 as before
    EXPECT_EQ(PreviewSizeLimit(1025, 2048), 1025u);  // 2048 still fits
    EXPECT_EQ(PreviewSizeLimit(0, 2048), 0u);        // sides stay at 2
    EXPECT_EQ(PreviewSizeLimit(8192, 2048), 2048u);
    EXPECT_EQ(PreviewSizeLimit(0x80000000u, 8192), 8192u);
    EXPECT_EQ(PreviewSizeLimit(1500, 1600), 1024u);  // no side exceeds a limit that is no power of two
    // Unknown implementation limit: the fallback bound.
    EXPECT_EQ(PreviewSizeLimit(static_cast<std::uint32_t>(-100), 0), kUnknownHardwareTextureLimit);
    EXPECT_EQ(PreviewSizeLimit(4096, 0), 4096u);
    for (auto [n, floor] : {std::pair(0u, 0u), std::pair(1u, 1u), std::pair(3u, 2u), std::pair(2048u, 2048u),
                            std::pair(2049u, 2048u), std::pair(0xFFFFFFFFu, 0x80000000u)})
        EXPECT_EQ(FloorPowerOfTwo(n), floor) << n;
}

TEST(TextureUpload, RowsAreWidenedToOpaqueBgraAndNoFurther) {
    // Widths below, at and past whole groups of four pixels.
    for (const std::int32_t width : {2, 4, 11}) {
        std::vector<std::uint8_t> bgr(std::size_t(width) * 3 + 1), bgra(std::size_t(width) * 4 + 2, 9);
        for (std::size_t i = 0; i < bgr.size(); ++i) bgr[i] = std::uint8_t(i + 1);
        std::vector<std::uint8_t> expected(bgra);
        for (std::size_t x = 0; x < std::size_t(width); ++x)
            for (std::size_t c = 0; c < 4; ++c) expected[4 * x + c] = c < 3 ? std::uint8_t(3 * x + c + 1) : 255;
        WidenRowToBgra(bgr.data(), width, bgra.data());
        EXPECT_EQ(bgra, expected) << width;
    }
}

}  // namespace
}  // namespace bistrope
