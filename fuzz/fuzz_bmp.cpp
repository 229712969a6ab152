// The engine's own BMP reader on any bytes, under a small pixel limit.
#include <cstdlib>

#include "engine/decode_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bistrope::DecodeLimits limits;
    limits.maxPixels = 1 << 20;
    limits.maxSide = 4096;
    bistrope::SourceImage image;
    const bistrope::Status st = bistrope::detail::DecodeBmp(data, size, limits, image);
    if (st.ok() && (image.empty() || !limits.Allows(image.width(), image.height()))) std::abort();
    if (!st.ok() && (st.message.empty() || st.message.find('\n') != std::string::npos)) std::abort();
    return 0;
}
