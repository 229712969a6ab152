#include "view/preview_geometry.h"

#include <cmath>

namespace bistrope {

HalfSize ImageHalfSize(std::int32_t sourceWidth, std::int32_t sourceHeight) {
    // C++ integer division rounds toward zero: -1 / 2 is 0.
    return {sourceWidth / 2, sourceHeight / 2};
}

ImageQuad MakeImageQuad(HalfSize half, double depth) {
    const double w = half.width, h = half.height;
    return {{
        {-w, h, depth, 0.0, 0.0},
        {-w, -h, depth, 0.0, 1.0},
        {w, -h, depth, 1.0, 1.0},
        {w, h, depth, 1.0, 0.0},
    }};
}

TWIG4::Matrix4 LeftImageTransform(const Alignment& alignment) {
    TWIG4::Matrix4 m = TWIG4::Matrix4::Identity();
    m.m[0][3] = alignment.offsetX;
    m.m[1][3] = -alignment.offsetY;
    // A rotation by a about (0, 0, -1) is a rotation by -a about z.
    m.RotateZ(-alignment.rotation * kDegreesToRadians);
    return m;
}

std::optional<std::array<FrameSegment, 4>> OutputFrameSegments(const OutputRect& rect) {
    if (rect.Width() < 1 || rect.Height() < 1) return std::nullopt;
    const double l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
    return std::array<FrameSegment, 4>{{
        {l, t, r, t},
        {r, t, r, b},
        {r, b, l, b},
        {l, b, l, t},
    }};
}

}  // namespace bistrope
