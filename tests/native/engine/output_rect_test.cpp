#include "engine/output_rect.h"

#include <gtest/gtest.h>

namespace bistrope {
namespace {

constexpr ImageSize k4000x3000{4000, 3000};

OutputRect Both(ImageSize left, ImageSize right, double ox, double oy, double rot) {
    return ComputeOutputRect(left, right, {ox, oy, rot});
}

void ExpectRect(const OutputRect& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST(OutputRect, EqualImagesWithoutAlignmentCoverTheWholeImage) {
    const OutputRect r = Both(k4000x3000, k4000x3000, 0, 0, 0);
    ExpectRect(r, -2000, -1500, 2000, 1500);
    EXPECT_EQ(r.Width(), 4000);
    EXPECT_EQ(r.Height(), 3000);
    EXPECT_FALSE(r.IsEmpty());
}

TEST(OutputRect, RotationShrinksToTheInscribedRectangleWhateverItsSign) {
    for (double rot : {10.0, -10.0}) {
        const OutputRect r = Both(k4000x3000, k4000x3000, 0, 0, rot);
        ExpectRect(r, -1818, -1202, 1818, 1202);
        EXPECT_EQ(r.Width(), 3636);
        EXPECT_EQ(r.Height(), 2404);
    }
}

TEST(OutputRect, OffsetsTruncateTowardZero) {
    const OutputRect r = Both(k4000x3000, k4000x3000, 100.5, -20.25, 0);
    ExpectRect(r, -1899, -1479, 2000, 1500);
    EXPECT_EQ(r.Width(), 3899);
    EXPECT_EQ(r.Height(), 2979);
}

TEST(OutputRect, OffsetsWithRotation) {
    ExpectRect(Both(k4000x3000, k4000x3000, 100.5, -20.25, 5), -1789, -1320, 1990, 1360);
}

TEST(OutputRect, SmallerLeftImageLimitsTheOutput) {
    ExpectRect(Both({3000, 2000}, k4000x3000, 0, 0, 0), -1500, -1000, 1500, 1000);
}

TEST(OutputRect, OneImageGivesItsOwnExtentAndIgnoresTheAlignment) {
    const OutputRect l = ComputeOutputRect(ImageSize{5, 3}, std::nullopt, {40, -7, 12});
    ExpectRect(l, -2, -1, 2, 1);
    EXPECT_EQ(l.Width(), 4);
    EXPECT_EQ(l.Height(), 2);
    ExpectRect(ComputeOutputRect(std::nullopt, ImageSize{5, 3}, {}), -2, -1, 2, 1);
}

TEST(OutputRect, NoImageGivesZeroRectangle) {
    const OutputRect r = ComputeOutputRect(std::nullopt, std::nullopt, {10, 10, 10});
    ExpectRect(r, 0, 0, 0, 0);
    EXPECT_TRUE(r.IsEmpty());
}

TEST(OutputRect, WideImagesAtTwentyDegrees) {
    const OutputRect flat = Both({3000, 1000}, {3000, 1000}, 0, 0, 20);
    EXPECT_LT(flat.bottom, flat.top);
    EXPECT_TRUE(flat.IsEmpty());

    const OutputRect thin = Both({2700, 1000}, {2700, 1000}, 0, 0, 20);
    EXPECT_FALSE(thin.IsEmpty());
    EXPECT_EQ(thin.Width(), 2700);  // clamped into the right image
    EXPECT_EQ(thin.Height(), 20);
}

TEST(OutputRect, OffsetBeyondTheRightImageIsEmpty) {
    for (double ox : {4001.0, -4001.0}) {
        const OutputRect r = Both(k4000x3000, k4000x3000, ox, 0, 0);
        EXPECT_EQ(r.left, r.right);
        EXPECT_TRUE(r.IsEmpty());
    }
    EXPECT_TRUE(Both(k4000x3000, k4000x3000, 0, 3001, 0).IsEmpty());
}

TEST(OutputRect, EdgesStayInsideTheRightImage) {
    const OutputRect r = Both({8000, 6000}, {400, 300}, 123.75, -45.5, 3);
    ExpectRect(r, -200, -150, 200, 150);
}

TEST(OutputRect, FortyFiveDegreesAndNonFiniteValuesGiveAnEmptyRectangle) {
    EXPECT_TRUE(Both(k4000x3000, k4000x3000, 0, 0, 45).IsEmpty());
    EXPECT_TRUE(Both(k4000x3000, k4000x3000, 0, 0, -45).IsEmpty());
    EXPECT_TRUE(Both(k4000x3000, k4000x3000, std::numeric_limits<double>::quiet_NaN(), 0, 0).IsEmpty());
    EXPECT_TRUE(Both(k4000x3000, k4000x3000, 0, 0, std::numeric_limits<double>::infinity()).IsEmpty());
}

TEST(OutputRect, EmptinessUsesSignedComparisons) {
    EXPECT_TRUE((OutputRect{0, 0, 0, 5}).IsEmpty());
    EXPECT_TRUE((OutputRect{0, 5, 3, 5}).IsEmpty());
    EXPECT_TRUE((OutputRect{3, 0, -3, 5}).IsEmpty());
    EXPECT_FALSE((OutputRect{-3, -5, -2, -4}).IsEmpty());
}

}  // namespace
}  // namespace bistrope
