#include "engine/image.h"

#include <gtest/gtest.h>

namespace bistrope {
namespace {

TEST(ImageBuffer, RowsArePaddedToFourBytesAndStartZeroed) {
    EXPECT_EQ(ConvertedImage::StrideFor(5), 16u);
    EXPECT_EQ(SourceImage::StrideFor(5), 20u);
    ConvertedImage c = ConvertedImage::Create(5, 3);
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(c.sizeBytes(), 48u);
    EXPECT_EQ(c.row(2) - c.data(), 32);
    for (size_t i = 0; i < c.sizeBytes(); ++i) ASSERT_EQ(c.data()[i], 0) << i;
    // Sizes that cannot be had give empty images, not exceptions.
    EXPECT_TRUE(SourceImage::Create(0, 10).empty());
    EXPECT_TRUE(SourceImage::Create(10, -1).empty());
    EXPECT_TRUE(SourceImage::Create(0x7fffffff, 0x7fffffff).empty());
}

TEST(ImageBuffer, CloneCopiesAndMoveTransfers) {
    SourceImage a = SourceImage::Create(2, 2);
    a.row(1)[4] = 7;
    SourceImage b = a.Clone();
    EXPECT_EQ(b.row(1)[4], 7);
    EXPECT_NE(a.data(), b.data());
    SourceImage c = std::move(b);
    EXPECT_TRUE(b.empty());  // NOLINT(bugprone-use-after-move): moved-from images are empty
    EXPECT_EQ(c.row(1)[4], 7);
    c.reset();
    EXPECT_TRUE(c.empty());
    EXPECT_TRUE(c.Clone().empty());
}

}  // namespace
}  // namespace bistrope
