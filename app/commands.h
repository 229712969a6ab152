#pragma once
// The program's command table: one row per command, {id, enabled rule, checked rule,
// action}. The toolbar and the context menu ask it for their states (the UpdateUI query);
// toolbar buttons, keys, menu items and slot clicks all carry commands out through it.
// Ids are those of resources/app_ids.h.
//
//   id            command                              enabled  checked
//   40001..40005  blending mode id - 40000             both     blendMode == id - 40000
//   40006         pan view                             one      mode == PanView
//   40007         zoom view                            one      mode == ZoomView
//   40008         pan the left image                   both     mode == PanLeft
//   40009         rotate the left image                both     mode == RotateLeft
//   40011         settings dialog                      always
//   40012         save the anaglyph                    both, and a non-empty output rectangle
//   40013         about box                            always
//   40014         zoom all                             one
//   40015         reset offsets and rotation           both
//   40017, 40018  load the left / right image          always
//   40019         swap the eyes                        both
//   40020         align the eyes automatically         both
//   40021..40032  a keyboard step of the left image    both
//                 (NudgeStep: the arrow keys, with Shift, Page Up and Page Down)
//
// "one": at least one eye holds an image; "both": both do. A blending command stores its
// mode even while disabled (the rebuild needs both images); every other command runs only
// while enabled, because a greyed menu item can still be chosen and keys do not look at the
// toolbar. Ids without a row (0, the -1 of toolbar separators, ...) are neither carried out
// nor answered.

#include <cstdint>
#include <optional>

#include "engine/color_matrix.h"
#include "engine/output_rect.h"
#include "view/interaction_mode.h"

namespace bistrope {

// What the rules look at.
struct CommandContext {
    bool hasLeftImage = false;
    bool hasRightImage = false;
    OutputRect outputRect{};
    std::int32_t blendMode = 0;
    InteractionMode mode = InteractionMode::None;
};

// What the actions do; the application implements it.
class CommandTarget {
public:
    [[nodiscard]] virtual CommandContext Context() const = 0;
    // Stores the mode; rebuilds the previews when both images are there. True when rebuilt.
    virtual bool SetBlendMode(int mode) = 0;
    virtual bool SetInteractionMode(InteractionMode mode) = 0;
    virtual bool OpenSettings() = 0;
    virtual bool Save() = 0;
    virtual bool ShowAbout() = 0;
    virtual bool ZoomAll() = 0;
    virtual bool ResetAlignment() = 0;
    virtual bool Load(Eye eye) = 0;
    virtual bool SwapEyes() = 0;
    virtual bool AutoAlign() = 0;
    // Moves and turns the left image by `step` (Nudged below).
    virtual bool NudgeAlignment(const Alignment& step) = 0;

protected:
    ~CommandTarget() = default;
};

struct CommandState {
    bool enabled = false;
    std::optional<bool> checked;  // none: the command has no checked rule
};

// The step of keyboard command 40021..40032 (ID_NUDGE_FIRST..ID_NUDGE_LAST), in the
// alignment's terms: 1 source pixel left, right, up, down; the same by 10; 0.05 degrees
// anticlockwise, clockwise; the same by 0.5. A zero step for other ids.
[[nodiscard]] Alignment NudgeStep(int commandId);
// `alignment` moved by `step`, its rotation held within +-kMaxRotation.
[[nodiscard]] Alignment Nudged(const Alignment& alignment, const Alignment& step);

// The state of a command of the table; none for ids without a row.
[[nodiscard]] std::optional<CommandState> QueryCommandState(int commandId, const CommandContext& context);

// Carries the command out on `target` under the rules above. False when refused, unknown
// or when the action failed.
bool ExecuteCommand(int commandId, CommandTarget& target);

}  // namespace bistrope
