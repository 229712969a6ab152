#include "engine/image.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace bistrope
