#include "view/texture_limit.h"

#include <algorithm>

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

int UnpackAlignmentFor(std::int32_t width, std::size_t stride, int bytesPerPixel) {
    if (width <= 0 || bytesPerPixel <= 0) return 0;
    const std::size_t row = std::size_t(width) * std::size_t(bytesPerPixel);
    for (int alignment : {1, 2, 4, 8}) {
        const std::size_t a = std::size_t(alignment);
        if ((row + a - 1) / a * a == stride) return alignment;
    }
    return 0;
}

}  // namespace bistrope
