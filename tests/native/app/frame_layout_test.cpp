// The frame's layout for a client size, its first-run placement and its toolbar entries.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/commands.h"
#include "app/frame_layout.h"

using bistrope::FrameLayout;
using bistrope::LayoutFrame;
using bistrope::ToolbarEntryKind;
using TWIG4::LayoutRect;
using TWIG4::RectAt;

namespace {

TEST(FrameLayout, SlotsStackedOnTheLeftAndTheViewFillingTheRest) {
    const FrameLayout layout = LayoutFrame(1000, 600);
    EXPECT_EQ(layout.leftSlot, RectAt(2, 2, 198, 175));
    EXPECT_EQ(layout.rightSlot, RectAt(2, 179, 198, 175));
    EXPECT_EQ(layout.view, RectAt(202, 2, 796, 596));
}

TEST(FrameLayout, StatusPaneEdgesFollowTheClientWidth) {
    EXPECT_EQ(LayoutFrame(1000, 600).paneEdges, (std::array<int, 5>{548, 626, 760, 896, 1000}));
    // Widths from the second pane on: 78, 134, 136 and 104, whatever the client width.
    const auto edges = LayoutFrame(610, 400).paneEdges;
    EXPECT_EQ(edges, (std::array<int, 5>{158, 236, 370, 506, 610}));
}

TEST(FrameLayout, TheSmallestFrameKeepsTheSlotsAndShrinksOnlyTheView) {
    // The client window of a frame at its minimum tracking size is about 610 x 330 here.
    const FrameLayout small = LayoutFrame(610, 330);
    EXPECT_EQ(small.leftSlot, RectAt(2, 2, 198, 175));
    EXPECT_EQ(small.rightSlot, RectAt(2, 179, 198, 175));
    EXPECT_EQ(small.view, RectAt(202, 2, 406, 326));
}

TEST(FrameLayout, ATinyClientGivesAnEmptyViewAndPanesAtZero) {
    const FrameLayout tiny = LayoutFrame(100, 3);
    EXPECT_EQ(tiny.view, RectAt(202, 2, 0, 0));
    EXPECT_EQ(tiny.paneEdges, (std::array<int, 5>{0, 0, 0, 0, 100}));
    const FrameLayout none = LayoutFrame(0, 0);
    EXPECT_EQ(none.view.Width(), 0);
    EXPECT_EQ(none.view.Height(), 0);
    EXPECT_EQ(none.paneEdges, (std::array<int, 5>{0, 0, 0, 0, 0}));
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
    for (const auto& e : bistrope::ToolbarEntries()) {
        if (e.kind != ToolbarEntryKind::Separator) {
            EXPECT_TRUE(images.insert(e.image).second) << e.image;
            EXPECT_TRUE(bistrope::QueryCommandState(e.command, {}).has_value()) << e.command;
            EXPECT_NE(std::wstring(e.tip), L"");
        }
    }
    EXPECT_EQ(images.size(), 13u);
    EXPECT_EQ(*images.begin(), 0);
    EXPECT_EQ(*images.rbegin(), 12);
}

}  // namespace
