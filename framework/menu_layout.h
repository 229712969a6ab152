#pragma once
// Layout arithmetic of the owner-drawn popup menu: item sizes, the areas of an item, the
// split of an item text into its label and its right-aligned shortcut, and the marks.
#include <array>
#include <string>

#include "framework/layout_rect.h"

namespace TWIG4 {

constexpr int kMenuIconColumnWidth = 24;  // icon column at the item's left
constexpr int kMenuGapRight = 26;         // the gap runs from the column to here
constexpr int kMenuTextIndent = 30;       // text starts this far from the item's left
constexpr int kMenuShortcutMargin = 18;   // a shortcut ends this far short of the item's right
constexpr int kMenuItemHeight = 24;
constexpr int kMenuItemExtraWidth = 32;   // added to the measured text width
constexpr int kMenuSeparatorHeight = 5;

// A separator measures 0 x 5; a text item (text width + 32) x 24, where the width is that of
// the whole item string, shortcut included.
LayoutSize MeasureMenuItem(bool separator, int textWidth);

struct MenuItemAreas {
    LayoutRect iconColumn;  // left 24 columns
    LayoutRect gap;         // columns 24 and 25
    LayoutRect body;        // from column 24 to the right edge (the gap included)
    LayoutRect text;        // from column 30 to the right edge
    LayoutRect shortcut;    // the text area narrowed by 18 on the right
    LayoutRect markBox;     // the icon column shrunk by 2 on every side
};

MenuItemAreas MenuItemLayout(const LayoutRect& item);

// The item text split at its first tab: the label before it, the shortcut after it.
struct MenuText {
    std::wstring label;
    std::wstring shortcut;
    bool hasShortcut = false;
};

MenuText SplitMenuText(const std::wstring& text);

// The tick of a checked item: a three-point polyline inside the mark box.
std::array<LayoutPoint, 3> MenuTickPoints(const LayoutRect& markBox);

// The filled dot of a radio item: the mark box shrunk by 6.
LayoutRect MenuRadioDot(const LayoutRect& markBox);

// The line of a separator: y halfway down the text area, from text.left + 2 to text.right - 4.
struct MenuSeparatorLine {
    int y;
    int x1;
    int x2;
};

MenuSeparatorLine MenuSeparatorLineOf(const LayoutRect& text);

}  // namespace TWIG4
