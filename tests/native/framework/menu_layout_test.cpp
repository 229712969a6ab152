// Owner-drawn menu items: sizes, areas, text split and marks.
#include <gtest/gtest.h>

#include "framework/menu_layout.h"

using namespace TWIG4;

namespace {

TEST(MenuLayout, TextSplitsAtTheFirstTabOnly) {
    const struct {
        const wchar_t *text, *label, *shortcut;
        bool hasShortcut;
    } cases[] = {{L"Save image...\tCtrl+S", L"Save image...", L"Ctrl+S", true},
                 {L"a\tb\tc", L"a", L"b\tc", true},
                 {L"\tF2", L"", L"F2", true},
                 {L"Zoom all", L"Zoom all", L"", false}};
    for (const auto& c : cases) {
        const MenuText t = SplitMenuText(c.text);
        EXPECT_EQ(t.label, c.label);
        EXPECT_EQ(t.shortcut, c.shortcut);
        EXPECT_EQ(t.hasShortcut, c.hasShortcut);
    }
}

TEST(MenuLayout, TickDotAndSeparatorLine) {
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
