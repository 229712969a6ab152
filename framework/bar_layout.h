#pragma once
// Layout arithmetic of the control bars: docking a bar along a side of the frame, the
// rebar's tiled background, and the toolbar's image strip (cells by image index and
// drawing state).
#include <vector>

#include "framework/layout_rect.h"

namespace TWIG4 {

// Window style bits that choose the side a bar docks at.
constexpr unsigned kBarStyleVertical = 0x80;  // left or right instead of top or bottom
constexpr unsigned kBarStyleSideMask = 0x3;   // (style & mask) == kBarStyleBottom: bottom or right
constexpr unsigned kBarStyleBottom = 0x3;

// Where a bar of the given thickness goes inside `remaining`, and what is left beside it.
struct DockResult {
    LayoutRect placement;
    LayoutRect remaining;
};

// Vertical and bottom: the right edge; vertical only: the left edge; bottom only: the bottom
// edge; neither: the top edge. The bar spans the whole other extent of `remaining`.
DockResult DockBar(unsigned style, int thickness, const LayoutRect& remaining);

// One plain copy of a background bitmap onto the rebar, at y 0 with the bitmap's full height.
struct BackgroundCopy {
    enum Piece { LeftEnd, Tile, RightEnd };
    Piece piece;
    int x;      // destination left
    int width;  // columns copied from the bitmap's left edge
    bool operator==(const BackgroundCopy& o) const { return piece == o.piece && x == o.x && width == o.width; }
};

// The copies that paint the rebar background over the client columns [left, right): the left
// end at x 0, the right end flush with `right`, and the middle tile repeated from the end of
// the left end while x is short of the start of the right end, the last copy cut there.
// A width of 0 means that bitmap is absent; an absent (or zero-wide) tile draws no tiles.
std::vector<BackgroundCopy> RebarBackgroundCopies(int left, int right, int leftEndWidth, int rightEndWidth,
                                                  int tileWidth);

// Rows of the toolbar image strip, one per drawing state.
enum ButtonRow { kRowNormal = 0, kRowHot = 1, kRowPressed = 2, kRowChecked = 3, kRowDisabled = 4 };

// Custom-draw item state bits the row is chosen from.
constexpr unsigned kItemStateSelected = 0x1;
constexpr unsigned kItemStateDisabled = 0x4;
constexpr unsigned kItemStateChecked = 0x8;
constexpr unsigned kItemStateHot = 0x40;

// Disabled wins over checked, checked over pressed, pressed over hot.
int ButtonStateRow(unsigned itemState);

// The strip cell of an image index (column) and row. False, and nothing to draw, when the
// cell does not lie wholly inside a strip of stripWidth x stripHeight pixels (also for a
// negative index or row, or an empty cell size).
bool StripCellRect(int imageIndex, int row, int cellWidth, int cellHeight, int stripWidth, int stripHeight,
                   LayoutRect* cell);

}  // namespace TWIG4
