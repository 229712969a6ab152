// The engine's own BMP reader: 1, 4, 8 bits with a palette, 16 bits (5-5-5 or bit
// fields), 24 bits, 32 bits (with an alpha mask when one is given; an alpha channel
// that is zero everywhere means an opaque image), RLE4 and RLE8, bottom-up and top-down.
#include <cstring>

#include "engine/decode_internal.h"

namespace bistrope::detail {
namespace {

std::uint32_t Le16(const std::uint8_t* p) { return std::uint32_t(p[1]) << 8 | p[0]; }
std::uint32_t Le32(const std::uint8_t* p) { return Le16(p + 2) << 16 | Le16(p); }

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

struct Mask {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Mask(std::uint32_t m = 0) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        max = m >> shift;
    }
    std::uint8_t Get(std::uint32_t v) const {
        if (!mask) return 0;
        const std::uint64_t raw = (v & mask) >> shift;
        return std::uint8_t((raw * 255 + max / 2) / max);
    }
};

Status Unsupported(const std::string& what) {
    return Status::Error(ErrorCode::Unsupported, "this BMP variant is not supported (" + what + ")");
}

// Decodes RLE4/RLE8 into palette indices, bottom-up rows; pixels never written keep index 0.
Status DecodeRle(const std::uint8_t* p, const std::uint8_t* end, int bits, std::int32_t w, std::int32_t h,
                 std::uint8_t* indices) {
    std::int64_t x = 0, y = 0;
    auto put = [&](std::uint8_t v) {
        if (x < w && y < h) indices[std::size_t(y) * std::size_t(w) + std::size_t(x)] = v;
        ++x;
    };
    while (true) {
        if (end - p < 2) return Truncated();
        const std::uint8_t count = p[0], value = p[1];
        p += 2;
        if (count) {
            for (int i = 0; i < count; ++i) put(bits == 8 ? value : std::uint8_t(i & 1 ? value & 15 : value >> 4));
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return Status::Ok();
        } else if (value == 2) {  // delta
            if (end - p < 2) return Truncated();
            x += p[0];
            y += p[1];
            p += 2;
        } else {  // absolute run of `value` pixels, padded to 16 bits
            const std::size_t bytes = bits == 8 ? value : (std::size_t(value) + 1) / 2;
            const std::size_t padded = (bytes + 1) & ~std::size_t(1);
            if (std::size_t(end - p) < padded) return Truncated();
            for (int i = 0; i < value; ++i) put(bits == 8 ? p[i] : std::uint8_t(i & 1 ? p[i / 2] & 15 : p[i / 2] >> 4));
            p += padded;
        }
        if (y >= h) return Status::Ok();
    }
}

}  // namespace

