// The full-resolution anaglyph on small asymmetric images, against expectations worked
// out here: exact copies where the geometry is whole-pixel, a double-precision bicubic
// reference elsewhere.
#include "engine/render.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/convert.h"
#include "test_files.h"

namespace bistrope {
namespace {

// A converted image whose channel values come from fill(x, y) -> {b, g, r}.
ConvertedImage MakeConverted(int w, int h, const std::function<std::array<int, 3>(int, int)>& fill) {
    ConvertedImage img = ConvertedImage::Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto v = fill(x, y);
            for (int c = 0; c < 3; ++c) img.row(y)[3 * x + c] = std::uint8_t(v[std::size_t(c)]);
        }
    return img;
}

ConvertedImage RandomRed(int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    return MakeConverted(w, h, [&](int, int) { return std::array<int, 3>{0, 0, int(rng() & 255)}; });
}

ConvertedImage RandomCyan(int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    return MakeConverted(w, h, [&](int, int) { return std::array<int, 3>{int(rng() & 255), int(rng() & 255), 0}; });
}

int Byte(const ConvertedImage& img, int x, int y, int c) { return img.row(y)[3 * x + c]; }

double Keys(double x) {
    x = std::fabs(x);
    const double a = -0.5;
    if (x <= 1) return (a + 2) * x * x * x - (a + 3) * x * x + 1;
    if (x < 2) return a * x * x * x - 5 * a * x * x + 8 * a * x - 4 * a;
    return 0;
}

// The red value the left layer should have at output pixel (x, y), straight from the
// documented geometry in double precision.
double ReferenceRed(const ConvertedImage& L, const ConvertedImage& R, const OutputRect& rect, const Alignment& a, int x,
                    int y) {
    const double wL = L.width(), hL = L.height(), wR = R.width(), hR = R.height();
    const double xR = std::trunc(rect.left + wR / 2), yR = std::trunc(hR / 2 - rect.bottom);
    // Centre of the output pixel in the alignment frame (y up), then in the left image's
    // own frame (centre at the origin, y down) before its rotation.
    const double fx = xR + x + 0.5 - wR / 2, fy = -(yR + y + 0.5 - hR / 2);
    const double dx = fx - a.offsetX, dy = -fy - a.offsetY;  // y down, relative to left centre
    const double t = a.rotation * M_PI / 180;
    const double ux = std::cos(t) * dx + std::sin(t) * dy, uy = -std::sin(t) * dx + std::cos(t) * dy;
    const double u = ux + wL / 2 - 0.5, v = uy + hL / 2 - 0.5;
    if (u < -1.5 || v < -1.5 || u >= wL + 0.5 || v >= hL + 0.5) return 0;
    const int iu = int(std::floor(u)), iv = int(std::floor(v));
    double sum = 0;
    for (int j = -1; j <= 2; ++j)
        for (int i = -1; i <= 2; ++i) {
            const int cx = std::clamp(iu + i, 0, L.width() - 1), cy = std::clamp(iv + j, 0, L.height() - 1);
            sum += Keys(u - (iu + i)) * Keys(v - (iv + j)) * Byte(L, cx, cy, 2);
        }
    return std::clamp(sum, 0.0, 255.0);
}

TEST(Render, WholeNumberOffsetsAtRotationZeroCopyPixelsExactly) {
    // Same parity of sides in both images, so pixel centres of the two eyes coincide.
    const struct {
        int wl, hl, wr, hr;
        double ox, oy;
    } cases[] = {{31, 17, 41, 27, 3, -2}, {30, 16, 40, 26, -4, 5}, {40, 26, 30, 16, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.wl << "x" << c.hl << " over " << c.wr << "x" << c.hr);
        const ConvertedImage L = RandomRed(c.wl, c.hl, 3), R = RandomCyan(c.wr, c.hr, 4);
        const Alignment a{c.ox, c.oy, 0.0};
        const OutputRect rect = ComputeOutputRect(ImageSize{c.wl, c.hl}, ImageSize{c.wr, c.hr}, a);
        ConvertedImage out;
        ASSERT_TRUE(RenderAnaglyph(L, R, rect, a, out).ok());
        ASSERT_EQ(out.width(), rect.Width());
        ASSERT_EQ(out.height(), rect.Height());
        const int xR = int(std::trunc(rect.left + c.wr / 2.0)), yR = int(std::trunc(c.hr / 2.0 - rect.bottom));
        // Left pixel under right pixel (xr, yr): shifted by the centres' difference and the offset.
        const int shiftX = (c.wl - c.wr) / 2 - int(c.ox), shiftY = (c.hl - c.hr) / 2 - int(c.oy);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                ASSERT_EQ(Byte(out, x, y, 0), Byte(R, xR + x, yR + y, 0)) << x << "," << y;
                ASSERT_EQ(Byte(out, x, y, 1), Byte(R, xR + x, yR + y, 1)) << x << "," << y;
                ASSERT_EQ(Byte(out, x, y, 2), Byte(L, xR + x + shiftX, yR + y + shiftY, 2)) << x << "," << y;
            }
    }
}

