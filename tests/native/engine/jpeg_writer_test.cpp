// The JPEG writer: round trip within a stated tolerance, bands, quality, 4:4:4 sampling,
// the Software tag, and saves that fail without touching an existing file.
#include "engine/jpeg_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

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

class JpegWriterTest : public ::testing::Test {
protected:
    SourceImage Decoded(const Bytes& jpeg) {
        test::WriteBytes(dir_ / "decoded.jpg", jpeg);
        DecodeResult r = DecodeImageFile(dir_ / "decoded.jpg");
        EXPECT_TRUE(r.ok()) << r.status.message;
        return std::move(r.image);
    }
    test::ScratchDir dir_;
};

TEST_F(JpegWriterTest, QualitySamplingAndSoftwareTag) {
    const ConvertedImage img = Photo(160, 120);
    Status st;
    const Bytes high = EncodeJpeg(img, 95, st);
    ASSERT_TRUE(st.ok());
    EXPECT_GT(high.size(), EncodeJpeg(img, 30, st).size());
    EXPECT_EQ(EncodeJpeg(img, 1000, st), EncodeJpeg(img, 100, st));  // stored values are clamped
    EXPECT_EQ(EncodeJpeg(img, -3, st), EncodeJpeg(img, 0, st));
    for (auto [w, h] : {std::pair{65501, 1}, std::pair{1, 65501}}) {
        EXPECT_TRUE(EncodeJpeg(ConvertedImage::Create(w, h), 90, st).empty());
        EXPECT_EQ(st.code, ErrorCode::TooLarge);
    }

    // Right after SOI: APP1 "Exif\0\0", a little-endian TIFF header and IFD0 whose entry
    // 0x0131 (ASCII, 19 bytes with the zero) points at "Bistrope by Renvik".
    ASSERT_GT(high.size(), 64u);
    const std::uint8_t* t = high.data() + 12;
    EXPECT_EQ(std::memcmp(t - 10, "\xFF\xE1", 2), 0);
    EXPECT_EQ(std::memcmp(t - 6, "Exif\0\0II*\0", 10), 0);
    const std::uint8_t* e = t + (t[4] | t[5] << 8) + 2;
    EXPECT_EQ((std::array<int, 3>{e[0] | e[1] << 8, e[2] | e[3] << 8, e[4] | e[5] << 8}),
              (std::array<int, 3>{0x0131, 2, 19}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t + (e[8] | e[9] << 8)), 19),
              std::string("Bistrope by Renvik\0", 19));
    // The baseline frame: 3 components, each sampled 1 x 1.
    const std::uint8_t marker[] = {0xFF, 0xC0};
    const auto sof = std::search(high.begin(), high.end(), marker, marker + 2);
    ASSERT_NE(sof, high.end());
    EXPECT_EQ((std::array<int, 4>{sof[9], sof[11], sof[14], sof[17]}), (std::array<int, 4>{3, 0x11, 0x11, 0x11}));
}

TEST_F(JpegWriterTest, RoundTripWithinToleranceAndBandsGiveTheSamePixels) {
    for (const auto& [w, h, threads] : {std::tuple{301, 517, 3}, std::tuple{64, 130, 2}, std::tuple{1500, 900, 0}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << " on " << threads << " threads");
        const ConvertedImage img = Photo(w, h);
        Status st;
        const Bytes serial = EncodeJpeg(img, 90, st, 1);
        const Bytes banded = EncodeJpeg(img, 90, st, threads);
        ASSERT_TRUE(st.ok());
        EXPECT_NE(serial, banded);  // it did take the banded road: restart markers
        const SourceImage back = Decoded(banded);
        ASSERT_EQ(std::make_pair(back.width(), back.height()), std::make_pair(w, h));
        EXPECT_TRUE(test::SameBytes(Decoded(serial), back));
        // Quality 90, 4:4:4: mean error at most 2 per value, at most 1 % of values off by more than 12.
        long long sum = 0, over = 0, n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c, ++n) {
                    const int d = std::abs(int(back.row(y)[4 * x + c]) - img.row(y)[3 * x + c]);
                    sum += d;
                    over += d > 12;
                }
        EXPECT_LE(double(sum) / double(n), 2.0);
        EXPECT_LE(over, n / 100);
    }
}

TEST_F(JpegWriterTest, FailedSavesLeaveTheOldFileByteIdenticalAndNoTemporaryFiles) {
    const ConvertedImage img = Photo(64, 64);
    const Bytes old = {'o', 'l', 'd'};
    const auto target = dir_ / "keep.jpg";
    auto onlyTarget = [&] {
        EXPECT_EQ(test::ReadBytes(target), old);
        EXPECT_EQ(std::distance(test::fs::directory_iterator(dir_.path()), test::fs::directory_iterator()), 1);
    };
    test::WriteBytes(target, old);
    test::fs::permissions(target, test::fs::perms::owner_read);
    Status st = WriteJpegFile(target, img, 80);
    EXPECT_EQ(st.code, ErrorCode::ReadOnly);
    EXPECT_THAT(st.message, HasSubstr("keep.jpg"));
    EXPECT_THAT(st.message, HasSubstr("read-only"));
    onlyTarget();
    test::fs::permissions(target, test::fs::perms::owner_write, test::fs::perm_options::add);

    st = WriteJpegFile(dir_ / "no-such-folder" / "x.jpg", img, 80);
    EXPECT_EQ(st.code, ErrorCode::NotFound);
    EXPECT_THAT(st.message, HasSubstr("folder does not exist"));

    // Disk full, simulated by a file size limit: the write fails part way.
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
    onlyTarget();

    if (geteuid() != 0) {  // the superuser may write into a read-only folder
        test::fs::permissions(dir_.path(), test::fs::perms::owner_read | test::fs::perms::owner_exec);
        EXPECT_EQ(WriteJpegFile(target, img, 80).code, ErrorCode::ReadOnly);
        test::fs::permissions(dir_.path(), test::fs::perms::owner_all);
        onlyTarget();
    }
    ASSERT_TRUE(WriteJpegFile(target, img, 80).ok());
    EXPECT_EQ(Decoded(test::ReadBytes(target)).width(), 64);
    EXPECT_EQ(WriteJpegFile(dir_ / "empty.jpg", ConvertedImage(), 80).code, ErrorCode::NoImage);
    EXPECT_FALSE(test::fs::exists(dir_ / "empty.jpg"));
}

}  // namespace
}  // namespace bistrope
