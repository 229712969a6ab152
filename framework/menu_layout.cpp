#include "framework/menu_layout.h"

namespace TWIG4 {

LayoutSize MeasureMenuItem(bool separator, int textWidth) {
    if (separator) return {0, kMenuSeparatorHeight};
    return {textWidth + kMenuItemExtraWidth, kMenuItemHeight};
}

MenuItemAreas MenuItemLayout(const LayoutRect& r) {
    MenuItemAreas a;
    a.iconColumn = {r.left, r.top, r.left + kMenuIconColumnWidth, r.bottom};
    a.gap = {r.left + kMenuIconColumnWidth, r.top, r.left + kMenuGapRight, r.bottom};
    a.body = {r.left + kMenuIconColumnWidth, r.top, r.right, r.bottom};
    a.text = {r.left + kMenuTextIndent, r.top, r.right, r.bottom};
    a.shortcut = a.text;
    a.shortcut.right -= kMenuShortcutMargin;
    a.markBox = Shrunk(a.iconColumn, 2);
    return a;
}

MenuText SplitMenuText(const std::wstring& text) {
    MenuText t;
    const std::wstring::size_type tab = text.find(L'\t');
    if (tab == std::wstring::npos) {
        t.label = text;
        return t;
    }
    t.label = text.substr(0, tab);
    t.shortcut = text.substr(tab + 1);
    t.hasShortcut = true;
    return t;
}

std::array<LayoutPoint, 3> MenuTickPoints(const LayoutRect& b) {
    return {{{b.left + 3, b.bottom - 8}, {b.left + 7, b.bottom - 4}, {b.left + 16, b.top + 7}}};
}

LayoutRect MenuRadioDot(const LayoutRect& markBox) { return Shrunk(markBox, 6); }

MenuSeparatorLine MenuSeparatorLineOf(const LayoutRect& text) {
    return {(text.top + text.bottom) / 2, text.left + 2, text.right - 4};
}

}  // namespace TWIG4
