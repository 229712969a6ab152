#include "engine/output_rect.h"

#include <algorithm>
#include <cmath>

namespace bistrope {
namespace {

// Truncation toward zero into 32 bits. Callers pass values already clamped into an image,
// so the range check only guards against non-finite input.
std::int32_t Trunc(double v) {
    if (!std::isfinite(v)) return 0;
    v = std::clamp(v, -2147483648.0, 2147483647.0);
    return static_cast<std::int32_t>(v);
}

double Clamp(double v, double lo, double hi) { return std::min(std::max(lo, v), hi); }

OutputRect ImageExtent(ImageSize size) {
    const double w = size.width, h = size.height;
    return {Trunc(-w / 2), Trunc(-h / 2), Trunc(w / 2), Trunc(h / 2)};
}

}  // namespace

OutputRect ComputeOutputRect(std::optional<ImageSize> left, std::optional<ImageSize> right,
                             const Alignment& alignment) {
    if (left.has_value() != right.has_value()) return ImageExtent(left ? *left : *right);
    if (!left) return {};

    if (!std::isfinite(alignment.offsetX) || !std::isfinite(alignment.offsetY) ||
        !std::isfinite(alignment.rotation))
        return {};

    const double theta = std::fabs(alignment.rotation) * kDegreesToRadians;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const double wl = left->width / 2.0, hl = left->height / 2.0;
    const double wr = right->width / 2.0, hr = right->height / 2.0;

    // The axis-aligned rectangle centred on the left image whose corners touch the four
    // sides of the rotated left image: a*c + b*s = wl and a*s + b*c = hl.
    const double det = s * s - c * c;
    if (std::fabs(det) < 1e-12) return {};  // 45 degrees: no unique solution
    const double b = (s * wl - c * hl) / det;
    const double a = std::fabs(c) >= std::fabs(s) ? (wl - b * s) / c : (hl - b * c) / s;

    const double x0 = Clamp(alignment.offsetX - a, -wr, wr);
    const double x1 = Clamp(alignment.offsetX + a, -wr, wr);
    const double y0 = Clamp(-alignment.offsetY - b, -hr, hr);
    const double y1 = Clamp(-alignment.offsetY + b, -hr, hr);
    return {Trunc(x0), Trunc(y0), Trunc(x1), Trunc(y1)};
}

}  // namespace bistrope
