// Progress sub-ranges: where a percentage of the current step puts the bar.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "app/progress_range.h"

using bistrope::ProgressBarPosition;

namespace {

TEST(ProgressRange, WholePercentagesOfWholeRangesAreExact) {
    // Dividing first would give 28.999999999999996 -> 28 here.
    EXPECT_EQ(ProgressBarPosition(29, 0, 100), 29);
    EXPECT_EQ(ProgressBarPosition(33, 80, 100), 86);  // 86.6 truncated
    for (int p = 0; p <= 100; ++p) {
        EXPECT_EQ(ProgressBarPosition(p, 0, 100), p);
        EXPECT_EQ(ProgressBarPosition(p, 0, 50), p / 2);
        EXPECT_EQ(ProgressBarPosition(p, 20, 70), 20 + p / 2);
    }
}

TEST(ProgressRange, OddInputsStaySound) {
    EXPECT_EQ(ProgressBarPosition(12.5, 0, 100), 12);   // truncated
    EXPECT_EQ(ProgressBarPosition(-10, 0, 100), -10);   // left for the bar to limit
    EXPECT_EQ(ProgressBarPosition(150, 0, 100), 150);
    EXPECT_EQ(ProgressBarPosition(50, 100, 0), 50);     // a reversed range runs backwards
    EXPECT_EQ(ProgressBarPosition(std::nan(""), 40, 80), 40);
    EXPECT_EQ(ProgressBarPosition(std::numeric_limits<double>::infinity(), 0, 100), INT_MAX);
    EXPECT_EQ(ProgressBarPosition(-1e300, 0, 100), INT_MIN);
    EXPECT_EQ(ProgressBarPosition(100, INT_MIN, INT_MAX), INT_MAX);
    EXPECT_EQ(ProgressBarPosition(-0.5, 0, 100), 0);
}

}  // namespace
