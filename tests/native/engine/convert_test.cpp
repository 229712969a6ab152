// Preview sizes, whole images through the colour rows, and the resampling against a
// reference computed here in double precision.
#include "engine/convert.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <thread>

#include "engine/decode.h"
#include "engine/jpeg_writer.h"
#include "camera_files.h"
#include "test_files.h"

namespace bistrope {
namespace {

TEST(PreviewSize, PowersOfTwoBoundedByTheMaximum) {
    const struct {
        std::uint32_t w, h, max;
        PreviewSize size;
    } cases[] = {{3000, 2000, 4096, {4096, 2048}}, {3000, 2000, 1000, {1024, 1024}}, {1, 1, 4096, {2, 2}},
                 {512, 513, 4096, {512, 1024}},    {4000, 3000, 0, {2, 2}},          {65535, 3, 0xFFFFFFFFu, {65536, 4}}};
    for (const auto& c : cases) EXPECT_EQ(ComputePreviewSize(c.w, c.h, c.max), c.size) << c.w << "x" << c.h;
}

TEST(Conversion, ACustomMatrixWithEveryElementSetMatchesThePerPixelMatrix) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> d(-1.2f, 1.5f);
    ColorMatrix m;
    for (float& v : m.m) v = d(rng);
    for (int i = 0; i < 5; ++i) m.at(i, 3) = 0.1f * float(i);  // alpha below 1 even for opaque pixels
    for (bool opaqueAlpha : {false, true}) {  // a random alpha column first, on half-opaque pixels
        if (opaqueAlpha) {
            // Then an opaque result, with outputs of every kind: red from green (and alpha)
            // only, green a copy of red, blue from no colour.
            m.at(0, 3) = m.at(1, 3) = m.at(2, 3) = m.at(3, 3) = 0.0f, m.at(4, 3) = 1.0f;
            m.at(0, 0) = m.at(2, 0) = m.at(0, 2) = m.at(1, 2) = m.at(2, 2) = 0.0f;
            for (int i = 0; i < 5; ++i) m.at(i, 1) = m.at(i, 0);
        }
        const SourceImage src = test::MakeSource(37, 23, [&](int x, int, std::uint8_t* p) {
            for (int c = 0; c < 4; ++c) p[c] = std::uint8_t(rng());
            if (opaqueAlpha || x % 2) p[3] = 255;
        });
        const ConvertedImage out = ConvertImage(src, m, 37, 23);
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x) {
                const std::uint8_t* s = src.row(y) + 4 * x;
                const Rgba8 ref = ApplyColorMatrix(m, {s[2], s[1], s[0], s[3]});
                auto over = [&](int v) { return (v * ref.a + 127) / 255; };
                const std::uint8_t* o = out.row(y) + 3 * x;
                ASSERT_EQ((std::array<int, 3>{o[0], o[1], o[2]}), (std::array<int, 3>{over(ref.b), over(ref.g), over(ref.r)}))
                    << x << "," << y;
            }
    }
}

TEST(Conversion, AJpegDecodedStraightIntoConvertedRowsGivesTheBytesOfDecodeThenConvert) {
    // Colour, grey and CMYK files through every kind of matrix: none, the full-colour ones
    // and one with a constant (kept and filled channels, converted where they are decoded),
    // a scaled diagonal one with a constant, mono (general sums).
    test::ScratchDir dir;
    ConvertedImage colour = ConvertedImage::Create(45, 19);
    std::mt19937 rng(5);
    for (std::size_t i = 0; i < colour.sizeBytes(); ++i) colour.data()[i] = std::uint8_t(rng() % 64 + 100);
    ASSERT_TRUE(WriteJpegFile(dir / "colour.jpg", colour, 90).ok());
    ColorMatrix diagonal = FullColourMatrix(Eye::Left);
    ColorMatrix keptAndFilled = FullColourMatrix(Eye::Left);
    keptAndFilled.at(4, 1) = 0.2f;
    diagonal.at(0, 0) = 0.7f, diagonal.at(2, 2) = 1.1f, diagonal.at(4, 1) = 0.2f;
    for (const test::fs::path& file : {dir / "colour.jpg", test::DataFile("grey.jpg"), test::DataFile("cmyk.jpg")})
        for (const auto& m : {std::optional<ColorMatrix>(), std::optional(FullColourMatrix(Eye::Left)),
                              std::optional(FullColourMatrix(Eye::Right)), std::optional(keptAndFilled),
                              std::optional(diagonal),
                              SelectBlendMatrix(Monochromatic, Eye::Left, {})}) {
            const DecodeResult decoded = DecodeImageFile(file);
            const ConvertedDecodeResult straight = DecodeConvertedImageFile(file, m);
            ASSERT_TRUE(decoded.ok() && straight.ok()) << file;
            EXPECT_TRUE(test::SameBytes(straight.image, ConvertImage(decoded.image, m, decoded.image.width(),
                                                                     decoded.image.height())))
                << file << (m ? "" : " without a matrix");
        }
}

