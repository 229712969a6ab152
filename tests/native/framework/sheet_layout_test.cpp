// The tree property sheet's page area and the places of its parts.
#include <gtest/gtest.h>

#include "framework/sheet_layout.h"

using namespace TWIG4;

namespace {

TEST(SheetPageArea, TakesTheLargestWidthAndTheLargestHeightSeparately) {
    const LayoutRect pages[] = {{0, 0, 300, 200}, {0, 0, 300, 200}, {0, 0, 320, 150}};
    EXPECT_EQ(SheetPageArea(pages, 3), (LayoutSize{320, 200}));
    const LayoutRect crossed[] = {{0, 0, 100, 400}, {0, 0, 500, 10}};
    EXPECT_EQ(SheetPageArea(crossed, 2), (LayoutSize{500, 400}));
}

TEST(SheetPageArea, EmptyOrFailedPagesGiveNothing) {
    EXPECT_EQ(SheetPageArea(nullptr, 0), (LayoutSize{0, 0}));
    const LayoutRect failed[] = {{0, 0, 0, 0}, {0, 0, 250, 120}};
    EXPECT_EQ(SheetPageArea(failed, 2), (LayoutSize{250, 120}));
}

TEST(SheetPlacement, PageRectWindowRectAndChildren) {
    const LayoutSize area{320, 200};
    const LayoutRect page = SheetPageRect(area, kSheetTreeWidth);
    EXPECT_EQ(page, (LayoutRect{200, 0, 520, 200}));

    const SheetFrameMetrics frame{3, 3, 23};
    // Not centred: at the origin, still with the frame around the client area.
    EXPECT_EQ(SheetWindowRect(area, 200, 48, nullptr, frame), (LayoutRect{0, 0, 526, 277}));

    // Centred over a parent at (100, 100) sized 1001 x 601: outer 526 x 277.
    const LayoutRect parent{100, 100, 1101, 701};
    const LayoutRect centred = SheetWindowRect(area, 200, 48, &parent, frame);
    EXPECT_EQ(centred, (LayoutRect{600 - 263, 400 - 138, 600 - 263 + 526, 400 - 138 + 277}));

    // Halving truncates toward zero, also left of the screen's origin.
    const LayoutRect offscreen{-1001, -601, -1, -1};
    const LayoutRect c2 = SheetWindowRect({0, 0}, 1, 0, &offscreen, SheetFrameMetrics{});
    EXPECT_EQ(c2.left, -501);
    EXPECT_EQ(c2.top, -301);

    const SheetChildLayout k = SheetChildren({0, 0, 520, 248}, page, kSheetTreeWidth);
    EXPECT_EQ(k.ok, (LayoutRect{354, 213, 429, 236}));
    EXPECT_EQ(k.cancel, (LayoutRect{433, 213, 508, 236}));
    EXPECT_EQ(k.tree, (LayoutRect{6, 6, 194, 202}));
    EXPECT_EQ(k.lineFrom, (LayoutPoint{200, 201}));
    EXPECT_EQ(k.lineTo, (LayoutPoint{508, 201}));
}

}  // namespace
