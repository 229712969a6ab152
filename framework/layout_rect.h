#pragma once
// Integer geometry for the layout arithmetic of bars, menus and the property sheet: the
// shared templates of base/geometry.h. Rectangles follow the window system's convention:
// left and top inclusive, right and bottom exclusive, y growing downwards. Nothing here
// knows about windows.

#include "base/geometry.h"

namespace TWIG4 {

using LayoutPoint = geom::Point<int>;
using LayoutSize = geom::Size<int>;
using LayoutRect = geom::Rect<int>;

using geom::RectAt;

// The rectangle shrunk by d on every side (grown for a negative d).
inline LayoutRect Shrunk(const LayoutRect& r, int d) { return {r.left + d, r.top + d, r.right - d, r.bottom - d}; }

}  // namespace TWIG4
