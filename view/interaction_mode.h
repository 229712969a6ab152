#pragma once
// The interaction modes of the stereo view: what a left-button drag does, with the command
// that selects each mode, its cursors (resource ids) and its hint for status pane 0.

#include <cstdint>

namespace bistrope {

enum class InteractionMode : std::int32_t {
    None = 0,
    PanView = 1,
    ZoomView = 2,
    PanLeft = 3,
    RotateLeft = 4,
};

// Cursor resources: a hovering and a dragging cursor per mode.
constexpr int kCursorPanViewHover = 102;    // open hand
constexpr int kCursorPanViewDrag = 103;     // closed hand
constexpr int kCursorZoomViewHover = 104;   // magnifier
constexpr int kCursorPanLeftHover = 105;    // four-way arrow
constexpr int kCursorPanLeftDrag = 106;     // four-way arrow, lighter
constexpr int kCursorZoomViewDrag = 107;    // magnifier with an up-and-down arrow
constexpr int kCursorRotateLeftHover = 108; // curved arrow
constexpr int kCursorRotateLeftDrag = 109;  // curved arrow, lighter

// Commands that select a mode (toolbar buttons, keys X, Z, C, V, context menu).
constexpr int kCommandPanView = 40006;
constexpr int kCommandZoomView = 40007;
constexpr int kCommandPanLeft = 40008;
constexpr int kCommandRotateLeft = 40009;

// The cursor resource for the mode, hovering or dragging; 0 for None and unknown values.
[[nodiscard]] int ModeCursor(InteractionMode mode, bool dragging);

// The hint written into status pane 0 when the mode is chosen; empty for None.
[[nodiscard]] const wchar_t* ModeHint(InteractionMode mode);

// The command that selects the mode (0 for None) and the mode a command selects.
[[nodiscard]] int ModeCommand(InteractionMode mode);
[[nodiscard]] bool ModeFromCommand(int command, InteractionMode& mode);

// Whether the mode works with the images present: the view modes need at least one image,
// the left-image modes need both. None is always allowed.
[[nodiscard]] bool ModeAllowed(InteractionMode mode, bool hasLeftImage, bool hasRightImage);

}  // namespace bistrope
