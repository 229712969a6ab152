#include "engine/decode_internal.h"
#include "engine/native/native_decoders.h"

namespace bistrope::detail {

bool CanDecodeRows(ImageFormat format) { return format == ImageFormat::Jpeg; }

Status DecodePlatformRows(const std::uint8_t* bytes, std::size_t size, ImageFormat format, const DecodeLimits& limits,
                          RowSink& sink) {
    if (format == ImageFormat::Jpeg) return DecodeJpegRows(bytes, size, limits, sink);
    return Status::Error(ErrorCode::Unsupported, "no row decoder for this format");
}

Status DecodePlatform(const std::filesystem::path&, const std::uint8_t* bytes, std::size_t size, ImageFormat format,
                      const DecodeLimits& limits, SourceImage& out) {
    switch (format) {
        case ImageFormat::Jpeg: return DecodeJpeg(bytes, size, limits, out);
        case ImageFormat::Png: return DecodePng(bytes, size, limits, out);
        case ImageFormat::Gif: return DecodeGif(bytes, size, limits, out);
        case ImageFormat::Tiff: return DecodeTiff(bytes, size, limits, out);
        case ImageFormat::Bmp: return DecodeBmp(bytes, size, limits, out);
        case ImageFormat::Emf:
            return Status::Error(ErrorCode::Unsupported, "EMF pictures can only be read by the Windows program");
        default:
            return Status::Error(ErrorCode::NotAnImage, "the file is not an image in a known format");
    }
}

}  // namespace bistrope::detail
