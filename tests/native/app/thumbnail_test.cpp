// The slot thumbnail: area-averaged scaling over the slot's background.
#include "app/thumbnail.h"

#include <gtest/gtest.h>

#include <cmath>

namespace bistrope {
namespace {

constexpr Bgr kBackground{242, 252, 254};

void Put(SourceImage& img, int x, int y, std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a = 255) {
    std::uint8_t* p = img.row(y) + 4 * x;
    p[0] = b;
    p[1] = g;
    p[2] = r;
    p[3] = a;
}

void ExpectPixel(const SourceImage& img, int x, int y, int b, int g, int r, int tolerance = 0) {
    const std::uint8_t* p = img.row(y) + 4 * x;
    EXPECT_NEAR(p[0], b, tolerance) << "blue at " << x << "," << y;
    EXPECT_NEAR(p[1], g, tolerance) << "green at " << x << "," << y;
    EXPECT_NEAR(p[2], r, tolerance) << "red at " << x << "," << y;
    EXPECT_EQ(p[3], 255) << "alpha at " << x << "," << y;
}

TEST(Thumbnail, HalvingAveragesBlocksWithoutBleeding) {
    SourceImage src = SourceImage::Create(4, 2);
    for (int y = 0; y < 2; ++y) {
        Put(src, 0, y, 0, 0, 200);
        Put(src, 1, y, 0, 0, 100);  // red block averages to 150
        Put(src, 2, y, 60, 0, 0);
        Put(src, 3, y, 20, 0, 0);  // blue block averages to 40
    }
    const SourceImage t = MakeThumbnail(src, 2, 1, kBackground);
    ASSERT_EQ(t.width(), 2);
    ASSERT_EQ(t.height(), 1);
    ExpectPixel(t, 0, 0, 0, 0, 150);
    ExpectPixel(t, 1, 0, 40, 0, 0);
}

TEST(Thumbnail, FractionalFootprintsWeighByCoverage) {
    // 3 -> 2: footprints [0, 1.5) and [1.5, 3).
    SourceImage src = SourceImage::Create(3, 1);
    Put(src, 0, 0, 0, 0, 0);
    Put(src, 1, 0, 90, 90, 90);
    Put(src, 2, 0, 180, 180, 180);
    const SourceImage t = MakeThumbnail(src, 2, 1, kBackground);
    ExpectPixel(t, 0, 0, 30, 30, 30);    // (0 + 0.5 * 90) / 1.5
    ExpectPixel(t, 1, 0, 150, 150, 150);  // (0.5 * 90 + 180) / 1.5
}

TEST(Thumbnail, VerticalScaleIsIndependent) {
    SourceImage src = SourceImage::Create(1, 4);
    Put(src, 0, 0, 10, 10, 10);
    Put(src, 0, 1, 30, 30, 30);
    Put(src, 0, 2, 100, 100, 100);
    Put(src, 0, 3, 200, 200, 200);
    const SourceImage t = MakeThumbnail(src, 3, 2, kBackground);
    for (int x = 0; x < 3; ++x) {
        ExpectPixel(t, x, 0, 20, 20, 20);
        ExpectPixel(t, x, 1, 150, 150, 150);
    }
}

TEST(Thumbnail, EnlargingRepeatsPixels) {
    SourceImage src = SourceImage::Create(2, 1);
    Put(src, 0, 0, 1, 2, 3);
    Put(src, 1, 0, 200, 100, 50);
    const SourceImage t = MakeThumbnail(src, 4, 2, kBackground);
    for (int y = 0; y < 2; ++y) {
        ExpectPixel(t, 0, y, 1, 2, 3);
        ExpectPixel(t, 1, y, 1, 2, 3);
        ExpectPixel(t, 2, y, 200, 100, 50);
        ExpectPixel(t, 3, y, 200, 100, 50);
    }
}

TEST(Thumbnail, TransparencyShowsTheBackground) {
    SourceImage src = SourceImage::Create(2, 1);
    Put(src, 0, 0, 255, 255, 255, 0);    // fully transparent
    Put(src, 1, 0, 255, 255, 255, 128);  // half-covering white
    const SourceImage t = MakeThumbnail(src, 2, 1, kBackground);
    ExpectPixel(t, 0, 0, 242, 252, 254);
    const double a = 128.0 / 255.0;
    ExpectPixel(t, 1, 0, static_cast<int>(std::lround(255 * a + 242 * (1 - a))),
                static_cast<int>(std::lround(255 * a + 252 * (1 - a))),
                static_cast<int>(std::lround(255 * a + 254 * (1 - a))), 1);
}

TEST(Thumbnail, LargeShrinkOfAGradientStaysWithinOneLevelOfTheExactMean) {
    // 400 x 300 horizontal ramp r = x * 255 / 399 down to 190 x 142: each thumbnail column
    // is the mean of the ramp over its footprint, computed here in closed form.
    SourceImage src = SourceImage::Create(400, 300);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) Put(src, x, y, 0, 0, static_cast<std::uint8_t>(x * 255 / 399));
    const SourceImage t = MakeThumbnail(src, 190, 142, kBackground);
    ASSERT_EQ(t.width(), 190);
    ASSERT_EQ(t.height(), 142);
    const double scale = 400.0 / 190.0;
    for (int x = 0; x < 190; ++x) {
        const double a = x * scale, b = (x + 1) * scale;
        double sum = 0;
        for (int s = static_cast<int>(std::floor(a)); s < static_cast<int>(std::ceil(b)); ++s) {
            const double cover = std::min(b, s + 1.0) - std::max(a, double(s));
            sum += cover * (s * 255 / 399);
        }
        const double mean = sum / scale;
        for (int y : {0, 71, 141}) ExpectPixel(t, x, y, 0, 0, static_cast<int>(std::lround(mean)), 1);
    }
}

TEST(Thumbnail, EmptyInputsGiveEmptyResults) {
    EXPECT_TRUE(MakeThumbnail(SourceImage(), 10, 10, kBackground).empty());
    SourceImage src = SourceImage::Create(2, 2);
    EXPECT_TRUE(MakeThumbnail(src, 0, 10, kBackground).empty());
    EXPECT_TRUE(MakeThumbnail(src, 10, -1, kBackground).empty());
}

}  // namespace
}  // namespace bistrope
