// The frame's layout for a client size, its first-run placement and its toolbar entries.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/commands.h"
#include "app/frame_layout.h"

using bistrope::FrameLayout;
using bistrope::LayoutFrame;
using bistrope::ToolbarEntryKind;
using TWIG4::LayoutRect;
using TWIG4::RectAt;

namespace {

TEST(FrameLayout, SlotsStackedOnTheLeftTheViewFillingTheRestAndFixedStatusPanes) {
    // 610 x 330 is about the client of a frame at its minimum tracking size: only the view shrinks.
    for (const auto& [w, h, view] : {std::tuple(1000, 600, RectAt(202, 2, 796, 596)), std::tuple(610, 330, RectAt(202, 2, 406, 326))}) {
        const FrameLayout layout = LayoutFrame(w, h);
        EXPECT_EQ(layout.leftSlot, RectAt(2, 2, 198, 175));
        EXPECT_EQ(layout.rightSlot, RectAt(2, 179, 198, 175));
        EXPECT_EQ(layout.view, view);
    }
    EXPECT_EQ(LayoutFrame(1000, 600).paneEdges, (std::array<int, 5>{548, 626, 760, 896, 1000}));
    // Widths from the second pane on: 78, 134, 136 and 104, whatever the client width.
    EXPECT_EQ(LayoutFrame(610, 400).paneEdges, (std::array<int, 5>{158, 236, 370, 506, 610}));
}

TEST(FrameLayout, ATinyClientGivesAnEmptyViewAndPanesAtZero) {
    const FrameLayout tiny = LayoutFrame(100, 3);
    EXPECT_EQ(tiny.view, RectAt(202, 2, 0, 0));
    EXPECT_EQ(tiny.paneEdges, (std::array<int, 5>{0, 0, 0, 0, 100}));
    EXPECT_EQ(LayoutFrame(0, 0).paneEdges, (std::array<int, 5>{0, 0, 0, 0, 0}));
    EXPECT_EQ(LayoutFrame(204, 4).view, RectAt(202, 2, 0, 0));
    EXPECT_EQ(LayoutFrame(205, 5).view, RectAt(202, 2, 1, 1));
}

TEST(FrameLayout, FirstRunWindowIsCentredOnTheVirtualScreen) {
    EXPECT_EQ(bistrope::DefaultFrameRect(1600, 1000), (LayoutRect{472, 268, 1128, 732}));
    EXPECT_EQ(bistrope::DefaultFrameRect(1601, 1001), (LayoutRect{472, 268, 1128, 732}));
    // A screen smaller than the window: halves truncated toward zero, not floored.
    EXPECT_EQ(bistrope::DefaultFrameRect(601, 400), (LayoutRect{-27, -32, 629, 432}));
    EXPECT_EQ(bistrope::DefaultFrameRect(3840 + 1920, 1080), (LayoutRect{2552, 308, 3208, 772}));
}

TEST(ToolbarEntries, EveryStripColumnIsUsedOnceForACommandOfTheTable) {
    std::set<int> images;
    for (const auto& e : bistrope::ToolbarEntries())
        if (e.kind != ToolbarEntryKind::Separator)
            EXPECT_TRUE(images.insert(e.image).second && bistrope::QueryCommandState(e.command, {}) && *e.tip) << e.image;
    EXPECT_EQ(std::vector<int>(images.begin(), images.end()), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
}

}  // namespace
