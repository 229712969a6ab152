#include "engine/image.h"

#include <gtest/gtest.h>

#include <algorithm>

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
