#include "app/advanced_page_rules.h"

#include "framework/format.h"
#include "resources/app_ids.h"

namespace bistrope {

std::wstring TextureLimitExplanation(std::uint32_t hardwareMaxTexSize) {
    return TWIG4::FormatWide(
        L"This value controls the resolution of images in the main window\n\n"
        L"It does not affect the resolution of output files\n\n"
        L"Your graphics hardware indicates a value of %u.\n\n"
        L"You should only change this value if you are having problems with the main view\n",
        static_cast<unsigned>(hardwareMaxTexSize));
}

void AdvancedPageInit(PageItems& items, cRegData& settings) {
    items.SetItemText(IDC_TEXSIZE_EXPLAIN, TextureLimitExplanation(settings.hardwareMaxTexSize).c_str());
    // "%d" of the stored bits: a size stored from -1 shows as -1 again.
    items.SetItemInt(IDC_TEXSIZE_EDIT, static_cast<int>(settings.maxTexSize));
    AdvancedPageEdited(items, settings);
    settings.maxTexSizeChanged = false;
}

void AdvancedPageEdited(PageItems& items, cRegData& settings) {
    settings.maxTexSizeChanged = true;
    int typed = 0;
    items.GetItemInt(IDC_TEXSIZE_EDIT, &typed);
    items.EnableItem(IDC_TEXSIZE_RESET, TextureResetEnabled(typed, settings.hardwareMaxTexSize));
}

void AdvancedPageReset(PageItems& items, cRegData& settings) {
    items.SetItemInt(IDC_TEXSIZE_EDIT, static_cast<int>(settings.hardwareMaxTexSize));
    AdvancedPageEdited(items, settings);
}

void AdvancedPageApply(const PageItems& items, cRegData& settings) {
    int typed = 0;
    if (items.GetItemInt(IDC_TEXSIZE_EDIT, &typed)) settings.maxTexSize = TextureSizeFromTyped(typed);
}

}  // namespace bistrope
