// Window objects and the application object: binding, reflection and subclassing; the main
// loop's idle passes, thread messages and accelerators. (The end-to-end test chooses from
// the view's context menu.)
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

// ---- The application object's main loop --------------------------------------------------

// A second listed window that asks for idle passes while the counter is below 3.
class IdleWnd : public Wnd {
public:
    std::vector<std::string>* log = nullptr;
    bool OnIdle(unsigned n) override { return log->push_back("wnd" + std::to_string(n)), n < 3; }
};

TEST(AppLoop, IdlePassesThreadMessagesAndAccelerators) {
    test::TestApp& app = App();
    app.ResetFirstIdle();
    wintest::DrainQueue();
    std::vector<std::string> log;
    IdleWnd other;
    other.log = &log;
    int phase = 0;
    ACCEL accel = {FVIRTKEY, VK_F2, 40017};
    app.SetAccelerators(CreateAcceleratorTableW(&accel, 1));
    app.onFirstIdle = [&] { return log.push_back("first"), other.CreateChild(0, WS_POPUP, nullptr), false; };  // listed after the frame
    app.onIdle = [&](unsigned n) {
        log.push_back("idle" + std::to_string(n));
        if (n == 3 && phase == 0) {  // none of these restart idle passes; the keys a later timer posts do
            phase = 1;
            PostMessageW(app.GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            PostMessageW(app.GetHandle(), WM_TIMER, 77, 0);
            PostMessageW(app.GetHandle(), WM_PAINT, 0, 0);
            PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 11, 22);
        } else if (n == 3 && phase == 2) {
            other.Destroy();
            app.Destroy();  // ends the loop
        }
        return false;
    };
    app.onMessage = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (!hwnd && message == WM_APP + 1 && wParam == 11) log.push_back("thread"), phase = 2, SetTimer(app.GetHandle(), 78, 50, nullptr);
        if (message == WM_MOUSEMOVE && lParam == MAKELPARAM(5, 5)) log.push_back("mousemove");
        if (message == WM_TIMER && wParam == 77) log.push_back("timer");
        if (message == WM_TIMER && wParam == 78 && KillTimer(app.GetHandle(), 78)) {
            log.push_back("timer78");
            PostMessageW(app.GetHandle(), WM_KEYDOWN, VK_F3, 1);  // not in the table
            PostMessageW(app.GetHandle(), WM_KEYDOWN, VK_F2, 1);
        }
        if (hwnd && message == WM_APP + 1) log.push_back("thread message dispatched");
        if (message == WM_KEYDOWN) log.push_back("key" + std::to_string(wParam - VK_F1 + 1));
        if (message == WM_COMMAND) log.push_back("command" + std::to_string(LOWORD(wParam)) + "/" + std::to_string(HIWORD(wParam)));
        return 0;
    };
    const DWORD thread = GetCurrentThreadId();
    volatile bool done = false;
    wintest::Helper watchdog([&] {  // a loop that dispatches nothing is ended with a quit message
        for (int i = 0; i < 200 && !done; ++i) Sleep(50);
        if (!done) PostThreadMessageW(thread, WM_QUIT, 0, 0);
    });
    EXPECT_EQ(app.Run(GetModuleHandleW(nullptr), L"", SW_SHOWNORMAL), 0);
    done = true;
    EXPECT_EQ(app.GetHandle(), nullptr);
    const std::vector<std::string> expected = {
        "first", "idle0", "wnd0", "idle1", "wnd1", "idle2", "wnd2", "idle3", "wnd3",  // the other window asks
        "mousemove", "timer", "thread", "timer78", "key3", "command40017/1",
        "idle0", "wnd0", "idle1", "wnd1", "idle2", "wnd2", "idle3"};
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + expected.size()), expected);
    app.ResetHooks();
    app.SetAccelerators(nullptr);
    app.DestroyFrame();
}

}  // namespace
