// Decoding of every supported format and variant, and of a list of bad files. Expected
// pixels come from the data the test wrote with the format libraries, not from the
// engine's decoders.
#include "engine/decode.h"

#include "engine/convert.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include <png.h>

#include "../../data/samples.h"
#include "test_files.h"

namespace bistrope {
namespace {

using test::Bytes;
using test::ScratchDir;
using ::testing::HasSubstr;

struct Bgra {
    int b, g, r, a;
};

Bgra At(const SourceImage& img, int x, int y) {
    const std::uint8_t* p = img.row(y) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

#define EXPECT_PIXEL(img, x, y, B, G, R, A)                                                            \
    do {                                                                                                \
        const Bgra px_ = At(img, x, y);                                                                 \
        EXPECT_EQ(px_.b, B) << "blue at " << x << "," << y;                                             \
        EXPECT_EQ(px_.g, G) << "green at " << x << "," << y;                                            \
        EXPECT_EQ(px_.r, R) << "red at " << x << "," << y;                                              \
        EXPECT_EQ(px_.a, A) << "alpha at " << x << "," << y;                                            \
    } while (0)

class DecodeTest : public ::testing::Test {
protected:
    DecodeResult DecodeBytes(const std::string& name, const Bytes& bytes) {
        const auto path = dir_ / name;
        test::WriteBytes(path, bytes);
        return DecodeImageFile(path);
    }
    ScratchDir dir_;
};

TEST_F(DecodeTest, PngVariantsDecodeToExactBgra) {
    {  // RGBA, 8 bits
        test::PngSpec s{2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {10, 20, 30, 40, 250, 240, 230, 255}, {}, {}};
        const auto r = DecodeBytes("rgba.png", test::EncodePng(s));
        ASSERT_TRUE(r.ok()) << r.status.message;
        EXPECT_EQ(r.format, ImageFormat::Png);
        EXPECT_PIXEL(r.image, 0, 0, 30, 20, 10, 40);
        EXPECT_PIXEL(r.image, 1, 0, 230, 240, 250, 255);
    }
    {  // palette with transparency: entry 1 half transparent, entry 2 without a tRNS value is opaque
        test::PngSpec s{3, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2}, {255, 0, 0, 0, 255, 0, 0, 0, 255}, {0, 128}};
        const auto r = DecodeBytes("palette.png", test::EncodePng(s));
        ASSERT_TRUE(r.ok()) << r.status.message;
        EXPECT_PIXEL(r.image, 0, 0, 0, 0, 255, 0);
        EXPECT_PIXEL(r.image, 1, 0, 0, 255, 0, 128);
        EXPECT_PIXEL(r.image, 2, 0, 255, 0, 0, 255);
    }
    {  // grey, 8 bits and 2 bits (0b00011011 = levels 0, 1, 2, 3 -> 0, 85, 170, 255)
        test::PngSpec g8{2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 200}, {}, {}};
        const auto r8 = DecodeBytes("grey8.png", test::EncodePng(g8));
        ASSERT_TRUE(r8.ok()) << r8.status.message;
        EXPECT_PIXEL(r8.image, 0, 0, 7, 7, 7, 255);
        EXPECT_PIXEL(r8.image, 1, 0, 200, 200, 200, 255);
        test::PngSpec g2{4, 1, PNG_COLOR_TYPE_GRAY, 2, {0x1B}, {}, {}};
        const auto r2 = DecodeBytes("grey2.png", test::EncodePng(g2));
        ASSERT_TRUE(r2.ok()) << r2.status.message;
        EXPECT_PIXEL(r2.image, 1, 0, 85, 85, 85, 255);
        EXPECT_PIXEL(r2.image, 3, 0, 255, 255, 255, 255);
    }
    {  // 16 bits per sample, scaled to 8 bits: v16 -> round(v16 * 255 / 65535)
        test::PngSpec s{1, 1, PNG_COLOR_TYPE_RGB, 16, {0xFF, 0xFF, 0x80, 0x00, 0x01, 0x00}, {}, {}};
        const auto r = DecodeBytes("rgb16.png", test::EncodePng(s));
        ASSERT_TRUE(r.ok()) << r.status.message;
        EXPECT_PIXEL(r.image, 0, 0, 1, 128, 255, 255);
    }
    {  // grey with alpha
        test::PngSpec s{1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {99, 33}, {}, {}};
        const auto r = DecodeBytes("ga.png", test::EncodePng(s));
        ASSERT_TRUE(r.ok()) << r.status.message;
        EXPECT_PIXEL(r.image, 0, 0, 99, 99, 99, 33);
    }
}

TEST_F(DecodeTest, JpegColourGreyAndInvertedCmyk) {
    // Flat colour blocks survive JPEG almost unchanged; +-3 per value.
    const int w = 16, h = 8;
    Bytes rgb, grey, cmyk;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool left = x < 8;
            rgb.insert(rgb.end(), {std::uint8_t(left ? 200 : 20), 100, std::uint8_t(left ? 30 : 220)});
            grey.push_back(left ? 60 : 190);
            // Adobe CMYK is stored inverted: 255 - ink. Left: cyan 100%, key 0 -> (0, 255, 255).
            // Right: no ink, key 50% -> about 128 grey.
            cmyk.insert(cmyk.end(), {std::uint8_t(left ? 0 : 255), 255, 255, std::uint8_t(left ? 255 : 127)});
        }
    auto near = [](int a, int b) { return std::abs(a - b) <= 3; };
    const auto c = DecodeBytes("rgb.jpg", test::EncodeJpegRaw(w, h, 3, rgb));
    ASSERT_TRUE(c.ok()) << c.status.message;
    ASSERT_EQ(c.image.width(), w);
    ASSERT_EQ(c.image.height(), h);
    Bgra p = At(c.image, 3, 3);
    EXPECT_TRUE(near(p.r, 200) && near(p.g, 100) && near(p.b, 30)) << p.r << " " << p.g << " " << p.b;
    EXPECT_EQ(p.a, 255);
    p = At(c.image, 12, 4);
    EXPECT_TRUE(near(p.r, 20) && near(p.g, 100) && near(p.b, 220)) << p.r << " " << p.g << " " << p.b;

