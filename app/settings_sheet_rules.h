#pragma once
// The settings dialog as a whole: its title, its pages in tree order, and whether closing it
// asks for the preview images and textures to be rebuilt.

#include "app/reg_data.h"

namespace bistrope {

constexpr const wchar_t* kSettingsTitle = L"Settings";

struct SettingsPageInfo {
    int templateId;        // dialog resource of the page
    const wchar_t* label;  // its text in the tree
};

// "Output settings" (111), "Custom colour blending" (112), "Advanced settings" (117).
constexpr int kSettingsPageCount = 3;
extern const SettingsPageInfo kSettingsPages[kSettingsPageCount];

// The sheet's result is 1 after OK. The previews are rebuilt after OK when the custom
// matrices or the texture size may have changed, whatever the blending mode; a change of
// the JPEG quality alone rebuilds nothing. The pages clear both flags when they open.
[[nodiscard]] bool SettingsNeedRebuild(int sheetResult, const cRegData& settings);

}  // namespace bistrope