TEST(Render, OffsetsMoveTheLeftImageRightAndDown) {
    // A single bright left pixel; offsetX = +2 moves it two columns right, offsetY = +3
    // three rows down (offsetY is positive downwards on screen).
    const ConvertedImage L = MakeConverted(21, 15, [](int x, int y) {
        return std::array<int, 3>{0, 0, x == 10 && y == 7 ? 255 : 0};
    });
    const ConvertedImage R = MakeConverted(21, 15, [](int, int) { return std::array<int, 3>{0, 0, 0}; });
    const Alignment a{2.0, 3.0, 0.0};
    const OutputRect rect{-10, -7, 10, 7};  // the whole right image but its last row/column
    ConvertedImage out;
    ASSERT_TRUE(RenderAnaglyph(L, R, rect, a, out).ok());
    // Right crop origin: (trunc(-10 + 10.5), trunc(7.5 - 7)) = (0, 0).
    EXPECT_EQ(Byte(out, 12, 10, 2), 255);
    int lit = 0;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) lit += Byte(out, x, y, 2) != 0;
    EXPECT_EQ(lit, 1);
}

TEST(Render, PositiveRotationTurnsClockwiseOnScreen) {
    // A bright pixel 5 columns right of the centre ends 5 rows below it at +90 degrees
    // and 5 rows above it at -90 degrees.
    const ConvertedImage L = MakeConverted(21, 21, [](int x, int y) {
        return std::array<int, 3>{0, 0, x == 15 && y == 10 ? 255 : 0};
    });
    const ConvertedImage R = MakeConverted(21, 21, [](int, int) { return std::array<int, 3>{0, 0, 0}; });
    const OutputRect rect{-10, -10, 10, 10};
    for (double angle : {90.0, -90.0}) {
        ConvertedImage out;
        ASSERT_TRUE(RenderAnaglyph(L, R, rect, Alignment{0, 0, angle}, out).ok());
        const int expectY = angle > 0 ? 15 : 5;
        EXPECT_EQ(Byte(out, 10, expectY, 2), 255) << angle;
        EXPECT_EQ(Byte(out, 15, 10, 2), 0) << angle;
        EXPECT_EQ(Byte(out, 10, 20 - expectY, 2), 0) << angle;
    }
}

TEST(Render, RotatedAndFractionalMatchesTheBicubicReference) {
    const ConvertedImage L = RandomRed(61, 47, 8), R = RandomCyan(64, 48, 9);
    for (const Alignment a : {Alignment{2.25, -1.5, 3.7}, Alignment{-0.5, 0.75, -12.0}, Alignment{0.5, 0.0, 0.0}}) {
        SCOPED_TRACE(testing::Message() << a.offsetX << "," << a.offsetY << " rot " << a.rotation);
        const OutputRect rect = ComputeOutputRect(ImageSize{61, 47}, ImageSize{64, 48}, a);
        ConvertedImage out;
        ASSERT_TRUE(RenderAnaglyph(L, R, rect, a, out).ok());
        ASSERT_EQ(out.width(), rect.Width());
        ASSERT_EQ(out.height(), rect.Height());
        const int xR = int(std::trunc(rect.left + 32.0)), yR = int(std::trunc(24.0 - rect.bottom));
        int maxDiff = 0, overOne = 0, total = 0;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                ASSERT_EQ(Byte(out, x, y, 0), Byte(R, xR + x, yR + y, 0));
                ASSERT_EQ(Byte(out, x, y, 1), Byte(R, xR + x, yR + y, 1));
                const int d = std::abs(Byte(out, x, y, 2) - int(std::lround(ReferenceRed(L, R, rect, a, x, y))));
                maxDiff = std::max(maxDiff, d);
                overOne += d > 1;
                ++total;
            }
        // Sample positions are quantised to 1/256 pixel: on random noise every value is
        // within 2 of the exact result and at most 2 % of them differ by more than 1.
        EXPECT_LE(maxDiff, 2);
        EXPECT_LE(overOne, total / 50);
    }
}

