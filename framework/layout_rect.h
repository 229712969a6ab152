#pragma once
// Plain integer geometry for the layout arithmetic of bars, menus and the property sheet.
// Rectangles follow the window system's convention: left and top inclusive, right and bottom
// exclusive, y growing downwards. Nothing here knows about windows.

namespace TWIG4 {

struct LayoutPoint {
    int x = 0;
    int y = 0;
    bool operator==(const LayoutPoint& o) const { return x == o.x && y == o.y; }
};

struct LayoutSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const LayoutSize& o) const { return cx == o.cx && cy == o.cy; }
};

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LayoutRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const LayoutRect& o) const { return !(*this == o); }
};

// A rectangle from a position and a size.
inline LayoutRect RectAt(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

// The rectangle shrunk by d on every side (grown for a negative d).
inline LayoutRect Shrunk(const LayoutRect& r, int d) { return {r.left + d, r.top + d, r.right - d, r.bottom - d}; }

}  // namespace TWIG4
