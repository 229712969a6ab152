#pragma once
// Layout of an image slot's client area: the caption strip holding the path, the image
// area below it and the place of the thumbnail inside that area.
//
// Rectangles are in client pixels, origin at the top-left corner, y downwards, right and
// bottom exclusive (as the platform's RECT).

#include <cstdint>
#include <optional>

#include "base/geometry.h"

namespace bistrope {

using SlotRect = geom::Rect<std::int32_t>;

constexpr std::int32_t kCaptionHeight = 25;  // the caption strip is the top 25 pixels
constexpr std::int32_t kCaptionInset = 4;    // cut from each side of the strip
constexpr std::int32_t kThumbnailMargin = 4; // kept free along the limiting sides

// (left + 4, top, right - 4, top + 25).
[[nodiscard]] SlotRect CaptionStrip(const SlotRect& client);
// The client area below the caption strip: (left, top + 25, right, bottom).
[[nodiscard]] SlotRect ImageArea(const SlotRect& client);

// Where the thumbnail of a W x H source goes in the slot (a rectangle of the client area). With the image area A x B, the
// scales are A / W and B / H. When the height limits (B / H < A / W) the area loses 4 pixels
// at the top and bottom, the thumbnail is as high as what is left and trunc(W * s) wide,
// centred horizontally; otherwise (ties included) the area loses 4 pixels at the left and
// right and the thumbnail is as wide as what is left, trunc(H * s) high, centred vertically.
// Centring uses integer halving. A 400 x 300 source in a 198 x 175 slot gives 190 x 142 at
// (4, 29): (4, 29, 194, 171); 300 x 400 gives 106 x 142 at (46, 29).
//
// None for a source that is not at least 1 x 1 and for a slot too small to hold a
// thumbnail; a side that would truncate to 0 (a 1 x 10000 source) is kept at 1 pixel.
[[nodiscard]] std::optional<SlotRect> PlaceThumbnail(const SlotRect& client, std::int32_t sourceWidth,
                                                               std::int32_t sourceHeight);

}  // namespace bistrope
