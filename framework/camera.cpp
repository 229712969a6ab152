#include "framework/camera.h"

#include <cmath>

namespace TWIG4 {

void Camera::SetViewport(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    viewport = geom::RectAt(x, y, width, height);
}

bool Camera::ApplyCamera() {
    const double vw = viewport.Width(), vh = viewport.Height();
    if (vw == 0.0 || vh == 0.0) return false;

    const double hw = std::tan(fieldOfView) * distance / zoom;
    const double hh = hw * vh / vw;
    orthoMin = {-hw, -hh, -1000.0};
    orthoMax = {hw, hh, 1000.0};

    viewMatrix = Matrix4::Identity();
    viewMatrix.RotateZ(angles.z);
    viewMatrix.RotateY(angles.y);
    viewMatrix.RotateX(angles.x);
    viewMatrix.TranslateNegative(target);
    return true;
}

Vec3 Camera::WindowToWorld(const Vec3& p) const {
    const double vw = viewport.Width(), vh = viewport.Height();
    // Fractions of the viewport; a zero viewport pins the point to the box's top-left.
    const double fx = vw != 0.0 ? p.x / vw : 0.0;
    const double fy = vh != 0.0 ? p.y / vh : 0.0;
    const Vec3 q{orthoMin.x + fx * (orthoMax.x - orthoMin.x), fy * (orthoMax.y - orthoMin.y) - orthoMin.y, p.z};
    return viewMatrix.RigidInverse().TransformPoint(q);
}

bool Camera::FitSize(double w, double h) {
    const double vw = viewport.Width(), vh = viewport.Height();
    if (vw == 0.0 || vh == 0.0) return false;

    const double t = std::tan(fieldOfView);
    const double wn = w / t;
    const double hn = (h / t) / (vh / vw);
    if (hn < wn) {
        zoom = vw / w;
        distance = wn * zoom / 2;
    } else {
        zoom = vh / h;
        distance = hn * zoom / 2;
    }
    return true;
}

void Camera::FitRect(double x, double y, double w, double h) {
    if (!(w > 0.0 && h > 0.0 && std::isfinite(w) && std::isfinite(h) && std::isfinite(x) && std::isfinite(y)))
        return;
    if (!FitSize(w, h)) return;
    target.x = x + w / 2;
    target.y = y + h / 2;
    fitWidth = w;
    fitHeight = h;
}

void Camera::Refit() {
    if (!(fitWidth > 0.0 && fitHeight > 0.0)) return;
    FitSize(fitWidth, fitHeight);
}

}  // namespace TWIG4
