// The settings pages' rules, driven through a table of fake dialog items: what each page shows
// when it opens, what an edit or a button does, what OK stores, and when the previews are
// rebuilt afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "app/advanced_page_rules.h"
#include "app/blend_page_rules.h"
#include "app/output_page_rules.h"
#include "app/settings_sheet_rules.h"
#include "framework/item_text.h"
#include "framework/temp_store.h"

using namespace bistrope;

namespace {

// Dialog items by id, made on first use. Texts are read the way the dialog reads them; a
// trackbar keeps any position it is given (the real control would clamp, so these tests see
// what the page asks for). Setting a text calls onEdit, as the control's change notification does.
struct FakeItems : PageItems {
    mutable std::map<int, std::wstring> text;
    std::map<int, int> position;
    std::map<int, bool> disabled, checked;
    std::function<void(int)> onEdit = [](int) {};

    bool GetItemPos(int id, int* p) const override { return *p = position.at(id), true; }
    bool SetItemPos(int id, int p) override { return position[id] = p, true; }
    bool GetItemInt(int id, int* v) const override { return *v = TWIG4::ParseLeadingInt(text[id].c_str()), true; }
    bool GetItemDouble(int id, double* v) const override { return *v = TWIG4::ParseLeadingDouble(text[id].c_str()), true; }
    bool SetItemInt(int id, int v) override { return SetItemText(id, TWIG4::FormatItemInt(v).c_str()); }
    bool SetItemDouble(int id, double v, int decimals) override {
        std::wstring shown;
        return TWIG4::FormatItemDouble(v, decimals, shown) && SetItemText(id, shown.c_str());
    }
    bool SetItemText(int id, const wchar_t* shown) override { return text[id] = shown, onEdit(id), true; }
    bool EnableItem(int id, bool enable) override { return disabled[id] = !enable, true; }
    bool GetItemCheck(int id, bool* c) const override { return *c = checked.at(id), true; }
    bool SetItemCheck(int id, bool c) override { return checked[id] = c, true; }
};

struct SettingsPages : ::testing::Test {
    TempStore temp;
    cRegData settings{L"Software\\Bistrope-tests\\pages", temp.File().c_str()};
    FakeItems output, blending, advanced;

    void SetUp() override {
        settings.hardwareMaxTexSize = 8192;  // the stored size is the default 4096, the matrices full colour
        blending.onEdit = [this](int) { BlendPageEdited(settings); };
        advanced.onEdit = [this](int id) { if (id == 1002) AdvancedPageEdited(advanced, settings); };
    }
};

TEST_F(SettingsPages, OutputOpensAtTheStoredQualityAndStoresTheTrackbarPosition) {
    for (auto [stored, position] : {std::pair(80, 80), std::pair(150, 100), std::pair(-20, 0)}) {
        settings.jpegQuality = stored;
        OutputPageInit(output, settings);
        EXPECT_EQ(output.text[1002], std::to_wstring(stored)) << "the box shows the stored number until the trackbar moves";
        OutputPageApply(output, settings);
        EXPECT_EQ(settings.jpegQuality, position);
    }
    output.position[1003] = 95;  // the user drags the trackbar
    OutputPageScrolled(output);
    EXPECT_EQ(output.text[1002], L"95");
    output.checked[1004] = true;  // and ticks automatic alignment
    OutputPageApply(output, settings);
    EXPECT_EQ(std::pair(settings.jpegQuality, settings.autoAlign), std::pair(95, true));
    OutputPageInit(output, settings);
    EXPECT_TRUE(output.checked[1004]);
}

TEST_F(SettingsPages, BlendingShowsThreeDecimalsAndOkStoresTheEditableBoxesOnly) {
    ColorMatrix& left = settings.leftMatrix;
    left.at(1, 0) = 0.5876f;
    left.at(2, 0) = 0.114f;
    left.at(4, 0) = 0.2f;  // not shown: kept
    settings.rightMatrix.at(1, 0) = -0.25f;
    BlendPageInit(blending, settings);
    EXPECT_FALSE(settings.matricesChanged) << "cleared after the boxes reported their filling";
    EXPECT_EQ(blending.text[1005] + L" " + blending.text[1014], L"0.588 -0.250");

    ColorMatrix expectedLeft = left, expectedRight = settings.rightMatrix;
    blending.SetItemText(1008, L"abc");  // no leading number: 0
    EXPECT_TRUE(settings.matricesChanged);
    blending.SetItemText(1003, L"7");  // read-only boxes are never read back
    blending.SetItemText(1011, L"9");
    blending.SetItemText(1018, L" -0.25xyz");
    blending.SetItemText(1013, L"0.1");  // narrowed to single precision
    BlendPageApply(blending, settings);
    expectedLeft.at(1, 0) = 0.588f;  // untouched boxes store what they show
    expectedLeft.at(2, 0) = 0.0f;
    expectedRight.at(2, 1) = -0.25f;
    expectedRight.at(0, 2) = 0.1f;
    EXPECT_EQ(settings.leftMatrix, expectedLeft);
    EXPECT_EQ(settings.rightMatrix, expectedRight);
}

TEST_F(SettingsPages, AdvancedShowsTheStoredSizeAndTheHardwareLimitAndOkStoresTheTypedNumber) {
    AdvancedPageInit(advanced, settings);
    EXPECT_EQ(advanced.text[1002], L"4096");
    EXPECT_NE(advanced.text[1007].find(L"\n\nYour graphics hardware indicates a value of 8192.\n\n"), std::wstring::npos);
    EXPECT_FALSE(advanced.disabled[1006] || settings.maxTexSizeChanged) << "the flag is cleared after the filling";

    AdvancedPageReset(advanced, settings);
    EXPECT_EQ(advanced.text[1002], L"8192");
    EXPECT_TRUE(advanced.disabled[1006] && settings.maxTexSizeChanged);
    // The button follows the box; OK stores the box's leading number as an unsigned size.
    for (auto [typed, stored] : {std::pair(L"8192 pixels", 8192u), std::pair(L"big", 0u), std::pair(L"-1", 4294967295u)}) {
        advanced.SetItemText(1002, typed);
        EXPECT_EQ(advanced.disabled[1006], stored == 8192u) << typed;
        AdvancedPageApply(advanced, settings);
        EXPECT_EQ(settings.maxTexSize, stored) << typed;
    }
    advanced.onEdit = [](int) {};  // also right when filling the box notifies nothing
    settings.hardwareMaxTexSize = 4294967295u;
    AdvancedPageInit(advanced, settings);
    EXPECT_EQ(advanced.text[1002], L"-1") << "the stored bits show as the number that was typed";
    EXPECT_TRUE(advanced.disabled[1006]);
}

TEST_F(SettingsPages, OkRebuildsOnlyWithChangedMatricesOrTextureSizeAndOpeningThePagesChangesNeither) {
    settings.matricesChanged = settings.maxTexSizeChanged = true;  // left over from an earlier opening
    // The sheet creates every page in order; OK only reads them.
    OutputPageInit(output, settings);
    BlendPageInit(blending, settings);
    AdvancedPageInit(advanced, settings);
    EXPECT_FALSE(SettingsNeedRebuild(1, settings));
    for (int result : {1, 2, -1})
        for (int flags = 1; flags < 4; ++flags) {
            settings.matricesChanged = flags & 1, settings.maxTexSizeChanged = flags & 2;
            EXPECT_EQ(SettingsNeedRebuild(result, settings), result == 1) << result << flags;
        }
}

}  // namespace
