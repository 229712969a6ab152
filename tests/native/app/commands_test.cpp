// The command table: which commands are enabled and checked for what is loaded, and which
// action each one carries out, when.
#include "app/commands.h"

#include <gtest/gtest.h>

#include <string>
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
    bool Did(const std::string& what) {
        done.push_back(what);
        return result;
    }
};

constexpr OutputRect kSome{-10, -5, 10, 5};

CommandContext With(bool left, bool right, OutputRect rect = kSome) {
    CommandContext c;
    c.hasLeftImage = left;
    c.hasRightImage = right;
    c.outputRect = rect;
    c.blendMode = 2;
    return c;
}

struct Row {
    int id;
    const char* action;
    int needs;  // 0 always, 1 one image, 2 both images
};

class EveryCommand : public ::testing::TestWithParam<Row> {};

TEST_P(EveryCommand, RunsItsActionExactlyWhenEnabled) {
    const Row row = GetParam();
    const bool blend = row.id >= ID_BLEND_MONOCHROMATIC && row.id <= ID_BLEND_CUSTOM_COLOUR;
    for (int images = 0; images <= 2; ++images)
        for (bool leftOnly : {true, false}) {
            FakeTarget target;
            target.context = With(images == 2 || (images == 1 && leftOnly), images == 2 || (images == 1 && !leftOnly));
            const bool enabled = images >= row.needs;
            ASSERT_EQ(QueryCommandState(row.id, target.context)->enabled, enabled) << row.id << " " << images;
            EXPECT_EQ(ExecuteCommand(row.id, target), enabled || blend) << row.id << " " << images;
            // A blending command stores its mode even while disabled; the others refuse.
            EXPECT_EQ(target.done, (enabled || blend ? std::vector<std::string>{row.action}
                                                     : std::vector<std::string>{}))
                << row.id << " " << images;
        }
}

INSTANTIATE_TEST_SUITE_P(Table, EveryCommand,
                         ::testing::Values(Row{ID_BLEND_MONOCHROMATIC, "blend 1", 2}, Row{ID_BLEND_FULL_COLOUR, "blend 2", 2},
                                           Row{ID_BLEND_HALF_COLOUR, "blend 3", 2},
                                           Row{ID_BLEND_OPTIMISED_COLOUR, "blend 4", 2},
                                           Row{ID_BLEND_CUSTOM_COLOUR, "blend 5", 2}, Row{ID_PAN_VIEW, "mode 1", 1},
                                           Row{ID_ZOOM_VIEW, "mode 2", 1}, Row{ID_PAN_LEFT, "mode 3", 2},
                                           Row{ID_ROTATE_LEFT, "mode 4", 2}, Row{ID_SETTINGS, "settings", 0},
                                           Row{ID_SAVE, "save", 2}, Row{ID_ABOUT, "about", 0},
                                           Row{ID_ZOOM_ALL, "zoom all", 1}, Row{ID_RESET_ALIGNMENT, "reset", 2},
                                           Row{ID_LOAD_LEFT, "load left", 0}, Row{ID_LOAD_RIGHT, "load right", 0},
                                           Row{ID_SWAP_EYES, "swap", 2}));

TEST(Commands, SaveNeedsANonEmptyOutputRectangle) {
    FakeTarget target;
    target.context = With(true, true, OutputRect{0, 0, 0, 5});
    EXPECT_FALSE(QueryCommandState(ID_SAVE, target.context)->enabled);
    EXPECT_FALSE(ExecuteCommand(ID_SAVE, target));
    target.context.outputRect = OutputRect{0, 0, 1, 1};
    EXPECT_TRUE(QueryCommandState(ID_SAVE, target.context)->enabled);
}

TEST(Commands, CheckedRulesFollowTheBlendModeAndTheInteractionMode) {
    CommandContext c = With(true, true);
    c.blendMode = 4;
    c.mode = InteractionMode::RotateLeft;
    for (int id = ID_BLEND_MONOCHROMATIC; id <= ID_BLEND_CUSTOM_COLOUR; ++id)
        EXPECT_EQ(QueryCommandState(id, c)->checked, std::optional<bool>(id == ID_BLEND_OPTIMISED_COLOUR)) << id;
    const std::pair<int, InteractionMode> modes[] = {{ID_PAN_VIEW, InteractionMode::PanView},
                                                     {ID_ZOOM_VIEW, InteractionMode::ZoomView},
                                                     {ID_PAN_LEFT, InteractionMode::PanLeft},
                                                     {ID_ROTATE_LEFT, InteractionMode::RotateLeft}};
    for (auto [id, mode] : modes) {
        c.mode = mode;
        for (auto [other, unused] : modes) EXPECT_EQ(QueryCommandState(other, c)->checked, other == id) << other;
    }
    for (int id : {ID_SETTINGS, ID_SAVE, ID_ABOUT, ID_ZOOM_ALL, ID_RESET_ALIGNMENT, ID_LOAD_LEFT})
        EXPECT_FALSE(QueryCommandState(id, c)->checked.has_value()) << id;
}

TEST(Commands, IdsWithoutARowAreNeitherAnsweredNorCarriedOut) {
    FakeTarget target;
    target.context = With(true, true);
    for (int id : {0, -1, 0xFFFF, 40000, 40010, 40016, 40020})
        EXPECT_FALSE(QueryCommandState(id, target.context).has_value()) << id;
    for (int id : {0, 40000, 40010, 40016, 40020}) EXPECT_FALSE(ExecuteCommand(id, target)) << id;
    EXPECT_TRUE(target.done.empty());

    // An action's own failure is passed on.
    target.result = false;
    EXPECT_FALSE(ExecuteCommand(ID_ABOUT, target));
    EXPECT_EQ(target.done.size(), 1u);
}

}  // namespace
}  // namespace bistrope
