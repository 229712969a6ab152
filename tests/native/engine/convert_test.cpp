// Preview sizes, the blending modes on known pixels, and the resampling against a
// reference computed here in double precision.
#include "engine/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "test_files.h"

namespace bistrope {
namespace {

ConversionParams Params(unsigned mode, Eye eye) {
    ConversionParams p;
    p.mode = mode;
    p.eye = eye;
    return p;
}

// The one pixel of a 1 x 1 source through a mode, as (b, g, r).
std::array<int, 3> Convert1(unsigned mode, Eye eye, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                            const CustomMatrices* custom = nullptr) {
    SourceImage s = SourceImage::Create(1, 1);
    s.data()[0] = b;
    s.data()[1] = g;
    s.data()[2] = r;
    s.data()[3] = 255;
    ConversionParams p = Params(mode, eye);
    if (custom) p.custom = *custom;
    ConvertedImage out;
    EXPECT_TRUE(MakeOutputImage(s, p, out).ok());
    if (out.empty()) return {-1, -1, -1};
    return {out.data()[0], out.data()[1], out.data()[2]};
}

TEST(PreviewSize, PowersOfTwoBoundedByTheMaximum) {
    EXPECT_EQ(ComputePreviewSize(3000, 2000, 4096), (PreviewSize{4096, 2048}));
    EXPECT_EQ(ComputePreviewSize(3000, 2000, 1024), (PreviewSize{1024, 1024}));
    EXPECT_EQ(ComputePreviewSize(3000, 2000, 1000), (PreviewSize{1024, 1024}));
    EXPECT_EQ(ComputePreviewSize(1, 1, 4096), (PreviewSize{2, 2}));
    EXPECT_EQ(ComputePreviewSize(512, 513, 4096), (PreviewSize{512, 1024}));
    EXPECT_EQ(ComputePreviewSize(4000, 3000, 0), (PreviewSize{2, 2}));
    EXPECT_EQ(ComputePreviewSize(4000, 3000, 2), (PreviewSize{2, 2}));
    // No limit (a stored -1): the smallest power of two not below each side.
    EXPECT_EQ(ComputePreviewSize(4000, 3000, 0xFFFFFFFFu), (PreviewSize{4096, 4096}));
    EXPECT_EQ(ComputePreviewSize(65535, 3, 0xFFFFFFFFu), (PreviewSize{65536, 4}));
}

TEST(Conversion, FixedModesOnKnownPixels) {
    using A = std::array<int, 3>;  // b, g, r
    for (int v : {0, 1, 77, 128, 254, 255}) {
        const auto u = std::uint8_t(v);
        EXPECT_EQ(Convert1(Monochromatic, Eye::Left, u, u, u), (A{0, 0, v})) << v;
        EXPECT_EQ(Convert1(Monochromatic, Eye::Right, u, u, u), (A{v, v, 0})) << v;
    }
    EXPECT_EQ(Convert1(OptimisedColour, Eye::Left, 255, 0, 0), (A{0, 0, 0}));
    // 0.7 * 200 + 0.3 * 100 = 170
    EXPECT_EQ(Convert1(OptimisedColour, Eye::Left, 9, 200, 100), (A{0, 0, 170}));
    EXPECT_EQ(Convert1(FullColour, Eye::Left, 10, 20, 30), (A{0, 0, 10}));
    EXPECT_EQ(Convert1(FullColour, Eye::Right, 10, 20, 30), (A{30, 20, 0}));
    // Modes above 5 copy the colours.
    EXPECT_EQ(Convert1(6, Eye::Left, 10, 20, 30), (A{30, 20, 10}));
    EXPECT_EQ(Convert1(1000, Eye::Right, 10, 20, 30), (A{30, 20, 10}));
    // A constant row adds to every pixel and clamps at 255; a negative one clamps at 0.
    CustomMatrices custom{FullColourMatrix(Eye::Left), FullColourMatrix(Eye::Right)};
    custom.left.at(4, 0) = 0.5f;
    custom.left.at(4, 1) = -1.0f;
    EXPECT_EQ(Convert1(CustomColour, Eye::Left, 200, 50, 50, &custom), (A{0, 0, 255}));
    EXPECT_EQ(Convert1(CustomColour, Eye::Left, 10, 50, 50, &custom), (A{0, 0, 138}));  // 10 + 127.5 -> 138
}

TEST(Conversion, ModesShareEyeImagesAndMatchThePerPixelMatrix) {
    const SourceImage src = test::RandomSource(37, 23, 5);
    auto make = [&](unsigned mode, Eye eye, const CustomMatrices* custom = nullptr) {
        ConversionParams p = Params(mode, eye);
        if (custom) p.custom = *custom;
        ConvertedImage out;
        EXPECT_TRUE(MakeOutputImage(src, p, out).ok());
        return out;
    };
    auto same = [](const ConvertedImage& a, const ConvertedImage& b) {
        return a.sizeBytes() == b.sizeBytes() && std::equal(a.data(), a.data() + a.sizeBytes(), b.data());
    };
    EXPECT_TRUE(same(make(HalfColour, Eye::Left), make(Monochromatic, Eye::Left)));
    EXPECT_TRUE(same(make(HalfColour, Eye::Right), make(FullColour, Eye::Right)));
    EXPECT_TRUE(same(make(OptimisedColour, Eye::Right), make(FullColour, Eye::Right)));
    EXPECT_TRUE(same(make(CustomColour, Eye::Left), make(FullColour, Eye::Left)));

    // A custom matrix with every element set, against ApplyColorMatrix pixel by pixel.
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> d(-1.2f, 1.5f);
    CustomMatrices custom{FullColourMatrix(Eye::Left), FullColourMatrix(Eye::Right)};
    for (float& m : custom.right.m) m = d(rng);
    custom.right.at(3, 3) = 0.0f;  // keep alpha at 1 through the constant only
    custom.right.at(0, 3) = custom.right.at(1, 3) = custom.right.at(2, 3) = 0.0f;
    custom.right.at(4, 3) = 1.0f;
    const ConvertedImage out = make(CustomColour, Eye::Right, &custom);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const std::uint8_t* s = src.row(y) + 4 * x;
            const Rgba8 ref = ApplyColorMatrix(custom.right, {s[2], s[1], s[0], s[3]});
            const std::uint8_t* o = out.row(y) + 3 * x;
            ASSERT_EQ(o[0], ref.b) << x << "," << y;
            ASSERT_EQ(o[1], ref.g) << x << "," << y;
            ASSERT_EQ(o[2], ref.r) << x << "," << y;
        }
}

TEST(Conversion, TranslucentPixelsAreComposedOverBlack) {
    SourceImage s = SourceImage::Create(2, 1);
    const std::uint8_t px[8] = {200, 100, 50, 128, 200, 100, 50, 0};
    std::copy(px, px + 8, s.data());
    ConvertedImage out;
    ASSERT_TRUE(MakeOutputImage(s, Params(7, Eye::Left), out).ok());
    EXPECT_EQ(out.data()[0], 100);  // 200 * 128 / 255 = 100.4
    EXPECT_EQ(out.data()[1], 50);
    EXPECT_EQ(out.data()[2], 25);
    EXPECT_EQ(out.data()[3], 0);
    EXPECT_EQ(out.data()[5], 0);
    ASSERT_TRUE(MakeOutputImage(s, Params(FullColour, Eye::Right), out).ok());
    EXPECT_EQ(out.data()[0], 100);
    EXPECT_EQ(out.data()[2], 0);
}

TEST(Conversion, RefusalsLeaveThePreviousImageAndProgressIsZeroThenHundred) {
    const SourceImage src = test::RandomSource(5, 3, 1);
    ConvertedImage preview;
    std::vector<int> reports;
    auto record = [&](int p) { reports.push_back(p); };
    ASSERT_TRUE(MakePreviewImage(src, Params(FullColour, Eye::Left), 4096, preview, record).ok());
    EXPECT_EQ(reports, (std::vector<int>{0, 100}));
    EXPECT_EQ(preview.width(), 8);
    EXPECT_EQ(preview.height(), 4);
    const std::uint8_t* before = preview.data();

    reports.clear();
    Status st = MakePreviewImage(src, Params(0, Eye::Left), 4096, preview, record);
    EXPECT_EQ(st.code, ErrorCode::ModeZero);
    EXPECT_EQ(reports, (std::vector<int>{0}));
    EXPECT_EQ(preview.data(), before);
    st = MakePreviewImage(SourceImage(), Params(FullColour, Eye::Left), 4096, preview);
    EXPECT_EQ(st.code, ErrorCode::NoImage);
    EXPECT_EQ(preview.data(), before);
    ConvertedImage output;
    EXPECT_EQ(MakeOutputImage(src, Params(0, Eye::Right), output).code, ErrorCode::ModeZero);
    EXPECT_TRUE(output.empty());
    ASSERT_TRUE(MakeOutputImage(src, Params(2, Eye::Right), output).ok());
    EXPECT_EQ(output.width(), 5);
    EXPECT_EQ(output.height(), 3);
    EXPECT_EQ(output.stride(), 16u);
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
            const double t = c - i0;
            w[o][std::clamp(i0, 0, from - 1)] += 1 - t;
            w[o][std::clamp(i0 + 1, 0, from - 1)] += t;
        }
    }
    return w;
}

