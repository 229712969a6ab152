// Window objects: binding, reflection and subclassing. (The main loop's idle passes and
// accelerators, and the context menu, are exercised by the end-to-end test, which drives the
// real program's loop with keys and clicks.)
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/win/sdiapp.h"
#include "framework/win/wnd.h"
#include "test_app.h"

using TWIG4::CtrlWnd;
using TWIG4::Wnd;
using test::App;
namespace WindowList = TWIG4::WindowList;

namespace {

// Records the messages reaching its WndProc, and whether the object was bound to the
// window each came for; answers `answer` to commands and notifications.
template <class Base>
class Recorder : public Base {
public:
    std::vector<UINT> seen;
    bool unbound = false;
    LRESULT answer = 0;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        unbound |= this->handle != hwnd;
        if (answer && (message == WM_COMMAND || message == WM_NOTIFY)) return answer;
        return Base::WndProc(hwnd, message, wParam, lParam);
    }
    bool Saw(UINT message) const { return std::count(seen.begin(), seen.end(), message) > 0; }
};

// A window made while handling WM_CREATE is not bound; a refused creation leaves nothing.
class Parent : public Recorder<Wnd> {
public:
    HWND child = nullptr;
    bool refuse = false;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) child = CreateWindowExW(0, TWIG4::SDIApp::kChildClass, L"", WS_CHILD, 0, 0, 5, 5, hwnd, nullptr, nullptr, nullptr);
        return message == WM_CREATE && refuse ? -1 : Recorder::WndProc(hwnd, message, wParam, lParam);
    }
};

TEST(Windows, AnObjectIsBoundFromItsFirstMessageToItsLastAndOnlyTheFirstWindowIsBound) {
    App().Prepare();
    const unsigned before = WindowList::Count();
    Parent wnd, refusing;
    ASSERT_TRUE(wnd.CreateChild(0, WS_POPUP, nullptr));
    const HWND hwnd = wnd.GetHandle();
    EXPECT_EQ(WindowList::FromHandle(hwnd), &wnd);
    EXPECT_EQ(WindowList::FromHandle(wnd.child), nullptr);
    EXPECT_FALSE(wnd.CreateChild(0, WS_POPUP, nullptr)) << "one window per object";
    ASSERT_TRUE(wnd.Destroy());
    EXPECT_TRUE(wnd.Saw(WM_NCCREATE) && wnd.Saw(WM_NCDESTROY) && !wnd.unbound);
    EXPECT_EQ(wnd.GetHandle(), nullptr);
    EXPECT_EQ(TWIG4::Dispatch(hwnd, WM_USER, 0, 0), -1);
    refusing.refuse = true;
    EXPECT_FALSE(refusing.CreateChild(0, WS_POPUP, nullptr));
    EXPECT_EQ(refusing.GetHandle(), nullptr);
    EXPECT_EQ(WindowList::Count(), before);
}

TEST(Windows, ControlMessagesReachTheControlObjectFirst) {
    Recorder<Wnd> parent;
    Recorder<CtrlWnd> button;
    ASSERT_TRUE(parent.CreateChild(0, WS_POPUP, nullptr));
    ASSERT_TRUE(button.Create(L"BUTTON", 0, WS_CHILD | WS_VISIBLE, L"Press", 0, 0, 80, 24, &parent, 77) && button.Subclass());
    EXPECT_FALSE(button.Subclass()) << "a window is subclassed at most once";
    SendMessageW(button.GetHandle(), BM_CLICK, 0, 0);  // the control answers 0: the parent gets it too
    EXPECT_TRUE(button.Saw(WM_COMMAND) && parent.Saw(WM_COMMAND));
    EXPECT_TRUE(button.unbound) << "reflected with the parent's handle";
    button.answer = 5;
    parent.seen.clear();
    const LPARAM from = reinterpret_cast<LPARAM>(button.GetHandle());
    EXPECT_EQ(SendMessageW(parent.GetHandle(), WM_COMMAND, MAKEWPARAM(77, BN_CLICKED), from), 5);
    NMHDR header = {button.GetHandle(), 77, 0};
    EXPECT_EQ(SendMessageW(parent.GetHandle(), WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&header)), 5);
    EXPECT_TRUE(parent.seen.empty()) << "the control's answer ends the dispatch";
    button.seen.clear();
    SendMessageW(parent.GetHandle(), WM_COMMAND, MAKEWPARAM(40017, 1), 0);  // a menu command: not reflected
    EXPECT_TRUE(!button.Saw(WM_COMMAND) && parent.Saw(WM_COMMAND));
}

}  // namespace
