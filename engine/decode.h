#pragma once
// Reading image files into SourceImages (32-bit BGRA, see engine/image.h).
//
// Formats: JPEG (including grey and CMYK), PNG (palette with transparency, grey, 16-bit,
// alpha), BMP (1/4/8/24/32-bit, bottom-up and top-down), GIF (the first frame), TIFF and,
// in the Windows build only, EMF. No colour profile is applied. The format is recognised
// by the file's first bytes, not by its name. JPEG and TIFF images are turned upright by
// their EXIF orientation (engine/exif.h), and sizes are reported upright.
//
// Pixel limit: a file whose declared size is above DecodeLimits (by default 2^28 pixels,
// 16384 x 16384, 1 GiB as BGRA, and 65535 pixels per side) is refused with
// ErrorCode::TooLarge after reading its header and before any pixel buffer is allocated.
//
// Every failure is a Status whose message names the file and the reason, for example
//   "Cannot read \"a.png\": the file is truncated".

#include <cstdint>
#include <filesystem>
#include <vector>

#include "engine/color_matrix.h"
#include "engine/image.h"
#include "engine/output_rect.h"
#include "engine/status.h"

namespace bistrope {

enum class ImageFormat { Unknown, Jpeg, Png, Bmp, Gif, Tiff, Emf };

// The name of a format as shown in messages ("JPEG", "PNG", ...).
const char* ImageFormatName(ImageFormat format);

struct DecodeLimits {
    static constexpr std::int64_t kDefaultMaxPixels = std::int64_t(1) << 28;
    static constexpr std::int32_t kDefaultMaxSide = 65535;

    std::int64_t maxPixels = kDefaultMaxPixels;
    std::int32_t maxSide = kDefaultMaxSide;

    // True when width x height may be allocated.
    [[nodiscard]] bool Allows(std::int64_t width, std::int64_t height) const {
        return width > 0 && height > 0 && width <= maxSide && height <= maxSide && width * height <= maxPixels;
    }
};

struct DecodeResult {
    SourceImage image;  // empty on failure
    Status status;
    ImageFormat format = ImageFormat::Unknown;

    [[nodiscard]] bool ok() const { return status.ok(); }
};

[[nodiscard]] DecodeResult DecodeImageFile(const std::filesystem::path& path, const DecodeLimits& limits = {});

// An image held in memory, such as one frame of a multi-picture file (engine/mpo.h). The
// same decoders and limits as for files; EMF is refused. The message is only the reason
// ("the file is truncated"): the caller names where the bytes came from.
[[nodiscard]] DecodeResult DecodeImageBytes(const std::uint8_t* bytes, std::size_t size,
                                            const DecodeLimits& limits = {});

// A file decoded as DecodeImageFile does, with its preview (engine/convert.h's
// MakePreviewImage conversion through `matrix` onto ComputePreviewSize(width, height,
// maxTexSize)) made as well. Where the platform decodes the file row by row and it is
// upright (JPEG, EXIF orientation 1), the preview's rows are made on a second thread while
// the file is decoded. With `reduce`, such a file whose preview is no larger than the
// picture at 1/2, 1/4 or 1/8 scale on both sides is decoded at the smallest of those
// scales that keeps both sides at least the preview's (libjpeg-turbo's scaled inverse
// DCT), the preview made from that; the file's bytes are then handed back for the
// full-size decode (DecodeImageBytes), which is left to the caller.
struct PreviewedDecodeResult {
    DecodeResult decoded;    // the picture at full size, or at 1/reduction of it
    ConvertedImage preview;  // empty when either failed
    Status previewStatus;    // the preview's own failure (out of memory); ok when the decode failed
    int reduction = 1;       // 1, 2, 4 or 8
    ImageSize fullSize{};    // the picture's size at full scale
    std::vector<std::uint8_t> bytes;  // the file, after a reduced decode
};
[[nodiscard]] PreviewedDecodeResult DecodeImageFileWithPreview(const std::filesystem::path& path,
                                                              const std::optional<ColorMatrix>& matrix,
                                                              std::uint32_t maxTexSize,
                                                              const DecodeLimits& limits = {}, bool reduce = false);

struct ConvertedDecodeResult {
    ConvertedImage image;  // empty on failure
    GreyImage luma;        // with withLuma: the full-size luma (MakeGreyImage, engine/convert.h)
    Status status;
    ImageFormat format = ImageFormat::Unknown;

    [[nodiscard]] bool ok() const { return status.ok(); }
};

// A file decoded and converted through `matrix` (none: colours copied) at full size, with
// the same result as DecodeImageFile followed by ConvertImage (engine/convert.h) but
// without keeping the decoded image: where the platform decodes row by row (JPEG in the
// native build) each row is converted as it arrives. For callers that need only the
// converted image, such as bistrope-cli. With `withLuma` the luma of every row is kept as
// well (what the aligner reads), one byte a pixel, equal to MakeGreyImage of the decoded
// image.
[[nodiscard]] ConvertedDecodeResult DecodeConvertedImageFile(const std::filesystem::path& path,
                                                             const std::optional<ColorMatrix>& matrix,
                                                             const DecodeLimits& limits = {}, bool withLuma = false);

struct ProbeResult {
    std::int32_t width = 0;
    std::int32_t height = 0;
    ImageFormat format = ImageFormat::Unknown;
    Status status;

    [[nodiscard]] bool ok() const { return status.ok(); }
};

// The declared size of an image file, read from its header without decoding pixels.
// Sizes above the limits are reported as TooLarge like the decoder would.
[[nodiscard]] ProbeResult ProbeImageFile(const std::filesystem::path& path, const DecodeLimits& limits = {});

// The same from bytes already in memory (the beginning of a file, at least its header).
[[nodiscard]] ProbeResult ProbeImageHeader(const std::uint8_t* bytes, std::size_t size);

// The format that a file's first bytes announce.
[[nodiscard]] ImageFormat SniffImageFormat(const std::uint8_t* bytes, std::size_t size);

}  // namespace bistrope
