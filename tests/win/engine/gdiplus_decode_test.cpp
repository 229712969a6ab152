// The Windows build's decoder (GDI+): every sample format, EMF, and the bad-file list.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "../../data/samples.h"
#include "engine/decode.h"
#include "support/wintest.h"

namespace bistrope {
namespace {

using namespace wintest;
namespace fs = std::filesystem;
using ::testing::HasSubstr;

TEST(GdiplusDecode, SampleFilesDecodeToTheirDocumentedPixels) {
    for (const auto& s : samples::kSamples) {
        SCOPED_TRACE(testing::Message() << s.file << " at " << s.x << "," << s.y);
        const DecodeResult r = DecodeImageFile(DataPath(s.file));
        ASSERT_TRUE(r.ok()) << r.status.message;
        ASSERT_EQ(r.image.width(), s.width);
        ASSERT_EQ(r.image.height(), s.height);
        EXPECT_EQ(samples::Mismatch(s, r.image.row(s.y) + 4 * s.x), "");
    }
}

TEST(GdiplusDecode, EnhancedMetafileIsDrawnAtItsSize) {
    ScratchDir dir;
    const fs::path path = dir / L"picture.emf";
    // A 2 x 2 cm frame, red in its left half and blue in its right half, drawn with GDI.
    const RECT frame{0, 0, 2000, 2000};  // 0.01 mm units
    HDC emf = CreateEnhMetaFileW(nullptr, path.c_str(), &frame, L"test\0\0");
    ASSERT_NE(emf, nullptr);
    const int px = GetDeviceCaps(emf, HORZRES) * 20 / GetDeviceCaps(emf, HORZSIZE);  // 20 mm in pixels
    const RECT halves[] = {{0, 0, px / 2, px}, {px / 2, 0, px, px}};
    for (int i = 0; i < 2; ++i) {
        HBRUSH brush = CreateSolidBrush(i ? RGB(0, 0, 255) : RGB(255, 0, 0));
        FillRect(emf, &halves[i], brush);
        DeleteObject(brush);
    }
    DeleteEnhMetaFile(CloseEnhMetaFile(emf));
    const DecodeResult r = DecodeImageFile(path);
    ASSERT_TRUE(r.ok()) << r.status.message;
    EXPECT_EQ(r.format, ImageFormat::Emf);
    ASSERT_GT(r.image.width(), 8);
    ASSERT_GT(r.image.height(), 8);
    const std::uint8_t* row = r.image.row(r.image.height() / 2);  // B, G, R, A
    const std::uint8_t* l = row + 4 * (r.image.width() / 4);
    const std::uint8_t* rt = row + 4 * (3 * r.image.width() / 4);
    EXPECT_TRUE(l[2] > 200 && l[1] < 50 && l[0] < 50) << int(l[0]) << " " << int(l[1]) << " " << int(l[2]);
    EXPECT_TRUE(rt[0] > 200 && rt[1] < 50 && rt[2] < 50) << int(rt[0]) << " " << int(rt[1]) << " " << int(rt[2]);
    const ProbeResult p = ProbeImageFile(path);
    EXPECT_TRUE(p.ok()) << p.status.message;
}

// Every bad file gives a clear error naming the file, or a correct image; nothing crashes.
TEST(GdiplusDecode, BadFilesGiveClearErrors) {
    ScratchDir dir;
    const Bytes jpeg = ReadFileBytes(DataPath("cmyk.jpg"));
    const Bytes png = ReadFileBytes(DataPath("rgba.png"));
    Bytes badCrc = png;
    badCrc[badCrc.size() - 20] ^= 0x55;
    Bytes huge = ReadFileBytes(DataPath("grey.png"));
    samples::SetPngSize(huge, 30000, 30000);
    const std::string text = "only words\n";
    const struct {
        const wchar_t* name;
        Bytes bytes;
        bool mayDecode;  // GDI+ may return a (partial) image instead of an error
        ErrorCode code;
    } cases[] = {
        {L"empty.png", {}, false, ErrorCode::Empty},
        {L"truncated.jpg", Bytes(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() / 2)), true, ErrorCode::Corrupt},
        {L"bad-crc.png", badCrc, true, ErrorCode::Corrupt},
        {L"text.png", Bytes(text.begin(), text.end()), false, ErrorCode::NotAnImage},
        {L"huge.png", huge, false, ErrorCode::TooLarge},
        {L"truncated.png", Bytes(png.begin(), png.begin() + 40), true, ErrorCode::Corrupt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(fs::path(c.name).string());
        const fs::path path = dir / c.name;
        WriteFileBytes(path, c.bytes);
        const DecodeResult r = DecodeImageFile(path);
        if (r.ok()) {
            EXPECT_TRUE(c.mayDecode) << "decoded although it must not";
            EXPECT_FALSE(r.image.empty());
            continue;
        }
        EXPECT_TRUE(r.image.empty());
        if (!c.mayDecode) {
            EXPECT_EQ(r.status.code, c.code) << r.status.message;
        }
        EXPECT_THAT(r.status.message, HasSubstr(fs::path(c.name).string()));
    }
    const DecodeResult missing = DecodeImageFile(dir / L"missing.jpg");
    EXPECT_EQ(missing.status.code, ErrorCode::NotFound);
    // A name outside the ANSI code page.
    const fs::path wide = dir / L"st\u00e9r\u00e9o-\u4e2d.png";
    WriteFileBytes(wide, png);
    const DecodeResult w = DecodeImageFile(wide);
    EXPECT_TRUE(w.ok()) << w.status.message;
}

}  // namespace
}  // namespace bistrope
