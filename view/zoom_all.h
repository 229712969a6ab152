#pragma once
// Zoom limits of the stereo view and "Zoom All": fit the loaded images into the view.

#include <optional>

#include "engine/output_rect.h"
#include "framework/camera.h"

namespace bistrope {

// The zoom drag, the mouse wheel and ZoomAll keep the zoom within these; FitRect and Refit
// do not.
constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 32.0;

[[nodiscard]] double ClampZoom(double zoom);

// Fits the images present (source sizes; none for an empty slot) into the camera, then
// clamps the zoom into the limits. One image is fitted around the origin; with both, the
// fitted rectangle is the union of the right image and the bounding box of the moved and
// rotated left image. With no image only the limits are applied. The caller refreshes the
// status line and redraws.
void ZoomAll(TWIG4::Camera& camera, std::optional<ImageSize> left, std::optional<ImageSize> right,
             const Alignment& alignment);

}  // namespace bistrope
