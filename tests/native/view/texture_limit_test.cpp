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
    const std::uint8_t bgr[] = {1, 2, 3, 4, 5, 6, 7};
    std::uint8_t bgra[10] = {0, 0, 0, 0, 0, 0, 0, 0, 9, 9};
    WidenRowToBgra(bgr, 2, bgra);
    EXPECT_EQ(std::vector<std::uint8_t>(bgra, bgra + 10), (std::vector<std::uint8_t>{1, 2, 3, 255, 4, 5, 6, 255, 9, 9}));
}

}  // namespace
}  // namespace bistrope
