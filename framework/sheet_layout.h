#pragma once
// Layout arithmetic of the tree property sheet: the page area, the sheet's window rectangle,
// and the places of the tree, the two buttons and the line above them.
#include <cstddef>

#include "framework/layout_rect.h"

namespace TWIG4 {

constexpr int kSheetTreeWidth = 200;          // the tree column left of the pages
constexpr int kSheetButtonStripHeight = 48;   // added below the pages for the buttons
constexpr int kSheetButtonWidth = 75;
constexpr int kSheetButtonHeight = 23;

// The page area: the largest right and the largest bottom over the pages' client
// rectangles, so one page may give the width and another the height. No pages: 0 x 0.
LayoutSize SheetPageArea(const LayoutRect* pageClientRects, std::size_t count);

// Where every page sits: right of the tree column, at the top.
LayoutRect SheetPageRect(LayoutSize area, int treeWidth);

// The window-frame sizes a centred sheet adds around its client area.
struct SheetFrameMetrics {
    int borderX = 0;        // vertical border of a fixed-frame window, each side
    int borderY = 0;        // horizontal border of a fixed-frame window, each side
    int captionHeight = 0;
};

// The sheet's window rectangle: the page area plus the tree column and the button strip, plus
// the window frame around that client area. Not centred (no parent window given): at (0, 0).
// Centred: placed over the parent's window rectangle, halves truncated toward zero. The frame
// is counted in both cases, so the buttons and the line never overlap the pages.
LayoutRect SheetWindowRect(LayoutSize area, int treeWidth, int buttonStripHeight, const LayoutRect* parentWindow,
                           const SheetFrameMetrics& frame);

// The sheet's children inside its client rectangle C.
struct SheetChildLayout {
    LayoutRect ok;         // (C.right - 166, C.bottom - 35), 75 x 23
    LayoutRect cancel;     // (C.right - 87, C.bottom - 35), 75 x 23
    LayoutRect tree;       // (6, 6), (treeWidth - 12) x (pageRect.bottom - 4)
    LayoutPoint lineFrom;  // the etched line between pages and buttons: the dark row;
    LayoutPoint lineTo;    // the white row is one pixel lower
};

SheetChildLayout SheetChildren(const LayoutRect& client, const LayoutRect& pageRect, int treeWidth);

}  // namespace TWIG4