    const auto g = DecodeBytes("grey.jpg", test::EncodeJpegRaw(w, h, 1, grey));
    ASSERT_TRUE(g.ok()) << g.status.message;
    p = At(g.image, 2, 2);
    EXPECT_TRUE(near(p.r, 60) && p.r == p.g && p.g == p.b && p.a == 255) << p.r;
    p = At(g.image, 13, 5);
    EXPECT_TRUE(near(p.r, 190)) << p.r;

    const auto k = DecodeBytes("cmyk.jpg", test::EncodeJpegRaw(w, h, 4, cmyk));
    ASSERT_TRUE(k.ok()) << k.status.message;
    p = At(k.image, 2, 2);
    EXPECT_TRUE(near(p.r, 0) && near(p.g, 255) && near(p.b, 255)) << p.r << " " << p.g << " " << p.b;
    p = At(k.image, 13, 5);
    EXPECT_TRUE(near(p.r, 127) && near(p.g, 127) && near(p.b, 127)) << p.r << " " << p.g << " " << p.b;
}

TEST_F(DecodeTest, GifFirstFrameOnlyWithTransparency) {
    const std::vector<std::uint8_t> palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    const Bytes first = {1, 2, 3, 0, 1, 2};    // 3 x 2, index 0 transparent
    const Bytes second = {2, 2, 2, 2, 2, 2};   // must not show
    const auto r = DecodeBytes("anim.gif", test::EncodeGif(3, 2, {first, second}, palette, 0));
    ASSERT_TRUE(r.ok()) << r.status.message;
    EXPECT_EQ(r.format, ImageFormat::Gif);
    EXPECT_PIXEL(r.image, 0, 0, 0, 0, 255, 255);
    EXPECT_PIXEL(r.image, 1, 0, 0, 255, 0, 255);
    EXPECT_PIXEL(r.image, 2, 0, 255, 0, 0, 255);
    EXPECT_PIXEL(r.image, 0, 1, 0, 0, 0, 0);  // transparent
    EXPECT_PIXEL(r.image, 2, 1, 0, 255, 0, 255);
}

TEST_F(DecodeTest, TiffPlainLzwAndAlpha) {
    const Bytes rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 250, 251, 252};  // 2 x 2
    for (bool lzw : {false, true}) {
        const auto r = DecodeBytes(lzw ? "lzw.tif" : "plain.tif", test::EncodeTiff(2, 2, 3, rgb, lzw));
        ASSERT_TRUE(r.ok()) << r.status.message;
        EXPECT_EQ(r.format, ImageFormat::Tiff);
        EXPECT_PIXEL(r.image, 0, 0, 3, 2, 1, 255);
        EXPECT_PIXEL(r.image, 1, 1, 252, 251, 250, 255);
    }
    const auto a = DecodeBytes("alpha.tif", test::EncodeTiff(1, 1, 4, {200, 100, 50, 255}, false));
    ASSERT_TRUE(a.ok()) << a.status.message;
    EXPECT_PIXEL(a.image, 0, 0, 50, 100, 200, 255);
}

