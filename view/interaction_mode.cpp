#include "view/interaction_mode.h"

namespace bistrope {

int ModeCursor(InteractionMode mode, bool dragging) {
    switch (mode) {
    case InteractionMode::PanView: return dragging ? kCursorPanViewDrag : kCursorPanViewHover;
    case InteractionMode::ZoomView: return dragging ? kCursorZoomViewDrag : kCursorZoomViewHover;
    case InteractionMode::PanLeft: return dragging ? kCursorPanLeftDrag : kCursorPanLeftHover;
    case InteractionMode::RotateLeft: return dragging ? kCursorRotateLeftDrag : kCursorRotateLeftHover;
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

int ModeCommand(InteractionMode mode) {
    switch (mode) {
    case InteractionMode::PanView: return kCommandPanView;
    case InteractionMode::ZoomView: return kCommandZoomView;
    case InteractionMode::PanLeft: return kCommandPanLeft;
    case InteractionMode::RotateLeft: return kCommandRotateLeft;
    case InteractionMode::None: break;
    }
    return 0;
}

bool ModeFromCommand(int command, InteractionMode& mode) {
    switch (command) {
    case kCommandPanView: mode = InteractionMode::PanView; return true;
    case kCommandZoomView: mode = InteractionMode::ZoomView; return true;
    case kCommandPanLeft: mode = InteractionMode::PanLeft; return true;
    case kCommandRotateLeft: mode = InteractionMode::RotateLeft; return true;
    default: return false;
    }
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
