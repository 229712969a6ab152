// Where modal and modeless dialogs are placed over their parents (the templates are the
// program's own: about box, a popup; progress, a child), and the tree property sheet: OK
// applies every page in order, the other ways out none. Each sheet is driven from a timer
// on its first page inside its own modal loop; a watchdog thread closes a sheet still open
// after 8 s.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/win/dlg.h"
#include "framework/win/prop_sheet.h"
#include "resources/controls_test_ids.h"
#include "resources/resource.h"
#include "test_app.h"

using TWIG4::ModalDlg;
using TWIG4::ModelessDlg;
using TWIG4::PropSheet2;
using TWIG4::Wnd;

namespace {

// Records the window rectangle as made and as placed by the base class's WM_INITDIALOG;
// a popup is first resized to 200 x 101. A modal one ends there, never shown.
template <class Base>
class Placed : public Base {
public:
    RECT made = {}, placed = {};
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_INITDIALOG) return Base::WndProc(hwnd, message, wParam, lParam);
        if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) SetWindowPos(hwnd, nullptr, 0, 0, 200, 101, SWP_NOMOVE | SWP_NOZORDER);
        ::GetWindowRect(hwnd, &made);
        const LRESULT result = Base::WndProc(hwnd, message, wParam, lParam);
        ::GetWindowRect(hwnd, &placed);
        if constexpr (std::is_base_of_v<ModalDlg, Base>) this->EndDialog(2);
        return result;
    }
};

enum class ParentKind { Popup, ChildOfPopup, None, Unlisted };
enum class Expect { At, InsideParent, Unmoved };
struct Placing {
    const char* name;
    bool modal;
    int templateId;
    ParentKind parent;
    bool centre;
    Expect expect;
    POINT at;  // for Expect::At
};
void PrintTo(const Placing& c, std::ostream* os) { *os << c.name; }

// A parent popup at (100, 100) of 600 x 400 (not shown), a child of it covering
// (300, 200)-(600, 400) on the screen, and a plain window in the popup's place whose
// object is not listed as a framework window.
class DialogPlacement : public ::testing::TestWithParam<Placing> {
protected:
    static inline Wnd popup, child;
    static inline HWND plain = nullptr;
    static void SetUpTestSuite() {
        test::App().Prepare();
        ASSERT_TRUE(popup.CreateChild(0, WS_POPUP, nullptr) && popup.Move(100, 100, 600, 400, false));
        ASSERT_TRUE(child.CreateChild(0, WS_CHILD | WS_VISIBLE, &popup) && child.Move(200, 100, 300, 200, false));
        plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 100, 100, 600, 400, nullptr, nullptr, nullptr, nullptr);
    }
    static void TearDownTestSuite() {
        child.Destroy();
        popup.Destroy();
        DestroyWindow(plain);
    }
};

TEST_P(DialogPlacement, FollowsTheCentringRules) {
    const Placing& c = GetParam();
    class Unlisted : public Wnd {
    public:
        explicit Unlisted(HWND hwnd) {
            notOwned = true;
            Attach(hwnd);
            TWIG4::WindowList::Remove(this);
        }
    } unlisted(plain);
    Wnd* const parents[] = {&popup, &child, nullptr, &unlisted};
    Wnd* parent = parents[static_cast<int>(c.parent)];
    RECT made = {}, placed = {};
    if (c.modal) {
        Placed<ModalDlg> dlg;
        EXPECT_EQ(dlg.DoModal(c.templateId, parent, c.centre), 2);
        made = dlg.made, placed = dlg.placed;
    } else {
        Placed<ModelessDlg> dlg;
        ASSERT_TRUE(dlg.Create(c.templateId, parent, c.centre));
        made = dlg.made, placed = dlg.placed;
    }
    EXPECT_EQ(placed.right - placed.left, made.right - made.left) << "the size is kept";
    EXPECT_EQ(placed.bottom - placed.top, made.bottom - made.top);
    // Inside the parent: moved, in client coordinates, by the difference of the centres.
    const POINT at = c.expect == Expect::At             ? c.at
                     : c.expect == Expect::InsideParent ? POINT{100 + (800 - made.right - made.left) / 2, 100 + (600 - made.bottom - made.top) / 2}
                                                        : POINT{made.left, made.top};
    EXPECT_EQ(placed.left, at.x);
    EXPECT_EQ(placed.top, at.y);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogPlacement, ::testing::Values(
    Placing{"ModalOverItsParent", true, IDD_ABOUTBOX, ParentKind::Popup, true, Expect::At, {300, 250}},
    Placing{"ModalOverAChildWindow", true, IDD_ABOUTBOX, ParentKind::ChildOfPopup, true, Expect::At, {350, 250}},
    Placing{"ModalNotCentred", true, IDD_ABOUTBOX, ParentKind::Popup, false, Expect::Unmoved, {}},
    Placing{"ModalWithoutParent", true, IDD_ABOUTBOX, ParentKind::None, true, Expect::Unmoved, {}},
    Placing{"ModalOverAnUnlistedParent", true, IDD_ABOUTBOX, ParentKind::Unlisted, true, Expect::Unmoved, {}},
    Placing{"ModelessChildInsideItsParent", false, IDD_PROGRESS, ParentKind::Popup, true, Expect::InsideParent, {}},
    Placing{"ModelessChildOfAnUnlistedParent", false, IDD_PROGRESS, ParentKind::Unlisted, true, Expect::Unmoved, {}},
    Placing{"ModelessPopupByTheModalRule", false, IDD_ABOUTBOX, ParentKind::Popup, true, Expect::At, {300, 250}}),
    [](const ::testing::TestParamInfo<Placing>& info) { return std::string(info.param.name); });

// ---- The property sheet -----------------------------------------------------------------

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
