#include "app/blend_page_rules.h"

#include "resources/app_ids.h"

namespace bistrope {

namespace {

constexpr int kLeftFirstId = 1002;
constexpr int kRightFirstId = 1011;

constexpr MatrixBox Box(Eye eye, int c, int r) {
    const bool left = eye == Eye::Left;
    return MatrixBox{(left ? kLeftFirstId : kRightFirstId) + 3 * c + r, eye, c, r, left ? r == 0 : r != 0};
}

constexpr std::array<MatrixBox, kMatrixBoxCount> kBoxes = {
    Box(Eye::Left, 0, 0),  Box(Eye::Left, 0, 1),  Box(Eye::Left, 0, 2),  Box(Eye::Left, 1, 0),
    Box(Eye::Left, 1, 1),  Box(Eye::Left, 1, 2),  Box(Eye::Left, 2, 0),  Box(Eye::Left, 2, 1),
    Box(Eye::Left, 2, 2),  Box(Eye::Right, 0, 0), Box(Eye::Right, 0, 1), Box(Eye::Right, 0, 2),
    Box(Eye::Right, 1, 0), Box(Eye::Right, 1, 1), Box(Eye::Right, 1, 2), Box(Eye::Right, 2, 0),
    Box(Eye::Right, 2, 1), Box(Eye::Right, 2, 2),
};

static_assert(kBoxes.front().id == IDC_MATRIX_FIRST && kBoxes.back().id == IDC_MATRIX_LAST,
              "matrix box ids run from the first to the last id of the page");

}  // namespace

const std::array<MatrixBox, kMatrixBoxCount>& MatrixBoxes() { return kBoxes; }

const MatrixBox* FindMatrixBox(int id) {
    if (id < IDC_MATRIX_FIRST || id > IDC_MATRIX_LAST) return nullptr;
    return &kBoxes[static_cast<size_t>(id - IDC_MATRIX_FIRST)];
}

float& MatrixElement(cRegData& settings, const MatrixBox& box) {
    ColorMatrix& m = box.eye == Eye::Left ? settings.leftMatrix : settings.rightMatrix;
    return m.at(box.input, box.output);
}

float MatrixElement(const cRegData& settings, const MatrixBox& box) {
    const ColorMatrix& m = box.eye == Eye::Left ? settings.leftMatrix : settings.rightMatrix;
    return m.at(box.input, box.output);
}

void BlendPageInit(PageItems& items, cRegData& settings) {
    for (const MatrixBox& box : kBoxes)
        items.SetItemDouble(box.id, static_cast<double>(MatrixElement(settings, box)), kMatrixDecimals);
    settings.matricesChanged = false;
}

void BlendPageEdited(cRegData& settings) { settings.matricesChanged = true; }

void BlendPageApply(const PageItems& items, cRegData& settings) {
    for (const MatrixBox& box : kBoxes) {
        if (!box.editable) continue;
        double value = 0.0;
        if (items.GetItemDouble(box.id, &value)) MatrixElement(settings, box) = static_cast<float>(value);
    }
}

}  // namespace bistrope
