// The Windows build's file access: the decoder for everything but JPEG (GDI+) on the samples
// and a metafile; replacing a file, whose target (a name outside the ANSI code page) gets
// the new bytes whole or keeps its old ones, no temporary file staying behind either way.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>

#include "../../data/samples.h"
#include "engine/decode.h"
#include "engine/file_replace.h"
#include "support/wintest.h"

namespace bistrope {
namespace {

using namespace wintest;

TEST(GdiplusDecode, SampleFilesDecodeToTheirDocumentedPixels) {
    for (const auto& s : samples::kSamples) {
        if (std::strstr(s.file, ".jpg")) continue;  // libjpeg-turbo's, as in the native build
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
    const std::filesystem::path path = dir / L"picture.emf";
    // A 2 x 2 cm frame, red in its left half and blue in its right half.
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
    ASSERT_TRUE(r.image.width() > 8 && r.image.height() > 8);
    const std::uint8_t* row = r.image.row(r.image.height() / 2);  // B, G, R, A
    const std::uint8_t* left = row + 4 * (r.image.width() / 4);
    const std::uint8_t* right = row + 4 * (3 * r.image.width() / 4);
    EXPECT_TRUE(left[2] > 200 && left[1] < 50 && left[0] < 50) << int(left[0]) << " " << int(left[1]) << " " << int(left[2]);
    EXPECT_TRUE(right[0] > 200 && right[1] < 50 && right[2] < 50) << int(right[0]) << " " << int(right[1]) << " " << int(right[2]);
}

enum class Target { Absent, Present, ReadOnly, HeldOpen, NoFolder };
struct Replacing {
    const char* name;
    Target target;
    ErrorCode code;
};
void PrintTo(const Replacing& c, std::ostream* os) { *os << c.name; }

class FileReplace : public ::testing::TestWithParam<Replacing> {};

TEST_P(FileReplace, WritesTheWholeFileOrKeepsTheOldOne) {
    const Replacing& c = GetParam();
    ScratchDir dir;
    const std::filesystem::path path = (c.target == Target::NoFolder ? dir / L"missing" : dir.path()) / L"anaglyphe-\u00e9t\u00e9-\u4e2d.jpg";
    const Bytes old = {'o', 'l', 'd'}, fresh = {'n', 'e', 'w', ' ', 'b', 'y', 't', 'e', 's'};
    const bool existed = c.target != Target::Absent && c.target != Target::NoFolder;
    if (existed) WriteFileBytes(path, old);
    if (c.target == Target::ReadOnly) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    const HANDLE held = c.target == Target::HeldOpen ? CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                                     : INVALID_HANDLE_VALUE;
    const Status st = detail::ReplaceFileContents(path, fresh.data(), fresh.size());
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ(st.code, c.code) << st.message;
    EXPECT_EQ(ReadFileBytes(path), st.ok() ? fresh : existed ? old : Bytes{});
    const auto files = std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator());
    EXPECT_EQ(files, existed || st.ok() ? 1 : 0) << "the temporary file is gone";
}

INSTANTIATE_TEST_SUITE_P(Windows, FileReplace, ::testing::Values(
    Replacing{"New", Target::Absent, ErrorCode::None},
    Replacing{"Replaced", Target::Present, ErrorCode::None},
    Replacing{"ReadOnly", Target::ReadOnly, ErrorCode::ReadOnly},
    Replacing{"HeldOpenByAnotherProgram", Target::HeldOpen, ErrorCode::ReadOnly},
    Replacing{"NoFolder", Target::NoFolder, ErrorCode::NotFound}),
    [](const ::testing::TestParamInfo<Replacing>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace bistrope
