// Owner-drawn menu items: sizes, areas, text split and marks.
#include <gtest/gtest.h>

#include "framework/menu_layout.h"

using namespace TWIG4;

namespace {

TEST(MenuItemSize, TextItemsAddThirtyTwoAndSeparatorsAreFiveHigh) {
    EXPECT_EQ(MeasureMenuItem(false, 100), (LayoutSize{132, 24}));
    EXPECT_EQ(MeasureMenuItem(false, 0), (LayoutSize{32, 24}));
    EXPECT_EQ(MeasureMenuItem(true, 100), (LayoutSize{0, 5}));
}

TEST(MenuItemAreas, ColumnGapBodyTextAndMarkBox) {
    const MenuItemAreas a = MenuItemLayout({3, 24, 203, 48});
    EXPECT_EQ(a.iconColumn, (LayoutRect{3, 24, 27, 48}));
    EXPECT_EQ(a.gap, (LayoutRect{27, 24, 29, 48}));
    EXPECT_EQ(a.body, (LayoutRect{27, 24, 203, 48}));
    EXPECT_EQ(a.text, (LayoutRect{33, 24, 203, 48}));
    EXPECT_EQ(a.shortcut, (LayoutRect{33, 24, 185, 48}));  // 18 short of the right edge
    EXPECT_EQ(a.markBox, (LayoutRect{5, 26, 25, 46}));
}

TEST(MenuText, SplitsAtTheFirstTabOnly) {
    MenuText t = SplitMenuText(L"Save image...\tCtrl+S");
    EXPECT_EQ(t.label, L"Save image...");
    EXPECT_EQ(t.shortcut, L"Ctrl+S");
    EXPECT_TRUE(t.hasShortcut);

    t = SplitMenuText(L"a\tb\tc");
    EXPECT_EQ(t.label, L"a");
    EXPECT_EQ(t.shortcut, L"b\tc");

    t = SplitMenuText(L"Zoom all");
    EXPECT_EQ(t.label, L"Zoom all");
    EXPECT_TRUE(t.shortcut.empty());
    EXPECT_FALSE(t.hasShortcut);

    t = SplitMenuText(L"\tF2");
    EXPECT_TRUE(t.label.empty());
    EXPECT_EQ(t.shortcut, L"F2");
    EXPECT_TRUE(SplitMenuText(L"").label.empty());
}

TEST(MenuMarks, TickDotAndSeparatorLine) {
    const LayoutRect box{2, 2, 22, 22};
    const auto tick = MenuTickPoints(box);
    EXPECT_EQ(tick[0], (LayoutPoint{5, 14}));
    EXPECT_EQ(tick[1], (LayoutPoint{9, 18}));
    EXPECT_EQ(tick[2], (LayoutPoint{18, 9}));
    EXPECT_EQ(MenuRadioDot(box), (LayoutRect{8, 8, 16, 16}));

    const MenuSeparatorLine line = MenuSeparatorLineOf({30, 10, 150, 15});
    EXPECT_EQ(line.y, 12);
    EXPECT_EQ(line.x1, 32);
    EXPECT_EQ(line.x2, 146);
}

}  // namespace
