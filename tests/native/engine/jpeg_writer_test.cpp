// The JPEG writer: round trip within a stated tolerance, quality, 4:4:4 sampling, the
// Software tag, and saves that fail without touching an existing file.
#include "engine/jpeg_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "engine/convert.h"
#include "engine/decode.h"
#include "test_files.h"

namespace bistrope {
namespace {

using test::Bytes;
using ::testing::HasSubstr;

// A smooth image with some edges: what photographs look like to a JPEG encoder.
ConvertedImage Photo(int w, int h) {
    ConvertedImage img = ConvertedImage::Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = img.row(y) + 3 * x;
            p[0] = std::uint8_t(128 + 100 * std::sin(x * 0.05) * std::cos(y * 0.07));
            p[1] = std::uint8_t((x * 255) / w);
            p[2] = std::uint8_t(((x / 16 + y / 16) & 1) ? 220 : 40);
        }
    return img;
}

// Segment payloads of a JPEG file by marker.
std::vector<std::pair<int, Bytes>> Segments(const Bytes& b) {
    std::vector<std::pair<int, Bytes>> out;
    std::size_t i = 2;
    while (i + 4 <= b.size() && b[i] == 0xFF) {
        const int marker = b[i + 1];
        const std::size_t len = std::size_t(b[i + 2]) << 8 | b[i + 3];
        out.emplace_back(marker, Bytes(b.begin() + std::ptrdiff_t(i + 4), b.begin() + std::ptrdiff_t(i + 2 + len)));
        if (marker == 0xDA) break;
        i += 2 + len;
    }
    return out;
}

class JpegWriterTest : public ::testing::Test {
protected:
    test::ScratchDir dir_;
};

TEST_F(JpegWriterTest, RoundTripStaysWithinTolerance) {
    const ConvertedImage img = Photo(203, 101);
    const auto path = dir_ / "out.jpg";
    ASSERT_TRUE(WriteJpegFile(path, img, 90).ok());
    const DecodeResult back = DecodeImageFile(path);
    ASSERT_TRUE(back.ok()) << back.status.message;
    ASSERT_EQ(back.image.width(), 203);
    ASSERT_EQ(back.image.height(), 101);
    long long sum = 0, over = 0, n = 0;
    int worst = 0;
    for (int y = 0; y < 101; ++y)
        for (int x = 0; x < 203; ++x)
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(int(back.image.row(y)[4 * x + c]) - img.row(y)[3 * x + c]);
                sum += d;
                over += d > 12;
                worst = std::max(worst, d);
                ++n;
            }
    // Quality 90, 4:4:4: mean error at most 2 per value, at most 1 % of values off by more than 12.
    EXPECT_LE(double(sum) / n, 2.0);
    EXPECT_LE(over, n / 100) << "worst " << worst;
}

TEST_F(JpegWriterTest, QualitySamplingAndSoftwareTag) {
    const ConvertedImage img = Photo(160, 120);
    Status st;
    const Bytes low = EncodeJpeg(img, 30, st);
    ASSERT_TRUE(st.ok());
    const Bytes high = EncodeJpeg(img, 95, st);
    ASSERT_TRUE(st.ok());
    EXPECT_GT(high.size(), low.size());
    // Stored values outside 0..100 are clamped.
    EXPECT_EQ(ClampJpegQuality(-7), 0);
    EXPECT_EQ(ClampJpegQuality(250), 100);
    EXPECT_EQ(EncodeJpeg(img, 1000, st), EncodeJpeg(img, 100, st));
    EXPECT_EQ(EncodeJpeg(img, -3, st), EncodeJpeg(img, 0, st));

    bool sawSof = false, sawExif = false;
    const auto segments = Segments(high);
    ASSERT_FALSE(segments.empty());
    EXPECT_EQ(segments.front().first, 0xE1) << "the EXIF segment comes right after SOI";
    for (const auto& [marker, p] : segments) {
        if (marker == 0xC0) {  // baseline frame: 3 components, each sampled 1x1
            sawSof = true;
            ASSERT_EQ(p[5], 3);
            for (int c = 0; c < 3; ++c) EXPECT_EQ(p[6 + 3 * std::size_t(c) + 1], 0x11) << "component " << c;
        }
        if (marker == 0xE1) {
            sawExif = true;
            ASSERT_GE(p.size(), 6u + 8 + 2 + 12 + 4 + 19);
            EXPECT_EQ(std::memcmp(p.data(), "Exif\0\0", 6), 0);
            const std::uint8_t* t = p.data() + 6;  // TIFF header, little-endian
            EXPECT_EQ(std::memcmp(t, "II*\0", 4), 0);
            const std::uint32_t ifd = t[4] | t[5] << 8;
            const std::uint8_t* e = t + ifd + 2;
            EXPECT_EQ(e[0] | e[1] << 8, 0x0131);
            EXPECT_EQ(e[2] | e[3] << 8, 2);   // ASCII
            EXPECT_EQ(e[4] | e[5] << 8, 19);  // "Bistrope by Renvik" and its zero
            const std::uint32_t at = e[8] | e[9] << 8;
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(t + at), 19), std::string("Bistrope by Renvik\0", 19));
        }
    }
    EXPECT_TRUE(sawSof);
    EXPECT_TRUE(sawExif);
}

