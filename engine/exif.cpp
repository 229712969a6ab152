// EXIF orientation reading and the eight upright transforms.
#include "engine/exif.h"

#include <algorithm>

namespace bistrope {
namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3;

std::uint32_t Be16(const std::uint8_t* p) { return std::uint32_t(p[0]) << 8 | p[1]; }

}  // namespace

int ReadTiffOrientation(const std::uint8_t* b, std::size_t n) {
    if (!b || n < 8) return 1;
    const bool le = b[0] == 'I' && b[1] == 'I';
    if (!le && !(b[0] == 'M' && b[1] == 'M')) return 1;
    auto u16 = [&](std::size_t at) -> std::uint32_t { return le ? (b[at + 1] << 8 | b[at]) : Be16(b + at); };
    auto u32 = [&](std::size_t at) { return le ? u16(at + 2) << 16 | u16(at) : u16(at) << 16 | u16(at + 2); };
    if (u16(2) != 42) return 1;
    const std::uint32_t ifd = u32(4);
    if (ifd < 8 || ifd > n - 2) return 1;
    const std::size_t count = u16(ifd);
    for (std::size_t e = 0; e < count; ++e) {
        const std::size_t at = ifd + 2 + e * 12;
        if (at + 12 > n) return 1;
        if (u16(at) != kOrientationTag) continue;
        if (u16(at + 2) != kTypeShort || u32(at + 4) < 1) return 1;
        const std::uint32_t value = u16(at + 8);
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

int ReadJpegOrientation(const std::uint8_t* b, std::size_t n) {
    if (!b || n < 4 || b[0] != 0xFF || b[1] != 0xD8) return 1;
    std::size_t i = 2;
    while (i + 4 <= n) {
        if (b[i] != 0xFF) return 1;
        const std::uint8_t marker = b[i + 1];
        if (marker == 0xFF) {  // fill byte
            ++i;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return 1;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2;
            continue;
        }
        const std::size_t length = Be16(b + i + 2);
        if (length < 2 || length > n - i - 2) return 1;
        static const std::uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
        if (marker == 0xE1 && length >= 8 && std::equal(kExif, kExif + 6, b + i + 4))
            return ReadTiffOrientation(b + i + 10, length - 8);
        i += 2 + length;
    }
    return 1;
}

int ReadOrientation(const std::uint8_t* b, std::size_t n) {
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return ReadJpegOrientation(b, n);
    return ReadTiffOrientation(b, n);
}

SourceImage ApplyOrientation(SourceImage image, int orientation) {
    if (image.empty() || orientation < 2 || orientation > 8) return image;
    const std::int32_t w = image.width(), h = image.height();
    const bool swap = OrientationSwapsSides(orientation);
    SourceImage out = SourceImage::Create(swap ? h : w, swap ? w : h);
    if (out.empty()) return out;
    // Where source pixel (x, y) goes, as a start and a step per x in the output buffer.
    const std::int64_t ow = out.width(), oh = out.height();
    auto* dst = reinterpret_cast<std::uint32_t*>(out.data());
    for (std::int32_t y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(image.row(y));
        std::int64_t at = 0, step = 0;
        switch (orientation) {
            case 2: at = y * ow + (w - 1), step = -1; break;                  // (w-1-x, y)
            case 3: at = (h - 1 - y) * ow + (w - 1), step = -1; break;        // (w-1-x, h-1-y)
            case 4: at = (h - 1 - y) * ow, step = 1; break;                   // (x, h-1-y)
            case 5: at = y, step = ow; break;                                 // (y, x)
            case 6: at = h - 1 - y, step = ow; break;                         // (h-1-y, x)
            case 7: at = (oh - 1) * ow + (h - 1 - y), step = -ow; break;      // (h-1-y, w-1-x)
            default: at = (oh - 1) * ow + y, step = -ow; break;               // 8: (y, w-1-x)
        }
        for (std::int32_t x = 0; x < w; ++x, at += step) dst[at] = src[x];
    }
    return out;
}

}  // namespace bistrope
