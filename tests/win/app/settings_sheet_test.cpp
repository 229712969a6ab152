// The settings dialog as a person uses it: the sheet opens over the frame with its three pages,
// a helper thread moves the trackbar, types into the boxes, presses "reset" and then OK or
// Cancel, and the test checks what the settings record holds afterwards and whether the
// previews would be rebuilt.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/settings_sheet_rules.h"
#include "app/win/settings_sheet.h"
#include "engine/color_matrix.h"
#include "app_test_env.h"

using bistrope::ColorMatrix;
using bistrope::Eye;
using bistrope::FullColourMatrix;

namespace {

// ---------------------------------------------------------------------------------------------
// Driving the sheet from the helper thread (every call here is answered by the test's thread
// inside the sheet's modal loop).

std::wstring Text(HWND window) {
    wchar_t text[1024] = L"";
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// Replaces an edit box's text keystroke by keystroke, as typing does.
void Type(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 0);
}

struct ChildSearch {
    std::wstring cls;
    int probeId;
    HWND found;
};

BOOL CALLBACK VisitChild(HWND child, LPARAM lParam) {
    auto* s = reinterpret_cast<ChildSearch*>(lParam);
    if (apptest::ClassOf(child) != s->cls) return TRUE;
    if (s->probeId && !GetDlgItem(child, s->probeId)) return TRUE;
    s->found = child;
    return FALSE;
}

HWND Child(HWND parent, const wchar_t* cls, int probeId = 0) {
    ChildSearch s = {cls, probeId, nullptr};
    EnumChildWindows(parent, &VisitChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The three pages, found by a control only each of them has (the blending page's boxes share
// ids with the other pages' controls, so the output page is the one whose 1003 is a trackbar).
HWND OutputPage(HWND sheet) {
    HWND page = Child(sheet, L"#32770", 1003);
    while (page && _wcsicmp(apptest::ClassOf(GetDlgItem(page, 1003)).c_str(), TRACKBAR_CLASSW) != 0)
        page = FindWindowExW(sheet, page, L"#32770", nullptr);
    return page;
}
HWND BlendPage(HWND sheet) { return Child(sheet, L"#32770", 1019); }
HWND AdvancedPage(HWND sheet) { return Child(sheet, L"#32770", 1006); }

std::vector<std::wstring> TreeLabels(HWND sheet) {
    std::vector<std::wstring> labels;
    HWND tree = Child(sheet, WC_TREEVIEWW);
    if (!tree) return labels;
    for (auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
         item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        wchar_t text[128] = L"";
        TVITEMW tv = {};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = 128;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        labels.push_back(text);
    }
    return labels;
}

// Selects the page's tree item, which shows the page.
void ShowPage(HWND sheet, int index) {
    HWND tree = Child(sheet, WC_TREEVIEWW);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (int i = 0; i < index && item; ++i)
        item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void Press(HWND sheet, int buttonId) {
    PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(sheet, buttonId)));
}

// ---------------------------------------------------------------------------------------------

class SettingsSheet : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(apptest::App().MakeFrame()); }

    cRegData settings{L"Software\\Bistrope-tests\\settings-sheet"};

    void SetUp() override {
        settings.jpegQuality = 80;
        settings.blendMode = 2;
        settings.leftMatrix = FullColourMatrix(Eye::Left);
        settings.rightMatrix = FullColourMatrix(Eye::Right);
        settings.maxTexSize = 4096;
        settings.hardwareMaxTexSize = 8192;
        settings.matricesChanged = true;  // as an earlier opening may have left them
        settings.maxTexSizeChanged = true;
    }

    // Opens the dialog over the frame; `drive` runs on a helper thread with the sheet's window
    // once it is up and must press OK or Cancel (false: it gave up, and the sheet is closed).
    int Run(const std::function<bool(HWND)>& drive) {
        bool sheetSeen = false;
        apptest::Helper helper([&] {
            HWND sheet = apptest::WaitForWindow(
                [](HWND w) { return apptest::ClassOf(w) == L"TWIG4_SDI_CHILD_CLASS" && apptest::TextOf(w) == L"Settings"; },
                10000);
            if (!sheet) return;
            sheetSeen = true;
            if (!drive(sheet)) PostMessageW(sheet, WM_CLOSE, 0, 0);
        });
        const int result = RunSettingsSheet(&apptest::App(), settings);
        EXPECT_TRUE(helper.Join(20000)) << "the helper thread did not finish";
        EXPECT_TRUE(sheetSeen) << "the sheet never appeared";
        apptest::Pump(20);
        return result;
    }
};

TEST_F(SettingsSheet, OpensOverTheFrameWithThePagesShowingTheSettingsAndOkUntouchedRebuildsNothing) {
    struct Seen {
        std::vector<std::wstring> labels;
        bool frameEnabled = true;
        RECT sheet = {}, frame = {};
        int trackbar = -1;
        std::wstring quality, box1002, box1005, box1015, box1019, box1016, size, explanation;
        bool resetEnabled = false;
    } seen;
    const int result = Run([&](HWND sheet) {
        seen.labels = TreeLabels(sheet);
        seen.frameEnabled = IsWindowEnabled(apptest::App().GetHandle()) != FALSE;
        GetWindowRect(sheet, &seen.sheet);
        GetWindowRect(apptest::App().GetHandle(), &seen.frame);
        HWND output = OutputPage(sheet), blend = BlendPage(sheet), advanced = AdvancedPage(sheet);
        if (!output || !blend || !advanced) return false;
        seen.trackbar = static_cast<int>(SendMessageW(GetDlgItem(output, 1003), TBM_GETPOS, 0, 0));
        seen.quality = Text(GetDlgItem(output, 1002));
        seen.box1002 = Text(GetDlgItem(blend, 1002));
        seen.box1005 = Text(GetDlgItem(blend, 1005));
        seen.box1015 = Text(GetDlgItem(blend, 1015));
        seen.box1016 = Text(GetDlgItem(blend, 1016));
        seen.box1019 = Text(GetDlgItem(blend, 1019));
        seen.size = Text(GetDlgItem(advanced, 1002));
        seen.explanation = Text(GetDlgItem(advanced, 1007));
        seen.resetEnabled = IsWindowEnabled(GetDlgItem(advanced, 1006)) != FALSE;
        Press(sheet, 1);
        return true;
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(seen.labels, (std::vector<std::wstring>{L"Output settings", L"Custom colour blending", L"Advanced settings"}));
    EXPECT_FALSE(seen.frameEnabled) << "the frame is disabled while the sheet runs";
    EXPECT_TRUE(IsWindowEnabled(apptest::App().GetHandle())) << "and enabled again afterwards";
    EXPECT_NEAR((seen.sheet.left + seen.sheet.right) / 2.0, (seen.frame.left + seen.frame.right) / 2.0, 1.0);
    EXPECT_NEAR((seen.sheet.top + seen.sheet.bottom) / 2.0, (seen.frame.top + seen.frame.bottom) / 2.0, 1.0);
    EXPECT_EQ(seen.trackbar, 80);
    EXPECT_EQ(seen.quality, L"80");
    EXPECT_EQ(seen.box1002, L"1.000");
    EXPECT_EQ(seen.box1005, L"0.000");
    EXPECT_EQ(seen.box1015, L"1.000");
    EXPECT_EQ(seen.box1016, L"0.000");
    EXPECT_EQ(seen.box1019, L"1.000");
    EXPECT_EQ(seen.size, L"4096");
    EXPECT_NE(seen.explanation.find(L"Your graphics hardware indicates a value of 8192.\n"), std::wstring::npos)
        << "explanation: " << std::string(seen.explanation.begin(), seen.explanation.end());
    EXPECT_TRUE(seen.resetEnabled) << "4096 is not the hardware's 8192";

    EXPECT_FALSE(bistrope::SettingsNeedRebuild(result, settings)) << "opening clears both change flags";
    EXPECT_EQ(settings.jpegQuality, 80);
    EXPECT_EQ(settings.leftMatrix, FullColourMatrix(Eye::Left));
    EXPECT_EQ(settings.rightMatrix, FullColourMatrix(Eye::Right));
    EXPECT_EQ(settings.maxTexSize, 4096u);
}

TEST_F(SettingsSheet, MovingTheTrackbarTo95StoresItOnOkWithoutARebuild) {
    std::wstring shown;
    const int result = Run([&](HWND sheet) {
        HWND output = OutputPage(sheet);
        if (!output) return false;
        HWND bar = GetDlgItem(output, 1003);
        SendMessageW(bar, TBM_SETPOS, TRUE, 94);
        SendMessageW(bar, WM_KEYDOWN, VK_RIGHT, 0);  // one step right, reported to the page
        SendMessageW(bar, WM_KEYUP, VK_RIGHT, 0);
        shown = Text(GetDlgItem(output, 1002));
        Press(sheet, 1);
        return true;
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(shown, L"95") << "the number follows the trackbar";
    EXPECT_EQ(settings.jpegQuality, 95);
    EXPECT_FALSE(bistrope::SettingsNeedRebuild(result, settings));
}

TEST_F(SettingsSheet, AStoredQualityOf150ShowsTheTrackbarAtItsEndAndStores100) {
    settings.jpegQuality = 150;
    int position = -1;
    std::wstring shown;
    const int result = Run([&](HWND sheet) {
        HWND output = OutputPage(sheet);
        if (!output) return false;
        position = static_cast<int>(SendMessageW(GetDlgItem(output, 1003), TBM_GETPOS, 0, 0));
        shown = Text(GetDlgItem(output, 1002));
        Press(sheet, 1);
        return true;
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(position, 100);
    EXPECT_EQ(shown, L"150");
    EXPECT_EQ(settings.jpegQuality, 100);
}

TEST_F(SettingsSheet, TypingIntoBox1005SetsTheLeftMatrixAndAsksForARebuildInAnyMode) {
    settings.blendMode = 2;  // full colour, not the custom mode
    std::wstring readOnlyAfterTyping;
    const int result = Run([&](HWND sheet) {
        HWND blend = BlendPage(sheet);
        if (!blend) return false;
        ShowPage(sheet, 1);
        Type(GetDlgItem(blend, 1005), L"0.5");
        Type(GetDlgItem(blend, 1003), L"9");  // read-only: typing changes nothing
        readOnlyAfterTyping = Text(GetDlgItem(blend, 1003));
        Press(sheet, 1);
        return true;
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(readOnlyAfterTyping, L"0.000");
    ColorMatrix expected = FullColourMatrix(Eye::Left);
    expected.at(1, 0) = 0.5f;
    EXPECT_EQ(settings.leftMatrix, expected);
    EXPECT_EQ(settings.rightMatrix, FullColourMatrix(Eye::Right));
    EXPECT_EQ(settings.blendMode, 2);
    EXPECT_TRUE(settings.matricesChanged);
    EXPECT_TRUE(bistrope::SettingsNeedRebuild(result, settings));
}

TEST_F(SettingsSheet, ResetPutsTheHardwareLimitBackAndIsEnabledOnlyForOtherValues) {
    struct Seen {
        bool enabledAtStart = false, enabledAfterReset = true, enabledAfterTyping = false;
        std::wstring afterReset;
    } seen;
    const int result = Run([&](HWND sheet) {
        HWND advanced = AdvancedPage(sheet);
        if (!advanced) return false;
        ShowPage(sheet, 2);
        HWND reset = GetDlgItem(advanced, 1006);
        seen.enabledAtStart = IsWindowEnabled(reset) != FALSE;
        SendMessageW(reset, BM_CLICK, 0, 0);
        seen.afterReset = Text(GetDlgItem(advanced, 1002));
        seen.enabledAfterReset = IsWindowEnabled(reset) != FALSE;
        Type(GetDlgItem(advanced, 1002), L"1024");
        seen.enabledAfterTyping = IsWindowEnabled(reset) != FALSE;
        Press(sheet, 1);
        return true;
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(seen.enabledAtStart);
    EXPECT_EQ(seen.afterReset, L"8192");
    EXPECT_FALSE(seen.enabledAfterReset);
    EXPECT_TRUE(seen.enabledAfterTyping);
    EXPECT_EQ(settings.maxTexSize, 1024u);
    EXPECT_TRUE(bistrope::SettingsNeedRebuild(result, settings));
}

TEST_F(SettingsSheet, CancelAfterEditingChangesNothing) {
    const int result = Run([&](HWND sheet) {
        HWND output = OutputPage(sheet), blend = BlendPage(sheet), advanced = AdvancedPage(sheet);
        if (!output || !blend || !advanced) return false;
        SendMessageW(GetDlgItem(output, 1003), TBM_SETPOS, TRUE, 30);
        SendMessageW(output, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 30), reinterpret_cast<LPARAM>(GetDlgItem(output, 1003)));
        ShowPage(sheet, 1);
        Type(GetDlgItem(blend, 1005), L"0.7");
        Type(GetDlgItem(blend, 1016), L"0.2");
        ShowPage(sheet, 2);
        Type(GetDlgItem(advanced, 1002), L"512");
        Press(sheet, 2);
        return true;
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(settings.jpegQuality, 80);
    EXPECT_EQ(settings.leftMatrix, FullColourMatrix(Eye::Left));
    EXPECT_EQ(settings.rightMatrix, FullColourMatrix(Eye::Right));
    EXPECT_EQ(settings.maxTexSize, 4096u);
    EXPECT_FALSE(bistrope::SettingsNeedRebuild(result, settings));
}

}  // namespace
