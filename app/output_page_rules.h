#pragma once
// The "Output settings" page (dialog 111): the JPEG quality on a trackbar with its number in
// a read-only box beside it, and whether the eyes are aligned automatically once both are
// loaded (a check box).
//
// The trackbar keeps its own range, 0 to 100. A stored quality outside it (only an edited
// registry holds one) puts the trackbar at the nearer end while the box shows the stored
// number until the trackbar moves; OK stores the trackbar's position, so 150 becomes 100.

#include "app/page_items.h"
#include "app/reg_data.h"

namespace bistrope {

constexpr int kQualityTrackbarMin = 0;
constexpr int kQualityTrackbarMax = 100;

// Where the trackbar shows a stored quality: the quality held inside 0..100.
[[nodiscard]] int QualityTrackbarPosition(int quality);

// On opening: the trackbar at the stored quality, the box showing the stored number, the
// check box as stored.
void OutputPageInit(PageItems& items, const cRegData& settings);
// The trackbar moved: the box follows its position.
void OutputPageScrolled(PageItems& items);
// OK: the quality is the trackbar's position, automatic alignment the check box's state
// (each unchanged when its control cannot be read).
void OutputPageApply(const PageItems& items, cRegData& settings);

}  // namespace bistrope