TEST(Render, LayersAreMergedWithBitwiseOr) {
    // A stored custom left matrix that writes a constant 0x80 into green: its green is ORed
    // with the right eye's green.
    CustomMatrices custom{FullColourMatrix(Eye::Left), FullColourMatrix(Eye::Right)};
    custom.left.at(4, 1) = 128.0f / 255.0f;
    ConversionParams leftParams{CustomColour, Eye::Left, custom}, rightParams{CustomColour, Eye::Right, custom};
    for (int rightGreen : {0x40, 0x80}) {
        const SourceImage src = test::MakeSource(8, 6, [&](int, int, std::uint8_t* p) {
            p[0] = 0x11, p[1] = std::uint8_t(rightGreen), p[2] = 0x22, p[3] = 255;
        });
        ConvertedImage left, right, out;
        ASSERT_TRUE(MakeOutputImage(src, leftParams, left).ok());
        ASSERT_TRUE(MakeOutputImage(src, rightParams, right).ok());
        ASSERT_TRUE(RenderAnaglyph(left, right, OutputRect{-4, -3, 4, 3}, Alignment{}, out).ok());
        EXPECT_EQ(Byte(out, 3, 2, 1), 0x80 | rightGreen);  // 0xC0, then 0x80
        EXPECT_EQ(Byte(out, 3, 2, 0), 0x11);
        EXPECT_EQ(Byte(out, 3, 2, 2), 0x22);
    }
}

TEST(Render, IdenticalFullColourPairGivesTheSourceBack) {
    const SourceImage src = test::RandomSource(40, 30, 21);
    ConvertedImage left, right, out;
    ASSERT_TRUE(MakeOutputImage(src, ConversionParams{FullColour, Eye::Left, {}}, left).ok());
    ASSERT_TRUE(MakeOutputImage(src, ConversionParams{FullColour, Eye::Right, {}}, right).ok());
    const OutputRect rect = ComputeOutputRect(ImageSize{40, 30}, ImageSize{40, 30}, Alignment{});
    ASSERT_TRUE(RenderAnaglyph(left, right, rect, Alignment{}, out).ok());
    ASSERT_EQ(out.width(), 40);
    ASSERT_EQ(out.height(), 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            for (int c = 0; c < 3; ++c) ASSERT_EQ(Byte(out, x, y, c), src.row(y)[4 * x + c]);
}

TEST(Render, ProgressInTheOrderOfTheSave) {
    const ConvertedImage L = RandomRed(10, 10, 1), R = RandomCyan(10, 10, 2);
    std::vector<int> reports;
    ConvertedImage out;
    ASSERT_TRUE(RenderAnaglyph(L, R, OutputRect{-5, -5, 5, 5}, Alignment{}, out, [&](int p) { reports.push_back(p); }).ok());
    EXPECT_EQ(reports, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 80, 90, 100}));
}

TEST(Render, PreconditionFailuresAreErrorsAndLeaveTheResult) {
    const ConvertedImage L = RandomRed(10, 10, 1), R = RandomCyan(10, 10, 2);
    ConvertedImage out = ConvertedImage::Create(3, 3);
    const std::uint8_t* before = out.data();
    std::vector<int> reports;
    auto record = [&](int p) { reports.push_back(p); };
    EXPECT_EQ(RenderAnaglyph(L, R, OutputRect{0, 0, 0, 0}, Alignment{}, out, record).code, ErrorCode::EmptyOutput);
    EXPECT_EQ(RenderAnaglyph(L, R, OutputRect{3, -2, 2, 2}, Alignment{}, out, record).code, ErrorCode::EmptyOutput);
    EXPECT_TRUE(reports.empty());  // nothing started
    EXPECT_EQ(RenderAnaglyph(ConvertedImage(), R, OutputRect{-5, -5, 5, 5}, Alignment{}, out).code, ErrorCode::NoImage);
    EXPECT_EQ(RenderAnaglyph(L, ConvertedImage(), OutputRect{-5, -5, 5, 5}, Alignment{}, out).code, ErrorCode::NoImage);
    EXPECT_EQ(RenderAnaglyph(nullptr, nullptr, OutputRect{-5, -5, 5, 5}, Alignment{}, out).code, ErrorCode::NoImage);
    EXPECT_EQ(RenderAnaglyph(L, R, OutputRect{-5, -5, 6, 5}, Alignment{}, out).code, ErrorCode::InvalidArgument);
    EXPECT_EQ(RenderAnaglyph(L, R, OutputRect{-5, -5, 5, 5}, Alignment{NAN, 0, 0}, out).code, ErrorCode::InvalidArgument);
    EXPECT_EQ(out.data(), before);
    // The right image is asked for before the left one, as in the save.
    std::vector<char> order;
    ASSERT_TRUE(RenderAnaglyph([&] { order.push_back('R'); return &R; }, [&] { order.push_back('L'); return &L; },
                               OutputRect{-5, -5, 5, 5}, Alignment{}, out)
                    .ok());
    EXPECT_EQ(order, (std::vector<char>{'R', 'L'}));
}

}  // namespace
}  // namespace bistrope
