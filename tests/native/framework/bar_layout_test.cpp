// Docking, the rebar's tiled background and the toolbar's image-strip cells.
#include <gtest/gtest.h>

#include "framework/bar_layout.h"

using namespace TWIG4;

namespace {

const LayoutRect kClient{0, 0, 800, 600};

TEST(DockBar, PlacesEachOfTheFourSidesAndShrinksTheRest) {
    struct Case {
        unsigned style;
        LayoutRect placement;
        LayoutRect remaining;
    };
    const Case cases[] = {
        {0x80 | 0x3, {770, 0, 800, 600}, {0, 0, 770, 600}},  // vertical and bottom: right edge
        {0x80, {0, 0, 30, 600}, {30, 0, 800, 600}},           // vertical: left edge
        {0x3, {0, 570, 800, 600}, {0, 0, 800, 570}},          // bottom: bottom edge
        {0x0, {0, 0, 800, 30}, {0, 30, 800, 600}},            // neither: top edge
    };
    for (const Case& c : cases) {
        const DockResult d = DockBar(c.style, 30, kClient);
        EXPECT_EQ(d.placement, c.placement) << "style " << c.style;
        EXPECT_EQ(d.remaining, c.remaining) << "style " << c.style;
    }
}

TEST(DockBar, OnlyTheFullSideValueMeansBottom) {
    // 1 (top) and 2 (no vertical resize) are not the bottom side.
    EXPECT_EQ(DockBar(0x1, 10, kClient).placement, (LayoutRect{0, 0, 800, 10}));
    EXPECT_EQ(DockBar(0x2, 10, kClient).placement, (LayoutRect{0, 0, 800, 10}));
    EXPECT_EQ(DockBar(0x80 | 0x1, 10, kClient).placement, (LayoutRect{0, 0, 10, 600}));
}

TEST(DockBar, BarsTakeStripsInTurnAndTheClientGetsWhatIsBetween) {
    // A top rebar of 52 then a bottom status bar of 22.
    LayoutRect r{0, 0, 640, 480};
    const DockResult rebar = DockBar(0x0, 52, r);
    const DockResult status = DockBar(0x103, 22, rebar.remaining);
    EXPECT_EQ(rebar.placement, (LayoutRect{0, 0, 640, 52}));
    EXPECT_EQ(status.placement, (LayoutRect{0, 458, 640, 480}));
    EXPECT_EQ(status.remaining, (LayoutRect{0, 52, 640, 458}));
}

TEST(RebarBackground, TilesFromTheLeftEndAndCutsTheLastAtTheRightEnd) {
    const auto copies = RebarBackgroundCopies(0, 1000, 20, 30, 64);
    ASSERT_EQ(copies.size(), 2u + 15u);
    EXPECT_EQ(copies[0], (BackgroundCopy{BackgroundCopy::LeftEnd, 0, 20}));
    EXPECT_EQ(copies[1], (BackgroundCopy{BackgroundCopy::RightEnd, 970, 30}));
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(copies[2 + i], (BackgroundCopy{BackgroundCopy::Tile, 20 + 64 * i, 64})) << i;
    }
    EXPECT_EQ(copies[16], (BackgroundCopy{BackgroundCopy::Tile, 916, 54}));  // 916 + 54 = 970
}

TEST(RebarBackground, MissingBitmapsAreSkipped) {
    const auto onlyTile = RebarBackgroundCopies(0, 100, 0, 0, 40);
    ASSERT_EQ(onlyTile.size(), 3u);
    EXPECT_EQ(onlyTile[0], (BackgroundCopy{BackgroundCopy::Tile, 0, 40}));
    EXPECT_EQ(onlyTile[2], (BackgroundCopy{BackgroundCopy::Tile, 80, 20}));

    const auto noTile = RebarBackgroundCopies(0, 100, 10, 10, 0);
    ASSERT_EQ(noTile.size(), 2u);  // a zero-wide tile must not loop forever
    EXPECT_EQ(noTile[0].piece, BackgroundCopy::LeftEnd);
    EXPECT_EQ(noTile[1].piece, BackgroundCopy::RightEnd);
}

TEST(RebarBackground, EndsWiderThanTheBarLeaveNoRoomForTiles) {
    const auto copies = RebarBackgroundCopies(0, 40, 32, 32, 32);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[1], (BackgroundCopy{BackgroundCopy::RightEnd, 8, 32}));
    EXPECT_TRUE(RebarBackgroundCopies(0, 0, 0, 0, 64).empty());
}

TEST(ButtonStateRow, DisabledBeatsCheckedBeatsPressedBeatsHot) {
    EXPECT_EQ(ButtonStateRow(0), 0);
    EXPECT_EQ(ButtonStateRow(0x40), 1);
    EXPECT_EQ(ButtonStateRow(0x1), 2);
    EXPECT_EQ(ButtonStateRow(0x1 | 0x40), 2);
    EXPECT_EQ(ButtonStateRow(0x8), 3);
    EXPECT_EQ(ButtonStateRow(0x8 | 0x1 | 0x40), 3);
    EXPECT_EQ(ButtonStateRow(0x4), 4);
    EXPECT_EQ(ButtonStateRow(0x4 | 0x8), 4);
    EXPECT_EQ(ButtonStateRow(0x4 | 0x8 | 0x1 | 0x40), 4);
    EXPECT_EQ(ButtonStateRow(0x10 | 0x100), 0);  // focus and other bits do not choose a row
}

TEST(StripCell, CellsLieByColumnAndRow) {
    LayoutRect cell;
    ASSERT_TRUE(StripCellRect(0, 0, 48, 48, 576, 240, &cell));
    EXPECT_EQ(cell, (LayoutRect{0, 0, 48, 48}));
    ASSERT_TRUE(StripCellRect(11, 4, 48, 48, 576, 240, &cell));
    EXPECT_EQ(cell, (LayoutRect{528, 192, 576, 240}));
    ASSERT_TRUE(StripCellRect(3, 2, 32, 24, 200, 100, &cell));
    EXPECT_EQ(cell, (LayoutRect{96, 48, 128, 72}));
}

TEST(StripCell, CellsNotWhollyInsideTheStripAreNotDrawn) {
    LayoutRect cell{1, 2, 3, 4};
    EXPECT_FALSE(StripCellRect(12, 0, 48, 48, 576, 240, &cell));  // starts at the strip's right edge
    EXPECT_FALSE(StripCellRect(0, 5, 48, 48, 576, 240, &cell));   // below the last row
    EXPECT_FALSE(StripCellRect(0, 4, 48, 48, 576, 239, &cell));   // last row one pixel short
    EXPECT_FALSE(StripCellRect(-1, 0, 48, 48, 576, 240, &cell));
    EXPECT_FALSE(StripCellRect(0, -1, 48, 48, 576, 240, &cell));
    EXPECT_FALSE(StripCellRect(0, 0, 0, 48, 576, 240, &cell));
    EXPECT_FALSE(StripCellRect(0x7FFFFFFF, 0, 48, 48, 576, 240, &cell));  // no wrap-around
    EXPECT_FALSE(StripCellRect(0, 0, 48, 48, 0, 0, &cell));              // no strip at all
    EXPECT_EQ(cell, (LayoutRect{1, 2, 3, 4}));
}

}  // namespace
