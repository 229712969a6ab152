// The frame's layout for a client size, its first-run placement and its toolbar entries.
#include <gtest/gtest.h>

#include <set>
#include <string>

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

TEST(ToolbarEntries, SixteenEntriesInOrderWithTheirImagesCommandsAndTips) {
    struct Expected {
        int image, command;
        ToolbarEntryKind kind;
        const wchar_t* tip;
    };
    const ToolbarEntryKind A = ToolbarEntryKind::AutoSizeButton, S = ToolbarEntryKind::Separator;
    const Expected expected[] = {
        {0, 40012, A, L"Save image... (Ctrl+S)"},
        {-1, -1, S, nullptr},
        {1, 40001, A, L"Monochromatic blending"},
        {2, 40002, A, L"Full colour blending"},
        {3, 40003, A, L"Half colour blending"},
        {4, 40004, A, L"Optimised colour blending"},
        {5, 40005, A, L"Custom colour blending"},
        {-1, -1, S, nullptr},
        {6, 40007, A, L"Zoom view (keyboard shortcut: Z or ScrollWheel)"},
        {7, 40006, A, L"Pan view (keyboard shortcut: X or Middle Mouse Button)"},
        {8, 40008, A, L"Pan left left image (keyboard shortcut: C)"},
        {9, 40009, A, L"Rotate left image (keyboard shortcut: V)"},
        {-1, -1, S, nullptr},
        {10, 40011, A, L"Settings..."},
        {-1, -1, S, nullptr},
        {11, 40013, ToolbarEntryKind::PlainButton, L"About Bistrope..."},
    };
    const auto& entries = bistrope::ToolbarEntries();
    ASSERT_EQ(entries.size(), 16u);
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(entries[i].image, expected[i].image);
        EXPECT_EQ(entries[i].command, expected[i].command);
        EXPECT_EQ(entries[i].kind, expected[i].kind);
        if (expected[i].tip) {
            ASSERT_NE(entries[i].tip, nullptr);
            EXPECT_EQ(std::wstring(entries[i].tip), expected[i].tip);
        } else {
            EXPECT_EQ(entries[i].tip, nullptr);
        }
    }
}

TEST(ToolbarEntries, EveryStripColumnIsUsedOnce) {
    std::set<int> images;
    for (const auto& e : bistrope::ToolbarEntries()) {
        if (e.kind != ToolbarEntryKind::Separator) {
            EXPECT_TRUE(images.insert(e.image).second) << e.image;
        }
    }
    EXPECT_EQ(images.size(), 12u);
    EXPECT_EQ(*images.begin(), 0);
    EXPECT_EQ(*images.rbegin(), 11);
}

}  // namespace
