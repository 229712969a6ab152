// Format recognition and header-only size reading for every supported format.
#include <cstring>

#include "engine/decode.h"

namespace bistrope {
namespace {

std::uint32_t Be16(const std::uint8_t* p) { return std::uint32_t(p[0]) << 8 | p[1]; }
std::uint32_t Be32(const std::uint8_t* p) { return Be16(p) << 16 | Be16(p + 2); }
std::uint32_t Le16(const std::uint8_t* p) { return std::uint32_t(p[1]) << 8 | p[0]; }
std::uint32_t Le32(const std::uint8_t* p) { return Le16(p + 2) << 16 | Le16(p); }

ProbeResult Fail(ImageFormat format, ErrorCode code, const char* reason) {
    ProbeResult r;
    r.format = format;
    r.status = Status::Error(code, reason);
    return r;
}

ProbeResult Sized(ImageFormat format, std::int64_t w, std::int64_t h) {
    ProbeResult r;
    r.format = format;
    if (w <= 0 || h <= 0) return Fail(format, ErrorCode::Corrupt, "the image declares no pixels");
    if (w > 0x7fffffff || h > 0x7fffffff) return Fail(format, ErrorCode::TooLarge, "the declared size is too large");
    r.width = std::int32_t(w);
    r.height = std::int32_t(h);
    return r;
}

ProbeResult ProbeJpeg(const std::uint8_t* b, std::size_t n) {
    std::size_t i = 2;
    while (true) {
        // Markers may be preceded by any number of 0xFF fill bytes.
        while (i < n && b[i] == 0xFF && i + 1 < n && b[i + 1] == 0xFF) ++i;
        if (i + 4 > n) return Fail(ImageFormat::Jpeg, ErrorCode::Truncated, "the file is truncated");
        if (b[i] != 0xFF) return Fail(ImageFormat::Jpeg, ErrorCode::Corrupt, "the JPEG data is damaged");
        const std::uint8_t marker = b[i + 1];
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            return Fail(ImageFormat::Jpeg, ErrorCode::Corrupt, "the JPEG data has no frame header");
        const std::uint32_t length = Be16(b + i + 2);
        if (length < 2) return Fail(ImageFormat::Jpeg, ErrorCode::Corrupt, "the JPEG data is damaged");
        const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof) {
            if (i + 9 > n) return Fail(ImageFormat::Jpeg, ErrorCode::Truncated, "the file is truncated");
            return Sized(ImageFormat::Jpeg, Be16(b + i + 7), Be16(b + i + 5));
        }
        i += 2 + length;
    }
}

ProbeResult ProbePng(const std::uint8_t* b, std::size_t n) {
    if (n < 24) return Fail(ImageFormat::Png, ErrorCode::Truncated, "the file is truncated");
    if (std::memcmp(b + 12, "IHDR", 4) != 0)
        return Fail(ImageFormat::Png, ErrorCode::Corrupt, "the PNG data does not start with a header chunk");
    return Sized(ImageFormat::Png, Be32(b + 16), Be32(b + 20));
}

ProbeResult ProbeGif(const std::uint8_t* b, std::size_t n) {
    if (n < 10) return Fail(ImageFormat::Gif, ErrorCode::Truncated, "the file is truncated");
    return Sized(ImageFormat::Gif, Le16(b + 6), Le16(b + 8));
}

ProbeResult ProbeBmp(const std::uint8_t* b, std::size_t n) {
    if (n < 18) return Fail(ImageFormat::Bmp, ErrorCode::Truncated, "the file is truncated");
    const std::uint32_t header = Le32(b + 14);
    if (header == 12) {
        if (n < 22) return Fail(ImageFormat::Bmp, ErrorCode::Truncated, "the file is truncated");
        return Sized(ImageFormat::Bmp, Le16(b + 18), Le16(b + 20));
    }
    if (header < 40) return Fail(ImageFormat::Bmp, ErrorCode::Unsupported, "this BMP header version is not supported");
    if (n < 26) return Fail(ImageFormat::Bmp, ErrorCode::Truncated, "the file is truncated");
    const std::int64_t w = std::int32_t(Le32(b + 18));
    std::int64_t h = std::int32_t(Le32(b + 22));
    if (h < 0) h = -h;  // top-down
    return Sized(ImageFormat::Bmp, w, h);
}

ProbeResult ProbeTiff(const std::uint8_t* b, std::size_t n) {
    if (n < 8) return Fail(ImageFormat::Tiff, ErrorCode::Truncated, "the file is truncated");
    const bool le = b[0] == 'I';
    auto u16 = [&](std::size_t at) { return le ? Le16(b + at) : Be16(b + at); };
    auto u32 = [&](std::size_t at) { return le ? Le32(b + at) : Be32(b + at); };
    if (u16(2) == 43) return Fail(ImageFormat::Tiff, ErrorCode::Unsupported, "BigTIFF files are not supported");
    const std::uint32_t ifd = u32(4);
    if (ifd < 8 || std::size_t(ifd) + 2 > n) return Fail(ImageFormat::Tiff, ErrorCode::Truncated, "the file is truncated");
    const std::uint32_t count = u16(ifd);
    if (std::size_t(ifd) + 2 + std::size_t(count) * 12 > n)
        return Fail(ImageFormat::Tiff, ErrorCode::Truncated, "the file is truncated");
    std::int64_t w = -1, h = -1;
    for (std::uint32_t e = 0; e < count; ++e) {
        const std::size_t at = ifd + 2 + std::size_t(e) * 12;
        const std::uint32_t tag = u16(at), type = u16(at + 2);
        std::int64_t value = -1;
        if (type == 3) value = u16(at + 8);
        if (type == 4) value = u32(at + 8);
        if (tag == 256) w = value;
        if (tag == 257) h = value;
    }
    if (w < 0 || h < 0) return Fail(ImageFormat::Tiff, ErrorCode::Corrupt, "the TIFF data has no image size");
    return Sized(ImageFormat::Tiff, w, h);
}

ProbeResult ProbeEmf(const std::uint8_t* b, std::size_t n) {
    if (n < 88) return Fail(ImageFormat::Emf, ErrorCode::Truncated, "the file is truncated");
    // The header's bounds, inclusive, in device pixels.
    const std::int64_t l = std::int32_t(Le32(b + 8)), t = std::int32_t(Le32(b + 12));
    const std::int64_t r = std::int32_t(Le32(b + 16)), bo = std::int32_t(Le32(b + 20));
    return Sized(ImageFormat::Emf, r - l + 1, bo - t + 1);
}

}  // namespace

