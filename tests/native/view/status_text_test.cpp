#include "view/status_text.h"

#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "view/frame_benchmark.h"

namespace bistrope {
namespace {

TEST(StatusText, ZoomOutputOffsetAndRotationTexts) {
    EXPECT_EQ(ZoomStatusText(0.6666666666666666), L" Zoom: 67%");
    // Ties round to even on the exact binary value, as the C library does on both systems.
    EXPECT_EQ(ZoomStatusText(0.125), L" Zoom: 12%");
    EXPECT_EQ(ZoomStatusText(0.375), L" Zoom: 38%");
    EXPECT_EQ(OutputStatusText({-2, -1, 2, 1}), L" Output image 4x2");
    EXPECT_EQ(OutputStatusText({-1350, 10, 1350, -10}), L"  No output image");  // bottom < top
    EXPECT_EQ(OutputStatusText({400, -5, 400, 5}), L"  No output image");       // width 0
    EXPECT_EQ(OutputStatusText({INT_MIN, INT_MIN, INT_MAX, INT_MAX}), L" Output image 4294967295x4294967295");
    EXPECT_EQ(OffsetStatusText(500.00000000001, 1.0 / 3), L" offset: 500.00,0.33");
    EXPECT_EQ(RotationStatusText(0.125), L" rotation: 0.12");
    EXPECT_EQ(RotationStatusText(0.375), L" rotation: 0.38");
    const std::wstring longText = FormatWide("%300.1f|", 1.0);  // not cut
    EXPECT_EQ(std::pair(longText.size(), longText.substr(297)), std::pair(std::size_t(301), std::wstring(L"1.0|")));
}

TEST(StatusText, PanesOneToFourOfAnEmptyViewAndOfAnAlignedPair) {
    EXPECT_EQ(StatusPaneTexts(1.0, {}, {}),
              (std::array<std::wstring, 4>{L" Zoom: 100%", L"  No output image", L" offset: 0.00,0.00", L" rotation: 0.00"}));
    EXPECT_EQ(StatusPaneTexts(0.5480929698869053, {-1818, -1202, 1818, 1202}, {12.5, -3.0, -20.0}),
              (std::array<std::wstring, 4>{L" Zoom: 55%", L" Output image 3636x2404", L" offset: 12.50,-3.00",
                                           L" rotation: -20.00"}));
}

TEST(FrameBenchmark, RateFromTheElapsedTicks) {
    EXPECT_EQ(FrameRateText(1000, 3500), L"Time: 2000.000fps");
    // The tick counter wraps after 49.7 days; the unsigned difference still holds.
    EXPECT_EQ(FrameRateText(0xFFFFF000u, 0xFFFFF000u + 2500u), L"Time: 2000.000fps");
    EXPECT_EQ(FrameRateText(0, 3), L"Time: 1666666.667fps");
    EXPECT_FALSE(FrameRate(42, 42).has_value());
}

TEST(FrameBenchmark, RunRendersFiveThousandFramesAndKeepsTheMove) {
    for (auto [start, end, text] :
         {std::tuple{1000u, 3500u, std::wstring(L"Time: 2000.000fps")},
          std::tuple{77u, 77u, std::wstring(L"Time: 5000 frames in less than one clock tick, too short to measure")}}) {
        Alignment alignment{-20, 4, 3};
        int renders = 0;
        std::vector<std::uint32_t> ticks{start, end};
        size_t tickCalls = 0;
        const auto render = [&] {
            EXPECT_EQ(tickCalls, 1u);  // every frame between the two clock reads
            ++renders;
        };
        EXPECT_EQ(RunFrameBenchmark(alignment, render, [&] { return ticks.at(tickCalls++); }), text);
        EXPECT_EQ(std::tuple(renders, tickCalls), std::tuple(5000, size_t(2)));
        EXPECT_EQ(std::tuple(alignment.offsetY, alignment.rotation), std::tuple(4.0, 3.0));
        EXPECT_NEAR(alignment.offsetX, 480.0, 1e-9);
    }
}

}  // namespace
}  // namespace bistrope
