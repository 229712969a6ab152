// The tree property sheet: its layout around the largest page, one page shown at a time,
// OK applying every page in order and the other ways out applying none. Each sheet is
// driven from a timer on its first page inside its own modal loop; a watchdog thread closes
// a sheet still open after 8 s.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/win/prop_sheet.h"
#include "resources/controls_test_ids.h"
#include "test_app.h"

using TWIG4::PropPage2;
using TWIG4::PropSheet2;

namespace {

class TestPage : public PropPage2 {
public:
    TestPage(int templateId, int number, std::vector<int>* applied, int width = 200, int height = 100)
        : PropPage2(templateId), number(number), applied(applied), width(width), height(height) {}
    std::function<void()> drive;  // run once, inside the sheet's modal loop

    void OnApply() override { applied->push_back(number); }
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) {
            // Child templates have no frame: the window size is the client size.
            if (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)
                SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
            if (drive) ::SetTimer(hwnd, 77, 150, nullptr);
        }
        if (message == WM_TIMER && wParam == 77) {
            ::KillTimer(hwnd, 77);
            drive();
            return 1;
        }
        return PropPage2::WndProc(hwnd, message, wParam, lParam);
    }

private:
    int number;
    std::vector<int>* applied;
    int width, height;
};

RECT InSheet(const TWIG4::Wnd& child, const PropSheet2& sheet) {
    RECT r = {};
    GetWindowRect(child.GetHandle(), &r);
    MapWindowPoints(nullptr, sheet.GetHandle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Click(PropSheet2& sheet, TWIG4::ButtonWnd& button) {
    SendMessageW(sheet.GetHandle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button.GetHandle()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button.GetHandle()));
}

// Three pages (the third from a popup template) in a sheet over a hidden popup at
// (100, 100) of 800 x 600.
class PropSheetTest : public ::testing::Test {
protected:
    std::vector<int> applied;
    TestPage a{IDD_CONTROLS_TEST_CHILD_PAGE, 1, &applied, 300, 200};
    TestPage b{IDD_CONTROLS_TEST_CHILD_PAGE, 2, &applied, 320, 150};
    TestPage c{IDD_CONTROLS_TEST_POPUP_PAGE, 3, &applied};
    PropSheet2 sheet;
    TWIG4::Wnd parent;

    void SetUp() override {
        ASSERT_TRUE(test::App().CreateFrame());
        ASSERT_TRUE(parent.CreateChild(0, WS_POPUP, nullptr) && parent.Move(100, 100, 800, 600, false));
        ASSERT_TRUE(sheet.AddPage(&a, L"First") && sheet.AddPage(&b, L"Second") && sheet.AddPage(&c, L"Third"));
    }
    void TearDown() override {
        parent.Destroy();
        test::App().DestroyFrame();
    }
    int Run(const std::function<void()>& drive) {
        a.drive = drive;
        volatile bool done = false;
        wintest::Helper watchdog([&] {
            for (int i = 0; i < 400 && !done; ++i) Sleep(20);
            if (!done && sheet.GetHandle()) PostMessageW(sheet.GetHandle(), WM_CLOSE, 0, 0);
        });
        const int result = sheet.DoModal(L"Settings", &parent, true);
        done = true;
        EXPECT_TRUE(watchdog.Join(10000));
        EXPECT_TRUE(IsWindowEnabled(test::App().GetHandle())) << "the frame is enabled again";
        return result;
    }
};

TEST_F(PropSheetTest, IsLaidOutAroundTheLargestPageAndShowsThePageSelectedInTheTree) {
    const auto shown = [&] {
        std::string s;
        for (const PropPage2* p : {&a, &b, &c}) s += IsWindowVisible(p->GetHandle()) && IsWindowEnabled(p->GetHandle()) ? '1' : '0';
        return s;
    };
    RECT got[5] = {}, window = {};
    std::vector<std::string> seen;
    bool allInPlace = false, frameDisabled = false;
    EXPECT_EQ(Run([&] {
        got[0] = sheet.GetPageRect();
        GetClientRect(sheet.GetHandle(), &got[1]);
        got[2] = InSheet(sheet.GetOkButton(), sheet), got[3] = InSheet(sheet.GetCancelButton(), sheet);
        got[4] = InSheet(sheet.GetTree(), sheet);
        GetWindowRect(sheet.GetHandle(), &window);
        const RECT at[] = {InSheet(a, sheet), InSheet(b, sheet), InSheet(c, sheet)};
        allInPlace = EqualRect(&at[0], &got[0]) && EqualRect(&at[1], &got[0]) && EqualRect(&at[2], &got[0]);
        frameDisabled = !IsWindowEnabled(test::App().GetHandle());
        seen.push_back(shown());
        sheet.GetTree().SelectItem(c.GetTreeItem());  // a click on the third item
        seen.push_back(shown());
        EXPECT_TRUE(sheet.ShowPage(&b, true));
        seen.push_back(shown());
        Click(sheet, sheet.GetCancelButton());
    }), 2);
    const RECT expected[] = {{200, 0, 520, 200}, {0, 0, 520, 248}, {354, 213, 429, 236}, {433, 213, 508, 236}, {6, 6, 194, 202}};
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(EqualRect(&got[i], &expected[i])) << i;
    EXPECT_TRUE(allInPlace) << "the popup template became a child in the page area";
    EXPECT_EQ(window.left, 500 - (window.right - window.left) / 2);  // centred, halves truncated
    EXPECT_EQ(window.top, 400 - (window.bottom - window.top) / 2);
    EXPECT_TRUE(frameDisabled);
    EXPECT_EQ(seen, (std::vector<std::string>{"100", "001", "010"}));
    EXPECT_TRUE(applied.empty());
}

struct Way {
    const char* name;
    std::function<void(PropSheet2&)> leave;
    int result;
    std::vector<int> applied;
};
void PrintTo(const Way& c, std::ostream* os) { *os << c.name; }

class LeavingTheSheet : public PropSheetTest, public ::testing::WithParamInterface<Way> {};

TEST_P(LeavingTheSheet, AppliesEveryPageInOrderOnlyOnOk) {
    EXPECT_EQ(Run([&] { GetParam().leave(sheet); }), GetParam().result);
    EXPECT_EQ(applied, GetParam().applied) << "pages 2 and 3 were never shown";
    EXPECT_EQ(sheet.IsAccepted(), GetParam().result == 1);
}

INSTANTIATE_TEST_SUITE_P(PropSheet, LeavingTheSheet, ::testing::Values(
    Way{"Ok", [](PropSheet2& s) { Click(s, s.GetOkButton()); }, 1, {1, 2, 3}},
    Way{"Cancel", [](PropSheet2& s) { Click(s, s.GetCancelButton()); }, 2, {}},
    Way{"Escape", [](PropSheet2& s) { SendMessageW(s.GetHandle(), WM_CHAR, VK_ESCAPE, 0); }, 2, {}},
    Way{"Close", [](PropSheet2& s) { SendMessageW(s.GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, 2, {}}),
    [](const ::testing::TestParamInfo<Way>& info) { return std::string(info.param.name); });

TEST(PropSheet, NoPagesMeansNoSheet) {
    PropSheet2 sheet;
    EXPECT_FALSE(sheet.AddPage(nullptr, L"none"));
    EXPECT_EQ(sheet.DoModal(L"Empty", nullptr, true), -1);
}

}  // namespace
