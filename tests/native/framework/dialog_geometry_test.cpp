// Where dialogs are placed over their parents and owners.
#include <gtest/gtest.h>

#include "framework/dialog_geometry.h"

using namespace TWIG4;

namespace {

ScreenRect R(int l, int t, int r, int b) { return {l, t, r, b}; }

void ExpectAt(ScreenPoint p, int x, int y) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
}

TEST(DialogGeometry, ModalDialogCentresItsSizeOverTheParent) {
    ExpectAt(CentreModalDialog(R(100, 100, 700, 500), R(-50, 900, 150, 1001)), 300, 250);
    // Each half truncates toward zero: (101 + 700) / 2 - 201 / 2, (-301 + 0) / 2 - 3 / 2.
    ExpectAt(CentreModalDialog(R(101, -301, 700, 0), R(0, 0, 201, 3)), 300, -151);
    ExpectAt(CentreModalDialog(R(100, 100, 300, 200), R(0, 0, 400, 300)), 0, 0);
}

TEST(DialogGeometry, ChildAndFileDialogs) {
    // A child made at its parent's origin moves by the difference of the centres.
    ExpectAt(CentreChildDialog(R(100, 100, 700, 500), R(99, 99, 301, 202)), 200, 149);
    ExpectAt(CentreChildDialog(R(-300, 0, 0, 0), R(0, 0, 1, 0)), -150, 0);
    ExpectAt(CentreFileDialog(R(100, 100, 700, 500), 401, 300), 199, 150);
    // Extreme coordinates do not overflow.
    ExpectAt(CentreFileDialog(R(2000000000, 2000000000, 2100000000, 2100000000), 0, 0), 2050000000, 2050000000);
}

}  // namespace
