#pragma once
// The orthographic camera of an OpenGL view: what part of a plane the viewport shows.
//
// The plane is the world's x-y plane with y upwards; window rows run downwards. The camera
// looks at `target` (shown at the centre of the viewport); after FitRect one world unit
// covers `zoom` window pixels in both directions. Nothing here touches OpenGL: ApplyCamera
// computes the projection box and the view matrix, and the OpenGL view loads them.
//
// A viewport of width or height 0 (a window before its first resize, or a minimised one)
// makes ApplyCamera, FitRect and Refit change nothing.

#include <cstdint>

#include "base/geometry.h"
#include "framework/matrix4.h"

namespace TWIG4 {

// The part of the window the camera draws into, in window pixels.
using Viewport = geom::Rect<std::int32_t>;

class Camera {
public:
    Camera() = default;

    [[nodiscard]] double GetZoom() const { return zoom; }
    void SetZoom(double z) { zoom = z; }
    [[nodiscard]] Vec3 GetTarget() const { return target; }
    void SetTarget(const Vec3& t) { target = t; }

    // Stores the viewport (window pixels). The OpenGL view also hands it to OpenGL.
    void SetViewport(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

    // Computes orthoMin/orthoMax and viewMatrix from the camera values. Returns false, and
    // changes nothing, when the viewport has width or height 0.
    bool ApplyCamera();

    // Maps a window point into the world through the box of the last ApplyCamera. Callers
    // pass (mouse x, -mouse y, 0) in client pixels (origin at the window's top-left corner).
    // With a zero viewport the point maps to the box's top-left corner, so the result
    // is always finite.
    [[nodiscard]] Vec3 WindowToWorld(const Vec3& p) const;

    // Fits the world rectangle with lower-left corner (x, y) and size w x h into the
    // viewport: sets zoom, distance, target.x, target.y and the fit size. Changes nothing
    // with a zero viewport or when w or h is not a positive finite number.
    void FitRect(double x, double y, double w, double h);

    // Fits the last fitted size again, keeping target and the fit size. Changes nothing with
    // a zero viewport or before the first fit.
    void Refit();

    // Camera values; the projection box and view matrix are outputs of ApplyCamera.
    Vec3 target{0.0, 0.0, 0.0};
    double distance = 1000.0;
    double fieldOfView = 0.7853981633974483;  // 45 degrees
    Vec3 angles{0.0, 0.0, 0.0};               // radians about x, y, z
    double zoom = 1.0;
    double fitWidth = 0.0;
    double fitHeight = 0.0;
    Viewport viewport{};
    Vec3 orthoMin{};  // left, bottom, near
    Vec3 orthoMax{};  // right, top, far
    Matrix4 viewMatrix{};

private:
    // Sets zoom and distance so that w x h fits the viewport; false with a zero viewport.
    bool FitSize(double w, double h);
};

}  // namespace TWIG4
