#pragma once
// Automatic alignment of a stereo pair: the rotation and vertical offset that bring
// corresponding points of the two eyes to the same height, and the horizontal offset that
// puts the nearest part of the scene at the screen, everything else behind it.
//
// The result means what the renderer does with an Alignment (engine/render.h): with
// continuous pixel coordinates (y downwards) and cL, cR the images' centres, the left
// image's point pL is shown on the right image's point
//     A(pL) = cR + (offsetX, offsetY) + Rot(rotation) (pL - cL),
// Rot turning clockwise on screen. For a matched pair of points (pL, pR), A(pL).y - pR.y is
// its vertical disparity and A(pL).x - pR.x its parallax: positive in front of the screen,
// negative behind it. The aligner makes the vertical disparities as small as it can
// (least squares over the consistent matches) and sets offsetX so that the 98th
// percentile of the parallaxes of a dense sample of the scene is zero: the nearest 2 % of
// the matched points lie at the screen, without one stray match deciding it. Where the
// nearest half percent stand out more than 0.5 % of the width beyond that, the scene goes
// back until they are 0.5 % of the width in front.
//
// Method (docs/auto-align.md): corners and rotation-normalised patch descriptors on a
// reduced copy, mutual-best matches with a ratio test, a RANSAC fit of (offsetY, rotation)
// to the vertical disparities, then each consistent match refined to a fraction of a pixel
// by patch correlation down the pyramid to full size, and a final robust fit. The
// parallaxes then come from a grid of textured points matched along the levelled rows of
// the reduced copy (the consistent matches' own when too few of them match).

#include "engine/image.h"
#include "engine/output_rect.h"
#include "engine/progress.h"
#include "engine/status.h"

namespace bistrope {

struct AutoAlignResult {
    Status status;        // NoMatch with the reason when the pair cannot be aligned
    Alignment alignment;  // valid when status is ok; rotation within +-20 degrees
    int matches = 0;      // the consistent matches the alignment rests on (also on refusal)
    [[nodiscard]] bool ok() const { return status.ok(); }
};

// The alignment of `left` onto `right`, greyscale images (MakeGreyImage, engine/convert.h)
// that may differ in size. Refused (NoMatch) when
// the pair gives fewer than 20 consistent matches (unrelated pictures, no detail, a
// repeating pattern with no true match), the rotation found is beyond +-20 degrees, or
// the pictures are too narrow for their length to be matched reduced; NoImage for an empty
// or tiny (under 48 pixels a side) image; OutOfMemory. Progress 0-100.
[[nodiscard]] AutoAlignResult AutoAlign(const GreyImage& left, const GreyImage& right,
                                        const ProgressFn& progress = {});

}  // namespace bistrope
