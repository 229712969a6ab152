// Side-by-side splitting: the two halves of a picture made from the input, both layouts.
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "engine/side_by_side.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int w = data[0] % 64, h = data[1] % 16;
    bistrope::SourceImage image = bistrope::SourceImage::Create(w, h);
    const std::size_t n = size - 2;
    for (std::size_t i = 0; i < image.sizeBytes(); ++i) image.data()[i] = n ? data[2 + i % n] : 0;
    for (auto layout : {bistrope::SideBySide::Parallel, bistrope::SideBySide::Cross}) {
        const bistrope::StereoHalves halves = bistrope::SplitSideBySide(image, layout);
        if (halves.ok() != (w > 0 && h > 0 && w % 2 == 0)) std::abort();
        if (!halves.ok()) {
            if (!halves.left.empty() || !halves.right.empty() || halves.status.message.empty()) std::abort();
            continue;
        }
        const bool cross = layout == bistrope::SideBySide::Cross;
        const std::size_t half = std::size_t(w / 2) * 4;
        for (int y = 0; y < h; ++y)
            if (std::memcmp(halves.left.row(y), image.row(y) + (cross ? half : 0), half) != 0 ||
                std::memcmp(halves.right.row(y), image.row(y) + (cross ? 0 : half), half) != 0)
                std::abort();
    }
    return 0;
}
