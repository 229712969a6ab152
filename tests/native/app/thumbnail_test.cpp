// The slot thumbnail: area-averaged scaling over the slot's background.
#include "app/thumbnail.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace bistrope {
namespace {

constexpr Bgr kBackground{242, 252, 254};
using Pixel = std::array<int, 4>;  // b, g, r, a

SourceImage Picture(int w, int h, const std::vector<Pixel>& pixels) {
    SourceImage img = SourceImage::Create(w, h);
    for (int i = 0; i < w * h; ++i)
        for (int c = 0; c < 4; ++c) img.row(i / w)[4 * (i % w) + c] = static_cast<std::uint8_t>(pixels[i][c]);
    return img;
}

std::vector<Pixel> Pixels(const SourceImage& img) {
    std::vector<Pixel> out(std::size_t(img.width() * img.height()));
    for (int i = 0; i < int(out.size()); ++i)
        for (int c = 0; c < 4; ++c) out[i][c] = img.row(i / img.width())[4 * (i % img.width()) + c];
    return out;
}

struct Scaling {
    int w, h;
    std::vector<Pixel> source;
    int tw, th;
    std::vector<Pixel> expected;
};

class Thumbnail : public ::testing::TestWithParam<Scaling> {};

TEST_P(Thumbnail, AveragesTheFootprintOverTheBackground) {
    const Scaling& s = GetParam();
    EXPECT_EQ(Pixels(MakeThumbnail(Picture(s.w, s.h, s.source), s.tw, s.th, kBackground)), s.expected);
}

constexpr Pixel kRed200{0, 0, 200, 255}, kRed100{0, 0, 100, 255}, kBlue60{60, 0, 0, 255}, kBlue20{20, 0, 0, 255};
Pixel Grey(int v) { return {v, v, v, 255}; }

INSTANTIATE_TEST_SUITE_P(Cases, Thumbnail, ::testing::Values(
    // Halving without bleeding.
    Scaling{4, 2, {kRed200, kRed100, kBlue60, kBlue20, kRed200, kRed100, kBlue60, kBlue20},
            2, 1, {{0, 0, 150, 255}, {40, 0, 0, 255}}},
    // 3 -> 2: footprints [0, 1.5) and [1.5, 3), (0 + 0.5 * 90) / 1.5 and (0.5 * 90 + 180) / 1.5.
    Scaling{3, 1, {Grey(0), Grey(90), Grey(180)}, 2, 1, {Grey(30), Grey(150)}},
    // Independent vertical scale; enlarging repeats pixels.
    Scaling{1, 4, {Grey(10), Grey(30), Grey(100), Grey(200)}, 3, 2,
            {Grey(20), Grey(20), Grey(20), Grey(150), Grey(150), Grey(150)}},
    Scaling{2, 1, {{1, 2, 3, 255}, Grey(255)}, 4, 1, {{1, 2, 3, 255}, {1, 2, 3, 255}, Grey(255), Grey(255)}},
    // White at alpha 0 and 128: 255 * a + background * (1 - a).
    Scaling{2, 1, {{255, 255, 255, 0}, {255, 255, 255, 128}}, 2, 1,
            {{242, 252, 254, 255}, {249, 254, 255, 255}}}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(ThumbnailOf, EmptyInputsGiveEmptyResults) {
    EXPECT_TRUE(MakeThumbnail(SourceImage(), 10, 10, kBackground).empty());
    EXPECT_TRUE(MakeThumbnail(Picture(1, 1, {Grey(1)}), 0, 10, kBackground).empty());
    EXPECT_TRUE(MakeThumbnail(Picture(1, 1, {Grey(1)}), 10, -1, kBackground).empty());
}

}  // namespace
}  // namespace bistrope
