// The stereo view's mouse and menu messages: cursor, context menu, the drags of the
// interaction modes (view/interaction.h), the wheel zoom and the frame-rate measurement
// on a left double-click.
#include "framework/win/menu_popup.h"
#include "resources/resource.h"
#include "view/win/main_image_view.h"

using namespace bistrope;

LRESULT cMainImageView::OnSetCursor(LPARAM lParam) {
    // Only the client area shows the mode's cursor; in mode None the class's arrow applies.
    if (LOWORD(lParam) != HTCLIENT) return 0;
    return interaction.UpdateCursor() ? 1 : 0;
}

void cMainImageView::OnContextMenu() {
    // The chosen item comes back to this view as a command; dismissing the menu sends
    // command 0, which does nothing.
    TWIG4::MenuPopup popup;
    (void)popup.TrackAtCursor(IDR_MAIN_CONTEXT_MENU, this);
}

void cMainImageView::OnMouseButton(UINT message, LPARAM lParam) {
    const MousePoint p = MousePointFromPosition(static_cast<std::uint32_t>(lParam));
    switch (message) {
    case WM_LBUTTONDOWN:
        interaction.OnLeftPress(p.x, p.y);
        break;
    case WM_LBUTTONUP:
        interaction.OnLeftRelease(p.x, p.y);
        break;
    case WM_MBUTTONDOWN:
        interaction.OnMiddlePress(p.x, p.y);
        break;
    case WM_MBUTTONUP:
        interaction.OnMiddleRelease(p.x, p.y);
        break;
    case WM_MOUSEMOVE:
        interaction.OnMove(p.x, p.y);
        break;
    default:
        break;
    }
}

void cMainImageView::OnCaptureChanged(HWND newOwner) {
    if (newOwner != handle) interaction.OnCaptureLost();
}

LRESULT cMainImageView::OnMouseWheel(WPARAM wParam) {
    return interaction.OnWheel(WheelDeltaFromParam(static_cast<std::uint64_t>(wParam))) ? 1 : 0;
}

void cMainImageView::OnLeftDoubleClick() { (void)RunFrameBenchmark(); }
