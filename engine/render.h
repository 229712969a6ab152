#pragma once
// The full-resolution anaglyph: the output rectangle (engine/output_rect.h) cut 1:1 out of
// the right converted image, the same area of the moved and rotated left converted image,
// merged with a bitwise OR of every byte. For the fixed blending modes this puts the left
// eye in red and the right eye in green and blue.
//
// Geometry. Output pixel (x, y) is right-image pixel (xR + x, yR + y) with
// xR = trunc(left + wR / 2) and yR = trunc(hR / 2 - bottom). Its centre, moved into the
// left image's raster (origin shifted by (wL - wR) / 2 - offsetX across and
// (hL - hR) / 2 - offsetY down), is turned back by -rotation about the left image's centre
// (positive rotation turns the left image clockwise on screen) and sampled there with a
// bicubic filter (Keys, a = -0.5; sample positions quantised to 1/256 pixel). When the
// sides of both images have the same parity their pixel centres coincide, so whole-number
// offsets at rotation 0 copy pixels exactly. Points more than one pixel outside the left
// image are black; closer ones repeat its edge.
//
// Memory: besides `result`, one plane of the left image's size per channel it uses (one
// for the fixed modes). The merge is done while the left layer is made. RenderAnaglyphInPlace
// uses the right image itself as the result, which spares a third full-size image.
//
// Progress: 0, 10, 20, ... in the order of the save: start, output raster made (10), right
// image obtained (20), left image obtained (30), transform set (40), left origin computed
// (50), left layer and merge rendered (60, 80, 90), done (100).

#include <functional>

#include "engine/image.h"
#include "engine/output_rect.h"
#include "engine/progress.h"
#include "engine/status.h"

namespace bistrope {

// Hands the render one eye's full-size converted image when it needs it (nullptr: the
// image cannot be had; the render fails with NoImage). The pointer must stay valid until
// the render returns.
using ConvertedImageSupplier = std::function<const ConvertedImage*()>;

// Renders into `result` (replaced on success, untouched on failure). Errors: EmptyOutput
// for an empty rectangle (checked before anything else), NoImage for a missing or empty
// eye image, InvalidArgument for a rectangle outside the right image or a non-finite
// alignment, OutOfMemory.
[[nodiscard]] Status RenderAnaglyph(const ConvertedImageSupplier& right, const ConvertedImageSupplier& left,
                                    const OutputRect& rect, const Alignment& alignment, ConvertedImage& result,
                                    const ProgressFn& progress = {});

[[nodiscard]] Status RenderAnaglyph(const ConvertedImage& left, const ConvertedImage& right, const OutputRect& rect,
                                    const Alignment& alignment, ConvertedImage& result,
                                    const ProgressFn& progress = {});

// The same with the right image as the canvas: on success `right` has been cut down to the
// output rectangle in its own memory and holds the anaglyph; on failure it is unchanged.
// Progress as above.
[[nodiscard]] Status RenderAnaglyphInPlace(const ConvertedImage& left, ConvertedImage& right, const OutputRect& rect,
                                           const Alignment& alignment, const ProgressFn& progress = {});

}  // namespace bistrope
