#pragma once
// The thumbnail of an image slot: the source scaled to the thumbnail's size and laid over
// the slot's opaque background colour.

#include <cstdint>

#include "engine/image.h"

namespace bistrope {

struct Bgr {
    std::uint8_t b, g, r;
};

// The source scaled to width x height with independent x and y scales. Each thumbnail
// pixel is the area-weighted average of the source pixels its footprint covers (exact
// fractional coverage), so shrinking does not alias and enlarging repeats pixels. Each
// source pixel is composed over `background` by its alpha first, so transparent parts
// show the background. The result is a 32-bit image (see engine/image.h) with alpha 255
// everywhere. Empty when the source is empty, a size is not positive, or memory is short.
[[nodiscard]] SourceImage MakeThumbnail(const SourceImage& source, std::int32_t width, std::int32_t height,
                                        Bgr background);

}  // namespace bistrope
