#include "app/win/settings_sheet.h"

#include "app/settings_sheet_rules.h"
#include "app/win/settings_pages.h"

int RunSettingsSheet(TWIG4::Wnd* parent, cRegData& settings) {
    using bistrope::kSettingsPages;
    TWIG4::PropSheet2 sheet;
    cGeneralPage output(kSettingsPages[0].templateId, settings);
    cBlendPage blending(kSettingsPages[1].templateId, settings);
    cAdvancedSettings advanced(kSettingsPages[2].templateId, settings);
    sheet.AddPage(&output, kSettingsPages[0].label);
    sheet.AddPage(&blending, kSettingsPages[1].label);
    sheet.AddPage(&advanced, kSettingsPages[2].label);
    return sheet.DoModal(bistrope::kSettingsTitle, parent, true);
}
