// The JPEG writer in the Windows build: round trip through GDI+ under a wide file name,
// replacing a file, and failed saves that keep the old file and say why.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/decode.h"
#include "engine/jpeg_writer.h"
#include "support/wintest.h"

namespace bistrope {
namespace {

using ::testing::HasSubstr;

ConvertedImage Gradient(int w, int h) {
    ConvertedImage img = ConvertedImage::Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = img.row(y) + 3 * x;
            p[0] = std::uint8_t(x * 255 / w), p[1] = std::uint8_t(y * 255 / h), p[2] = 180;
        }
    return img;
}

size_t Files(const std::filesystem::path& dir) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()));
}

TEST(JpegWriterWin, WritesWhatGdiplusReadsBackAndKeepsTheOldFileWhenItCannot) {
    wintest::ScratchDir dir;
    const std::filesystem::path path = dir / L"anaglyphe-\u00e9t\u00e9-\u4e2d.jpg";
    const ConvertedImage img = Gradient(120, 80);
    ASSERT_TRUE(WriteJpegFile(path, img, 90).ok());
    const DecodeResult back = DecodeImageFile(path);
    ASSERT_TRUE(back.ok()) << back.status.message;
    ASSERT_EQ(back.image.width(), 120);
    ASSERT_EQ(back.image.height(), 80);
    long long sum = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            for (int c = 0; c < 3; ++c) sum += std::abs(back.image.row(y)[4 * x + c] - img.row(y)[3 * x + c]);
    EXPECT_LE(double(sum) / (120 * 80 * 3), 2.0);  // mean error per value at quality 90
    ASSERT_TRUE(WriteJpegFile(path, Gradient(60, 40), 50).ok()) << "an existing file is replaced";
    EXPECT_EQ(DecodeImageFile(path).image.width(), 60);
    EXPECT_EQ(Files(dir.path()), 1u) << "no temporary file left";

    const std::filesystem::path kept = dir / L"keep.jpg";
    wintest::WriteFileBytes(kept, {'o', 'l', 'd'});
    ASSERT_TRUE(SetFileAttributesW(kept.c_str(), FILE_ATTRIBUTE_READONLY));
    Status st = WriteJpegFile(kept, Gradient(16, 16), 80);
    EXPECT_EQ(st.code, ErrorCode::ReadOnly);
    EXPECT_THAT(st.message, HasSubstr("keep.jpg"));
    EXPECT_THAT(st.message, HasSubstr("read-only"));
    EXPECT_EQ(wintest::ReadFileBytes(kept), (wintest::Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(Files(dir.path()), 2u);
    st = WriteJpegFile(dir / L"missing" / L"x.jpg", Gradient(16, 16), 80);
    EXPECT_EQ(st.code, ErrorCode::NotFound);
    EXPECT_THAT(st.message, HasSubstr("folder does not exist"));
}

}  // namespace
}  // namespace bistrope
