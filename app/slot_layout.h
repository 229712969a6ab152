#pragma once
// Layout of an image slot's client area: the caption strip holding the path, the image
// area below it and the place of the thumbnail inside that area.
//
// Rectangles are in client pixels, origin at the top-left corner, y downwards, right and
// bottom exclusive (as the platform's RECT).

#include <cstdint>
#include <optional>

namespace bistrope {

struct SlotRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    [[nodiscard]] std::int32_t Width() const { return right - left; }
    [[nodiscard]] std::int32_t Height() const { return bottom - top; }
    friend bool operator==(const SlotRect& a, const SlotRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

constexpr std::int32_t kCaptionHeight = 25;  // the caption strip is the top 25 pixels
constexpr std::int32_t kCaptionInset = 4;    // cut from each side of the strip
constexpr std::int32_t kThumbnailMargin = 4; // kept free along the limiting sides

// (left + 4, top, right - 4, top + 25).
[[nodiscard]] SlotRect CaptionStrip(const SlotRect& client);
// The client area below the caption strip: (left, top + 25, right, bottom).
[[nodiscard]] SlotRect ImageArea(const SlotRect& client);

struct ThumbnailPlacement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const ThumbnailPlacement& a, const ThumbnailPlacement& b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    }
};

// Where the thumbnail of a W x H source goes in the slot. With the image area A x B, the
// scales are A / W and B / H. When the height limits (B / H < A / W) the area loses 4 pixels
// at the top and bottom, the thumbnail is as high as what is left and trunc(W * s) wide,
// centred horizontally; otherwise (ties included) the area loses 4 pixels at the left and
// right and the thumbnail is as wide as what is left, trunc(H * s) high, centred vertically.
// Centring uses integer halving. A 400 x 300 source in a 198 x 175 slot gives 190 x 142 at
// (4, 29); 300 x 400 gives 106 x 142 at (46, 29).
//
// None for a source that is not at least 1 x 1 and for a slot too small to hold a
// thumbnail; a side that would truncate to 0 (a 1 x 10000 source) is kept at 1 pixel.
[[nodiscard]] std::optional<ThumbnailPlacement> PlaceThumbnail(const SlotRect& client, std::int32_t sourceWidth,
                                                               std::int32_t sourceHeight);

}  // namespace bistrope
