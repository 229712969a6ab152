#include "engine/image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

namespace bistrope {
namespace {

TEST(ImageBuffer, RowsArePaddedToFourBytesStartZeroedAndCloneCopies) {
    EXPECT_EQ(SourceImage::StrideFor(5), 20u);
    ConvertedImage c = ConvertedImage::Create(5, 3);
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(c.sizeBytes(), 48u);
    EXPECT_EQ(c.row(2) - c.data(), 32);
    for (size_t i = 0; i < c.sizeBytes(); ++i) ASSERT_EQ(c.data()[i], 0) << i;
    c.row(2)[14] = 7;
    const ConvertedImage copy = c.Clone();
    EXPECT_EQ(copy.row(2)[14], 7);
    EXPECT_NE(copy.data(), c.data());
    // Sizes that cannot be had give empty images, not exceptions.
    EXPECT_TRUE(SourceImage::Create(0, 10).empty());
    EXPECT_TRUE(SourceImage::Create(10, -1).empty());
    EXPECT_TRUE(SourceImage::Create(0x7fffffff, 0x7fffffff).empty());
    EXPECT_TRUE(SourceImage().Clone().empty());
}

TEST(ImageBuffer, CropInPlaceKeepsTheRectangleAtItsNewStrideWithCleanPadding) {
    // Each pixel's bytes say where it was; crops of fewer rows, fewer columns, both, and
    // rectangles that do not fit.
    ConvertedImage base = ConvertedImage::Create(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) base.row(y)[3 * x] = std::uint8_t(10 * y + x), base.row(y)[3 * x + 2] = 0xEE;
    struct Crop { int x, y, w, h; };
    for (const Crop c : {Crop{0, 1, 7, 3}, Crop{2, 0, 3, 5}, Crop{1, 2, 5, 2}, Crop{0, 0, 7, 5}}) {
        ConvertedImage img = base.Clone();
        ASSERT_TRUE(img.CropInPlace(c.x, c.y, c.w, c.h));
        ASSERT_EQ(std::tuple(img.width(), img.height(), img.stride()),
                  std::tuple(c.w, c.h, ConvertedImage::StrideFor(c.w)));
        for (int y = 0; y < c.h; ++y) {
            for (int x = 0; x < c.w; ++x) EXPECT_EQ(img.row(y)[3 * x], 10 * (y + c.y) + x + c.x);
            for (std::size_t i = std::size_t(c.w) * 3; i < img.stride(); ++i) EXPECT_EQ(img.row(y)[i], 0);
        }
    }
    ConvertedImage img = base.Clone();
    for (const Crop c : {Crop{1, 0, 7, 5}, Crop{0, 1, 7, 5}, Crop{-1, 0, 2, 2}, Crop{0, 0, 0, 5}})
        EXPECT_FALSE(img.CropInPlace(c.x, c.y, c.w, c.h));
    EXPECT_EQ(std::memcmp(img.data(), base.data(), base.sizeBytes()), 0);
}

TEST(ImageBuffer, ALargeImageMadeWhereAnotherWasFreedStartsZeroed) {
    // Large blocks are mapped, and a freed one may be handed out again for the same size.
    for (const int side : {1300, 1300, 1299}) {
        SourceImage image = SourceImage::Create(side, side);
        ASSERT_FALSE(image.empty());
        for (std::size_t i = 0; i < image.sizeBytes(); i += 4093) ASSERT_EQ(image.data()[i], 0) << side << " " << i;
        ASSERT_EQ(image.data()[image.sizeBytes() - 1], 0);
        std::fill(image.data(), image.data() + image.sizeBytes(), std::uint8_t(0xA5));
    }
}

}  // namespace
}  // namespace bistrope
