#include "app/output_page_rules.h"

#include "resources/app_ids.h"

namespace bistrope {

int QualityTrackbarPosition(int quality) {
    if (quality < kQualityTrackbarMin) return kQualityTrackbarMin;
    if (quality > kQualityTrackbarMax) return kQualityTrackbarMax;
    return quality;
}

void OutputPageInit(PageItems& items, const cRegData& settings) {
    items.SetItemPos(IDC_QUALITY_TRACKBAR, QualityTrackbarPosition(settings.jpegQuality));
    items.SetItemInt(IDC_QUALITY_EDIT, settings.jpegQuality);
    items.SetItemCheck(IDC_AUTO_ALIGN_CHECK, settings.autoAlign);
}

void OutputPageScrolled(PageItems& items) {
    int position = 0;
    if (items.GetItemPos(IDC_QUALITY_TRACKBAR, &position)) items.SetItemInt(IDC_QUALITY_EDIT, position);
}

void OutputPageApply(const PageItems& items, cRegData& settings) {
    int position = 0;
    if (items.GetItemPos(IDC_QUALITY_TRACKBAR, &position)) settings.jpegQuality = position;
    (void)items.GetItemCheck(IDC_AUTO_ALIGN_CHECK, &settings.autoAlign);
}

}  // namespace bistrope
