// Where a progress step puts the bar: a job divides itself into consecutive steps, each a
// sub-range [low, high] of the bar's 0..100, and reports 0 to 100 % inside the current one.
#pragma once

namespace bistrope {

// trunc(percent / 100 * (high - low) + low), computed in double precision as
// percent * (high - low) / 100 + low so that whole percentages of whole ranges come out
// exact (29 % of 0-100 is 29, where 29 / 100 * 100 would truncate 28.999... to 28).
// Examples: 50 % of 50-100 is 75, 33 % of 0-100 is 33, 33 % of 80-100 is 86 (86.6).
// A result beyond the int range is held at its limit; a NaN percent gives `low`.
int ProgressBarPosition(double percent, int low, int high);

}  // namespace bistrope
