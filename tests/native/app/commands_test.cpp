// The command table: which commands are enabled and checked for what is loaded, and which
// action each one carries out, when.
#include "app/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "resources/app_ids.h"

namespace bistrope {
namespace {

struct FakeTarget : CommandTarget {
    CommandContext context;
    std::vector<std::string> done;
    bool result = true;

    CommandContext Context() const override { return context; }
    bool SetBlendMode(int mode) override { return Did("blend " + std::to_string(mode)); }
    bool SetInteractionMode(InteractionMode m) override { return Did("mode " + std::to_string(int(m))); }
    bool OpenSettings() override { return Did("settings"); }
    bool Save() override { return Did("save"); }
    bool ShowAbout() override { return Did("about"); }
    bool ZoomAll() override { return Did("zoom all"); }
    bool ResetAlignment() override { return Did("reset"); }
    bool Load(Eye eye) override { return Did(eye == Eye::Left ? "load left" : "load right"); }
    bool SwapEyes() override { return Did("swap"); }
    bool AutoAlign() override { return Did("auto align"); }
    bool NudgeAlignment(const Alignment& s) override {
        return Did("nudge " + std::to_string(s.offsetX) + " " + std::to_string(s.offsetY) + " " + std::to_string(s.rotation));
    }
    bool Did(const std::string& what) { return done.push_back(what), result; }
};

struct Row {
    int id;
    const char* action;
    int needs;  // 0 always, 1 one image, 2 both images
};

class EveryCommand : public ::testing::TestWithParam<Row> {};

TEST_P(EveryCommand, RunsItsActionExactlyWhenEnabled) {
    const Row row = GetParam();
    const bool blend = row.id >= ID_BLEND_MONOCHROMATIC && row.id <= ID_BLEND_CUSTOM_COLOUR;
    for (int loaded = 0; loaded < 4; ++loaded) {
        const bool left = loaded & 1, right = loaded & 2;
        FakeTarget target;
        target.context.hasLeftImage = left;
        target.context.hasRightImage = right;
        target.context.outputRect = {-10, -5, 10, 5};
        const bool enabled = int(left) + int(right) >= row.needs;
        ASSERT_EQ(QueryCommandState(row.id, target.context)->enabled, enabled) << left << right;
        // A blending command stores its mode even while disabled; the others refuse.
        EXPECT_EQ(ExecuteCommand(row.id, target), enabled || blend) << left << right;
        EXPECT_EQ(target.done, std::vector<std::string>(enabled || blend, row.action)) << left << right;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EveryCommand,
    ::testing::Values(Row{ID_BLEND_MONOCHROMATIC, "blend 1", 2}, Row{ID_BLEND_FULL_COLOUR, "blend 2", 2},
                      Row{ID_BLEND_HALF_COLOUR, "blend 3", 2}, Row{ID_BLEND_OPTIMISED_COLOUR, "blend 4", 2},
                      Row{ID_BLEND_CUSTOM_COLOUR, "blend 5", 2}, Row{ID_PAN_VIEW, "mode 1", 1},
                      Row{ID_ZOOM_VIEW, "mode 2", 1}, Row{ID_PAN_LEFT, "mode 3", 2}, Row{ID_ROTATE_LEFT, "mode 4", 2},
                      Row{ID_SETTINGS, "settings", 0}, Row{ID_SAVE, "save", 2}, Row{ID_ABOUT, "about", 0},
                      Row{ID_ZOOM_ALL, "zoom all", 1}, Row{ID_RESET_ALIGNMENT, "reset", 2},
                      Row{ID_LOAD_LEFT, "load left", 0}, Row{ID_LOAD_RIGHT, "load right", 0}, Row{ID_SWAP_EYES, "swap", 2},
                      Row{ID_AUTO_ALIGN, "auto align", 2}, Row{ID_NUDGE_FIRST, "nudge -1.000000 0.000000 0.000000", 2},
                      Row{ID_NUDGE_LAST, "nudge 0.000000 0.000000 0.500000", 2}));

TEST(Commands, OnlyTheCurrentBlendModeAndInteractionModeAreChecked) {
    const int ids[] = {ID_BLEND_MONOCHROMATIC, ID_BLEND_FULL_COLOUR, ID_BLEND_HALF_COLOUR, ID_BLEND_OPTIMISED_COLOUR,
                       ID_BLEND_CUSTOM_COLOUR, ID_PAN_VIEW, ID_ZOOM_VIEW, ID_PAN_LEFT, ID_ROTATE_LEFT, ID_SETTINGS,
                       ID_SAVE, ID_ABOUT, ID_ZOOM_ALL, ID_RESET_ALIGNMENT, ID_LOAD_LEFT};
    for (auto [blend, mode, marks] : {std::tuple(4, InteractionMode::PanView, "---x-x---??????"),
                                      std::tuple(1, InteractionMode::RotateLeft, "x-------x??????")}) {
        CommandContext c;
        c.blendMode = blend;
        c.mode = mode;
        std::string checked;  // x checked, - not, ? no check mark at all
        for (int id : ids) checked += !QueryCommandState(id, c)->checked ? '?' : *QueryCommandState(id, c)->checked ? 'x' : '-';
        EXPECT_EQ(checked, marks);
    }
}

TEST(Commands, SaveNeedsAnOutputRectangleUnknownIdsDoNothingAndFailuresArePassedOn) {
    FakeTarget target;
    target.context.hasLeftImage = target.context.hasRightImage = true;
    target.context.outputRect = {0, 0, 0, 5};
    EXPECT_FALSE(QueryCommandState(ID_SAVE, target.context)->enabled);
    for (int id : {ID_SAVE, 0, -1, 0xFFFF, 40000, 40010, 40016, 40033}) EXPECT_FALSE(ExecuteCommand(id, target)) << id;
    for (int id : {0, -1, 0xFFFF, 40000, 40010, 40016, 40033}) EXPECT_FALSE(QueryCommandState(id, target.context)) << id;
    target.context.outputRect = {0, 0, 1, 1};
    target.result = false;
    EXPECT_FALSE(ExecuteCommand(ID_SAVE, target));
    EXPECT_EQ(target.done, std::vector<std::string>{"save"});
}

// The arrow keys move by 1 source pixel (10 with Shift), y downwards; Page Up and Page Down
// turn by 0.05 degrees (0.5 with Shift), anticlockwise and clockwise, never beyond 20.
TEST(Commands, KeyboardStepsMoveAndTurnTheLeftImageWithinTheRotationLimit) {
    std::string steps;
    for (int id = ID_NUDGE_FIRST - 1; id <= ID_NUDGE_LAST + 1; ++id) {
        const Alignment s = NudgeStep(id);
        steps += std::to_string(int(s.offsetX)) + "," + std::to_string(int(s.offsetY)) + "," + std::to_string(int(s.rotation * 100)) + " ";
    }
    EXPECT_EQ(steps, "0,0,0 -1,0,0 1,0,0 0,-1,0 0,1,0 -10,0,0 10,0,0 0,-10,0 0,10,0 0,0,-5 0,0,5 0,0,-50 0,0,50 0,0,0 ");
    const Alignment moved = Nudged({2.5, -3.0, 19.8}, {-10, 1, 0.5});
    EXPECT_EQ(std::tuple(moved.offsetX, moved.offsetY, moved.rotation), std::tuple(-7.5, -2.0, 20.0));
    EXPECT_EQ(Nudged({0, 0, -19.97}, NudgeStep(ID_NUDGE_FIRST + 8)).rotation, -20.0);
    EXPECT_DOUBLE_EQ(Nudged({0, 0, 1.0}, NudgeStep(ID_NUDGE_FIRST + 9)).rotation, 1.05);
}

}  // namespace
}  // namespace bistrope
