// The full-resolution anaglyph on small asymmetric images, against expectations worked
// out here: exact copies where the geometry is whole-pixel, a double-precision bicubic
// reference elsewhere.
#include "engine/render.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <tuple>


namespace bistrope {
namespace {

// A converted image with random values in the given channels (bit 0 blue), zero elsewhere.
ConvertedImage Converted(int w, int h, unsigned channels, unsigned seed) {
    std::mt19937 rng(seed);
    ConvertedImage img = ConvertedImage::Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) img.row(y)[3 * x + c] = (channels >> c) & 1 ? std::uint8_t(rng()) : 0;
    return img;
}

int Byte(const ConvertedImage& img, int x, int y, int c) { return img.row(y)[3 * x + c]; }

// Renders both ways, into a new image and into a copy of R itself, and checks that they
// agree to the byte, row padding included.
ConvertedImage RenderBothWays(const ConvertedImage& L, const ConvertedImage& R, const OutputRect& rect,
                              const Alignment& a) {
    ConvertedImage out, inPlace = R.Clone();
    EXPECT_TRUE(RenderAnaglyph(L, R, rect, a, out).ok());
    EXPECT_TRUE(RenderAnaglyphInPlace(L, inPlace, rect, a).ok());
    EXPECT_EQ(std::tuple(inPlace.width(), inPlace.height(), inPlace.stride()),
              std::tuple(out.width(), out.height(), out.stride()));
    if (inPlace.sizeBytes() == out.sizeBytes()) {
        EXPECT_EQ(0, std::memcmp(inPlace.data(), out.data(), out.sizeBytes())) << "in place";
    }
    return out;
}

double Keys(double x) {
    x = std::fabs(x);
    if (x <= 1) return 1.5 * x * x * x - 2.5 * x * x + 1;
    if (x < 2) return -0.5 * x * x * x + 2.5 * x * x - 4 * x + 2;
    return 0;
}

// The red value the left layer should have at output pixel (x, y), straight from the
// documented geometry in double precision.
double ReferenceRed(const ConvertedImage& L, const ConvertedImage& R, const OutputRect& rect, const Alignment& a, int x,
                    int y) {
    const double wL = L.width(), hL = L.height(), wR = R.width(), hR = R.height();
    const double xR = std::trunc(rect.left + wR / 2), yR = std::trunc(hR / 2 - rect.bottom);
    // Output pixel centre relative to the left image's centre (y down), turned back.
    const double dx = xR + x + 0.5 - wR / 2 - a.offsetX, dy = yR + y + 0.5 - hR / 2 - a.offsetY;
    const double t = a.rotation * M_PI / 180;
    const double u = std::cos(t) * dx + std::sin(t) * dy + wL / 2 - 0.5;
    const double v = -std::sin(t) * dx + std::cos(t) * dy + hL / 2 - 0.5;
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
        const ConvertedImage L = Converted(c.wl, c.hl, 7, 3), R = Converted(c.wr, c.hr, 7, 4);
        const Alignment a{c.ox, c.oy, 0.0};
        const OutputRect rect = ComputeOutputRect(ImageSize{c.wl, c.hl}, ImageSize{c.wr, c.hr}, a);
        const ConvertedImage out = RenderBothWays(L, R, rect, a);
        ASSERT_EQ(std::make_pair(std::int64_t(out.width()), std::int64_t(out.height())), std::make_pair(rect.Width(), rect.Height()));
        const int xR = int(std::trunc(rect.left + c.wr / 2.0)), yR = int(std::trunc(c.hr / 2.0 - rect.bottom));
        // Left pixel under right pixel (xr, yr): shifted by the centres' difference and the
        // offset; every byte of the two is merged with a bitwise OR.
        const int shiftX = (c.wl - c.wr) / 2 - int(c.ox), shiftY = (c.hl - c.hr) / 2 - int(c.oy);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                for (int ch = 0; ch < 3; ++ch)
                    ASSERT_EQ(Byte(out, x, y, ch), Byte(R, xR + x, yR + y, ch) | Byte(L, xR + x + shiftX, yR + y + shiftY, ch))
                        << x << "," << y;
    }
}

