#include "engine/image.h"

#include <gtest/gtest.h>

namespace bistrope {
namespace {

TEST(ImageBuffer, LayoutOfBothKinds) {
    // Converted rows are padded to 4 bytes; source rows are 4 bytes per pixel already.
    EXPECT_EQ(ConvertedImage::StrideFor(1), 4u);
    EXPECT_EQ(ConvertedImage::StrideFor(3), 12u);
    EXPECT_EQ(ConvertedImage::StrideFor(5), 16u);
    EXPECT_EQ(SourceImage::StrideFor(5), 20u);
    EXPECT_EQ(SourceImage::StrideFor(0), 0u);

    ConvertedImage c = ConvertedImage::Create(5, 3);
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(c.width(), 5);
    EXPECT_EQ(c.height(), 3);
    EXPECT_EQ(c.stride(), 16u);
    EXPECT_EQ(c.sizeBytes(), 48u);
    EXPECT_EQ(c.row(2) - c.data(), 32);
    for (size_t i = 0; i < c.sizeBytes(); ++i) ASSERT_EQ(c.data()[i], 0) << i;
}

TEST(ImageBuffer, FailedAllocationsGiveEmptyImagesNotExceptions) {
    EXPECT_TRUE(SourceImage::Create(0, 10).empty());
    EXPECT_TRUE(SourceImage::Create(10, -1).empty());
    // 2^31-1 squared times 4 bytes cannot be had on any machine this runs on.
    EXPECT_TRUE(SourceImage::Create(0x7fffffff, 0x7fffffff).empty());
    SourceImage e;
    EXPECT_TRUE(e.Clone().empty());
}

TEST(ImageBuffer, CloneCopiesAndMoveTransfers) {
    SourceImage a = SourceImage::Create(2, 2);
    ASSERT_TRUE(a);
    a.row(1)[4] = 7;
    SourceImage b = a.Clone();
    ASSERT_TRUE(b);
    EXPECT_EQ(b.row(1)[4], 7);
    EXPECT_NE(a.data(), b.data());
    SourceImage c = std::move(b);
    EXPECT_TRUE(b.empty());  // NOLINT(bugprone-use-after-move): moved-from images are empty
    EXPECT_EQ(c.row(1)[4], 7);
    c.reset();
    EXPECT_TRUE(c.empty());
    EXPECT_EQ(c.width(), 0);
}

}  // namespace
}  // namespace bistrope