TEST_F(JpegWriterTest, ExiftoolReadsTheSoftwareTag) {
    if (std::system("exiftool -ver >/dev/null 2>&1") != 0) GTEST_SKIP() << "exiftool is not installed";
    const auto path = dir_ / "tagged.jpg";
    ASSERT_TRUE(WriteJpegFile(path, Photo(1100, 1000), 80).ok());  // banded on several cores
    const std::string cmd = "exiftool -s3 -Software -YCbCrSubSampling '" + path.string() + "' 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char line[256] = {};
    std::string out;
    while (std::fgets(line, sizeof line, p)) out += line;
    pclose(p);
    EXPECT_THAT(out, HasSubstr("Bistrope by Renvik\n"));
    EXPECT_THAT(out, HasSubstr("YCbCr4:4:4"));
}

TEST_F(JpegWriterTest, BandsEncodedInParallelDecodeToTheSamePixels) {
    for (const auto& [w, h, threads] : {std::tuple{301, 517, 3}, std::tuple{64, 130, 2}, std::tuple{1500, 900, 0}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << " on " << threads << " threads");
        const ConvertedImage img = Photo(w, h);
        Status st;
        const Bytes serial = EncodeJpeg(img, 85, st, 1);
        ASSERT_TRUE(st.ok());
        const Bytes banded = EncodeJpeg(img, 85, st, threads);
        ASSERT_TRUE(st.ok());
        EXPECT_NE(serial, banded);  // it did take the banded road: restart markers
        test::WriteBytes(dir_ / "serial.jpg", serial);
        test::WriteBytes(dir_ / "banded.jpg", banded);
        const DecodeResult a = DecodeImageFile(dir_ / "serial.jpg"), b = DecodeImageFile(dir_ / "banded.jpg");
        ASSERT_TRUE(a.ok() && b.ok()) << b.status.message;
        ASSERT_EQ(b.image.width(), w);
        ASSERT_EQ(b.image.height(), h);
        EXPECT_TRUE(std::equal(a.image.data(), a.image.data() + a.image.sizeBytes(), b.image.data()));
    }
}

// Leaves the folder holding exactly these names (no temporary files).
void ExpectOnlyFiles(const test::fs::path& dir, std::vector<std::string> names) {
    std::vector<std::string> found;
    for (const auto& e : test::fs::directory_iterator(dir)) found.push_back(e.path().filename().string());
    std::sort(found.begin(), found.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(found, names);
}

TEST_F(JpegWriterTest, FailedSavesLeaveTheOldFileByteIdentical) {
    const ConvertedImage img = Photo(64, 64);
    const Bytes old = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};
    const auto target = dir_ / "keep.jpg";

    // Read-only file.
    test::WriteBytes(target, old);
    test::fs::permissions(target, test::fs::perms::owner_read | test::fs::perms::group_read | test::fs::perms::others_read);
    Status st = WriteJpegFile(target, img, 80);
    EXPECT_EQ(st.code, ErrorCode::ReadOnly);
    EXPECT_THAT(st.message, HasSubstr("keep.jpg"));
    EXPECT_THAT(st.message, HasSubstr("read-only"));
    EXPECT_EQ(test::ReadBytes(target), old);
    ExpectOnlyFiles(dir_.path(), {"keep.jpg"});
    test::fs::permissions(target, test::fs::perms::owner_write, test::fs::perm_options::add);

    // Missing folder.
    st = WriteJpegFile(dir_ / "no-such-folder" / "x.jpg", img, 80);
    EXPECT_EQ(st.code, ErrorCode::NotFound);
    EXPECT_THAT(st.message, HasSubstr("folder does not exist"));

    // Disk full, simulated by a file size limit: the write fails part way.
    {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 1000;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        st = WriteJpegFile(target, img, 80);
        setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_EQ(st.code, ErrorCode::DiskFull) << st.message;
        EXPECT_THAT(st.message, HasSubstr("disk is full"));
        EXPECT_EQ(test::ReadBytes(target), old);
        ExpectOnlyFiles(dir_.path(), {"keep.jpg"});
    }

    // Read-only folder (meaningless for the superuser, who may write anywhere).
    if (geteuid() != 0) {
        const auto locked = dir_ / "locked";
        test::fs::create_directory(locked);
        test::WriteBytes(locked / "a.jpg", old);
        test::fs::permissions(locked, test::fs::perms::owner_read | test::fs::perms::owner_exec);
        st = WriteJpegFile(locked / "a.jpg", img, 80);
        EXPECT_EQ(st.code, ErrorCode::ReadOnly) << st.message;
        EXPECT_EQ(test::ReadBytes(locked / "a.jpg"), old);
        test::fs::permissions(locked, test::fs::perms::owner_all);
    }

    // A successful save replaces the file and leaves nothing else behind.
    ASSERT_TRUE(WriteJpegFile(target, img, 80).ok());
    EXPECT_NE(test::ReadBytes(target), old);
    EXPECT_TRUE(DecodeImageFile(target).ok());
    ExpectOnlyFiles(dir_.path(), {"keep.jpg"});

    // Nothing to write.
    EXPECT_EQ(WriteJpegFile(dir_ / "empty.jpg", ConvertedImage(), 80).code, ErrorCode::NoImage);
    EXPECT_FALSE(test::fs::exists(dir_ / "empty.jpg"));
}

}  // namespace
}  // namespace bistrope
