#include "app/settings_sheet_rules.h"

#include "resources/app_ids.h"

namespace bistrope {

const SettingsPageInfo kSettingsPages[kSettingsPageCount] = {
    {IDD_PAGE_OUTPUT, L"Output settings"},
    {IDD_PAGE_BLENDING, L"Custom colour blending"},
    {IDD_PAGE_ADVANCED, L"Advanced settings"},
};

bool SettingsNeedRebuild(int sheetResult, const cRegData& settings) {
    return sheetResult == 1 && (settings.matricesChanged || settings.maxTexSizeChanged);
}

}  // namespace bistrope
