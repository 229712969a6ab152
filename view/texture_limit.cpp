#include "view/texture_limit.h"

#include <algorithm>
#include <cstring>

namespace bistrope {

TextureLimits ApplyTextureLimit(TextureLimits current, std::int32_t implementationLimit) {
    if (implementationLimit <= 0) return current;
    const auto m = static_cast<std::uint32_t>(implementationLimit);
    if (current.maxTexSize > m) current.maxTexSize = m;
    current.hardwareMaxTexSize = m;
    return current;
}

std::uint32_t FloorPowerOfTwo(std::uint32_t v) {
    if (v == 0) return 0;
    std::uint32_t p = 1;
    while (p <= v / 2) p *= 2;
    return p;
}

std::uint32_t PreviewSizeLimit(std::uint32_t maxTexSize, std::uint32_t hardwareMaxTexSize) {
    const std::uint32_t hardware = hardwareMaxTexSize != 0 ? hardwareMaxTexSize : kUnknownHardwareTextureLimit;
    // Sides are powers of two: a limit that is not one lets a side grow to the next power
    // of two, so the implementation's limit is first brought down to a power of two.
    return std::min(maxTexSize, FloorPowerOfTwo(hardware));
}

void WidenRowToBgra(const std::uint8_t* bgr, std::int32_t width, std::uint8_t* bgra) {
    std::int32_t x = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // Four pixels at a time: three 32-bit words in, four out.
    constexpr std::uint32_t kOpaque = 0xFF000000u;
    for (; x + 4 <= width; x += 4, bgr += 12, bgra += 16) {
        std::uint32_t in[3];
        std::memcpy(in, bgr, sizeof in);
        const std::uint32_t out[4] = {in[0] | kOpaque, (in[0] >> 24 | in[1] << 8) | kOpaque,
                                      (in[1] >> 16 | in[2] << 16) | kOpaque, in[2] >> 8 | kOpaque};
        std::memcpy(bgra, out, sizeof out);
    }
#endif
    for (; x < width; ++x, bgr += 3, bgra += 4) {
        bgra[0] = bgr[0];
        bgra[1] = bgr[1];
        bgra[2] = bgr[2];
        bgra[3] = 255;
    }
}

}  // namespace bistrope
