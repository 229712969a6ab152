#pragma once
// Multi-picture (MPO) files from stereo cameras: JPEG streams one after the other, the
// first of which carries an APP2 "MPF\0" segment with the index of all of them.
//
// The index is a TIFF structure of its own (either byte order) right after "MPF\0"; its
// first IFD holds the number of frames (0xB001) and one 16-byte entry per frame (0xB002):
// attribute, size, offset, two dependent-frame numbers. Offsets count from the index's
// TIFF header; the first frame's offset is 0 and means the start of the file.
//
// Every offset and size is checked against the bytes given. A damaged index is an error
// (Corrupt, or Truncated when a frame runs past the end of the file): a frame count of 0
// or above kMaxMpoFrames, entries that do not match the count, frames that overlap or do
// not start with a JPEG start-of-image marker. A JPEG without an index, or whose index
// lists a single frame, is NotMultiPicture: the caller reads it as an ordinary JPEG.
//
// Stereo pairs: frame 1 is the left eye and frame 2 the right; files with more viewpoints
// give their first two.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/status.h"

namespace bistrope {

constexpr std::size_t kMaxMpoFrames = 64;

struct ByteRange {
    std::size_t offset = 0;
    std::size_t size = 0;
};

struct MpoIndex {
    enum class Kind { MultiPicture, NotMultiPicture, Damaged };
    Kind kind = Kind::NotMultiPicture;
    std::vector<ByteRange> frames;  // in index order; at least 2 for MultiPicture
    Status status;                  // the reason when Damaged

    [[nodiscard]] bool multiPicture() const { return kind == Kind::MultiPicture; }
};

[[nodiscard]] MpoIndex ReadMpoIndex(const std::uint8_t* bytes, std::size_t size);

}  // namespace bistrope
