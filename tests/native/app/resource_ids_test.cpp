// The ids the resource scripts use agree with the ids the code uses for the same things.
#include <gtest/gtest.h>

#include "engine/color_matrix.h"
#include "resources/app_ids.h"
#include "view/interaction_mode.h"

namespace {

TEST(ResourceIds, CursorsAndModeCommandsAgreeWithTheView) {
    using bistrope::InteractionMode;
    using bistrope::ModeCursor;
    EXPECT_EQ(ModeCursor(InteractionMode::PanView, false), IDC_CUR_PAN_VIEW);
    EXPECT_EQ(ModeCursor(InteractionMode::PanView, true), IDC_CUR_PAN_VIEW_DRAG);
    EXPECT_EQ(ModeCursor(InteractionMode::ZoomView, false), IDC_CUR_ZOOM_VIEW);
    EXPECT_EQ(ModeCursor(InteractionMode::ZoomView, true), IDC_CUR_ZOOM_VIEW_DRAG);
    EXPECT_EQ(ModeCursor(InteractionMode::PanLeft, false), IDC_CUR_PAN_LEFT);
    EXPECT_EQ(ModeCursor(InteractionMode::PanLeft, true), IDC_CUR_PAN_LEFT_DRAG);
    EXPECT_EQ(ModeCursor(InteractionMode::RotateLeft, false), IDC_CUR_ROTATE_LEFT);
    EXPECT_EQ(ModeCursor(InteractionMode::RotateLeft, true), IDC_CUR_ROTATE_LEFT_DRAG);
    EXPECT_EQ(bistrope::ModeCommand(InteractionMode::PanView), ID_PAN_VIEW);
    EXPECT_EQ(bistrope::ModeCommand(InteractionMode::ZoomView), ID_ZOOM_VIEW);
    EXPECT_EQ(bistrope::ModeCommand(InteractionMode::PanLeft), ID_PAN_LEFT);
    EXPECT_EQ(bistrope::ModeCommand(InteractionMode::RotateLeft), ID_ROTATE_LEFT);
}

TEST(ResourceIds, BlendingCommandsAreTheModePlus40000) {
    const int commands[] = {ID_BLEND_MONOCHROMATIC, ID_BLEND_FULL_COLOUR, ID_BLEND_HALF_COLOUR,
                            ID_BLEND_OPTIMISED_COLOUR, ID_BLEND_CUSTOM_COLOUR};
    for (unsigned mode = 1; mode <= bistrope::kBlendModeCount; ++mode)
        EXPECT_EQ(static_cast<unsigned>(commands[mode - 1]), bistrope::kBlendModeCommandBase + mode);
}

}  // namespace