// The source's pixels through the matrix (none: copied), composed over black: the values
// the stretch must average.
std::vector<std::array<int, 3>> ConvertedReference(const SourceImage& src, const std::optional<ColorMatrix>& m) {
    std::vector<std::array<int, 3>> px;
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const std::uint8_t* s = src.row(y) + 4 * x;
            Rgba8 c{s[2], s[1], s[0], s[3]};
            if (m) c = ApplyColorMatrix(*m, c);
            auto over = [&](int v) { return (v * c.a + 127) / 255; };
            px.push_back({over(c.b), over(c.g), over(c.r)});
        }
    return px;
}

void ExpectStretchMatchesReference(int sw, int sh, int dw, int dh, bool opaque = true,
                                   std::optional<ColorMatrix> matrix = std::nullopt) {
    SCOPED_TRACE(std::to_string(sw) + "x" + std::to_string(sh) + " -> " + std::to_string(dw) + "x" + std::to_string(dh));
    const SourceImage src = test::RandomSource(sw, sh, unsigned(sw * 31 + dh), opaque);
    const ConvertedImage out = ConvertImage(src, matrix, dw, dh);
    const auto converted = ConvertedReference(src, matrix);
    ASSERT_EQ(out.width(), dw);
    ASSERT_EQ(out.height(), dh);
    const auto wx = AxisWeights(sw, dw), wy = AxisWeights(sh, dh);
    int maxDiff = 0;
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x)
            for (int c = 0; c < 3; ++c) {
                double v = 0;
                for (int j = 0; j < sh; ++j) {
                    if (wy[y][j] == 0) continue;
                    for (int i = 0; i < sw; ++i) v += wy[y][j] * wx[x][i] * converted[std::size_t(j * sw + i)][std::size_t(c)];
                }
                maxDiff = std::max(maxDiff, std::abs(int(std::lround(v)) - out.row(y)[3 * x + c]));
            }
    // Fixed-point weights: every value within 1 of the exact result.
    EXPECT_LE(maxDiff, 1);
}

