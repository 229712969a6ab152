#pragma once
// What to load when files arrive together: on the command line, or dropped on the window.
//
//   one file    a stereo file (.mpo, .jps, .pns) fills both eyes; an image goes to the eye
//               it was dropped on, otherwise to the left eye, or to the right one when only
//               the left holds an image;
//   two files   the first is the left eye and the second the right one (a stereo file among
//               them is taken alone, filling both eyes);
//   more        refused, with a reason.
// The command line keeps the order it was given in; a drop is sorted by name first
// (SortByName), so NAME_L comes before NAME_R whatever order the shell lists them in.

#include <optional>
#include <string>
#include <vector>

#include "engine/color_matrix.h"

namespace bistrope {

struct OpenPlan {
    std::vector<std::pair<Eye, std::wstring>> images;  // plain images, in loading order
    std::wstring stereoFile;                           // a file holding both eyes
    std::wstring error;                                // why nothing can be loaded
};

// Sorts paths by their file names, ignoring case (then by the whole path).
void SortByName(std::vector<std::wstring>& paths);

[[nodiscard]] OpenPlan PlanOpen(const std::vector<std::wstring>& files, std::optional<Eye> target, bool leftLoaded,
                                bool rightLoaded);

}  // namespace bistrope
