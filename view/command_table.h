#pragma once
// The stereo view's command table: which commands exist, and when each is enabled and
// checked. The toolbar and the context menu ask for these states (the UpdateUI query);
// the view refuses a command whose Enabled rule fails even when it arrives anyway (a
// disabled menu item can still be chosen, Ctrl+S works without looking at the toolbar).
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
//
// "one": at least one slot holds an image; "both": both do. Every other id (0, the -1 of
// toolbar separators, ...) is neither carried out nor answered.
#include <cstdint>
#include <optional>

#include "engine/output_rect.h"
#include "view/interaction_mode.h"

namespace bistrope {

constexpr int kCommandBlendFirst = 40001;
constexpr int kCommandBlendLast = 40005;
constexpr int kCommandSettings = 40011;
constexpr int kCommandSave = 40012;
constexpr int kCommandAbout = 40013;
constexpr int kCommandZoomAll = 40014;
constexpr int kCommandResetAlignment = 40015;
constexpr int kCommandLoadLeft = 40017;
constexpr int kCommandLoadRight = 40018;

// What the rules look at.
struct CommandContext {
    bool hasLeftImage = false;
    bool hasRightImage = false;
    OutputRect outputRect{};
    std::int32_t blendMode = 0;
    InteractionMode mode = InteractionMode::None;
};

struct CommandState {
    bool enabled = false;
    std::optional<bool> checked;  // none: the command has no checked rule
};

// The state of a command of the table; none for ids without a row.
[[nodiscard]] std::optional<CommandState> QueryCommandState(int commandId, const CommandContext& context);

// Whether the command is one of the table's and enabled now.
[[nodiscard]] bool IsCommandEnabled(int commandId, const CommandContext& context);

}  // namespace bistrope
