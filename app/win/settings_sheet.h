#pragma once
// The settings dialog: a tree property sheet titled "Settings" with the three pages, run
// modally and centred over `parent`, editing `settings` on OK.
//
// Returns the sheet's result: 1 after OK, 2 after Cancel, Escape or closing, -1 when the
// sheet could not be made. The caller then asks SettingsNeedRebuild (app/settings_sheet_rules.h)
// whether the preview images and textures must be rebuilt.

#include "app/reg_data.h"
#include "framework/win/wnd.h"

int RunSettingsSheet(TWIG4::Wnd* parent, cRegData& settings);
