// Modal and modeless dialogs: where they are placed, and Enter, Escape and a control's
// command. The templates are the program's own (about box 114: a popup with an
// OK button and a static text; progress 116: a child with a static text and a progress bar).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "framework/win/dlg.h"
#include "resources/resource.h"
#include "test_app.h"

using TWIG4::ModalDlg;
using TWIG4::ModelessDlg;
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
        if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
            SetWindowPos(hwnd, nullptr, 0, 0, 200, 101, SWP_NOMOVE | SWP_NOZORDER);
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
    switch (c.expect) {
        case Expect::At:
            EXPECT_EQ(placed.left, c.at.x);
            EXPECT_EQ(placed.top, c.at.y);
            break;
        case Expect::InsideParent:  // moved, in client coordinates, by the difference of the centres
            EXPECT_EQ(placed.left - 100, (700 + 100 - made.right - made.left) / 2);
            EXPECT_EQ(placed.top - 100, (500 + 100 - made.bottom - made.top) / 2);
            break;
        case Expect::Unmoved:
            EXPECT_TRUE(EqualRect(&placed, &made));
            break;
    }
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

// A modal about box that presses a key on its OK button, or clicks it, once it is up; a
// timer ends it with -2 should nothing else.
class Pressed : public ModalDlg {
public:
    UINT key = 0;  // 0: click
    std::vector<std::string> log;
    class Button : public TWIG4::CtrlWnd {
    public:
        std::vector<std::string>* log = nullptr;
        LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_COMMAND && LOWORD(wParam) == IDOK) log->push_back("button");
            return CtrlWnd::WndProc(hwnd, message, wParam, lParam);
        }
    } ok;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) {
            ok.log = &log;
            if (ok.Attach(GetItem(IDOK))) ok.Subclass();
            ::PostMessageW(GetItem(IDOK), key ? WM_KEYDOWN : BM_CLICK, key, 1);
            ::SetTimer(hwnd, 1, 5000, nullptr);
        }
        if (message == WM_TIMER) EndDialog(-2);
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) log.push_back("dialog");
        return ModalDlg::WndProc(hwnd, message, wParam, lParam);
    }
};

TEST(Dialogs, EnterEscapeAndAClickEndTheBoxAControlHearingItsCommandFirst) {
    test::App().Prepare();
    const unsigned listed = TWIG4::WindowList::Count();
    for (const UINT key : {UINT{VK_RETURN}, UINT{VK_ESCAPE}, UINT{0}}) {
        Pressed dlg;
        dlg.key = key;
        EXPECT_EQ(dlg.DoModal(IDD_ABOUTBOX, nullptr, false), key == VK_ESCAPE ? 2 : 1) << key;
        if (!key) {
            EXPECT_EQ(dlg.log, (std::vector<std::string>{"button", "dialog"}));
        }
        EXPECT_EQ(dlg.GetHandle(), nullptr);
    }
    EXPECT_EQ(TWIG4::WindowList::Count(), listed) << "the objects left the list with their destruction";
    ModalDlg none;
    EXPECT_EQ(none.DoModal(9999, nullptr, true), -1) << "no such template";
}

}  // namespace