TEST(Render, RotatedAndFractionalMatchesTheBicubicReference) {
    const ConvertedImage L = Converted(61, 47, 4, 8), R = Converted(64, 48, 3, 9);
    // The last two render the whole right image, more than a pixel past the left one's
    // edges, at offsets that leave no doubt which points are outside; in the last every
    // sample falls on a pixel centre, so it is the reference exactly, edges included.
    for (const Alignment a : {Alignment{2.25, -1.5, 3.7}, Alignment{-0.5, 0.75, -12.0}, Alignment{-3.25, 2.5, 0.0},
                              Alignment{-3.5, 2.5, 0.0}}) {
        SCOPED_TRACE(testing::Message() << a.offsetX << "," << a.offsetY << " rot " << a.rotation);
        const OutputRect rect = a.rotation == 0.0 ? OutputRect{-32, -24, 32, 24}
                                                  : ComputeOutputRect(ImageSize{61, 47}, ImageSize{64, 48}, a);
        const ConvertedImage out = RenderBothWays(L, R, rect, a);
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
        EXPECT_LE(maxDiff, a.offsetX == -3.5 ? 0 : 2);
        EXPECT_LE(overOne, total / 50);
    }
}

// Where both eyes write a channel (custom matrices), the resampled left layer is ORed into
// the right one's value.
TEST(Render, TheLeftLayerIsOredIntoAChannelTheRightOneAlsoWrites) {
    const ConvertedImage L = Converted(61, 47, 4, 8), R = Converted(64, 48, 7, 9);
    ConvertedImage noRed = Converted(64, 48, 7, 9), out, leftOnly;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) noRed.row(y)[3 * x + 2] = 0;
    const Alignment a{2.25, -1.5, 3.7};
    const OutputRect rect = ComputeOutputRect(ImageSize{61, 47}, ImageSize{64, 48}, a);
    ASSERT_TRUE(RenderAnaglyph(L, R, rect, a, out).ok() && RenderAnaglyph(L, noRed, rect, a, leftOnly).ok());
    const int xR = int(std::trunc(rect.left + 32.0)), yR = int(std::trunc(24.0 - rect.bottom));
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) ASSERT_EQ(Byte(out, x, y, 2), Byte(R, xR + x, yR + y, 2) | Byte(leftOnly, x, y, 2));
}

TEST(Render, PreconditionFailuresAreErrorsAndLeaveTheResult) {
    const ConvertedImage L = Converted(10, 10, 4, 1), R = Converted(10, 10, 3, 2);
    ConvertedImage out = ConvertedImage::Create(3, 3);
    const std::uint8_t* before = out.data();
    std::vector<int> reports;
    auto record = [&](int p) { reports.push_back(p); };
    const OutputRect all{-5, -5, 5, 5};
    EXPECT_EQ(RenderAnaglyph(L, R, OutputRect{3, -2, 2, 2}, Alignment{}, out, record).code, ErrorCode::EmptyOutput);
    EXPECT_TRUE(reports.empty());  // nothing started
    EXPECT_EQ(RenderAnaglyph(ConvertedImage(), R, all, Alignment{}, out).code, ErrorCode::NoImage);
    EXPECT_EQ(RenderAnaglyph(L, ConvertedImage(), all, Alignment{}, out).code, ErrorCode::NoImage);
    EXPECT_EQ(RenderAnaglyph(nullptr, nullptr, all, Alignment{}, out).code, ErrorCode::NoImage);
    for (const OutputRect outside : {OutputRect{-5, -5, 6, 5}, OutputRect{-5, -6, 5, 5}, OutputRect{-6, -5, 5, 5}})
        EXPECT_EQ(RenderAnaglyph(L, R, outside, Alignment{}, out).code, ErrorCode::InvalidArgument);
    EXPECT_EQ(RenderAnaglyph(L, R, all, Alignment{NAN, 0, 0}, out).code, ErrorCode::InvalidArgument);
    EXPECT_EQ(out.data(), before);
    // Rendering in place refuses the same and leaves the right image as it was.
    ConvertedImage canvas = R.Clone();
    EXPECT_EQ(RenderAnaglyphInPlace(L, canvas, OutputRect{-5, -5, 6, 5}, Alignment{}).code, ErrorCode::InvalidArgument);
    EXPECT_EQ(RenderAnaglyphInPlace(ConvertedImage(), canvas, all, Alignment{}).code, ErrorCode::NoImage);
    EXPECT_TRUE(canvas.width() == 10 && std::memcmp(canvas.data(), R.data(), R.sizeBytes()) == 0);
    // The right image is asked for before the left one, and progress follows the save.
    std::vector<char> order;
    ASSERT_TRUE(RenderAnaglyph([&] { order.push_back('R'); return &R; }, [&] { order.push_back('L'); return &L; },
                               all, Alignment{}, out, record)
                    .ok());
    EXPECT_EQ(order, (std::vector<char>{'R', 'L'}));
    EXPECT_EQ(reports, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 80, 90, 100}));
}

}  // namespace
}  // namespace bistrope
