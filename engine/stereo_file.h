#pragma once
// Files that hold both eyes: multi-picture files from stereo cameras (MPO, engine/mpo.h)
// and side-by-side pictures (JPS and PNS, engine/side_by_side.h).
//
//   Auto      an MPO's first two frames are the left and the right eye (each turned upright
//             by its own EXIF orientation); a file named .jps or .pns is a cross-eyed
//             side-by-side picture; any other file holds a single picture (`single`).
//   Parallel, Cross
//             whatever the file is, its (first) picture split in two that way.
// A damaged multi-picture index, a frame that cannot be decoded or an odd width is an error
// whose message names the file. A file with a single picture (an MPO without an index, or
// with one frame) is not an error: `single` is set and the caller reads it as an image.

#include <filesystem>

#include "engine/decode.h"
#include "engine/side_by_side.h"

namespace bistrope {

enum class StereoLayout { Auto, Parallel, Cross };

struct StereoDecodeResult {
    SourceImage left;
    SourceImage right;
    Status status;
    bool single = false;  // ok, but the file holds one picture: nothing was decoded

    [[nodiscard]] bool ok() const { return status.ok() && !single; }
};

[[nodiscard]] StereoDecodeResult DecodeStereoFile(const std::filesystem::path& path,
                                                  StereoLayout layout = StereoLayout::Auto,
                                                  const DecodeLimits& limits = {});

// Whether the name ends in .mpo, .jps or .pns, in any case.
[[nodiscard]] bool IsStereoFileName(const std::filesystem::path& path);

}  // namespace bistrope
