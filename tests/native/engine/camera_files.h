#pragma once
// Camera files built for the tests: EXIF segments, and multi-picture (MPO) files made of
// JPEG streams with an index that can be damaged on purpose.

#include <functional>

#include "test_files.h"

namespace bistrope::test {

// A TIFF structure whose IFD0 holds one entry (a SHORT value is written left-justified).
Bytes TiffWithEntry(bool bigEndian, std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value);
// An uncompressed RGB TIFF whose bytes (3 a pixel, rows top first) all differ, with an
// orientation tag unless it is 0.
Bytes RgbTiff(int width, int height, int orientation, bool bigEndian = false);
// A JPEG of a width x height picture from the engine's writer (which adds an EXIF segment
// without orientation); fill gives each pixel's blue, green, red.
Bytes EngineJpeg(int width, int height, const std::function<void(int x, int y, std::uint8_t* bgr)>& fill);
// An APP1 "Exif\0\0" body with Orientation = value.
Bytes ExifOrientationBody(int value, bool bigEndian = false);
// The JPEG with a segment (marker, body) inserted right after its start-of-image marker.
Bytes WithSegment(const Bytes& jpeg, std::uint8_t marker, const Bytes& body);

struct MpoEntry { std::uint32_t attribute, size, offset; };
struct MpoFile {
    Bytes bytes;
    std::vector<std::pair<std::size_t, std::size_t>> frames;  // where each frame was put: offset, size
};
// The frames one after the other; the first gets an APP2 "MPF\0" index after its SOI. The
// index declares declaredCount frames (-1: the real count), and edit may change the entries
// before they are written.
MpoFile MakeMpo(const std::vector<Bytes>& frames, bool bigEndian = false, std::int64_t declaredCount = -1,
                const std::function<void(std::vector<MpoEntry>&)>& edit = {});

}  // namespace bistrope::test
