// Splitting side-by-side stereo pictures (see engine/side_by_side.h).
#include "engine/side_by_side.h"

#include <string>

namespace bistrope {

StereoHalves SplitSideBySide(const SourceImage& image, SideBySide layout) {
    StereoHalves r;
    if (image.empty()) {
        r.status = Status::Error(ErrorCode::NoImage, "there is no side-by-side picture to split");
        return r;
    }
    const std::int32_t w = image.width(), h = image.height();
    if (w % 2 != 0) {
        r.status = Status::Error(ErrorCode::InvalidArgument, "the side-by-side picture is " + std::to_string(w) +
                                                                 " pixels wide, an odd width that cannot be split "
                                                                 "into two equal halves");
        return r;
    }
    const std::int32_t half = w / 2;
    SourceImage first = SourceImage::Create(half, h), second = SourceImage::Create(half, h);
    if (first.empty() || second.empty()) {
        r.status = Status::Error(ErrorCode::OutOfMemory, "not enough memory for two " + std::to_string(half) + " x " +
                                                             std::to_string(h) + " pixel halves");
        return r;
    }
    const std::size_t rowBytes = std::size_t(half) * 4;
    for (std::int32_t y = 0; y < h; ++y) {
        std::memcpy(first.row(y), image.row(y), rowBytes);
        std::memcpy(second.row(y), image.row(y) + rowBytes, rowBytes);
    }
    r.left = std::move(layout == SideBySide::Parallel ? first : second);
    r.right = std::move(layout == SideBySide::Parallel ? second : first);
    return r;
}

}  // namespace bistrope
