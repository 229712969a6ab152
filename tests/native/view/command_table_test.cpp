// The stereo view's command table: enabled and checked states before any image, with one and
// with both images, and the ids without a row.
#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

#include "view/command_table.h"

namespace {

using bistrope::CommandContext;
using bistrope::InteractionMode;
using bistrope::QueryCommandState;

constexpr int kAllIds[] = {40001, 40002, 40003, 40004, 40005, 40006, 40007, 40008,
                           40009, 40011, 40012, 40013, 40014, 40015, 40017, 40018};

CommandContext Images(bool left, bool right) {
    CommandContext c;
    c.hasLeftImage = left;
    c.hasRightImage = right;
    c.blendMode = 2;
    c.outputRect = {-600, -450, 600, 450};
    return c;
}

std::vector<int> EnabledIds(const CommandContext& c) {
    std::vector<int> ids;
    for (int id : kAllIds)
        if (QueryCommandState(id, c)->enabled) ids.push_back(id);
    return ids;
}

TEST(CommandTable, EnabledSetsBeforeAnyImageWithOneAndWithBoth) {
    EXPECT_EQ(EnabledIds(Images(false, false)), (std::vector<int>{40011, 40013, 40017, 40018}));
    const std::vector<int> one = {40006, 40007, 40011, 40013, 40014, 40017, 40018};
    EXPECT_EQ(EnabledIds(Images(true, false)), one);
    EXPECT_EQ(EnabledIds(Images(false, true)), one);
    EXPECT_EQ(EnabledIds(Images(true, true)), std::vector<int>(std::begin(kAllIds), std::end(kAllIds)));
}

TEST(CommandTable, SaveNeedsANonEmptyOutputRectangle) {
    CommandContext c = Images(true, true);
    EXPECT_TRUE(QueryCommandState(40012, c)->enabled);
    for (bistrope::OutputRect r : {bistrope::OutputRect{0, 0, 0, 0}, bistrope::OutputRect{10, -5, 10, 5},
                                   bistrope::OutputRect{-5, 10, 5, 9}, bistrope::OutputRect{5, 0, -5, 3}}) {
        c.outputRect = r;
        EXPECT_FALSE(QueryCommandState(40012, c)->enabled) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        EXPECT_TRUE(QueryCommandState(40015, c)->enabled);  // reset stays available to mend it
    }
    c.outputRect = {0, 0, 1, 1};
    EXPECT_TRUE(QueryCommandState(40012, c)->enabled);
    // One image alone never saves, whatever its rectangle.
    CommandContext one = Images(true, false);
    EXPECT_FALSE(QueryCommandState(40012, one)->enabled);
}

TEST(CommandTable, CheckedRulesFollowTheBlendModeAndTheInteractionMode) {
    CommandContext c = Images(true, true);
    for (int mode = 0; mode <= 6; ++mode) {
        c.blendMode = mode;
        for (int id = 40001; id <= 40005; ++id)
            EXPECT_EQ(*QueryCommandState(id, c)->checked, id - 40000 == mode) << "mode " << mode << " id " << id;
    }
    const std::pair<InteractionMode, int> modes[] = {{InteractionMode::PanView, 40006},
                                                     {InteractionMode::ZoomView, 40007},
                                                     {InteractionMode::PanLeft, 40008},
                                                     {InteractionMode::RotateLeft, 40009}};
    for (InteractionMode m : {InteractionMode::None, InteractionMode::PanView, InteractionMode::ZoomView,
                              InteractionMode::PanLeft, InteractionMode::RotateLeft}) {
        c.mode = m;
        for (auto [mode, id] : modes) EXPECT_EQ(*QueryCommandState(id, c)->checked, mode == m) << id;
    }
    // The checked rule holds also while the command is disabled (the blending buttons before
    // the images are loaded still show the stored mode).
    CommandContext none = Images(false, false);
    none.blendMode = 4;
    EXPECT_FALSE(QueryCommandState(40004, none)->enabled);
    EXPECT_TRUE(*QueryCommandState(40004, none)->checked);
    // Commands without a checked rule leave the record's checked state alone.
    for (int id : {40011, 40012, 40013, 40014, 40015, 40017, 40018})
        EXPECT_FALSE(QueryCommandState(id, c)->checked.has_value()) << id;
}

TEST(CommandTable, IdsWithoutARowAreNeitherAnsweredNorEnabled) {
    const CommandContext c = Images(true, true);
    for (int id : {0, -1, 0xFFFF, 40000, 40010, 40016, 40019, 2001, 1}) {
        EXPECT_FALSE(QueryCommandState(id, c).has_value()) << id;
        EXPECT_FALSE(bistrope::IsCommandEnabled(id, c)) << id;
    }
    EXPECT_TRUE(bistrope::IsCommandEnabled(40012, c));
}

}  // namespace
