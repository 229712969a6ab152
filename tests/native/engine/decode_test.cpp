// Decoding: the sample files of tests/data against their documented pixels (the Windows
// build checks the same table through GDI+), BMP variants built here byte by byte, and bad
// files that must give clear errors.
#include "engine/decode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "../../data/samples.h"
#include "engine/convert.h"
#include "engine/jpeg_writer.h"
#include "test_files.h"

namespace bistrope {
namespace {

using test::Bytes;
using ::testing::HasSubstr;

TEST(SampleFiles, DecodeToTheirDocumentedPixelsAndProbeToTheirSizes) {
    for (const auto& s : samples::kSamples) {
        SCOPED_TRACE(testing::Message() << s.file << " at " << s.x << "," << s.y);
        const DecodeResult r = DecodeImageFile(test::DataFile(s.file));
        ASSERT_TRUE(r.ok()) << r.status.message;
        ASSERT_EQ(std::make_pair(r.image.width(), r.image.height()), std::make_pair(s.width, s.height));
        EXPECT_EQ(samples::Mismatch(s, r.image.row(s.y) + 4 * s.x), "");
        const ProbeResult p = ProbeImageFile(test::DataFile(s.file));
        EXPECT_EQ(std::make_pair(p.width, p.height), std::make_pair(s.width, s.height));
        EXPECT_EQ(p.format, r.format);
    }
}

// A BMP with a 40-byte header; `data` is stored as given (rows bottom-up for a positive height).
Bytes Bmp(int w, int h, int bits, int compression, const Bytes& palette, const Bytes& data) {
    Bytes b(54, 0);
    auto put = [&](std::size_t at, std::size_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    put(2, 54 + palette.size() + data.size(), 4);
    put(10, 54 + palette.size(), 4);
    put(14, 40, 4), put(18, std::size_t(w), 4), put(22, std::size_t(h), 4);
    put(26, 1, 2), put(28, std::size_t(bits), 2), put(30, std::size_t(compression), 4);
    put(46, palette.size() / 4, 4);
    for (const Bytes* part : {&palette, &data}) std::copy(part->begin(), part->end(), std::back_inserter(b));
    return b;
}

// A JPEG of noise, whose scan data is most of the file.
Bytes NoisyJpeg() {
    Status st;
    return EncodeJpeg(ConvertImage(test::RandomSource(64, 64, 7), std::nullopt, 64, 64), 90, st);
}

class DecodeTest : public ::testing::Test {
protected:
    DecodeResult DecodeBytes(const std::string& name, const Bytes& bytes) {
        test::WriteBytes(dir_ / name, bytes);
        return DecodeImageFile(dir_ / name);
    }
    void ExpectPixels(const DecodeResult& r, const std::vector<std::array<int, 4>>& bgra) {
        ASSERT_TRUE(r.ok()) << r.status.message;
        ASSERT_EQ(std::size_t(r.image.width()) * std::size_t(r.image.height()), bgra.size());
        for (std::size_t i = 0; i < bgra.size(); ++i) {
            const std::uint8_t* p = r.image.row(int(i) / r.image.width()) + 4 * (int(i) % r.image.width());
            EXPECT_EQ((std::array<int, 4>{p[0], p[1], p[2], p[3]}), bgra[i]) << "pixel " << i;
        }
    }
    test::ScratchDir dir_;
};

TEST_F(DecodeTest, VariantsWrittenOutByteByByte) {
    // 32 bits without an alpha mask: the fourth byte is not alpha.
    ExpectPixels(DecodeBytes("32.bmp", Bmp(2, 1, 32, 0, {}, {10, 20, 30, 0, 1, 2, 3, 99})),
                 {{10, 20, 30, 255}, {1, 2, 3, 255}});
    // An OS/2 header of 12 bytes, 24 bits; an 8-bit palette of more than 256 entries.
    ExpectPixels(DecodeBytes("os2.bmp", {'B', 'M', 30, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 1, 0, 1, 0,
                                         1, 0, 24, 0, 5, 6, 7, 0}),
                 {{5, 6, 7, 255}});
    ExpectPixels(DecodeBytes("big-palette.bmp", Bmp(1, 1, 8, 0, Bytes(4000, 7), {3, 0, 0, 0})), {{7, 7, 7, 255}});
    // 16 bits, 5-5-5: 16 of 31 is 131.6, rounded to 132.
    ExpectPixels(DecodeBytes("16.bmp", Bmp(3, 1, 16, 0, {}, {0x00, 0x40, 0xFF, 0x7F, 0x1F, 0x00, 0, 0})),
                 {{0, 0, 132, 255}, {255, 255, 255, 255}, {255, 0, 0, 255}});
    // A PNG of grey with alpha, (99, 33) and (200, 255), written out here.
    const Bytes greyAlpha = {
        137, 80, 78, 71, 13, 10, 26, 10, 0, 0, 0, 13, 73, 72, 68, 82, 0, 0, 0, 2, 0, 0, 0, 1, 8, 4, 0, 0, 0, 94, 43,
        183, 1, 0, 0, 0, 13, 73, 68, 65, 84, 120, 218, 99, 72, 86, 60, 241, 31, 0, 4, 131, 2, 76, 146, 62, 41, 169,
        0, 0, 0, 0, 73, 69, 78, 68, 174, 66, 96, 130};
    ExpectPixels(DecodeBytes("ga.png", greyAlpha), {{99, 99, 99, 33}, {200, 200, 200, 255}});
    // The native reader honours a V4 header's alpha mask; alpha that is zero everywhere means opaque.
    EXPECT_EQ(DecodeImageFile(test::DataFile("bits32-alpha.bmp")).image.data()[3], 40);
    const Bytes masks = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF};
    ExpectPixels(DecodeBytes("zero-alpha.bmp", Bmp(1, 1, 32, 6, masks, {1, 2, 3, 0})), {{1, 2, 3, 255}});
    // RLE8, bottom row first: one of index 1, a move one column on, one of index 2, an end
    // of line; an absolute run of 0, 1, 2 (padded to 16 bits), the end. Pixels never
    // written keep index 0.
    const Bytes palette = {9, 9, 9, 0, 0, 0, 255, 0, 255, 0, 0, 0};
    ExpectPixels(DecodeBytes("rle8.bmp", Bmp(3, 2, 8, 1, palette, {1, 1, 0, 2, 1, 0, 1, 2, 0, 0, 0, 3, 0, 1, 2, 0, 0, 1})),
                 {{9, 9, 9, 255}, {0, 0, 255, 255}, {255, 0, 0, 255}, {0, 0, 255, 255}, {9, 9, 9, 255}, {255, 0, 0, 255}});
    // RLE4: a run of five alternating 1, 2; the end.
    ExpectPixels(DecodeBytes("rle4.bmp", Bmp(5, 1, 4, 2, palette, {5, 0x12, 0, 1})),
                 {{0, 0, 255, 255}, {255, 0, 0, 255}, {0, 0, 255, 255}, {255, 0, 0, 255}, {0, 0, 255, 255}});
}

TEST_F(DecodeTest, ProbeFindsAJpegFrameHeaderBehindLargeMetadata) {
    const Bytes jpeg = test::ReadBytes(test::DataFile("grey.jpg"));
    Bytes padded(jpeg.begin(), jpeg.begin() + 2);
    for (int i = 0; i < 24; ++i) {  // 1.5 MB of APP5 segments
        padded.insert(padded.end(), {0xFF, 0xFF, 0xE5, 0xFF, 0xFF});  // with a fill byte
        padded.insert(padded.end(), 0xFFFD, 0x20);
    }
    padded.insert(padded.end(), jpeg.begin() + 2, jpeg.end());
    test::WriteBytes(dir_ / "meta.jpg", padded);
    const ProbeResult p = ProbeImageFile(dir_ / "meta.jpg");
    ASSERT_TRUE(p.ok()) << p.status.message;
    EXPECT_EQ(std::make_pair(p.width, p.height), std::make_pair(16, 8));
    EXPECT_EQ(DecodeImageFile(dir_ / "meta.jpg").image.height(), 8);
    // A TIFF header whose first directory holds only the width (SHORT 5) and height (LONG 3).
    const Bytes tiff = {'I', 'I', 42, 0, 8, 0, 0, 0, 2, 0, 0, 1, 3, 0, 1, 0, 0, 0, 5, 0,
                        0,   0,   1,  1, 4, 0, 1, 0, 0, 0, 3, 0, 0, 0};
    const ProbeResult t = ProbeImageHeader(tiff.data(), tiff.size());
    EXPECT_EQ(std::make_pair(t.width, t.height), std::make_pair(5, 3));
}

// Every bad file gives an error naming the file and the reason, and no image.
TEST_F(DecodeTest, BadFilesGiveClearErrors) {
    const Bytes png = test::ReadBytes(test::DataFile("rgba.png"));
    auto resized = [&](std::uint32_t w, std::uint32_t h) {
        Bytes b = png;
        samples::SetPngSize(b, w, h);
        return b;
    };
    auto cut = [](Bytes b, std::size_t size) {
        b.resize(size);
        return b;
    };
    const Bytes jpeg = NoisyJpeg();
    Bytes badCrc = png;
    badCrc[badCrc.size() - 20] ^= 0x55;  // inside IDAT's data
    Bytes emf(108, 0);                   // record type 1, " EMF", bounds 0..99 x 0..49
    emf[0] = 1, emf[4] = 108, emf[16] = 99, emf[20] = 49;
    std::memcpy(emf.data() + 40, " EMF", 4);
    const Bytes gif = test::ReadBytes(test::DataFile("anim.gif")), tif = test::ReadBytes(test::DataFile("lzw.tif"));
    const std::string text = "BUT this is not a picture, only words.\n";
    const struct {
        std::string name;
        Bytes bytes;
        ErrorCode code;
        std::string reason;
    } cases[] = {
        {"empty.png", {}, ErrorCode::Empty, "the file is empty"},
        {"truncated.jpg", cut(jpeg, jpeg.size() / 2), ErrorCode::Truncated, "truncated"},
        {"bad-crc.png", badCrc, ErrorCode::Corrupt, "damaged"},
        {"truncated.png", cut(png, 40), ErrorCode::Truncated, "truncated"},
        {"text.png", Bytes(text.begin(), text.end()), ErrorCode::NotAnImage, "not an image"},
        {"huge.png", resized(30000, 30000), ErrorCode::TooLarge, "too large"},
        {"wide.png", resized(100000, 1), ErrorCode::TooLarge, "too large"},
        {"zero.png", resized(0, 5), ErrorCode::Corrupt, "damaged"},
        {"huge.bmp", Bmp(60000, 60000, 24, 0, {}, Bytes(4)), ErrorCode::TooLarge, "too large"},
        {"truncated.bmp", Bmp(40, 40, 24, 0, {}, Bytes(40 * 120 - 500)), ErrorCode::Truncated, "truncated"},
        {"truncated-rle.bmp", Bmp(4, 4, 8, 1, Bytes(8), {4, 1, 0}), ErrorCode::Truncated, "truncated"},
        {"odd.bmp", Bmp(2, 2, 8, 2, Bytes(8), Bytes(8)), ErrorCode::Unsupported, "not supported"},
        {"truncated.gif", cut(gif, gif.size() / 2), ErrorCode::Truncated, "truncated"},
        {"truncated.tif", cut(tif, tif.size() - 30), ErrorCode::Truncated, "truncated"},
        {"fake.emf", emf, ErrorCode::Unsupported, "EMF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = DecodeBytes(c.name, c.bytes);
        EXPECT_EQ(r.status.code, c.code) << r.status.message;
        EXPECT_TRUE(r.image.empty());
        EXPECT_THAT(r.status.message, HasSubstr(c.name));
        EXPECT_THAT(r.status.message, HasSubstr(c.reason));
    }
    auto r = DecodeImageFile(dir_ / "missing.jpg");
    EXPECT_EQ(r.status.code, ErrorCode::NotFound);
    EXPECT_THAT(r.status.message, HasSubstr("missing.jpg"));
    const ProbeResult emfSize = ProbeImageHeader(emf.data(), emf.size());
    EXPECT_EQ(std::make_pair(emfSize.width, emfSize.height), std::make_pair(100, 50));
    r = DecodeImageFile(dir_.path());
    EXPECT_EQ(r.status.code, ErrorCode::ReadFailed);
    EXPECT_THAT(r.status.message, HasSubstr("folder"));
    EXPECT_EQ(ProbeImageFile(dir_ / "huge.png").status.code, ErrorCode::TooLarge);
    // A caller's own limits apply, inclusive: rgba.png is 4 x 2.
    DecodeLimits limits;
    limits.maxPixels = 8;
    EXPECT_TRUE(DecodeImageFile(test::DataFile("rgba.png"), limits).ok());
    limits.maxPixels = 7;
    EXPECT_EQ(DecodeImageFile(test::DataFile("rgba.png"), limits).status.code, ErrorCode::TooLarge);
    limits.maxPixels = 8;
    limits.maxSide = 3;
    EXPECT_EQ(DecodeImageFile(test::DataFile("rgba.png"), limits).status.code, ErrorCode::TooLarge);
}

// Damaged copies of the samples (bits flipped, cut short) give an image or an error naming
// the file, never a crash or an out-of-bounds access (run under the sanitize preset).
TEST_F(DecodeTest, RandomlyDamagedSamplesNeverCrash) {
    std::mt19937 rng(1234);
    for (const char* name : {"palette-trns.png", "rgb16.png", "cmyk.jpg", "anim.gif", "lzw.tif", "bits4-bottomup.bmp"}) {
        const Bytes original = test::ReadBytes(test::DataFile(name));
        for (int round = 0; round < 200; ++round) {
            Bytes bytes = original;
            if (round % 2) bytes.resize(1 + rng() % bytes.size());
            for (int k = 0; k < 1 + round % 4; ++k) bytes[rng() % bytes.size()] ^= std::uint8_t(1u << (rng() % 8));
            const DecodeResult r = DecodeBytes(name, bytes);
            EXPECT_EQ(r.ok(), !r.image.empty());
            EXPECT_TRUE(r.ok() || r.status.message.find(name) != std::string::npos) << r.status.message;
        }
    }
}

// Decoding straight into a converted image gives the same bytes as decoding and then
// converting, for the row-by-row path (JPEG) and the others, and fails the same way.
}  // namespace
}  // namespace bistrope