TEST(Conversion, StretchingMatchesAreaAverageAndBilinearReferences) {
    ExpectStretchMatchesReference(40, 30, 16, 8);    // both shrink
    ExpectStretchMatchesReference(13, 7, 32, 16);    // both grow
    ExpectStretchMatchesReference(50, 6, 32, 16);    // x shrinks, y grows
    ExpectStretchMatchesReference(3, 61, 4, 64);     // x grows, y shrinks little
    ExpectStretchMatchesReference(1, 1, 2, 2);
    ExpectStretchMatchesReference(300, 200, 256, 256);  // the threaded path
    // Through matrices (some channels zero everywhere), with translucent pixels.
    ExpectStretchMatchesReference(40, 30, 64, 16, false, FullColourMatrix(Eye::Left));
    ExpectStretchMatchesReference(40, 30, 16, 64, true, FullColourMatrix(Eye::Right));
    ExpectStretchMatchesReference(33, 9, 64, 8, false, SelectBlendMatrix(Monochromatic, Eye::Right, {}));
}

TEST(Conversion, PreviewOfAFlatImageStaysFlat) {
    const SourceImage src = test::MakeSource(301, 77, [](int, int, std::uint8_t* p) {
        p[0] = 11, p[1] = 22, p[2] = 33, p[3] = 255;
    });
    ConvertedImage preview;
    ASSERT_TRUE(MakePreviewImage(src, Params(7, Eye::Left), 256, preview).ok());
    ASSERT_EQ(preview.width(), 256);
    ASSERT_EQ(preview.height(), 128);
    for (int y = 0; y < preview.height(); ++y)
        for (int x = 0; x < preview.width(); ++x) {
            const std::uint8_t* p = preview.row(y) + 3 * x;
            ASSERT_TRUE(p[0] == 11 && p[1] == 22 && p[2] == 33) << x << "," << y;
        }
}

}  // namespace
}  // namespace bistrope
