#pragma once
// Stereo pairs stored side by side in one picture (JPS and PNS files are JPEG and PNG files
// laid out this way).
//
//   Parallel: the left eye's view in the left half, the right eye's in the right half.
//   Cross:    the other way round, for cross-eyed viewing; the layout of JPS and PNS files.
//
// The halves must be the same size, so an odd width is refused (InvalidArgument) rather
// than dropping or sharing the middle column.

#include "engine/image.h"
#include "engine/status.h"

namespace bistrope {

enum class SideBySide { Parallel, Cross };

struct StereoHalves {
    SourceImage left;
    SourceImage right;
    Status status;  // both images empty on failure

    [[nodiscard]] bool ok() const { return status.ok(); }
};

[[nodiscard]] StereoHalves SplitSideBySide(const SourceImage& image, SideBySide layout);

}  // namespace bistrope