TEST_F(DecodeTest, BmpBitDepthsAndRowOrder) {
    const Bytes palette = {0, 0, 255, 0, /*red*/ 0, 255, 0, 0, /*green*/ 255, 0, 0, 0, /*blue*/ 9, 9, 9, 0};
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        // 3 x 2 images whose top row differs from the bottom row.
        const auto b1 = DecodeBytes("1.bmp", test::EncodeBmp(3, 2, 1, {{0xA0, 0, 0, 0}, {0x40, 0, 0, 0}}, palette, topDown));
        ASSERT_TRUE(b1.ok()) << b1.status.message;
        EXPECT_PIXEL(b1.image, 0, 0, 0, 255, 0, 255);  // bit 1 -> green
        EXPECT_PIXEL(b1.image, 1, 0, 0, 0, 255, 255);  // bit 0 -> red
        EXPECT_PIXEL(b1.image, 1, 1, 0, 255, 0, 255);
        const auto b4 = DecodeBytes("4.bmp", test::EncodeBmp(3, 2, 4, {{0x12, 0x30, 0, 0}, {0x00, 0x00, 0, 0}}, palette, topDown));
        ASSERT_TRUE(b4.ok()) << b4.status.message;
        EXPECT_PIXEL(b4.image, 0, 0, 0, 255, 0, 255);
        EXPECT_PIXEL(b4.image, 1, 0, 255, 0, 0, 255);
        EXPECT_PIXEL(b4.image, 2, 0, 9, 9, 9, 255);
        EXPECT_PIXEL(b4.image, 2, 1, 0, 0, 255, 255);
        const auto b8 = DecodeBytes("8.bmp", test::EncodeBmp(3, 2, 8, {{3, 1, 2, 0}, {0, 0, 0, 0}}, palette, topDown));
        ASSERT_TRUE(b8.ok()) << b8.status.message;
        EXPECT_PIXEL(b8.image, 0, 0, 9, 9, 9, 255);
        EXPECT_PIXEL(b8.image, 2, 0, 255, 0, 0, 255);
        EXPECT_PIXEL(b8.image, 0, 1, 0, 0, 255, 255);
        const auto b24 = DecodeBytes("24.bmp", test::EncodeBmp(3, 2, 24, {{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}, Bytes(12, 77)}, {}, topDown));
        ASSERT_TRUE(b24.ok()) << b24.status.message;
        EXPECT_PIXEL(b24.image, 0, 0, 1, 2, 3, 255);
        EXPECT_PIXEL(b24.image, 2, 0, 7, 8, 9, 255);
        EXPECT_PIXEL(b24.image, 1, 1, 77, 77, 77, 255);
    }
    // 32 bits without an alpha mask: the fourth byte is not alpha.
    const auto x32 = DecodeBytes("32.bmp", test::EncodeBmp(1, 1, 32, {{10, 20, 30, 0}}, {}, false));
    ASSERT_TRUE(x32.ok()) << x32.status.message;
    EXPECT_PIXEL(x32.image, 0, 0, 10, 20, 30, 255);
    // 32 bits with an alpha mask.
    const auto a32 = DecodeBytes("32a.bmp", test::EncodeBmp(2, 1, 32, {{10, 20, 30, 40, 1, 2, 3, 255}}, {}, false, true));
    ASSERT_TRUE(a32.ok()) << a32.status.message;
    EXPECT_PIXEL(a32.image, 0, 0, 10, 20, 30, 40);
    EXPECT_PIXEL(a32.image, 1, 0, 1, 2, 3, 255);
}

