#include "app/commands.h"

#include <algorithm>
#include <iterator>

#include "resources/app_ids.h"

namespace bistrope {

namespace {

using Rule = bool (*)(const CommandContext&);
using CheckRule = bool (*)(const CommandContext&, int commandId);
using Action = bool (*)(CommandTarget&, int commandId);

struct Command {
    int first;
    int last;  // a row may cover consecutive ids (the five blending modes)
    Rule enabled;
    CheckRule checked;  // null: no checked state
    Action action;
    bool runsWhileDisabled;
};

bool One(const CommandContext& c) { return c.hasLeftImage || c.hasRightImage; }
bool Both(const CommandContext& c) { return c.hasLeftImage && c.hasRightImage; }
bool Always(const CommandContext&) { return true; }
bool SaveAllowed(const CommandContext& c) { return Both(c) && !c.outputRect.IsEmpty(); }

bool IsBlendMode(const CommandContext& c, int id) { return c.blendMode == id - (ID_BLEND_MONOCHROMATIC - 1); }
template <InteractionMode M>
bool IsMode(const CommandContext& c, int) {
    return c.mode == M;
}
template <InteractionMode M>
bool ChooseMode(CommandTarget& t, int) {
    return t.SetInteractionMode(M);
}

const Command kCommands[] = {
    {ID_BLEND_MONOCHROMATIC, ID_BLEND_CUSTOM_COLOUR, Both, IsBlendMode,
     [](CommandTarget& t, int id) { return t.SetBlendMode(id - (ID_BLEND_MONOCHROMATIC - 1)); }, true},
    {ID_PAN_VIEW, ID_PAN_VIEW, One, IsMode<InteractionMode::PanView>, ChooseMode<InteractionMode::PanView>, false},
    {ID_ZOOM_VIEW, ID_ZOOM_VIEW, One, IsMode<InteractionMode::ZoomView>, ChooseMode<InteractionMode::ZoomView>, false},
    {ID_PAN_LEFT, ID_PAN_LEFT, Both, IsMode<InteractionMode::PanLeft>, ChooseMode<InteractionMode::PanLeft>, false},
    {ID_ROTATE_LEFT, ID_ROTATE_LEFT, Both, IsMode<InteractionMode::RotateLeft>,
     ChooseMode<InteractionMode::RotateLeft>, false},
    {ID_SETTINGS, ID_SETTINGS, Always, nullptr, [](CommandTarget& t, int) { return t.OpenSettings(); }, false},
    {ID_SAVE, ID_SAVE, SaveAllowed, nullptr, [](CommandTarget& t, int) { return t.Save(); }, false},
    {ID_ABOUT, ID_ABOUT, Always, nullptr, [](CommandTarget& t, int) { return t.ShowAbout(); }, false},
    {ID_ZOOM_ALL, ID_ZOOM_ALL, One, nullptr, [](CommandTarget& t, int) { return t.ZoomAll(); }, false},
    {ID_RESET_ALIGNMENT, ID_RESET_ALIGNMENT, Both, nullptr, [](CommandTarget& t, int) { return t.ResetAlignment(); },
     false},
    {ID_LOAD_LEFT, ID_LOAD_LEFT, Always, nullptr, [](CommandTarget& t, int) { return t.Load(Eye::Left); }, false},
    {ID_LOAD_RIGHT, ID_LOAD_RIGHT, Always, nullptr, [](CommandTarget& t, int) { return t.Load(Eye::Right); }, false},
    {ID_SWAP_EYES, ID_SWAP_EYES, Both, nullptr, [](CommandTarget& t, int) { return t.SwapEyes(); }, false},
    {ID_AUTO_ALIGN, ID_AUTO_ALIGN, Both, nullptr, [](CommandTarget& t, int) { return t.AutoAlign(); }, false},
    {ID_NUDGE_FIRST, ID_NUDGE_LAST, Both, nullptr,
     [](CommandTarget& t, int id) { return t.NudgeAlignment(NudgeStep(id)); }, false},
};

const Command* Find(int id) {
    for (const Command& c : kCommands)
        if (id >= c.first && id <= c.last) return &c;
    return nullptr;
}

}  // namespace

Alignment NudgeStep(int commandId) {
    // {offsetX, offsetY, rotation} per id; offsetY grows downwards, rotation clockwise.
    static const Alignment kSteps[] = {
        {-1, 0, 0},  {1, 0, 0},  {0, -1, 0},  {0, 1, 0},  {-10, 0, 0},  {10, 0, 0},
        {0, -10, 0}, {0, 10, 0}, {0, 0, -0.05}, {0, 0, 0.05}, {0, 0, -0.5}, {0, 0, 0.5},
    };
    static_assert(std::size(kSteps) == ID_NUDGE_LAST - ID_NUDGE_FIRST + 1);
    if (commandId < ID_NUDGE_FIRST || commandId > ID_NUDGE_LAST) return {};
    return kSteps[commandId - ID_NUDGE_FIRST];
}

Alignment Nudged(const Alignment& alignment, const Alignment& step) {
    return {alignment.offsetX + step.offsetX, alignment.offsetY + step.offsetY,
            std::clamp(alignment.rotation + step.rotation, -kMaxRotation, kMaxRotation)};
}

std::optional<CommandState> QueryCommandState(int commandId, const CommandContext& context) {
    const Command* command = Find(commandId);
    if (!command) return std::nullopt;
    CommandState state{command->enabled(context), std::nullopt};
    if (command->checked) state.checked = command->checked(context, commandId);
    return state;
}

bool ExecuteCommand(int commandId, CommandTarget& target) {
    const Command* command = Find(commandId);
    if (!command) return false;
    if (!command->runsWhileDisabled && !command->enabled(target.Context())) return false;
    return command->action(target, commandId);
}

}  // namespace bistrope