TEST(Conversion, APreviewMadeWhileDecodingHasTheBytesOfDecodeThenConvert) {
    // JPEGs made row by row (enlarged over many bands, shrunk, kept at their size; grey,
    // CMYK) and files decoded whole (PNG, a JPEG turned upright) through three matrices.
    test::ScratchDir dir;
    const auto noise = [](int x, int y, std::uint8_t* bgr) {
        for (int c = 0; c < 3; ++c) bgr[c] = std::uint8_t((x * 37 + y * 11 + c * 85) ^ (x * y));
    };
    test::WriteBytes(dir / "tall.jpg", test::EngineJpeg(300, 700, noise));
    test::WriteBytes(dir / "square.jpg", test::EngineJpeg(256, 128, noise));
    test::WriteBytes(dir / "turned.jpg",
                     test::WithSegment(test::EngineJpeg(40, 24, noise), 0xE1, test::ExifOrientationBody(6)));
    const std::pair<test::fs::path, std::uint32_t> files[] = {
        {dir / "tall.jpg", 4096},  {dir / "tall.jpg", 64},           {dir / "square.jpg", 4096},
        {dir / "turned.jpg", 4096}, {test::DataFile("grey.jpg"), 16}, {test::DataFile("cmyk.jpg"), 4096},
        {test::DataFile("rgba.png"), 4096}};
    for (const auto& [file, limit] : files)
        for (const auto& m : {std::optional<ColorMatrix>(), std::optional(FullColourMatrix(Eye::Left)),
                              SelectBlendMatrix(Monochromatic, Eye::Right, {})}) {
            SCOPED_TRACE(testing::Message() << file << " limit " << limit << (m ? "" : " without a matrix"));
            const DecodeResult decoded = DecodeImageFile(file);
            const PreviewedDecodeResult both = DecodeImageFileWithPreview(file, m, limit);
            ASSERT_TRUE(decoded.ok() && both.decoded.ok() && both.previewStatus.ok());
            EXPECT_TRUE(test::SameBytes(both.decoded.image, decoded.image));
            const PreviewSize size = ComputePreviewSize(std::uint32_t(decoded.image.width()),
                                                        std::uint32_t(decoded.image.height()), limit);
            EXPECT_TRUE(test::SameBytes(both.preview, ConvertImage(decoded.image, m, size.width, size.height)));
        }
    // With `reduce`, the smallest of 1/2, 1/4 and 1/8 scale that keeps both sides at least
    // the preview's, only for upright JPEGs; the file's bytes come back for the full decode.
    for (const auto& [file, limit, reduction] :
         {std::tuple(dir / "tall.jpg", 4096u, 1), std::tuple(dir / "tall.jpg", 256u, 1),
          std::tuple(dir / "tall.jpg", 128u, 2), std::tuple(dir / "tall.jpg", 64u, 4),
          std::tuple(dir / "tall.jpg", 16u, 8), std::tuple(dir / "turned.jpg", 2u, 1),
          std::tuple(test::DataFile("rgba.png"), 2u, 1)}) {
        SCOPED_TRACE(testing::Message() << file << " limit " << limit);
        const PreviewedDecodeResult r = DecodeImageFileWithPreview(file, std::nullopt, limit, {}, true);
        const SourceImage full = DecodeImageFile(file).image;
        ASSERT_TRUE(r.decoded.ok() && r.previewStatus.ok());
        EXPECT_EQ(r.reduction, reduction);
        EXPECT_EQ(std::tuple(r.decoded.image.width(), r.decoded.image.height(), r.fullSize.width, r.fullSize.height),
                  std::tuple((full.width() + reduction - 1) / reduction, (full.height() + reduction - 1) / reduction,
                             full.width(), full.height()));
        const PreviewSize size = ComputePreviewSize(std::uint32_t(full.width()), std::uint32_t(full.height()), limit);
        EXPECT_EQ(std::pair(r.preview.width(), r.preview.height()), std::pair(size.width, size.height));
        EXPECT_EQ(r.bytes.empty(), reduction == 1);
        if (!r.bytes.empty()) {
            EXPECT_TRUE(test::SameBytes(DecodeImageBytes(r.bytes.data(), r.bytes.size()).image, full));
        }
    }
    // A file that fails to decode: the decoder's message, no images and no preview failure.
    const test::Bytes whole = test::ReadBytes(dir / "tall.jpg");
    test::WriteBytes(dir / "cut.jpg", test::Bytes(whole.begin(), whole.begin() + whole.size() / 2));
    const PreviewedDecodeResult cut = DecodeImageFileWithPreview(dir / "cut.jpg", std::nullopt, 4096);
    EXPECT_EQ(cut.decoded.status.message, DecodeImageFile(dir / "cut.jpg").status.message);
    EXPECT_TRUE(!cut.decoded.ok() && cut.decoded.image.empty() && cut.preview.empty() && cut.previewStatus.ok());
}

