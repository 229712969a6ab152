// The EXIF orientation readers (always 1..8), and the transform that value selects on a
// small picture taken from the input (its pixels all land somewhere, once).
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "engine/exif.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int all = bistrope::ReadOrientation(data, size);
    const int jpeg = bistrope::ReadJpegOrientation(data, size);
    const int tiff = bistrope::ReadTiffOrientation(data, size);
    for (int o : {all, jpeg, tiff})
        if (o < 1 || o > 8) std::abort();
    if (size < 2) return 0;
    const int w = 1 + data[0] % 7, h = 1 + data[1] % 5;
    bistrope::SourceImage image = bistrope::SourceImage::Create(w, h);
    auto* px = reinterpret_cast<std::uint32_t*>(image.data());
    for (int i = 0; i < w * h; ++i) px[i] = std::uint32_t(i);
    const bistrope::SourceImage out = bistrope::ApplyOrientation(std::move(image), all);
    const bool swap = bistrope::OrientationSwapsSides(all);
    if (out.width() != (swap ? h : w) || out.height() != (swap ? w : h)) std::abort();
    std::uint64_t seen = 0;
    const auto* o = reinterpret_cast<const std::uint32_t*>(out.data());
    for (int i = 0; i < w * h; ++i) seen |= std::uint64_t(1) << o[i];
    if (seen != (std::uint64_t(1) << (w * h)) - 1) std::abort();
    return 0;
}
