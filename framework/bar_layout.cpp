#include "framework/bar_layout.h"

namespace TWIG4 {

DockResult DockBar(unsigned style, int t, const LayoutRect& r) {
    const bool vertical = (style & kBarStyleVertical) != 0;
    const bool bottom = (style & kBarStyleSideMask) == kBarStyleBottom;
    DockResult d{r, r};
    if (vertical && bottom) {
        d.placement = RectAt(r.right - t, r.top, t, r.Height());
        d.remaining.right -= t;
    } else if (vertical) {
        d.placement = RectAt(r.left, r.top, t, r.Height());
        d.remaining.left += t;
    } else if (bottom) {
        d.placement = RectAt(r.left, r.bottom - t, r.Width(), t);
        d.remaining.bottom -= t;
    } else {
        d.placement = RectAt(r.left, r.top, r.Width(), t);
        d.remaining.top += t;
    }
    return d;
}

std::vector<BackgroundCopy> RebarBackgroundCopies(int left, int right, int leftEndWidth, int rightEndWidth,
                                                  int tileWidth) {
    std::vector<BackgroundCopy> copies;
    int x0 = left;
    int x1 = right;
    if (leftEndWidth > 0) {
        copies.push_back({BackgroundCopy::LeftEnd, 0, leftEndWidth});
        x0 += leftEndWidth;
    }
    if (rightEndWidth > 0) {
        copies.push_back({BackgroundCopy::RightEnd, right - rightEndWidth, rightEndWidth});
        x1 -= rightEndWidth;
    }
    if (tileWidth > 0) {
        for (int x = x0; x < x1; x += tileWidth) {
            const int w = x1 - x < tileWidth ? x1 - x : tileWidth;
            copies.push_back({BackgroundCopy::Tile, x, w});
        }
    }
    return copies;
}

int ButtonStateRow(unsigned s) {
    if (s & kItemStateDisabled) return kRowDisabled;
    if (s & kItemStateChecked) return kRowChecked;
    if (s & kItemStateSelected) return kRowPressed;
    if (s & kItemStateHot) return kRowHot;
    return kRowNormal;
}

bool StripCellRect(int imageIndex, int row, int cellWidth, int cellHeight, int stripWidth, int stripHeight,
                   LayoutRect* cell) {
    if (imageIndex < 0 || row < 0 || cellWidth <= 0 || cellHeight <= 0) return false;
    // 64-bit products: a huge index must not wrap around into the strip.
    const long long left = static_cast<long long>(imageIndex) * cellWidth;
    const long long top = static_cast<long long>(row) * cellHeight;
    if (left + cellWidth > stripWidth || top + cellHeight > stripHeight) return false;
    if (cell) *cell = RectAt(static_cast<int>(left), static_cast<int>(top), cellWidth, cellHeight);
    return true;
}

}  // namespace TWIG4
