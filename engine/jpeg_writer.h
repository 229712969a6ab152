#pragma once
// Writing converted images (engine/image.h) as JPEG files with libjpeg-turbo: baseline,
// no chroma subsampling (4:4:4, which keeps the red/cyan separation sharp), and an EXIF
// APP1 segment whose first IFD holds tag 0x0131 Software = "Bistrope by Renvik".
//
// The file is written to a new temporary file in the target's folder and renamed over
// the target only once it is complete and flushed, so a failed save leaves an existing
// file untouched. Errors name the file and the reason: NotFound (the folder does not
// exist), ReadOnly (the file or folder cannot be written), DiskFull, WriteFailed.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "engine/image.h"
#include "engine/status.h"

namespace bistrope {

constexpr const char* kSoftwareTag = "Bistrope by Renvik";

// Any stored value to a JPEG quality: clamped to 0..100.
[[nodiscard]] constexpr int ClampJpegQuality(long long quality) {
    return quality < 0 ? 0 : quality > 100 ? 100 : int(quality);
}

// The whole JPEG file in memory; empty (with a reason in `status`) on failure. Images of a
// megapixel and more are encoded in horizontal bands on `threads` threads (0: all worker
// threads), joined with restart markers; the pixels are the same as from one thread.
[[nodiscard]] std::vector<std::uint8_t> EncodeJpeg(const ConvertedImage& image, long long quality, Status& status,
                                                   int threads = 0);

[[nodiscard]] Status WriteJpegFile(const std::filesystem::path& path, const ConvertedImage& image, long long quality);

}  // namespace bistrope
