// Where the framework puts a dialog over its parent or owner. All rectangles are window
// rectangles in screen coordinates (left, top, right, bottom); every halving is an integer
// division truncating toward zero.
#pragma once

#include "base/geometry.h"

namespace TWIG4 {

using ScreenRect = geom::Rect<int>;
using ScreenPoint = geom::Point<int>;

// A modal dialog, or a modeless one without the child style, centred over its parent:
// x = (P.left + P.right) / 2 - w / 2, y = (P.top + P.bottom) / 2 - h / 2, w and h being
// the dialog's width and height.
ScreenPoint CentreModalDialog(const ScreenRect& parent, const ScreenRect& dialog);

// A modeless dialog with the child style: moved by the distance between the two centres,
// x = (P.right + P.left - D.right - D.left) / 2, likewise for y. For a child dialog made at
// its parent's client origin this centres it inside the parent.
ScreenPoint CentreChildDialog(const ScreenRect& parent, const ScreenRect& dialog);

// A file dialog over its owner, from the dialog's client size:
// x = (O.left + O.right - clientWidth) / 2, y = (O.top + O.bottom - clientHeight) / 2.
ScreenPoint CentreFileDialog(const ScreenRect& owner, int clientWidth, int clientHeight);

}  // namespace TWIG4
