#pragma once
// Mouse interaction of the stereo view: the left-button drags of the four modes, the
// middle-button pan, the wheel zoom and the rules for switching modes.
//
// ViewInteraction holds the mode and the drag state and changes the camera it is given. It
// reaches the window and the alignment only through InteractionHost, so the whole logic runs
// without a window. Mouse positions are client pixels of the view window, origin
// at its top-left corner, y downwards; while the mouse is captured they can be negative.

#include <cstdint>
#include <string>

#include "base/geometry.h"

#include "engine/output_rect.h"
#include "framework/camera.h"
#include "view/interaction_mode.h"

namespace bistrope {

constexpr double kRadiansToDegrees = 57.29577951308232;
constexpr double kWheelZoomStep = 1.1;
constexpr double kZoomDragPixelsPerDecade = 150.0;

// What the interaction needs from the window that owns it.
class InteractionHost {
public:
    [[nodiscard]] virtual bool HasLeftImage() const = 0;
    [[nodiscard]] virtual bool HasRightImage() const = 0;
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    // Loads the cursor resource and makes it the current cursor at once.
    virtual void SetCursor(int cursorId) = 0;
    // Redraws the preview.
    virtual void Render() = 0;
    // Rewrites status panes 1 to 4 (zoom, output size, offset, rotation).
    virtual void UpdateStatus() = 0;
    // Writes status pane 0.
    virtual void SetModeHint(const std::wstring& text) = 0;
    // The alignment of the left image, and a new one: the host recomputes the output
    // rectangle, rewrites the status panes and redraws.
    [[nodiscard]] virtual Alignment GetAlignment() const = 0;
    virtual void SetAlignment(const Alignment& alignment) = 0;

protected:
    ~InteractionHost() = default;
};

using MousePoint = geom::Point<std::int32_t>;

// A mouse message's position value: low word x, high word y, each a signed 16-bit number.
[[nodiscard]] MousePoint MousePointFromPosition(std::uint32_t position);
// A wheel message's delta: the signed high word of its first parameter.
[[nodiscard]] int WheelDeltaFromParam(std::uint64_t param);

enum class DragButton { None, Left, Middle };

// Values captured at a press, each by the mode that needs it.
struct DragStart {
    TWIG4::Vec3 target{};
    double zoom = 0.0;
    double offsetX = 0.0;
    double offsetY = 0.0;
    double rotation = 0.0;
    double angle = 0.0;  // pointer bearing, degrees
};

struct InteractionState {
    InteractionMode mode = InteractionMode::None;
    InteractionMode savedMode = InteractionMode::None;  // restored when a middle-button pan ends
    bool dragging = false;                             // a drag runs and the mouse is captured
    DragButton dragButton = DragButton::None;          // the button whose release ends the drag
    MousePoint mouseDown{};
    MousePoint mouseNow{};
    DragStart dragStart{};
};

class ViewInteraction {
public:
    ViewInteraction(TWIG4::Camera& camera, InteractionHost& host) : camera_(camera), host_(host) {}

    // Switches the mode, sets its cursor and writes its hint. Refused (false, nothing changes)
    // during a drag, for a mode the loaded images do not allow, and for unknown values.
    bool SetInteractionMode(InteractionMode mode);

    // Sets the cursor of the mode (dragging cursor during a drag). False in mode None, where
    // the window's own cursor applies.
    bool UpdateCursor();

    void OnLeftPress(int x, int y);
    void OnLeftRelease(int x, int y);
    void OnMiddlePress(int x, int y);
    void OnMiddleRelease(int x, int y);
    void OnMove(int x, int y);
    // The mouse capture went to another window (a dialog opened, the user switched away):
    // a running drag ends where it stands, as its button's release would end it.
    void OnCaptureLost();
    // One zoom step per message whatever the delta's size; delta 0 only applies the limits.
    // Always handled (true).
    bool OnWheel(int delta);

    // Bearing of the window point seen from the left image's centre, in degrees: 0 straight
    // up, growing clockwise, within -180 to 180. Uses the camera's last drawn box.
    [[nodiscard]] double PointerAngle(int x, int y) const;

    [[nodiscard]] const InteractionState& State() const { return state_; }
    [[nodiscard]] InteractionMode Mode() const { return state_.mode; }
    [[nodiscard]] bool IsDragging() const { return state_.dragging; }

private:
    void StartDrag(DragButton button);
    void DragRotate(int x, int y);

    TWIG4::Camera& camera_;
    InteractionHost& host_;
    InteractionState state_{};
};

}  // namespace bistrope
