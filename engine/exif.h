#pragma once
// EXIF orientation: the tag 0x0112 that cameras write instead of turning the pixels.
//
// Values (how the stored rows must be turned to stand upright):
//   1 upright                 5 transpose (mirror about the main diagonal)
//   2 mirror left-right       6 rotate 90 degrees clockwise
//   3 rotate 180 degrees      7 transverse (mirror about the other diagonal)
//   4 mirror top-bottom       8 rotate 90 degrees anticlockwise
// A missing, unreadable or out-of-range tag counts as 1: orientation never makes a file
// unreadable. The readers check every offset against the bytes they are given.

#include <cstddef>
#include <cstdint>

#include "engine/image.h"

namespace bistrope {

// From the first APP1 "Exif\0\0" segment before a JPEG stream's scan.
[[nodiscard]] int ReadJpegOrientation(const std::uint8_t* bytes, std::size_t size);
// From IFD0 of a TIFF structure (a TIFF file, or the body of an EXIF segment); either byte order.
[[nodiscard]] int ReadTiffOrientation(const std::uint8_t* bytes, std::size_t size);
// Either of the above, chosen by the first bytes; 1 for every other format.
[[nodiscard]] int ReadOrientation(const std::uint8_t* bytes, std::size_t size);

// True for 5..8, whose upright image has width and height exchanged.
[[nodiscard]] constexpr bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

// The image turned upright. Values other than 2..8 return it unchanged; an empty result
// means the memory for the turned copy could not be had.
[[nodiscard]] SourceImage ApplyOrientation(SourceImage image, int orientation);

}  // namespace bistrope
