#pragma once
// The main frame's fixed values and layout arithmetic: where the two image slots, the stereo
// view and the status panes go for a client size, where the window opens the first time,
// and the toolbar's entries.
//
// Layout of the client window (w x h pixels): the left slot at (2, 2) and the right slot at
// (2, 179), each 198 x 175; the stereo view at (202, 2), (w - 204) x (h - 4), held at 0 x 0
// when the client is smaller than that (a minimised frame); five status panes with right
// edges w - 452, w - 374, w - 240, w - 104 and w, each held at 0 or more (a negative edge
// would mean "to the window's edge" to the status bar).

#include <array>

#include "base/version.h"
#include "framework/layout_rect.h"

namespace bistrope {

constexpr const wchar_t* kFrameTitle = L"" BISTROPE_TITLE;
// The settings keys' names are fixed: they do not follow the version (see docs/packaging.md).
constexpr const wchar_t* kPlacementKey = L"software\\Bistrope1.8.4";
constexpr const wchar_t* kPlacementSection = L"WindowPos";

constexpr int kDefaultFrameWidth = 656;
constexpr int kDefaultFrameHeight = 464;
constexpr int kMinTrackWidth = 626;
constexpr int kMinTrackHeight = 461;

// The client window's paint colour.
constexpr int kClientRed = 205;
constexpr int kClientGreen = 202;
constexpr int kClientBlue = 187;

constexpr const wchar_t* kToolbarImageFile = L"Bistrope.dll";  // read from the working folder
constexpr int kToolbarCell = 48;                                // strip cells, pixels

constexpr int kStatusPaneCount = 5;
// The status bar's eight panes at creation; -1: to the window's edge. The first layout
// replaces them.
constexpr std::array<int, 8> kInitialPaneEdges = {200, 300, 400, 500, 600, 700, 800, -1};

struct FrameLayout {
    TWIG4::LayoutRect leftSlot;
    TWIG4::LayoutRect rightSlot;
    TWIG4::LayoutRect view;
    std::array<int, kStatusPaneCount> paneEdges;
};

[[nodiscard]] FrameLayout LayoutFrame(int clientWidth, int clientHeight);

// The window rectangle of the first run: 656 x 464 centred on the virtual screen, halves
// truncated toward zero (a screen narrower than the window gives a negative left).
[[nodiscard]] TWIG4::LayoutRect DefaultFrameRect(int virtualScreenWidth, int virtualScreenHeight);

enum class ToolbarEntryKind {
    AutoSizeButton,  // sized to its image
    PlainButton,
    Separator,       // 8 pixels wide, command -1
};

struct ToolbarEntry {
    int image;       // column of the image strip; -1 for a separator
    int command;     // -1 for a separator
    ToolbarEntryKind kind;
    const wchar_t* tip;  // tooltip text; null for a separator
};

constexpr int kToolbarEntryCount = 18;
constexpr int kToolbarSeparatorWidth = 8;

// The seventeen entries in order: save; the five blending modes; zoom, pan view, pan and
// rotate the left image, swap the eyes; settings; about, with separators between the groups.
[[nodiscard]] const std::array<ToolbarEntry, kToolbarEntryCount>& ToolbarEntries();

}  // namespace bistrope