TEST(Conversion, StreamedRowsAreConvertedOnlyOnceFinalAndCanBeAbandonedAnywhere) {
    // The source's rows are written just before they are announced, from another thread, so
    // a row read too early would show in the result.
    std::mt19937 rng(9);
    SourceImage full = SourceImage::Create(97, 301);
    for (std::size_t i = 0; i < full.sizeBytes(); ++i) full.data()[i] = std::uint8_t(rng());
    const auto matrix = SelectBlendMatrix(Monochromatic, Eye::Left, {});
    for (const auto& [w, h] : {std::pair(128, 512), std::pair(64, 128), std::pair(97, 301)}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        SourceImage source = SourceImage::Create(97, 301);
        ConvertedImage out = ConvertedImage::Create(w, h);
        std::thread decoder([&] {
            StreamedConversion conversion(source, matrix, out);
            for (std::int32_t y = 0; y < source.height();) {
                const std::int32_t next = std::min(source.height(), y + 1 + std::int32_t(rng() % 9));
                std::memcpy(source.row(y), full.row(y), std::size_t(next - y) * source.stride());
                conversion.RowsReady(y = next);
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
            conversion.Finish();
        });
        decoder.join();
        EXPECT_TRUE(test::SameBytes(out, ConvertImage(full, matrix, w, h)));
    }
    // Abandoned before any row, halfway, or left to the destructor: each returns.
    ConvertedImage out = ConvertedImage::Create(128, 512);
    StreamedConversion(full, matrix, out).Abandon();
    StreamedConversion halfway(full, matrix, out);
    halfway.RowsReady(150);
    halfway.Abandon();
    { StreamedConversion dropped(full, matrix, out); }
}

TEST(Conversion, TranslucentPixelsAreComposedOverBlackRoundingToNearest) {
    SourceImage s = SourceImage::Create(3, 1);
    const std::uint8_t px[12] = {200, 100, 50, 200, 200, 100, 50, 0, 1, 2, 3, 255};
    std::copy(px, px + 12, s.data());
    for (unsigned mode : {2u, 7u}) {
        ConvertedImage out;
        ASSERT_TRUE(MakeOutputImage(s, ConversionParams{mode, Eye::Right, {}}, out).ok());
        // 200 * 200 / 255 = 156.9, 100 * 200 / 255 = 78.4; red is the left eye's in mode 2.
        EXPECT_EQ((std::array<int, 9>{out.data()[0], out.data()[1], out.data()[2], out.data()[3], out.data()[4],
                                      out.data()[5], out.data()[6], out.data()[7], out.data()[8]}),
                  (std::array<int, 9>{157, 78, mode == 7 ? 39 : 0, 0, 0, 0, 1, 2, mode == 7 ? 3 : 0}));
    }
}

TEST(Conversion, HalvingAveragesExactlyWithHalvesRoundedUp) {
    const SourceImage src = test::RandomSource(8, 6, 3);
    const ConvertedImage both = ConvertImage(src, std::nullopt, 4, 3), across = ConvertImage(src, std::nullopt, 4, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 3; ++c) {
                auto at = [&](int sx, int sy) { return int(src.row(sy)[4 * sx + c]); };
                const int pair = at(2 * x, y) + at(2 * x + 1, y);
                ASSERT_EQ(across.row(y)[3 * x + c], (pair + 1) / 2) << x << "," << y;
                if (y % 2) continue;
                const int four = pair + at(2 * x, y + 1) + at(2 * x + 1, y + 1);
                ASSERT_EQ(both.row(y / 2)[3 * x + c], (four + 2) / 4) << x << "," << y;
            }
}

// Reference resampling along one axis in double precision: area average when shrinking,
// bilinear between pixel centres (edges repeated) when enlarging.
std::vector<std::vector<double>> AxisWeights(int from, int to) {
    std::vector<std::vector<double>> w(std::size_t(to), std::vector<double>(std::size_t(from), 0.0));
    const double scale = double(from) / to;
    for (int o = 0; o < to; ++o) {
        if (to < from) {
            const double a = o * scale, b = (o + 1) * scale;
            for (int i = 0; i < from; ++i) w[o][i] = std::max(0.0, std::min(b, i + 1.0) - std::max(a, double(i))) / scale;
        } else {
            const double c = (o + 0.5) * scale - 0.5;
            const int i0 = int(std::floor(c));
            w[o][std::clamp(i0, 0, from - 1)] += 1 - (c - i0);
            w[o][std::clamp(i0 + 1, 0, from - 1)] += c - i0;
        }
    }
    return w;
}

struct StretchCase {
    int sw, sh, dw, dh;
    bool opaque;
    std::optional<ColorMatrix> matrix;
};

class Stretch : public ::testing::TestWithParam<StretchCase> {};

TEST_P(Stretch, MatchesAreaAverageAndBilinearReferencesWithinOne) {
    const auto [sw, sh, dw, dh, opaque, matrix] = GetParam();
    const SourceImage src = test::RandomSource(sw, sh, unsigned(sw * 31 + dh), opaque);
    const ConvertedImage out = ConvertImage(src, matrix, dw, dh);
    // The converted source pixels, composed over black: what the stretch must average.
    const ConvertedImage converted = ConvertImage(src, matrix, sw, sh);
    ASSERT_EQ(std::make_pair(out.width(), out.height()), std::make_pair(dw, dh));
    const auto wx = AxisWeights(sw, dw), wy = AxisWeights(sh, dh);
    int maxDiff = 0;
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x)
            for (int c = 0; c < 3; ++c) {
                double v = 0;
                for (int j = 0; j < sh; ++j)
                    for (int i = 0; wy[y][j] != 0 && i < sw; ++i) v += wy[y][j] * wx[x][i] * converted.row(j)[3 * i + c];
                maxDiff = std::max(maxDiff, std::abs(int(std::lround(v)) - out.row(y)[3 * x + c]));
            }
    EXPECT_LE(maxDiff, 1);  // fixed-point weights
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, Stretch,
    ::testing::Values(StretchCase{40, 30, 16, 8, true, {}},   // both shrink
                      StretchCase{13, 7, 32, 16, true, {}},   // both grow
                      StretchCase{50, 6, 32, 16, true, {}},   // x shrinks, y grows
                      StretchCase{3, 61, 4, 64, true, {}},    // x grows, y shrinks a little
                      StretchCase{1, 1, 2, 2, true, {}},
                      StretchCase{300, 200, 256, 256, true, {}},  // several threads
                      // Through matrices that leave channels zero, with translucent pixels.
                      StretchCase{40, 30, 64, 16, false, FullColourMatrix(Eye::Left)},
                      StretchCase{33, 9, 64, 8, false, SelectBlendMatrix(Monochromatic, Eye::Right, {})}));

}  // namespace
}  // namespace bistrope
