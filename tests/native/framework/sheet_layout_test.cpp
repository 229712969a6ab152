// The tree property sheet's page area and the places of its parts.
#include <gtest/gtest.h>

#include "framework/sheet_layout.h"

using namespace TWIG4;

namespace {

TEST(SheetPageArea, TakesTheLargestWidthAndTheLargestHeightSeparately) {
    const LayoutRect pages[] = {{0, 0, 100, 400}, {0, 0, 0, 0}, {0, 0, 500, 10}};
    EXPECT_EQ(SheetPageArea(pages, 3), (LayoutSize{500, 400}));
    EXPECT_EQ(SheetPageArea(pages, 2), (LayoutSize{100, 400}));
    EXPECT_EQ(SheetPageArea(nullptr, 0), (LayoutSize{0, 0}));
}

TEST(SheetPlacement, PageRectWindowRectAndChildren) {
    const LayoutSize area{321, 200};
    const LayoutRect page = SheetPageRect(area, kSheetTreeWidth);
    EXPECT_EQ(page, (LayoutRect{200, 0, 521, 200}));

    // Client 521 x 248 plus borders of 3 and a caption of 23: 527 x 277.
    const SheetFrameMetrics frame{3, 3, 23};
    EXPECT_EQ(SheetWindowRect(area, 200, 48, nullptr, frame), (LayoutRect{0, 0, 527, 277}));
    // Centred: each half truncated on its own, 1200 / 2 - 527 / 2 and 800 / 2 - 277 / 2.
    const LayoutRect parent{100, 100, 1100, 700};
    EXPECT_EQ(SheetWindowRect(area, 200, 48, &parent, frame), (LayoutRect{337, 262, 864, 539}));
    const LayoutRect offscreen{-1001, -601, 0, 0};
    EXPECT_EQ(SheetWindowRect({0, 0}, 1, 0, &offscreen, SheetFrameMetrics{}).left, -500);

    const SheetChildLayout k = SheetChildren({0, 0, 520, 248}, page, kSheetTreeWidth);
    EXPECT_EQ(k.ok, (LayoutRect{354, 213, 429, 236}));
    EXPECT_EQ(k.cancel, (LayoutRect{433, 213, 508, 236}));
    EXPECT_EQ(k.tree, (LayoutRect{6, 6, 194, 202}));
    EXPECT_EQ(k.lineFrom, (LayoutPoint{200, 201}));
    EXPECT_EQ(k.lineTo, (LayoutPoint{508, 201}));
}

}  // namespace