Status DecodeBmp(const std::uint8_t* b, std::size_t n, const DecodeLimits& limits, SourceImage& out) {
    if (n < 26) return Truncated();
    const std::uint32_t dataOffset = Le32(b + 10);
    const std::uint32_t headerSize = Le32(b + 14);
    std::int64_t width, height;
    std::uint32_t bpp, compression = kRgb, colorsUsed = 0;
    std::size_t paletteEntry = 4;
    if (headerSize == 12) {
        width = Le16(b + 18);
        height = std::int16_t(Le16(b + 20));
        bpp = Le16(b + 24);
        paletteEntry = 3;
    } else if (headerSize >= 40 && headerSize <= 124) {
        if (n < 14 + std::size_t(headerSize)) return Truncated();
        width = std::int32_t(Le32(b + 18));
        height = std::int32_t(Le32(b + 22));
        bpp = Le16(b + 28);
        compression = Le32(b + 30);
        colorsUsed = Le32(b + 46);
    } else {
        return Unsupported("header of " + std::to_string(headerSize) + " bytes");
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0) return Status::Error(ErrorCode::Corrupt, "the image declares no pixels");
    if (!limits.Allows(width, height)) return TooLarge(width, height, limits);

    // Channel masks: from the header (V4 and later hold them inside, a 40-byte header
    // follows itself with them), or the defaults.
    std::uint32_t rMask = 0, gMask = 0, bMask = 0, aMask = 0;
    std::size_t paletteAt = 14 + std::size_t(headerSize);
    if (compression == kBitFields || compression == kAlphaBitFields) {
        if (bpp != 16 && bpp != 32) return Unsupported("bit fields with " + std::to_string(bpp) + " bits");
        const std::size_t at = headerSize == 40 ? paletteAt : 14 + 40;
        const std::size_t count = compression == kAlphaBitFields ? 4 : 3;
        if (n < at + count * 4) return Truncated();
        rMask = Le32(b + at);
        gMask = Le32(b + at + 4);
        bMask = Le32(b + at + 8);
        if (count == 4 || headerSize >= 56) aMask = Le32(b + at + 12);
        if (headerSize == 40) paletteAt += count * 4;
    } else if (compression == kRgb) {
        if (bpp == 16) {
            rMask = 0x7C00, gMask = 0x03E0, bMask = 0x001F;
        } else if (bpp == 32) {
            rMask = 0xFF0000, gMask = 0xFF00, bMask = 0xFF;
            if (headerSize >= 56) aMask = Le32(b + 14 + 52);
        }
    } else if (!(compression == kRle8 && bpp == 8) && !(compression == kRle4 && bpp == 4)) {
        return Unsupported("compression " + std::to_string(compression) + " with " + std::to_string(bpp) + " bits");
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return Unsupported(std::to_string(bpp) + " bits per pixel");

    // Palette.
    std::uint8_t palette[256][4] = {};
    if (bpp <= 8) {
        std::size_t entries = colorsUsed ? colorsUsed : std::size_t(1) << bpp;
        if (entries > 256) entries = 256;
        if (n < paletteAt + entries * paletteEntry) return Truncated();
        for (std::size_t i = 0; i < entries; ++i) {
            const std::uint8_t* e = b + paletteAt + i * paletteEntry;
            palette[i][0] = e[0];
            palette[i][1] = e[1];
            palette[i][2] = e[2];
            palette[i][3] = 255;
        }
    }
    if (dataOffset >= n) return Truncated();

    Status st = AllocateSource(width, height, limits, out);
    if (!st.ok()) return st;
    const std::int32_t w = out.width(), h = out.height();

    if (compression == kRle8 || compression == kRle4) {
        SourceImage indexImage = SourceImage::Create(w, h);  // 4 bytes per index is wasteful but simple
        if (indexImage.empty()) return OutOfMemory(w, h);
        auto* indices = indexImage.data();
        st = DecodeRle(b + dataOffset, b + n, int(bpp), w, h, indices);
        if (!st.ok()) return st;
        for (std::int32_t y = 0; y < h; ++y) {
            std::uint8_t* dst = out.row(topDown ? y : h - 1 - y);
            const std::uint8_t* src = indices + std::size_t(y) * std::size_t(w);
            for (std::int32_t x = 0; x < w; ++x) std::memcpy(dst + 4 * x, palette[src[x]], 4);
        }
        return Status::Ok();
    }

    const std::size_t stride = ((std::size_t(w) * bpp + 31) / 32) * 4;
    if ((n - dataOffset) / stride < std::size_t(h)) return Truncated();
    const Mask r(rMask), g(gMask), bl(bMask), a(aMask);
    bool anyAlpha = false;
    for (std::int32_t y = 0; y < h; ++y) {
        const std::uint8_t* src = b + dataOffset + std::size_t(y) * stride;
        std::uint8_t* dst = out.row(topDown ? y : h - 1 - y);
        for (std::int32_t x = 0; x < w; ++x, dst += 4) {
            switch (bpp) {
                case 1: std::memcpy(dst, palette[(src[x >> 3] >> (7 - (x & 7))) & 1], 4); break;
                case 4: std::memcpy(dst, palette[(src[x >> 1] >> (x & 1 ? 0 : 4)) & 15], 4); break;
                case 8: std::memcpy(dst, palette[src[x]], 4); break;
                case 24:
                    dst[0] = src[3 * x];
                    dst[1] = src[3 * x + 1];
                    dst[2] = src[3 * x + 2];
                    dst[3] = 255;
                    break;
                default: {
                    const std::uint32_t v = bpp == 16 ? Le16(src + 2 * x) : Le32(src + 4 * x);
                    dst[0] = bl.Get(v);
                    dst[1] = g.Get(v);
                    dst[2] = r.Get(v);
                    dst[3] = aMask ? a.Get(v) : 255;
                    anyAlpha |= dst[3] != 0;
                }
            }
        }
    }
    // Many programs write 32-bit BMPs with an alpha mask but leave the alpha bytes zero.
    if (aMask && !anyAlpha)
        for (std::int32_t y = 0; y < h; ++y)
            for (std::int32_t x = 0; x < w; ++x) out.row(y)[4 * x + 3] = 255;
    return Status::Ok();
}

}  // namespace bistrope::detail
