#include "view/command_table.h"

namespace bistrope {

std::optional<CommandState> QueryCommandState(int commandId, const CommandContext& context) {
    const bool one = context.hasLeftImage || context.hasRightImage;
    const bool both = context.hasLeftImage && context.hasRightImage;
    if (commandId >= kCommandBlendFirst && commandId <= kCommandBlendLast)
        return CommandState{both, context.blendMode == commandId - (kCommandBlendFirst - 1)};
    switch (commandId) {
    case kCommandPanView:
        return CommandState{one, context.mode == InteractionMode::PanView};
    case kCommandZoomView:
        return CommandState{one, context.mode == InteractionMode::ZoomView};
    case kCommandPanLeft:
        return CommandState{both, context.mode == InteractionMode::PanLeft};
    case kCommandRotateLeft:
        return CommandState{both, context.mode == InteractionMode::RotateLeft};
    case kCommandSettings:
    case kCommandAbout:
    case kCommandLoadLeft:
    case kCommandLoadRight:
        return CommandState{true, std::nullopt};
    case kCommandSave:
        return CommandState{both && !context.outputRect.IsEmpty(), std::nullopt};
    case kCommandZoomAll:
        return CommandState{one, std::nullopt};
    case kCommandResetAlignment:
        return CommandState{both, std::nullopt};
    default:
        return std::nullopt;
    }
}

bool IsCommandEnabled(int commandId, const CommandContext& context) {
    const std::optional<CommandState> state = QueryCommandState(commandId, context);
    return state && state->enabled;
}

}  // namespace bistrope
