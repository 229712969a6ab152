// The tree property sheet: OK applies every page in order, the other ways out none. Each
// sheet is driven from a timer on its first page inside its own modal loop; a watchdog
// thread closes a sheet still open after 8 s. (Where dialogs are placed is portable
// arithmetic, tested natively; the end-to-end test checks the settings sheet over the view.)
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/win/prop_sheet.h"
#include "resources/controls_test_ids.h"
#include "test_app.h"

using TWIG4::PropSheet2;

namespace {

class TestPage : public TWIG4::PropPage2 {
public:
    TestPage(int templateId, int number, std::vector<int>* applied) : PropPage2(templateId), number(number), applied(applied) {}
    int number;
    std::vector<int>* applied;
    std::function<void()> drive;  // run once, inside the sheet's modal loop
    void OnApply() override { applied->push_back(number); }
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG && drive) ::SetTimer(hwnd, 77, 150, nullptr);
        if (message == WM_TIMER && wParam == 77 && ::KillTimer(hwnd, 77)) return drive(), 1;
        return PropPage2::WndProc(hwnd, message, wParam, lParam);
    }
};

struct Way {
    const char* name;
    std::function<void(PropSheet2&)> leave;
    int result;
    std::vector<int> applied;
};
void PrintTo(const Way& c, std::ostream* os) { *os << c.name; }

class LeavingTheSheet : public ::testing::TestWithParam<Way> {};

// Three pages (the third from a popup template); only the first is ever shown.
TEST_P(LeavingTheSheet, AppliesEveryPageInOrderOnlyOnOk) {
    ASSERT_TRUE(test::App().CreateFrame());
    std::vector<int> applied;
    TestPage a{IDD_CONTROLS_TEST_CHILD_PAGE, 1, &applied}, b{IDD_CONTROLS_TEST_CHILD_PAGE, 2, &applied};
    TestPage c{IDD_CONTROLS_TEST_POPUP_PAGE, 3, &applied};
    PropSheet2 sheet;
    ASSERT_TRUE(sheet.AddPage(&a, L"First") && sheet.AddPage(&b, L"Second") && sheet.AddPage(&c, L"Third"));
    a.drive = [&] { GetParam().leave(sheet); };
    volatile bool done = false;
    wintest::Helper watchdog([&] {
        for (int i = 0; i < 400 && !done; ++i) Sleep(20);
        if (!done && sheet.GetHandle()) PostMessageW(sheet.GetHandle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(sheet.DoModal(L"Settings", &test::App(), true), GetParam().result);
    done = true;
    EXPECT_TRUE(watchdog.Join(10000));
    EXPECT_EQ(applied, GetParam().applied);
    EXPECT_EQ(sheet.IsAccepted(), GetParam().result == 1);
    EXPECT_TRUE(IsWindowEnabled(test::App().GetHandle())) << "the frame is enabled again";
    test::App().DestroyFrame();
}

INSTANTIATE_TEST_SUITE_P(PropSheet, LeavingTheSheet, ::testing::Values(
    Way{"Ok", [](PropSheet2& s) { SendMessageW(s.GetOkButton().GetHandle(), BM_CLICK, 0, 0); }, 1, {1, 2, 3}},
    Way{"Cancel", [](PropSheet2& s) { SendMessageW(s.GetCancelButton().GetHandle(), BM_CLICK, 0, 0); }, 2, {}},
    Way{"Escape", [](PropSheet2& s) { SendMessageW(s.GetHandle(), WM_CHAR, VK_ESCAPE, 0); }, 2, {}},
    Way{"Close", [](PropSheet2& s) { SendMessageW(s.GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, 2, {}}),
    [](const ::testing::TestParamInfo<Way>& info) { return std::string(info.param.name); });

}  // namespace