const char* ImageFormatName(ImageFormat format) {
    switch (format) {
        case ImageFormat::Jpeg: return "JPEG";
        case ImageFormat::Png: return "PNG";
        case ImageFormat::Bmp: return "BMP";
        case ImageFormat::Gif: return "GIF";
        case ImageFormat::Tiff: return "TIFF";
        case ImageFormat::Emf: return "EMF";
        default: return "unknown";
    }
}

ImageFormat SniffImageFormat(const std::uint8_t* b, std::size_t n) {
    static const std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return ImageFormat::Jpeg;
    if (n >= 8 && std::memcmp(b, kPng, 8) == 0) return ImageFormat::Png;
    if (n >= 6 && (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0)) return ImageFormat::Gif;
    if (n >= 2 && b[0] == 'B' && b[1] == 'M') return ImageFormat::Bmp;
    if (n >= 4 && ((b[0] == 'I' && b[1] == 'I' && (b[2] == 42 || b[2] == 43) && b[3] == 0) ||
                   (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && (b[3] == 42 || b[3] == 43))))
        return ImageFormat::Tiff;
    if (n >= 44 && Le32(b) == 1 && std::memcmp(b + 40, " EMF", 4) == 0) return ImageFormat::Emf;
    return ImageFormat::Unknown;
}

ProbeResult ProbeImageHeader(const std::uint8_t* bytes, std::size_t size) {
    switch (SniffImageFormat(bytes, size)) {
        case ImageFormat::Jpeg: return ProbeJpeg(bytes, size);
        case ImageFormat::Png: return ProbePng(bytes, size);
        case ImageFormat::Gif: return ProbeGif(bytes, size);
        case ImageFormat::Bmp: return ProbeBmp(bytes, size);
        case ImageFormat::Tiff: return ProbeTiff(bytes, size);
        case ImageFormat::Emf: return ProbeEmf(bytes, size);
        default:
            if (size == 0) return Fail(ImageFormat::Unknown, ErrorCode::Empty, "the file is empty");
            return Fail(ImageFormat::Unknown, ErrorCode::NotAnImage,
                        "the file is not an image in a known format (JPEG, PNG, BMP, GIF, TIFF, EMF)");
    }
}

}  // namespace bistrope
