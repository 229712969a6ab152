// Docking, the rebar's tiled background and the toolbar's image-strip cells.
#include <gtest/gtest.h>

#include "framework/bar_layout.h"

using namespace TWIG4;

namespace {

TEST(DockBar, PlacesEachSideAndShrinksTheRest) {
    const LayoutRect client{0, 0, 800, 600};
    const struct {
        unsigned style;
        LayoutRect placement, remaining;
    } cases[] = {
        {0x83, {770, 0, 800, 600}, {0, 0, 770, 600}},   // vertical and bottom: right edge
        {0x80, {0, 0, 30, 600}, {30, 0, 800, 600}},     // vertical: left edge
        {0x81, {0, 0, 30, 600}, {30, 0, 800, 600}},     // only the full side value means bottom
        {0x103, {0, 570, 800, 600}, {0, 0, 800, 570}},  // bottom: bottom edge
        {0x2, {0, 0, 800, 30}, {0, 30, 800, 600}},      // neither: top edge
    };
    for (const auto& c : cases) {
        const DockResult d = DockBar(c.style, 30, client);
        EXPECT_EQ(d.placement, c.placement) << "style " << c.style;
        EXPECT_EQ(d.remaining, c.remaining) << "style " << c.style;
    }
}

TEST(RebarBackground, TilesFromTheLeftEndAndCutsTheLastAtTheRightEnd) {
    const auto copies = RebarBackgroundCopies(0, 1000, 20, 30, 64);
    ASSERT_EQ(copies.size(), 17u);
    EXPECT_EQ(copies[0], (BackgroundCopy{BackgroundCopy::LeftEnd, 0, 20}));
    EXPECT_EQ(copies[1], (BackgroundCopy{BackgroundCopy::RightEnd, 970, 30}));
    for (int i = 0; i < 14; ++i) EXPECT_EQ(copies[2 + i], (BackgroundCopy{BackgroundCopy::Tile, 20 + 64 * i, 64}));
    EXPECT_EQ(copies[16], (BackgroundCopy{BackgroundCopy::Tile, 916, 54}));

    const auto onlyTile = RebarBackgroundCopies(0, 100, 0, 0, 40);
    ASSERT_EQ(onlyTile.size(), 3u);
    EXPECT_EQ(onlyTile[2], (BackgroundCopy{BackgroundCopy::Tile, 80, 20}));
    EXPECT_EQ(RebarBackgroundCopies(0, 100, 10, 10, 0).size(), 2u);  // no tile: no endless loop
    EXPECT_EQ(RebarBackgroundCopies(0, 40, 32, 32, 32).size(), 2u);  // the ends overlap
    EXPECT_TRUE(RebarBackgroundCopies(0, 0, 0, 0, 64).empty());
}

TEST(ToolbarStrip, RowByStateAndCellsWhollyInsideTheStrip) {
    // Disabled beats checked beats pressed beats hot; other bits choose nothing.
    const std::pair<unsigned, int> rows[] = {{0, 0},    {0x40, 1}, {0x41, 2}, {0x49, 3},
                                             {0x4D, 4}, {0x4, 4},  {0x110, 0}};
    for (auto [state, row] : rows) EXPECT_EQ(ButtonStateRow(state), row) << state;

    LayoutRect cell{1, 2, 3, 4};
    ASSERT_TRUE(StripCellRect(11, 4, 48, 48, 576, 240, &cell));
    EXPECT_EQ(cell, (LayoutRect{528, 192, 576, 240}));
    ASSERT_TRUE(StripCellRect(3, 2, 32, 24, 200, 100, &cell));
    EXPECT_EQ(cell, (LayoutRect{96, 48, 128, 72}));
    EXPECT_FALSE(StripCellRect(12, 0, 48, 48, 576, 240, &cell));
    EXPECT_FALSE(StripCellRect(0, 4, 48, 48, 576, 239, &cell));
    EXPECT_FALSE(StripCellRect(-1, 0, 48, 48, 576, 240, &cell));
    EXPECT_FALSE(StripCellRect(0, -1, 48, 48, 576, 240, &cell));
    EXPECT_FALSE(StripCellRect(0, 0, 0, 48, 576, 240, &cell));
    EXPECT_FALSE(StripCellRect(0x7FFFFFFF, 0, 48, 48, 576, 240, &cell));  // no wrap-around
    EXPECT_EQ(cell, (LayoutRect{96, 48, 128, 72}));
}

}  // namespace