TEST_F(DecodeTest, ProbeReadsSizesWithoutDecoding) {
    test::PngSpec s{7, 5, PNG_COLOR_TYPE_GRAY, 8, Bytes(35, 0), {}, {}};
    const auto png = dir_ / "a.png";
    test::WriteBytes(png, test::EncodePng(s));
    ProbeResult p = ProbeImageFile(png);
    ASSERT_TRUE(p.ok()) << p.status.message;
    EXPECT_EQ(p.width, 7);
    EXPECT_EQ(p.height, 5);
    EXPECT_EQ(p.format, ImageFormat::Png);

    // A JPEG whose frame header follows 1.5 MB of metadata segments.
    Bytes jpeg = test::EncodeJpegRaw(9, 4, 1, Bytes(36, 128));
    Bytes padded(jpeg.begin(), jpeg.begin() + 2);
    for (int i = 0; i < 24; ++i) {
        padded.insert(padded.end(), {0xFF, 0xE5, 0xFF, 0xFF});
        padded.insert(padded.end(), 0xFFFD, 0x20);
    }
    padded.insert(padded.end(), jpeg.begin() + 2, jpeg.end());
    const auto big = dir_ / "meta.jpg";
    test::WriteBytes(big, padded);
    p = ProbeImageFile(big);
    ASSERT_TRUE(p.ok()) << p.status.message;
    EXPECT_EQ(p.width, 9);
    EXPECT_EQ(p.height, 4);
    const auto decoded = DecodeImageFile(big);
    ASSERT_TRUE(decoded.ok()) << decoded.status.message;
    EXPECT_EQ(decoded.image.width(), 9);

    const Bytes bmp = test::EncodeBmp(3, 2, 24, {Bytes(12, 0), Bytes(12, 0)}, {}, true);
    p = ProbeImageHeader(bmp.data(), bmp.size());
    EXPECT_EQ(p.width, 3);
    EXPECT_EQ(p.height, 2);
    const Bytes gif = test::EncodeGif(5, 6, {Bytes(30, 0)}, {0, 0, 0, 1, 1, 1});
    p = ProbeImageHeader(gif.data(), gif.size());
    EXPECT_EQ(p.width, 5);
    EXPECT_EQ(p.height, 6);
    const Bytes tif = test::EncodeTiff(4, 3, 3, Bytes(36, 0), false);
    p = ProbeImageHeader(tif.data(), tif.size());
    EXPECT_EQ(p.width, 4);
    EXPECT_EQ(p.height, 3);
}

// A PNG that declares width x height but holds no pixel data.
Bytes PngHeaderOnly(std::uint32_t width, std::uint32_t height) {
    test::PngSpec s{1, 1, PNG_COLOR_TYPE_RGB, 8, {0, 0, 0}, {}, {}};
    Bytes b = test::EncodePng(s);
    samples::SetPngSize(b, width, height);
    return b;
}

// Every bad file gives a clear error naming the file and the reason, or a correct image.
TEST_F(DecodeTest, BadFilesGiveClearErrors) {
    struct Case {
        std::string name;
        Bytes bytes;
        ErrorCode code;
        std::string reason;
    };
    Bytes jpeg = test::EncodeJpegRaw(64, 64, 3, Bytes(64 * 64 * 3, 90));
    Bytes png = test::EncodePng({8, 8, PNG_COLOR_TYPE_RGB, 8, Bytes(8 * 8 * 3, 50), {}, {}});
    Bytes badCrc = png;
    badCrc[badCrc.size() - 20] ^= 0x55;  // inside IDAT's data
    const std::string text = "This is not a picture, only words.\n";
    std::vector<Case> cases = {
        {"empty.png", {}, ErrorCode::Empty, "the file is empty"},
        {"truncated.jpg", Bytes(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() / 2)), ErrorCode::Truncated, "truncated"},
        {"header-only.jpg", Bytes(jpeg.begin(), jpeg.begin() + 4), ErrorCode::Truncated, "truncated"},
        {"bad-crc.png", badCrc, ErrorCode::Corrupt, "damaged"},
        {"truncated.png", Bytes(png.begin(), png.begin() + 40), ErrorCode::Truncated, "truncated"},
        {"text.png", Bytes(text.begin(), text.end()), ErrorCode::NotAnImage, "not an image"},
        {"huge.png", PngHeaderOnly(30000, 30000), ErrorCode::TooLarge, "too large"},
        {"wide.png", PngHeaderOnly(100000, 1), ErrorCode::TooLarge, "too large"},
        {"zero.png", PngHeaderOnly(0, 5), ErrorCode::Corrupt, "damaged"},
        {"huge.bmp", test::EncodeBmp(1, 1, 24, {Bytes(4, 0)}, {}, false), ErrorCode::TooLarge, "too large"},
        {"truncated.bmp", test::EncodeBmp(40, 40, 24, std::vector<Bytes>(40, Bytes(120, 1)), {}, false), ErrorCode::Truncated, "truncated"},
        {"truncated.gif", test::EncodeGif(40, 40, {Bytes(1600, 1)}, {0, 0, 0, 9, 9, 9}), ErrorCode::Truncated, "truncated"},
        {"truncated.tif", test::EncodeTiff(40, 40, 3, Bytes(4800, 7), false), ErrorCode::Truncated, "truncated"},
        {"fake.emf", Bytes(), ErrorCode::Unsupported, "EMF"},
    };
    // huge.bmp: 60000 x 60000 declared in a tiny file.
    for (int i = 0; i < 4; ++i) {
        cases[9].bytes[18 + std::size_t(i)] = std::uint8_t(60000u >> (8 * i));
        cases[9].bytes[22 + std::size_t(i)] = std::uint8_t(60000u >> (8 * i));
    }
    cases[10].bytes.resize(cases[10].bytes.size() - 500);
    cases[11].bytes.resize(cases[11].bytes.size() / 2);
    cases[12].bytes.resize(cases[12].bytes.size() - 2000);
    // An EMF header: record type 1, " EMF" signature, bounds 0..99 x 0..49.
    Bytes& emf = cases[13].bytes;
    emf.assign(108, 0);
    emf[0] = 1;
    emf[4] = 108;
    emf[16] = 99;
    emf[20] = 49;
    std::memcpy(emf.data() + 40, " EMF", 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = DecodeBytes(c.name, c.bytes);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.status.code, c.code) << r.status.message;
        EXPECT_TRUE(r.image.empty());
        EXPECT_THAT(r.status.message, HasSubstr(c.name));
        EXPECT_THAT(r.status.message, HasSubstr(c.reason));
    }
    // Missing files and folders.
    auto r = DecodeImageFile(dir_ / "missing.jpg");
    EXPECT_EQ(r.status.code, ErrorCode::NotFound);
    EXPECT_THAT(r.status.message, HasSubstr("missing.jpg"));
    EXPECT_THAT(r.status.message, HasSubstr("does not exist"));
    r = DecodeImageFile(dir_.path());
    EXPECT_EQ(r.status.code, ErrorCode::ReadFailed);
    EXPECT_THAT(r.status.message, HasSubstr("folder"));
    // The size probe refuses the same huge declaration.
    const auto huge = dir_ / "huge.png";
    EXPECT_EQ(ProbeImageFile(huge).status.code, ErrorCode::TooLarge);
    // A caller's own lower limit applies too.
    DecodeLimits small;
    small.maxPixels = 63;
    test::WriteBytes(dir_ / "ok.png", png);
    EXPECT_EQ(DecodeImageFile(dir_ / "ok.png", small).status.code, ErrorCode::TooLarge);
    EXPECT_TRUE(DecodeImageFile(dir_ / "ok.png").ok());
}


