#include "view/interaction.h"

#include <cmath>

#include "view/zoom_all.h"

namespace bistrope {

MousePoint MousePointFromPosition(std::uint32_t position) {
    return {static_cast<std::int16_t>(position & 0xFFFFu), static_cast<std::int16_t>((position >> 16) & 0xFFFFu)};
}

int WheelDeltaFromParam(std::uint64_t param) { return static_cast<std::int16_t>((param >> 16) & 0xFFFFu); }

bool ViewInteraction::SetInteractionMode(InteractionMode mode) {
    if (state_.dragging) return false;
    const bool known = mode == InteractionMode::None || ModeCursor(mode, false) != 0;
    if (!known || !ModeAllowed(mode, host_.HasLeftImage(), host_.HasRightImage())) return false;
    state_.mode = mode;
    UpdateCursor();
    host_.SetModeHint(ModeHint(mode));
    return true;
}

bool ViewInteraction::UpdateCursor() {
    const int cursor = ModeCursor(state_.mode, state_.dragging);
    if (cursor == 0) return false;
    host_.SetCursor(cursor);
    return true;
}

double ViewInteraction::PointerAngle(int x, int y) const {
    const TWIG4::Vec3 p = camera_.WindowToWorld({double(x), -double(y), 0.0});
    const Alignment alignment = host_.GetAlignment();
    return std::atan2(p.x - alignment.offsetX, p.y + alignment.offsetY) * kRadiansToDegrees;
}

void ViewInteraction::StartDrag(DragButton button) {
    state_.dragging = true;
    state_.dragButton = button;
    host_.CaptureMouse();
    UpdateCursor();
}

void ViewInteraction::OnLeftPress(int x, int y) {
    if (state_.dragging) return;
    state_.mouseDown = {x, y};
    DragStart& start = state_.dragStart;
    switch (state_.mode) {
    case InteractionMode::PanView: start.target = camera_.GetTarget(); break;
    case InteractionMode::ZoomView: start.zoom = camera_.GetZoom(); break;
    case InteractionMode::PanLeft:
        start.offsetX = host_.GetAlignment().offsetX;
        start.offsetY = host_.GetAlignment().offsetY;
        break;
    case InteractionMode::RotateLeft:
        start.rotation = host_.GetAlignment().rotation;
        start.angle = PointerAngle(x, y);
        break;
    case InteractionMode::None: return;
    }
    StartDrag(DragButton::Left);
}

void ViewInteraction::OnLeftRelease(int, int) {
    // A left release ends only a left drag; a middle-button pan runs on until its own release.
    if (!state_.dragging || state_.dragButton != DragButton::Left) return;
    state_.dragging = false;
    state_.dragButton = DragButton::None;
    host_.ReleaseMouse();
    UpdateCursor();
    host_.Render();
}

void ViewInteraction::OnMiddlePress(int x, int y) {
    if (state_.dragging) return;
    state_.mouseDown = {x, y};
    state_.dragStart.target = camera_.GetTarget();
    state_.savedMode = state_.mode;
    state_.mode = InteractionMode::PanView;
    StartDrag(DragButton::Middle);
}

void ViewInteraction::OnMiddleRelease(int, int) {
    // Only the middle-button pan ends here, so a left drag never picks up a stale saved mode.
    if (!state_.dragging || state_.dragButton != DragButton::Middle) return;
    state_.mode = state_.savedMode;
    // The drag is over before the capture goes, so the capture-lost notice finds none.
    state_.dragging = false;
    state_.dragButton = DragButton::None;
    host_.ReleaseMouse();
    UpdateCursor();  // the hovering cursor of the restored mode
}

void ViewInteraction::OnCaptureLost() {
    if (!state_.dragging) return;
    if (state_.dragButton == DragButton::Middle) state_.mode = state_.savedMode;
    state_.dragging = false;
    state_.dragButton = DragButton::None;
    UpdateCursor();
    host_.Render();
}

void ViewInteraction::OnMove(int x, int y) {
    state_.mouseNow = {x, y};
    const int dx = x - state_.mouseDown.x;
    const int dy = y - state_.mouseDown.y;
    if (!state_.dragging) return;

    const double z = camera_.GetZoom();
    const DragStart& start = state_.dragStart;
    switch (state_.mode) {
    case InteractionMode::PanView:
        // The picture follows the pointer: window y runs down, the plane's y up.
        camera_.SetTarget(start.target + TWIG4::Vec3{-dx / z, dy / z, 0.0});
        host_.Render();
        break;
    case InteractionMode::ZoomView:
        // Dragging down zooms in; 150 pixels make a factor of 10. The target stays.
        camera_.SetZoom(ClampZoom(std::pow(10.0, dy / kZoomDragPixelsPerDecade) * start.zoom));
        host_.UpdateStatus();
        host_.Render();
        break;
    case InteractionMode::PanLeft: {
        Alignment moved = host_.GetAlignment();
        moved.offsetX = start.offsetX + dx / z;
        moved.offsetY = start.offsetY + dy / z;
        host_.SetAlignment(moved);
        break;
    }
    case InteractionMode::RotateLeft:
        DragRotate(x, y);
        break;
    case InteractionMode::None: break;
    }
}

void ViewInteraction::DragRotate(int x, int y) {
    DragStart& start = state_.dragStart;
    const double a = PointerAngle(x, y);
    double d = a - start.angle;
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    Alignment turned = host_.GetAlignment();
    turned.rotation = start.rotation + d;
    // At a limit the anchor moves with the pointer, so turning back acts at once.
    if (turned.rotation > kMaxRotation) {
        start.angle = a;
        start.rotation = kMaxRotation;
        turned.rotation = kMaxRotation;
    }
    if (turned.rotation < -kMaxRotation) {
        start.angle = a;
        start.rotation = -kMaxRotation;
        turned.rotation = -kMaxRotation;
    }
    host_.SetAlignment(turned);
}

bool ViewInteraction::OnWheel(int delta) {
    double z = camera_.GetZoom();
    if (delta > 0) z = z * kWheelZoomStep;
    if (delta < 0) z = z / kWheelZoomStep;
    camera_.SetZoom(ClampZoom(z));
    host_.UpdateStatus();
    host_.Render();
    return true;
}

}  // namespace bistrope
