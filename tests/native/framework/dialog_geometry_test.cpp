// Where dialogs are placed over their parents and owners.
#include <gtest/gtest.h>

#include "framework/dialog_geometry.h"

using TWIG4::CentreChildDialog;
using TWIG4::CentreFileDialog;
using TWIG4::CentreModalDialog;
using TWIG4::ScreenPoint;
using TWIG4::ScreenRect;

namespace {

ScreenRect R(int l, int t, int r, int b) {
    ScreenRect s;
    s.left = l;
    s.top = t;
    s.right = r;
    s.bottom = b;
    return s;
}

TEST(DialogGeometry, ModalDialogCentresOverTheParent) {
    // Parent 600 x 400 at (100, 100), dialog 200 x 101 anywhere: (300, 250).
    const ScreenPoint p = CentreModalDialog(R(100, 100, 700, 500), R(0, 0, 200, 101));
    EXPECT_EQ(p.x, 300);
    EXPECT_EQ(p.y, 250);
    // The dialog's own position does not matter, only its size.
    const ScreenPoint q = CentreModalDialog(R(100, 100, 700, 500), R(-50, 900, 150, 1001));
    EXPECT_EQ(q.x, 300);
    EXPECT_EQ(q.y, 250);
}

TEST(DialogGeometry, HalvingTruncatesTowardZero) {
    // (101 + 700) / 2 = 400, 201 / 2 = 100 -> 300; (-301 + 0) / 2 = -150 (not -151).
    EXPECT_EQ(CentreModalDialog(R(101, 0, 700, 0), R(0, 0, 201, 0)).x, 300);
    EXPECT_EQ(CentreModalDialog(R(-301, -301, 0, 0), R(0, 0, 0, 0)).x, -150);
    EXPECT_EQ(CentreModalDialog(R(0, 0, 0, 0), R(0, 0, 3, 3)).y, -1);
    // A dialog larger than its parent goes above and left of it.
    const ScreenPoint big = CentreModalDialog(R(100, 100, 300, 200), R(0, 0, 400, 300));
    EXPECT_EQ(big.x, 0);
    EXPECT_EQ(big.y, 0);
}

TEST(DialogGeometry, ChildDialogMovesByTheDifferenceOfTheCentres) {
    // Made at the parent's origin: centred inside it.
    const ScreenPoint p = CentreChildDialog(R(100, 100, 700, 500), R(100, 100, 300, 201));
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 149);  // (500 + 100 - 201 - 100) / 2 = 299 / 2
    // With a one-pixel border outside the client origin.
    const ScreenPoint b = CentreChildDialog(R(100, 100, 700, 500), R(99, 99, 301, 202));
    EXPECT_EQ(b.x, 200);
    EXPECT_EQ(b.y, 149);
}

TEST(DialogGeometry, FileDialogCentresItsClientSizeOverTheOwner) {
    const ScreenPoint p = CentreFileDialog(R(100, 100, 700, 500), 401, 300);
    EXPECT_EQ(p.x, 199);  // (800 - 401) / 2
    EXPECT_EQ(p.y, 150);
    // Extreme coordinates do not overflow.
    const ScreenPoint far = CentreFileDialog(R(2000000000, 2000000000, 2100000000, 2100000000), 0, 0);
    EXPECT_EQ(far.x, 2050000000);
    EXPECT_EQ(far.y, 2050000000);
}

}  // namespace
