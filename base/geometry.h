#pragma once
// The geometry vocabulary every layer shares: sizes, points and rectangles of one number
// type. Each layer names the ones whose meaning matters with an alias (an image's size, a
// layout rectangle, a viewport) and states there what its coordinates mean.
//
// Rect holds its edges: left and top inclusive, right and bottom exclusive, so Width() is
// right - left. Which way y grows is the alias's convention, not the template's.

namespace geom {

template <class T>
struct Size {
    T width{};
    T height{};
    friend bool operator==(const Size& a, const Size& b) { return a.width == b.width && a.height == b.height; }
    friend bool operator!=(const Size& a, const Size& b) { return !(a == b); }
};

template <class T>
struct Point {
    T x{};
    T y{};
    friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(const Point& a, const Point& b) { return !(a == b); }
};

template <class T>
struct Rect {
    T left{};
    T top{};
    T right{};
    T bottom{};

    [[nodiscard]] T Width() const { return right - left; }
    [[nodiscard]] T Height() const { return bottom - top; }
    friend bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

// The rectangle of a position and a size.
template <class T>
[[nodiscard]] Rect<T> RectAt(T x, T y, T width, T height) {
    return {x, y, x + width, y + height};
}

}  // namespace geom