// Decoding straight into a converted image gives the same bytes as decoding and then
// converting, for the row-by-row path (JPEG) and the others, and fails the same way.
TEST_F(DecodeTest, DecodingIntoAConvertedImageEqualsDecodeThenConvert) {
    const auto data = [](const char* name) { return std::filesystem::path(BISTROPE_TEST_DATA_DIR) / name; };
    const CustomMatrices custom{FullColourMatrix(Eye::Left), FullColourMatrix(Eye::Right)};
    for (const char* name : {"cmyk.jpg", "grey.jpg", "rgba.png", "anim.gif", "lzw.tif"}) {
        for (unsigned mode : {1u, 2u, 4u, 9u}) {
            SCOPED_TRACE(testing::Message() << name << " mode " << mode);
            const auto matrix = SelectBlendMatrix(mode, Eye::Left, custom);
            const ConvertedDecodeResult direct = DecodeConvertedImageFile(data(name), matrix);
            ASSERT_TRUE(direct.ok()) << direct.status.message;
            const DecodeResult decoded = DecodeImageFile(data(name));
            ASSERT_TRUE(decoded.ok());
            const ConvertedImage reference =
                ConvertImage(decoded.image, matrix, decoded.image.width(), decoded.image.height());
            ASSERT_EQ(direct.image.sizeBytes(), reference.sizeBytes());
            EXPECT_TRUE(std::equal(reference.data(), reference.data() + reference.sizeBytes(), direct.image.data()));
            EXPECT_EQ(direct.format, decoded.format);
        }
    }
    Bytes jpeg = test::EncodeJpegRaw(64, 64, 3, Bytes(64 * 64 * 3, 90));
    jpeg.resize(jpeg.size() / 2);
    const auto r = DecodeBytes("cut.jpg", jpeg);
    const ConvertedDecodeResult cut = DecodeConvertedImageFile(dir_ / "cut.jpg", std::nullopt);
    EXPECT_EQ(cut.status.code, ErrorCode::Truncated);
    EXPECT_EQ(cut.status.message, r.status.message);
    EXPECT_TRUE(cut.image.empty());
    DecodeLimits tiny;
    tiny.maxPixels = 100;
    EXPECT_EQ(DecodeConvertedImageFile(data("grey.jpg"), std::nullopt, tiny).status.code, ErrorCode::TooLarge);
    EXPECT_EQ(DecodeConvertedImageFile(dir_ / "none.jpg", std::nullopt).status.code, ErrorCode::NotFound);
}

}  // namespace
}  // namespace bistrope
