#include "view/zoom_all.h"

#include <algorithm>
#include <cmath>

namespace bistrope {
namespace {

void FitImage(TWIG4::Camera& camera, ImageSize size) {
    const double w = size.width, h = size.height;
    camera.FitRect(-w / 2, -h / 2, w, h);
}

}  // namespace

double ClampZoom(double zoom) {
    if (zoom > kMaxZoom) zoom = kMaxZoom;
    if (zoom < kMinZoom) zoom = kMinZoom;
    return zoom;
}

void ZoomAll(TWIG4::Camera& camera, std::optional<ImageSize> left, std::optional<ImageSize> right,
             const Alignment& alignment) {
    if (left && right) {
        const double theta = std::fabs(alignment.rotation) * kDegreesToRadians;
        const double c = std::cos(theta), s = std::sin(theta);
        const double wL = left->width, hL = left->height;
        const double wR = right->width, hR = right->height;
        // Axis-aligned bounds of the left image turned about its centre (offsetX, -offsetY).
        const double lx0 = alignment.offsetX - wL * c / 2 - hL * s / 2;
        const double lx1 = alignment.offsetX + wL * c / 2 + hL * s / 2;
        const double ly0 = -alignment.offsetY - hL * c / 2 - wL * s / 2;
        const double ly1 = -alignment.offsetY + hL * c / 2 + wL * s / 2;
        const double xmin = std::min(lx0, -wR / 2), xmax = std::max(lx1, wR / 2);
        const double ymin = std::min(ly0, -hR / 2), ymax = std::max(ly1, hR / 2);
        camera.FitRect(xmin, ymin, xmax - xmin, ymax - ymin);
    } else {
        if (left) FitImage(camera, *left);
        if (right) FitImage(camera, *right);
    }
    camera.SetZoom(ClampZoom(camera.GetZoom()));
}

}  // namespace bistrope
