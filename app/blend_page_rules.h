#pragma once
// The "Custom colour blending" page (dialog 112): the 3 x 3 colour blocks of the two custom
// matrices in eighteen boxes.
//
// Upper block: the left matrix, lower block: the right matrix. In each block the box in
// column c (0..2) and row r (0..2) shows m[c][r]: a column is an input channel (red, green,
// blue) and a row an output channel. Ids: 1002 + 3c + r (left), 1011 + 3c + r (right); so
// box 1005 is m[1][0] of the left matrix, the left image's green in the output's red.
//
// Only what an eye can contribute to its own output channels is editable: the left matrix's
// red row (1002, 1005, 1008) and the right matrix's green and blue rows (1012, 1013, 1015,
// 1016, 1018, 1019). The other boxes are read-only and never read back, and the fourth and
// fifth rows and columns of both matrices are not shown: those elements keep their values.

#include <array>

#include "app/page_items.h"
#include "app/reg_data.h"
#include "engine/color_matrix.h"

namespace bistrope {

constexpr int kMatrixDecimals = 3;  // each box shows its element with three decimals
constexpr int kMatrixBoxCount = 18;

struct MatrixBox {
    int id;
    Eye eye;        // Left: upper block, leftMatrix; Right: lower block, rightMatrix
    int input;      // the box's column c: the matrix row, an input channel
    int output;     // the box's row r: the matrix column, an output channel
    bool editable;
};

// Every box, upper block first, each block column by column.
[[nodiscard]] const std::array<MatrixBox, kMatrixBoxCount>& MatrixBoxes();

// The box with that id, or null.
[[nodiscard]] const MatrixBox* FindMatrixBox(int id);

// The element a box shows.
[[nodiscard]] float& MatrixElement(cRegData& settings, const MatrixBox& box);
[[nodiscard]] float MatrixElement(const cRegData& settings, const MatrixBox& box);

// On opening: every box filled from its element; then matricesChanged is cleared (filling the
// boxes reports them as edited).
void BlendPageInit(PageItems& items, cRegData& settings);
// Any box edited.
void BlendPageEdited(cRegData& settings);
// OK: each editable box's leading number (0 when its text has none), narrowed to single
// precision, into its element. Read-only boxes are not read.
void BlendPageApply(const PageItems& items, cRegData& settings);

}  // namespace bistrope
