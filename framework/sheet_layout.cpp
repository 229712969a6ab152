#include "framework/sheet_layout.h"

namespace TWIG4 {

LayoutSize SheetPageArea(const LayoutRect* rects, std::size_t count) {
    LayoutSize s;
    for (std::size_t i = 0; rects && i < count; ++i) {
        if (rects[i].right > s.width) s.width = rects[i].right;
        if (rects[i].bottom > s.height) s.height = rects[i].bottom;
    }
    return s;
}

LayoutRect SheetPageRect(LayoutSize area, int treeWidth) { return {treeWidth, 0, area.width + treeWidth, area.height}; }

LayoutRect SheetWindowRect(LayoutSize area, int treeWidth, int stripHeight, const LayoutRect* parent,
                           const SheetFrameMetrics& f) {
    const int w = area.width + treeWidth + 2 * f.borderX;
    const int h = area.height + stripHeight + f.captionHeight + 2 * f.borderY;
    if (!parent) return RectAt(0, 0, w, h);
    const int x = (parent->left + parent->right) / 2 - w / 2;
    const int y = (parent->top + parent->bottom) / 2 - h / 2;
    return RectAt(x, y, w, h);
}

SheetChildLayout SheetChildren(const LayoutRect& c, const LayoutRect& pageRect, int treeWidth) {
    SheetChildLayout l;
    l.ok = RectAt(c.right - 166, c.bottom - 35, kSheetButtonWidth, kSheetButtonHeight);
    l.cancel = RectAt(c.right - 87, c.bottom - 35, kSheetButtonWidth, kSheetButtonHeight);
    l.tree = RectAt(6, 6, treeWidth - 12, pageRect.bottom - 4);
    l.lineFrom = {treeWidth, pageRect.bottom + 1};
    l.lineTo = {c.right - 12, pageRect.bottom + 1};
    return l;
}

}  // namespace TWIG4
