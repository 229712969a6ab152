#pragma once
// The output rectangle: the part of the right image that the moved and rotated left
// image covers, which is what a save renders.
//
// Alignment frame: the preview plane in source pixels, origin at the centre of the right
// image, x to the right and y upwards. The right image covers [-wR/2, wR/2] x [-hR/2, hR/2].
// The left image's centre sits at (offsetX, -offsetY): offsetY is positive downwards on
// screen. rotation is in degrees, positive clockwise on screen, and is kept within
// +-kMaxRotation by everything that turns the left image (the rotate drag, the turn keys,
// automatic alignment).

#include <cstdint>
#include <optional>

#include "base/geometry.h"

namespace bistrope {

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr double kMaxRotation = 20.0;  // degrees either way

// In the alignment frame: top holds the lower y bound and bottom the upper one.
struct OutputRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    // Non-empty exactly when right > left and bottom > top (signed comparisons).
    [[nodiscard]] bool IsEmpty() const { return !(right > left && bottom > top); }
    [[nodiscard]] std::int64_t Width() const { return std::int64_t(right) - left; }
    [[nodiscard]] std::int64_t Height() const { return std::int64_t(bottom) - top; }

    friend bool operator==(const OutputRect& a, const OutputRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

// An image's size in pixels.
using ImageSize = geom::Size<std::int32_t>;

struct Alignment {
    double offsetX = 0.0;
    double offsetY = 0.0;
    double rotation = 0.0;  // degrees
};

// The rectangle for the images present (none for an empty slot) and the alignment.
// With one image it is that image's own extent and the alignment is ignored; with none
// it is (0, 0, 0, 0). Edges are truncated toward zero. Angles where the inscribed
// rectangle is undefined (|rotation| = 45 degrees) and non-finite values give an empty
// rectangle.
[[nodiscard]] OutputRect ComputeOutputRect(std::optional<ImageSize> left, std::optional<ImageSize> right,
                                           const Alignment& alignment);

}  // namespace bistrope
