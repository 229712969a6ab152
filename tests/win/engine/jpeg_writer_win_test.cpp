// The JPEG writer in the Windows build: round trip through GDI+, wide file names, and
// failed saves that keep the old file.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/decode.h"
#include "engine/jpeg_writer.h"
#include "support/wintest.h"

namespace bistrope {
namespace {

using namespace wintest;
namespace fs = std::filesystem;
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

std::vector<std::wstring> Names(const fs::path& dir) {
    std::vector<std::wstring> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().wstring());
    return names;
}

TEST(JpegWriterWin, RoundTripThroughGdiplusWithAWideName) {
    ScratchDir dir;
    const fs::path path = dir / L"anaglyphe-\u00e9t\u00e9-\u4e2d.jpg";
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
    EXPECT_EQ(Names(dir.path()).size(), 1u);        // no temporary file left
    // Replacing an existing file works (MoveFileExW with MOVEFILE_REPLACE_EXISTING).
    ASSERT_TRUE(WriteJpegFile(path, Gradient(60, 40), 50).ok());
    const DecodeResult again = DecodeImageFile(path);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.image.width(), 60);
}

TEST(JpegWriterWin, FailedSavesKeepTheOldFile) {
    ScratchDir dir;
    const fs::path path = dir / L"keep.jpg";
    const Bytes old = {'o', 'l', 'd'};
    WriteFileBytes(path, old);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Status st = WriteJpegFile(path, Gradient(16, 16), 80);
    EXPECT_EQ(st.code, ErrorCode::ReadOnly);
    EXPECT_THAT(st.message, HasSubstr("keep.jpg"));
    EXPECT_THAT(st.message, HasSubstr("read-only"));
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(Names(dir.path()).size(), 1u);
    st = WriteJpegFile(dir / L"missing" / L"x.jpg", Gradient(16, 16), 80);
    EXPECT_EQ(st.code, ErrorCode::NotFound);
    EXPECT_THAT(st.message, HasSubstr("folder does not exist"));
}

}  // namespace
}  // namespace bistrope
