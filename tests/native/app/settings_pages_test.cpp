// The settings pages' rules, driven through a table of fake dialog items: what each page shows
// when it opens, what an edit or a button does, what OK stores, and when the previews are
// rebuilt afterwards.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "app/advanced_page_rules.h"
#include "app/blend_page_rules.h"
#include "app/output_page_rules.h"
#include "app/settings_sheet_rules.h"
#include "framework/item_text.h"
#include "framework/temp_store.h"

using bistrope::ColorMatrix;
using bistrope::Eye;
using bistrope::FullColourMatrix;
using bistrope::MatrixBox;

namespace {

// Dialog items by id. Texts are read the way the dialog reads them; a trackbar keeps any
// position it is given (the real control would clamp, so these tests see what the page asks
// for). Changing an edit's text calls onEdit, as the control's change notification does.
class FakeItems : public bistrope::PageItems {
public:
    struct Item {
        std::wstring text;
        int position = 0;
        bool enabled = true;
    };
    std::map<int, Item> items;
    std::function<void(int)> onEdit;

    void Add(int id) { items[id] = Item{}; }
    std::wstring Text(int id) const { return items.at(id).text; }
    void Type(int id, const std::wstring& text) { SetText(id, text); }

    bool GetItemPos(int id, int* position) const override {
        auto it = items.find(id);
        if (it == items.end() || !position) return false;
        *position = it->second.position;
        return true;
    }
    bool SetItemPos(int id, int position) override {
        auto it = items.find(id);
        if (it == items.end()) return false;
        it->second.position = position;
        return true;
    }
    bool GetItemInt(int id, int* value) const override {
        auto it = items.find(id);
        if (it == items.end() || !value) return false;
        *value = TWIG4::ParseLeadingInt(it->second.text.c_str());
        return true;
    }
    bool GetItemDouble(int id, double* value) const override {
        auto it = items.find(id);
        if (it == items.end() || !value) return false;
        *value = TWIG4::ParseLeadingDouble(it->second.text.c_str());
        return true;
    }
    bool SetItemInt(int id, int value) override { return SetText(id, TWIG4::FormatItemInt(value)); }
    bool SetItemDouble(int id, double value, int decimals) override {
        std::wstring text;
        return TWIG4::FormatItemDouble(value, decimals, text) && SetText(id, text);
    }
    bool SetItemText(int id, const wchar_t* text) override { return SetText(id, text ? text : L""); }
    bool EnableItem(int id, bool enable) override {
        auto it = items.find(id);
        if (it == items.end()) return false;
        it->second.enabled = enable;
        return true;
    }

private:
    bool SetText(int id, const std::wstring& text) {
        auto it = items.find(id);
        if (it == items.end()) return false;
        it->second.text = text;
        if (onEdit) onEdit(id);
        return true;
    }
};

class SettingsPages : public ::testing::Test {
protected:
    TempStore temp;
    cRegData settings{L"Software\\Bistrope-tests\\pages", temp.File().c_str()};
    FakeItems items;

