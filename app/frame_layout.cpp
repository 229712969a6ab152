#include "app/frame_layout.h"

#include "engine/color_matrix.h"
#include "resources/app_ids.h"

namespace bistrope {

namespace {

int AtLeastZero(int v) { return v < 0 ? 0 : v; }

}  // namespace

FrameLayout LayoutFrame(int w, int h) {
    FrameLayout layout;
    layout.leftSlot = TWIG4::RectAt(2, 2, 198, 175);
    layout.rightSlot = TWIG4::RectAt(2, 179, 198, 175);
    layout.view = TWIG4::RectAt(202, 2, AtLeastZero(w - 204), AtLeastZero(h - 4));
    layout.paneEdges = {AtLeastZero(w - 452), AtLeastZero(w - 374), AtLeastZero(w - 240), AtLeastZero(w - 104),
                        AtLeastZero(w)};
    return layout;
}

TWIG4::LayoutRect DefaultFrameRect(int virtualScreenWidth, int virtualScreenHeight) {
    const int left = (virtualScreenWidth - kDefaultFrameWidth) / 2;
    const int top = (virtualScreenHeight - kDefaultFrameHeight) / 2;
    return TWIG4::RectAt(left, top, kDefaultFrameWidth, kDefaultFrameHeight);
}

const std::array<ToolbarEntry, kToolbarEntryCount>& ToolbarEntries() {
    using K = ToolbarEntryKind;
    constexpr ToolbarEntry kSeparator = {-1, -1, K::Separator, nullptr};
    static const std::array<ToolbarEntry, kToolbarEntryCount> entries = {{
        {0, ID_SAVE, K::AutoSizeButton, L"Save image... (Ctrl+S)"},
        kSeparator,
        {1, ID_BLEND_MONOCHROMATIC, K::AutoSizeButton, L"Monochromatic blending"},
        {2, ID_BLEND_FULL_COLOUR, K::AutoSizeButton, L"Full colour blending"},
        {3, ID_BLEND_HALF_COLOUR, K::AutoSizeButton, L"Half colour blending"},
        {4, ID_BLEND_OPTIMISED_COLOUR, K::AutoSizeButton, L"Optimised colour blending"},
        {5, ID_BLEND_CUSTOM_COLOUR, K::AutoSizeButton, L"Custom colour blending"},
        kSeparator,
        {6, ID_ZOOM_VIEW, K::AutoSizeButton, L"Zoom view (keyboard shortcut: Z or ScrollWheel)"},
        {7, ID_PAN_VIEW, K::AutoSizeButton, L"Pan view (keyboard shortcut: X or Middle Mouse Button)"},
        {8, ID_PAN_LEFT, K::AutoSizeButton, L"Pan left left image (keyboard shortcut: C)"},
        {9, ID_ROTATE_LEFT, K::AutoSizeButton, L"Rotate left image (keyboard shortcut: V)"},
        {12, ID_SWAP_EYES, K::AutoSizeButton, L"Swap eyes (keyboard shortcut: F4)"},
        {13, ID_AUTO_ALIGN, K::AutoSizeButton, L"Auto align (keyboard shortcut: F5)"},
        kSeparator,
        {10, ID_SETTINGS, K::AutoSizeButton, L"Settings..."},
        kSeparator,
        {11, ID_ABOUT, K::PlainButton, L"About Bistrope..."},
    }};
    return entries;
}

}  // namespace bistrope
