#pragma once
// Geometry of the live preview: the quads the two images are drawn on, the transform that
// places the left image, and the dashed frame around the output rectangle.
//
// Everything is in the alignment frame (see engine/output_rect.h): origin at the centre of
// the right image, x to the right, y upwards, one unit = one source pixel. Texture
// coordinate t = 0 is the top row of an image (rows are uploaded top first).

#include <array>
#include <cstdint>
#include <optional>

#include "base/geometry.h"

#include "engine/output_rect.h"
#include "framework/matrix4.h"

namespace bistrope {

// Depths of the two quads. Depth testing is off, so only the drawing order matters.
constexpr double kLeftQuadDepth = 0.0;
constexpr double kRightQuadDepth = 0.4;

// Half the source size, by integer division toward zero. A slot without an image reports
// -1 x -1, which gives 0 x 0.
using HalfSize = geom::Size<std::int32_t>;
[[nodiscard]] HalfSize ImageHalfSize(std::int32_t sourceWidth, std::int32_t sourceHeight);

// A quad is drawn only when both half sizes are at least 1.
[[nodiscard]] inline bool QuadVisible(HalfSize half) { return half.width >= 1 && half.height >= 1; }

struct QuadVertex {
    double x, y, z;  // position
    double s, t;     // texture coordinate
};
// The four corners, counter-clockwise on screen (front-facing): top-left, bottom-left,
// bottom-right, top-right, with the texture's corners (0,0), (0,1), (1,1), (1,0).
// An 801 x 601 image gives half sizes 400 x 300 and a quad 800 x 600 units large.
using ImageQuad = std::array<QuadVertex, 4>;
[[nodiscard]] ImageQuad MakeImageQuad(HalfSize half, double depth);

// The left image's model transform: translate by (offsetX, -offsetY, 0), then rotate by
// `rotation` degrees about the axis (0, 0, -1), which turns the image clockwise on screen
// about its own centre. Applied to column vectors: p' = M p.
[[nodiscard]] TWIG4::Matrix4 LeftImageTransform(const Alignment& alignment);

// The output frame: three pixels wide, black underneath, yellow dashes on top.
constexpr float kFrameLineWidth = 3.0f;
constexpr int kFrameStippleFactor = 1;
constexpr std::uint16_t kFrameStipplePattern = 0xCCCC;
constexpr double kFrameDepth = 0.0;

struct FrameSegment {
    double x0, y0, x1, y1;
};
// The four edges in drawing order: (left, top)-(right, top), (right, top)-(right, bottom),
// (right, bottom)-(left, bottom), (left, bottom)-(left, top). None when the rectangle is
// less than one unit wide or high (differences taken without overflow).
[[nodiscard]] std::optional<std::array<FrameSegment, 4>> OutputFrameSegments(const OutputRect& rect);

}  // namespace bistrope
