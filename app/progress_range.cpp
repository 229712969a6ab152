#include "app/progress_range.h"

#include <climits>
#include <cmath>

namespace bistrope {

int ProgressBarPosition(double percent, int low, int high) {
    if (std::isnan(percent)) return low;
    const double span = static_cast<double>(high) - static_cast<double>(low);
    const double position = std::trunc(percent * span / 100.0 + static_cast<double>(low));
    if (!(position >= static_cast<double>(INT_MIN))) return INT_MIN;
    if (!(position <= static_cast<double>(INT_MAX))) return INT_MAX;
    return static_cast<int>(position);
}

}  // namespace bistrope
