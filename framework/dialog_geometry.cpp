#include "framework/dialog_geometry.h"

namespace TWIG4 {

namespace {

// Sums are formed in 64 bits so that extreme coordinates cannot overflow.
int Half(long long value) { return static_cast<int>(value / 2); }

}  // namespace

ScreenPoint CentreModalDialog(const ScreenRect& parent, const ScreenRect& dialog) {
    const long long width = static_cast<long long>(dialog.right) - dialog.left;
    const long long height = static_cast<long long>(dialog.bottom) - dialog.top;
    ScreenPoint at;
    at.x = Half(static_cast<long long>(parent.left) + parent.right) - Half(width);
    at.y = Half(static_cast<long long>(parent.top) + parent.bottom) - Half(height);
    return at;
}

ScreenPoint CentreChildDialog(const ScreenRect& parent, const ScreenRect& dialog) {
    ScreenPoint at;
    at.x = Half(static_cast<long long>(parent.right) + parent.left - dialog.right - dialog.left);
    at.y = Half(static_cast<long long>(parent.bottom) + parent.top - dialog.bottom - dialog.top);
    return at;
}

ScreenPoint CentreFileDialog(const ScreenRect& owner, int clientWidth, int clientHeight) {
    ScreenPoint at;
    at.x = Half(static_cast<long long>(owner.left) + owner.right - clientWidth);
    at.y = Half(static_cast<long long>(owner.top) + owner.bottom - clientHeight);
    return at;
}

}  // namespace TWIG4
