#pragma once
// A synthetic stereo pair whose correct alignment is known: a smooth random texture seen
// by the right eye as it is, with a near box standing `nearShift` pixels in front of the
// rest, and by the left eye through the renderer's geometry (engine/render.h), so that
// rendering with `truth` would put the background at zero parallax with no vertical
// disparity. The alignment an aligner should find is then `truth` with offsetX less
// nearShift (the near box at the screen).

#include <cstdint>
#include <utility>

#include "engine/image.h"
#include "engine/output_rect.h"

namespace bistrope::test {

struct SceneParams {
    int width = 320, height = 240;    // the right eye
    int leftWidth = 0, leftHeight = 0;  // the left eye; 0: as the right
    Alignment truth;
    double nearShift = 6;  // the near box's parallax, pixels
    int nearPeriod = 0;    // >0: the near box's texture repeats down it this often (pixels)
    unsigned seed = 1;
};

// The texture's grey value (0..255) at a continuous point.
double SceneTexture(double x, double y, unsigned seed);

// {left, right}, grey in every colour, opaque.
std::pair<SourceImage, SourceImage> StereoScene(const SceneParams& params);

}  // namespace bistrope::test