    void SetUp() override {
        settings.leftMatrix = FullColourMatrix(Eye::Left);
        settings.rightMatrix = FullColourMatrix(Eye::Right);
    }
};

// ---------------------------------------------------------------------------------------------
// Output settings

class OutputPage : public SettingsPages {
protected:
    void SetUp() override {
        SettingsPages::SetUp();
        items.Add(1003);  // trackbar
        items.Add(1002);  // read-only number
    }
};

TEST_F(OutputPage, OpensAtTheStoredQualityAndStoresTheMovedTrackbar) {
    settings.jpegQuality = 80;
    bistrope::OutputPageInit(items, settings);
    EXPECT_EQ(items.items[1003].position, 80);
    EXPECT_EQ(items.Text(1002), L"80");

    items.items[1003].position = 95;  // the user drags the trackbar
    bistrope::OutputPageScrolled(items);
    EXPECT_EQ(items.Text(1002), L"95");
    EXPECT_EQ(settings.jpegQuality, 80) << "nothing is stored before OK";
    bistrope::OutputPageApply(items, settings);
    EXPECT_EQ(settings.jpegQuality, 95);
}

TEST_F(OutputPage, AQualityAboveTheRangeShowsAtTheEndAndIsStoredAsTheEnd) {
    settings.jpegQuality = 150;
    bistrope::OutputPageInit(items, settings);
    EXPECT_EQ(items.items[1003].position, 100);
    EXPECT_EQ(items.Text(1002), L"150") << "the box shows the stored number until the trackbar moves";
    bistrope::OutputPageApply(items, settings);
    EXPECT_EQ(settings.jpegQuality, 100);

    settings.jpegQuality = -20;
    bistrope::OutputPageInit(items, settings);
    EXPECT_EQ(items.items[1003].position, 0);
    EXPECT_EQ(items.Text(1002), L"-20");
    bistrope::OutputPageApply(items, settings);
    EXPECT_EQ(settings.jpegQuality, 0);
}

// ---------------------------------------------------------------------------------------------
// Custom colour blending

TEST(BlendPageRules, OnlyEachEyesOwnOutputChannelsAreEditable) {
    std::set<int> editable;
    for (const MatrixBox& box : bistrope::MatrixBoxes())
        if (box.editable) editable.insert(box.id);
    EXPECT_EQ(editable, (std::set<int>{1002, 1005, 1008, 1012, 1013, 1015, 1016, 1018, 1019}));
}

class BlendPage : public SettingsPages {
protected:
    void SetUp() override {
        SettingsPages::SetUp();
        for (int id = 1002; id <= 1019; ++id) items.Add(id);
        items.onEdit = [this](int) { bistrope::BlendPageEdited(settings); };
    }
};

TEST_F(BlendPage, ElementsAreShownRoundedToThreeDecimals) {
    settings.leftMatrix.at(2, 0) = 0.114f;
    settings.leftMatrix.at(1, 0) = 0.5876f;
    settings.rightMatrix.at(1, 0) = -0.25f;
    settings.rightMatrix.at(2, 2) = 12.3456f;
    bistrope::BlendPageInit(items, settings);
    EXPECT_EQ(items.Text(1008), L"0.114");
    EXPECT_EQ(items.Text(1005), L"0.588");
    EXPECT_EQ(items.Text(1014), L"-0.250");
    EXPECT_EQ(items.Text(1019), L"12.346");
}

TEST_F(BlendPage, OpeningClearsTheChangeFlagAfterTheBoxesReportedTheirFilling) {
    settings.matricesChanged = true;
    int notified = 0;
    items.onEdit = [&](int) {
        ++notified;
        bistrope::BlendPageEdited(settings);
    };
    bistrope::BlendPageInit(items, settings);
    EXPECT_EQ(notified, 18);
    EXPECT_FALSE(settings.matricesChanged);
    items.Type(1012, L"0.9");
    EXPECT_TRUE(settings.matricesChanged);
}

TEST_F(BlendPage, OkStoresTheEditableBoxesIntoTheirElementsOnly) {
    settings.leftMatrix.at(4, 0) = 0.2f;   // not shown: kept
    settings.rightMatrix.at(3, 3) = 0.5f;  // not shown: kept
    bistrope::BlendPageInit(items, settings);
    ColorMatrix left = settings.leftMatrix;
    ColorMatrix right = settings.rightMatrix;

    items.Type(1005, L"0.5");
    items.Type(1003, L"7");    // read-only box: never read back
    items.Type(1011, L"9");    // read-only box of the right matrix
    items.Type(1018, L" -0.25xyz");
    items.Type(1002, L"abc");  // no leading number: 0
    items.Type(1013, L"0.1");  // narrowed to single precision
    bistrope::BlendPageApply(items, settings);
    EXPECT_EQ(settings.rightMatrix.at(0, 2), 0.1f);
    right.at(0, 2) = 0.1f;

    left.at(1, 0) = 0.5f;
    left.at(0, 0) = 0.0f;
    right.at(2, 1) = -0.25f;
    EXPECT_EQ(settings.leftMatrix, left);
    EXPECT_EQ(settings.rightMatrix, right);
    EXPECT_EQ(settings.leftMatrix.at(4, 0), 0.2f);
    EXPECT_EQ(settings.rightMatrix.at(3, 3), 0.5f);
    EXPECT_TRUE(settings.matricesChanged);
}

TEST_F(BlendPage, UntouchedBoxesStoreWhatTheyShowed) {
    settings.leftMatrix.at(0, 0) = 0.299f;
    bistrope::BlendPageInit(items, settings);
    bistrope::BlendPageApply(items, settings);
    EXPECT_EQ(settings.leftMatrix.at(0, 0), 0.299f) << "0.299 is shown as 0.299 and read back as it was";
    EXPECT_EQ(settings.rightMatrix, FullColourMatrix(Eye::Right));
}

// ---------------------------------------------------------------------------------------------
// Advanced settings

TEST(AdvancedPageRules, ExplanationNamesTheHardwareLimit) {
    EXPECT_EQ(bistrope::TextureLimitExplanation(8192),
              L"This value controls the resolution of images in the main window\n\n"
              L"It does not affect the resolution of output files\n\n"
              L"Your graphics hardware indicates a value of 8192.\n\n"
              L"You should only change this value if you are having problems with the main view\n");
}

TEST(AdvancedPageRules, TypedNumbersAreStoredAsUnsignedSizes) {
    EXPECT_EQ(bistrope::TextureSizeFromTyped(2048), 2048u);
    EXPECT_EQ(bistrope::TextureSizeFromTyped(0), 0u);
    EXPECT_EQ(bistrope::TextureSizeFromTyped(-1), 4294967295u);
    EXPECT_FALSE(bistrope::TextureResetEnabled(8192, 8192));
    EXPECT_TRUE(bistrope::TextureResetEnabled(4096, 8192));
    EXPECT_TRUE(bistrope::TextureResetEnabled(-1, 8192));
    EXPECT_FALSE(bistrope::TextureResetEnabled(-1, 4294967295u));
}

class AdvancedPage : public SettingsPages {
protected:
    void SetUp() override {
        SettingsPages::SetUp();
        items.Add(1002);  // size
        items.Add(1006);  // reset
        items.Add(1007);  // explanation
        settings.hardwareMaxTexSize = 8192;
        settings.maxTexSize = 4096;
        items.onEdit = [this](int id) {
            if (id == 1002) bistrope::AdvancedPageEdited(items, settings);
        };
    }
};

TEST_F(AdvancedPage, OpensWithTheStoredSizeTheExplanationAndTheButtonState) {
    settings.maxTexSizeChanged = true;
    bistrope::AdvancedPageInit(items, settings);
    EXPECT_EQ(items.Text(1002), L"4096");
    EXPECT_EQ(items.Text(1007), bistrope::TextureLimitExplanation(8192));
    EXPECT_TRUE(items.items[1006].enabled);
    EXPECT_FALSE(settings.maxTexSizeChanged);

    settings.maxTexSize = 8192;
    items.onEdit = nullptr;  // also right when filling the box notifies nothing
    items.items[1006].enabled = true;
    bistrope::AdvancedPageInit(items, settings);
    EXPECT_FALSE(items.items[1006].enabled);
    EXPECT_FALSE(settings.maxTexSizeChanged);
}

TEST_F(AdvancedPage, ResetPutsTheHardwareLimitBackAndDisablesItself) {
    bistrope::AdvancedPageInit(items, settings);
    bistrope::AdvancedPageReset(items, settings);
    EXPECT_EQ(items.Text(1002), L"8192");
    EXPECT_FALSE(items.items[1006].enabled);
    EXPECT_TRUE(settings.maxTexSizeChanged);

    items.Type(1002, L"1024");
    EXPECT_TRUE(items.items[1006].enabled);
    items.Type(1002, L"8192 pixels");
    EXPECT_FALSE(items.items[1006].enabled);
    items.Type(1002, L"big");
    EXPECT_TRUE(items.items[1006].enabled);
}

TEST_F(AdvancedPage, OkStoresTheTypedNumber) {
    bistrope::AdvancedPageInit(items, settings);
    items.Type(1002, L"2048px");
    bistrope::AdvancedPageApply(items, settings);
    EXPECT_EQ(settings.maxTexSize, 2048u);

    items.Type(1002, L"big");
    bistrope::AdvancedPageApply(items, settings);
    EXPECT_EQ(settings.maxTexSize, 0u);

    items.Type(1002, L"-1");
    bistrope::AdvancedPageApply(items, settings);
    EXPECT_EQ(settings.maxTexSize, 4294967295u);

    bistrope::AdvancedPageInit(items, settings);
    EXPECT_EQ(items.Text(1002), L"-1") << "the stored bits show as the number that was typed";
    bistrope::AdvancedPageApply(items, settings);
    EXPECT_EQ(settings.maxTexSize, 4294967295u);
}

// ---------------------------------------------------------------------------------------------
// The sheet

TEST_F(SettingsPages, RebuildOnlyAfterOkWithChangedMatricesOrTextureSize) {
    for (int result : {1, 2, -1}) {
        for (int flags = 0; flags < 4; ++flags) {
            settings.matricesChanged = (flags & 1) != 0;
            settings.maxTexSizeChanged = (flags & 2) != 0;
            EXPECT_EQ(bistrope::SettingsNeedRebuild(result, settings), result == 1 && flags != 0)
                << "result " << result << ", flags " << flags;
        }
    }
}

TEST_F(SettingsPages, OpeningEveryPageAndPressingOkUntouchedAsksForNoRebuild) {
    settings.jpegQuality = 80;
    settings.matricesChanged = true;  // left over from an earlier opening
    settings.maxTexSizeChanged = true;
    settings.hardwareMaxTexSize = 8192;
    const ColorMatrix left = settings.leftMatrix;
    const ColorMatrix right = settings.rightMatrix;

    FakeItems output, blending, advanced;
    output.Add(1002);
    output.Add(1003);
    for (int id = 1002; id <= 1019; ++id) blending.Add(id);
    blending.onEdit = [&](int) { bistrope::BlendPageEdited(settings); };
    advanced.Add(1002);
    advanced.Add(1006);
    advanced.Add(1007);
    advanced.onEdit = [&](int) { bistrope::AdvancedPageEdited(advanced, settings); };

    // The sheet creates every page in order, then OK applies every page in order.
    bistrope::OutputPageInit(output, settings);
    bistrope::BlendPageInit(blending, settings);
    bistrope::AdvancedPageInit(advanced, settings);
    bistrope::OutputPageApply(output, settings);
    bistrope::BlendPageApply(blending, settings);
    bistrope::AdvancedPageApply(advanced, settings);

    EXPECT_FALSE(bistrope::SettingsNeedRebuild(1, settings));
    EXPECT_EQ(settings.jpegQuality, 80);
    EXPECT_EQ(settings.leftMatrix, left);
    EXPECT_EQ(settings.rightMatrix, right);
    EXPECT_EQ(settings.maxTexSize, 4096u);
}

}  // namespace
