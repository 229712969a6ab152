#include "app/slot_layout.h"

#include <algorithm>

namespace bistrope {

SlotRect CaptionStrip(const SlotRect& client) {
    return {client.left + kCaptionInset, client.top, client.right - kCaptionInset, client.top + kCaptionHeight};
}

SlotRect ImageArea(const SlotRect& client) {
    return {client.left, client.top + kCaptionHeight, client.right, client.bottom};
}

std::optional<SlotRect> PlaceThumbnail(const SlotRect& client, std::int32_t sourceWidth,
                                                 std::int32_t sourceHeight) {
    if (sourceWidth < 1 || sourceHeight < 1) return std::nullopt;
    SlotRect area = ImageArea(client);
    const double w = sourceWidth, h = sourceHeight;
    const double sx = double(area.Width()) / w;
    const double sy = double(area.Height()) / h;
    if (sy < sx) {
        area.top += kThumbnailMargin;
        area.bottom -= kThumbnailMargin;
        if (area.Height() < 1 || area.Width() < 1) return std::nullopt;
        const double s = double(area.Height()) / h;
        const std::int32_t width = std::max<std::int32_t>(1, static_cast<std::int32_t>(w * s));
        return geom::RectAt(area.left + (area.Width() - width) / 2, area.top, width, area.Height());
    } else {
        area.left += kThumbnailMargin;
        area.right -= kThumbnailMargin;
        if (area.Width() < 1 || area.Height() < 1) return std::nullopt;
        const double s = double(area.Width()) / w;
        const std::int32_t height = std::max<std::int32_t>(1, static_cast<std::int32_t>(h * s));
        return geom::RectAt(area.left, area.top + (area.Height() - height) / 2, area.Width(), height);
    }
}

}  // namespace bistrope
