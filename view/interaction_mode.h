#pragma once
// The interaction modes of the stereo view: what a left-button drag does, with its cursors
// (resource ids of resources/app_ids.h) and its hint for status pane 0.

#include <cstdint>

namespace bistrope {

enum class InteractionMode : std::int32_t {
    None = 0,
    PanView = 1,
    ZoomView = 2,
    PanLeft = 3,
    RotateLeft = 4,
};

// The cursor resource for the mode, hovering or dragging; 0 for None and unknown values.
[[nodiscard]] int ModeCursor(InteractionMode mode, bool dragging);

// The hint written into status pane 0 when the mode is chosen; empty for None.
[[nodiscard]] const wchar_t* ModeHint(InteractionMode mode);

// Whether the mode works with the images present: the view modes need at least one image,
// the left-image modes need both. None is always allowed.
[[nodiscard]] bool ModeAllowed(InteractionMode mode, bool hasLeftImage, bool hasRightImage);

}  // namespace bistrope
