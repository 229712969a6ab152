#include "view/interaction_mode.h"

#include "resources/app_ids.h"

namespace bistrope {

int ModeCursor(InteractionMode mode, bool dragging) {
    switch (mode) {
    case InteractionMode::PanView: return dragging ? IDC_CUR_PAN_VIEW_DRAG : IDC_CUR_PAN_VIEW;
    case InteractionMode::ZoomView: return dragging ? IDC_CUR_ZOOM_VIEW_DRAG : IDC_CUR_ZOOM_VIEW;
    case InteractionMode::PanLeft: return dragging ? IDC_CUR_PAN_LEFT_DRAG : IDC_CUR_PAN_LEFT;
    case InteractionMode::RotateLeft: return dragging ? IDC_CUR_ROTATE_LEFT_DRAG : IDC_CUR_ROTATE_LEFT;
    case InteractionMode::None: break;
    }
    return 0;
}

const wchar_t* ModeHint(InteractionMode mode) {
    switch (mode) {
    case InteractionMode::PanView: return L"Left click and drag to pan image";
    case InteractionMode::ZoomView: return L"Left click and drag vertically to zoom";
    case InteractionMode::PanLeft: return L"Left click and drag to pan left image";
    case InteractionMode::RotateLeft: return L"Left click and drag to rotate left image";
    case InteractionMode::None: break;
    }
    return L"";
}

bool ModeAllowed(InteractionMode mode, bool hasLeftImage, bool hasRightImage) {
    switch (mode) {
    case InteractionMode::None: return true;
    case InteractionMode::PanView:
    case InteractionMode::ZoomView: return hasLeftImage || hasRightImage;
    case InteractionMode::PanLeft:
    case InteractionMode::RotateLeft: return hasLeftImage && hasRightImage;
    }
    return false;
}

}  // namespace bistrope
