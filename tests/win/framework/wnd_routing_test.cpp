// Binding windows to objects, dispatch and reflection, subclassing, the creation hook.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "framework/win/dc.h"
#include "framework/win/wnd.h"
#include "test_app.h"

using TWIG4::CtrlWnd;
using TWIG4::Dispatch;
using TWIG4::SDIApp;
using TWIG4::Wnd;
namespace WindowList = TWIG4::WindowList;

namespace {

struct Seen {
    UINT message;
    HWND hwnd;          // the handle the message came with
    HWND objectHandle;  // what the object knew as its handle at that moment
};

// A window that records what reaches its WndProc and can answer a chosen message.
class RecordingWnd : public Wnd {
public:
    std::vector<Seen> seen;
    UINT answerMessage = 0;
    LRESULT answer = 0;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back({message, hwnd, handle});
        if (answerMessage && message == answerMessage) return answer;
        return Wnd::WndProc(hwnd, message, wParam, lParam);
    }
    bool Saw(UINT message) const {
        for (const Seen& s : seen)
            if (s.message == message) return true;
        return false;
    }
    bool IsSubclassed() const { return subclassed; }
};

class RecordingCtrl : public CtrlWnd {
public:
    std::vector<UINT> seen;
    std::vector<HWND> seenHandles;
    std::vector<int>* order = nullptr;
    LRESULT answer = 0;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        seenHandles.push_back(hwnd);
        if (order && message == WM_COMMAND) order->push_back(1);
        if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM) return answer;
        return Wnd::WndProc(hwnd, message, wParam, lParam);
    }
    bool Saw(UINT message) const {
        for (UINT m : seen)
            if (m == message) return true;
        return false;
    }
};

class WndRouting : public ::testing::Test {
protected:
    void SetUp() override { test::App().Prepare(); }
};

TEST_F(WndRouting, ObjectIsBoundBeforeItsFirstMessageAndSeesItsOwnCreate) {
    RecordingWnd wnd;
    const unsigned before = WindowList::Count();
    ASSERT_TRUE(wnd.CreateChild(0, WS_POPUP, nullptr));
    HWND hwnd = wnd.GetHandle();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(WindowList::Count(), before + 1);
    EXPECT_EQ(WindowList::FromHandle(hwnd), &wnd);

    ASSERT_FALSE(wnd.seen.empty());
    // Every message, the very first included, arrived with the object already bound.
    for (const Seen& s : wnd.seen) {
        EXPECT_EQ(s.hwnd, hwnd);
        EXPECT_EQ(s.objectHandle, hwnd) << "message 0x" << std::hex << s.message;
    }
    EXPECT_TRUE(wnd.Saw(WM_NCCREATE));
    EXPECT_TRUE(wnd.Saw(WM_CREATE));

    // A second Create on a bound object is refused and changes nothing.
    EXPECT_FALSE(wnd.CreateChild(0, WS_POPUP, nullptr));
    EXPECT_EQ(wnd.GetHandle(), hwnd);
    EXPECT_EQ(WindowList::Count(), before + 1);

    ASSERT_TRUE(wnd.Destroy());
    EXPECT_EQ(wnd.GetHandle(), nullptr);
    EXPECT_TRUE(wnd.Saw(WM_DESTROY));
    EXPECT_TRUE(wnd.Saw(WM_NCDESTROY));
    EXPECT_EQ(WindowList::Count(), before);
    // After the final destroy message the old handle dispatches nothing.
    EXPECT_EQ(Dispatch(hwnd, WM_USER, 0, 0), -1);
    // Destroy without a window succeeds and keeps the handle clear.
    EXPECT_TRUE(wnd.Destroy());
}

TEST_F(WndRouting, HandlesNotInTheListDispatchMinusOne) {
    HWND plain = CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(WindowList::FromHandle(plain), nullptr);
    EXPECT_EQ(Dispatch(plain, WM_USER, 0, 0), -1);
    EXPECT_EQ(Dispatch(nullptr, WM_USER, 0, 0), -1);
    DestroyWindow(plain);
}

TEST_F(WndRouting, OnlyTheFirstWindowOfACreationIsBound) {
    // A window that creates a child of its own while handling WM_CREATE: the child is not
    // bound to anything (the hook is gone once the parent was bound).
    class Parent : public RecordingWnd {
    public:
        HWND child = nullptr;
        LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_CREATE)
                child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, hwnd, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
            return RecordingWnd::WndProc(hwnd, message, wParam, lParam);
        }
    } parent;
    const unsigned before = WindowList::Count();
    ASSERT_TRUE(parent.CreateChild(0, WS_POPUP, nullptr));
    ASSERT_NE(parent.child, nullptr);
    EXPECT_EQ(WindowList::FromHandle(parent.child), nullptr);
    EXPECT_EQ(WindowList::Count(), before + 1);
}

TEST_F(WndRouting, FailedCreateLeavesNoHookAndNoEntry) {
    const unsigned before = WindowList::Count();
    RecordingWnd wnd;
    CREATESTRUCTW p = {};
    p.lpszClass = L"NoSuchClassAnywhere";
    p.style = WS_POPUP;
    p.hInstance = GetModuleHandleW(nullptr);
    EXPECT_FALSE(wnd.Create(p));
    EXPECT_EQ(wnd.GetHandle(), nullptr);
    EXPECT_EQ(WindowList::Count(), before);

    // A window refused by its own WM_CREATE: bound for a moment, then neither handle nor entry.
    RecordingWnd refusing;
    refusing.answerMessage = WM_CREATE;
    refusing.answer = -1;
    EXPECT_FALSE(refusing.CreateChild(0, WS_POPUP, nullptr));
    EXPECT_EQ(refusing.GetHandle(), nullptr);
    EXPECT_EQ(WindowList::Count(), before);
    EXPECT_TRUE(refusing.Saw(WM_NCDESTROY));

    // No hook is left behind: a window made directly afterwards is not bound to anything.
    HWND plain = CreateWindowExW(0, SDIApp::kChildClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    // (The child procedure answers -1 to its WM_CREATE, as for any unbound handle, so the
    // creation may fail; either way nothing may have been bound.)
    EXPECT_EQ(WindowList::Count(), before);
    EXPECT_EQ(wnd.GetHandle(), nullptr);
    EXPECT_EQ(refusing.GetHandle(), nullptr);
    if (plain) DestroyWindow(plain);

    // And the next framework creation binds its own object normally.
    RecordingWnd next;
    ASSERT_TRUE(next.CreateChild(0, WS_POPUP, nullptr));
    EXPECT_EQ(WindowList::FromHandle(next.GetHandle()), &next);
}

TEST_F(WndRouting, ControlMessagesReachTheControlObjectFirst) {
    RecordingWnd parent;
    ASSERT_TRUE(parent.CreateChild(0, WS_POPUP, nullptr));
    std::vector<int> order;

    // A framework button (bound through CtrlWnd::Create, then subclassed).
    RecordingCtrl button;
    button.order = &order;
    ASSERT_TRUE(button.Create(L"BUTTON", 0, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, L"Press", 0, 0, 80, 24, &parent, 77));
    EXPECT_EQ(button.GetControlId(), 77);
    EXPECT_EQ(GetDlgCtrlID(button.GetHandle()), 77);
    ASSERT_TRUE(button.Subclass());

    // Clicking sends WM_COMMAND(77, BN_CLICKED, button) to the parent.
    parent.seen.clear();
    SendMessageW(button.GetHandle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(button.Saw(WM_COMMAND));
    // The control's object got the parent's message with the parent's handle.
    ASSERT_FALSE(button.seenHandles.empty());
    EXPECT_TRUE(parent.Saw(WM_COMMAND)) << "the control answered 0, so the parent gets it";
    EXPECT_EQ(order.size(), 1u);

    // A control that answers takes the message: the parent never sees it.
    button.answer = 5;
    parent.seen.clear();
    const LRESULT r = SendMessageW(parent.GetHandle(), WM_COMMAND, MAKEWPARAM(77, BN_CLICKED),
                                   reinterpret_cast<LPARAM>(button.GetHandle()));
    EXPECT_EQ(r, 5);
    EXPECT_FALSE(parent.Saw(WM_COMMAND));

    // Notifications and owner-draw messages are reflected by their sender fields.
    button.seen.clear();
    NMHDR header = {button.GetHandle(), 77, NM_CLICK};
    EXPECT_EQ(SendMessageW(parent.GetHandle(), WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&header)), 5);
    DRAWITEMSTRUCT draw = {};
    draw.hwndItem = button.GetHandle();
    EXPECT_EQ(SendMessageW(parent.GetHandle(), WM_DRAWITEM, 77, reinterpret_cast<LPARAM>(&draw)), 5);
    EXPECT_TRUE(button.Saw(WM_NOTIFY));
    EXPECT_TRUE(button.Saw(WM_DRAWITEM));

    // Menu and accelerator commands carry no control and are not reflected.
    button.seen.clear();
    parent.seen.clear();
    SendMessageW(parent.GetHandle(), WM_COMMAND, MAKEWPARAM(40017, 1), 0);
    EXPECT_FALSE(button.Saw(WM_COMMAND));
    EXPECT_TRUE(parent.Saw(WM_COMMAND));

    // A notification from a window that is not a framework object goes to the parent only.
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, parent.GetHandle(), nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    parent.seen.clear();
    NMHDR other = {plain, 3, NM_CLICK};
    SendMessageW(parent.GetHandle(), WM_NOTIFY, 3, reinterpret_cast<LPARAM>(&other));
    EXPECT_TRUE(parent.Saw(WM_NOTIFY));
}

TEST_F(WndRouting, SubclassOnceAndNeverAFrame) {
    RecordingWnd parent;
    ASSERT_TRUE(parent.CreateChild(0, WS_POPUP, nullptr));
    RecordingCtrl edit;
    ASSERT_TRUE(edit.Create(L"EDIT", 0, WS_CHILD | WS_VISIBLE, L"abc", 0, 0, 100, 20, &parent, 5));
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit.GetHandle(), GWLP_WNDPROC));

    // Before subclassing the edit's own messages do not reach the object.
    edit.seen.clear();
    SendMessageW(edit.GetHandle(), WM_USER + 100, 0, 0);
    EXPECT_FALSE(edit.Saw(WM_USER + 100));

    EXPECT_TRUE(edit.Subclass());
    EXPECT_FALSE(edit.Subclass()) << "a window is subclassed at most once";
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit.GetHandle(), GWLP_WNDPROC)), &TWIG4::SubclassProc);

    // Now they do, and the control's own procedure still answers what the object leaves.
    SendMessageW(edit.GetHandle(), WM_USER + 100, 0, 0);
    EXPECT_TRUE(edit.Saw(WM_USER + 100));
    wchar_t text[16] = L"";
    EXPECT_EQ(GetWindowTextW(edit.GetHandle(), text, 16), 3);
    EXPECT_STREQ(text, L"abc");
    (void)original;

    // Destroying the subclassed control unlists it after its final message.
    HWND hwnd = edit.GetHandle();
    ASSERT_TRUE(edit.Destroy());
    EXPECT_TRUE(edit.Saw(WM_NCDESTROY));
    EXPECT_EQ(WindowList::FromHandle(hwnd), nullptr);

    // An object without a window cannot be subclassed.
    RecordingWnd none;
    EXPECT_FALSE(none.Subclass());

    // A framework frame is never subclassed; the flag stays set.
    RecordingWnd frame;
    CREATESTRUCTW p = {};
    p.lpszClass = SDIApp::kFrameClass;
    p.style = WS_OVERLAPPEDWINDOW;
    p.cx = 100;
    p.cy = 100;
    p.hInstance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(frame.Create(p));
    EXPECT_FALSE(frame.Subclass());
    EXPECT_TRUE(frame.IsSubclassed());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(frame.GetHandle(), GWLP_WNDPROC)), &SDIApp::FrameProc);
}

TEST_F(WndRouting, AttachBindsAForeignWindow) {
    HWND plain = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    {
        RecordingWnd wnd;
        EXPECT_FALSE(wnd.Attach(nullptr));
        ASSERT_TRUE(wnd.Attach(plain));
        EXPECT_EQ(WindowList::FromHandle(plain), &wnd);
        EXPECT_FALSE(wnd.Attach(plain)) << "already bound";
        ASSERT_TRUE(wnd.Subclass());
        SendMessageW(plain, WM_USER + 7, 0, 0);
        EXPECT_TRUE(wnd.Saw(WM_USER + 7));
    }
    // The object's destructor destroyed the window and left no entry behind.
    EXPECT_FALSE(IsWindow(plain));
    EXPECT_EQ(WindowList::FromHandle(plain), nullptr);
}

TEST_F(WndRouting, WrappersActOnTheWindow) {
    RecordingWnd parent;
    ASSERT_TRUE(parent.CreateChild(0, WS_POPUP, nullptr));
    RecordingWnd child;
    ASSERT_TRUE(child.CreateChild(0, WS_CHILD, &parent));
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(parent.GetParent(), nullptr);

    EXPECT_TRUE(parent.Move(10, 20, 300, 200, false));
    RECT r = {};
    EXPECT_TRUE(parent.GetWindowRect(&r));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 310);
    EXPECT_EQ(r.bottom, 220);
    EXPECT_FALSE(parent.GetWindowRect(nullptr));
    EXPECT_FALSE(parent.GetClientRect(nullptr));
    EXPECT_FALSE(parent.Move(nullptr, false));
    EXPECT_FALSE(parent.ScreenToClient(nullptr));
    const RECT moved = {5, 6, 55, 36};
    EXPECT_TRUE(child.Move(&moved, false));
    EXPECT_TRUE(child.GetClientRect(&r));
    EXPECT_EQ(r.right, 50);
    EXPECT_EQ(r.bottom, 30);
    POINT pt = {15, 26};
    EXPECT_TRUE(parent.ScreenToClient(&pt));
    EXPECT_EQ(pt.x, 5);
    EXPECT_EQ(pt.y, 6);

    EXPECT_TRUE(parent.SetText(L"hello"));
    EXPECT_EQ(parent.GetTextLength(), 5);
    wchar_t text[8] = L"";
    EXPECT_EQ(parent.GetText(text, 8), 5);
    EXPECT_STREQ(text, L"hello");

    parent.answerMessage = WM_USER + 1;
    parent.answer = 42;
    EXPECT_EQ(parent.SendMessage(WM_USER + 1, 0, 0), 42);
    EXPECT_TRUE(parent.PostMessage(WM_USER + 2, 0, 0));
    wintest::Pump(50);
    EXPECT_TRUE(parent.Saw(WM_USER + 2));

    // SetParent reports the previous parent's object.
    RecordingWnd other;
    ASSERT_TRUE(other.CreateChild(0, WS_POPUP, nullptr));
    EXPECT_EQ(child.SetParent(&other), &parent);
    EXPECT_EQ(child.GetParent(), &other);

    EXPECT_EQ(Wnd::GetInstance(), GetModuleHandleW(nullptr));

    // A client DC is handed out as a new object and given back (and deleted) by ReleaseDC.
    TWIG4::DC* dc = parent.GetDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_NE(dc->GetHandle(), nullptr);
    EXPECT_EQ(parent.ReleaseDC(dc), 1);
    EXPECT_EQ(parent.ReleaseDC(nullptr), 0);
}

TEST_F(WndRouting, RunModalLoopStopsWhenContinueModalTurnsFalse) {
    class Modal : public RecordingWnd {
    public:
        int remaining = 3;
        bool ContinueModal() override { return remaining-- > 0; }
    } modal;
    ASSERT_TRUE(modal.CreateChild(0, WS_POPUP, nullptr));
    RecordingWnd outsider;
    ASSERT_TRUE(outsider.CreateChild(0, WS_POPUP, nullptr));
    // Two messages for the modal window are dispatched; the input for another window is
    // dropped; the fourth message finds ContinueModal false and is dropped too.
    modal.PostMessage(WM_USER + 1, 0, 0);
    outsider.PostMessage(WM_KEYDOWN, 'A', 0);
    modal.PostMessage(WM_USER + 2, 0, 0);
    modal.PostMessage(WM_USER + 3, 0, 0);
    modal.PostMessage(WM_USER + 4, 0, 0);  // left in the queue
    modal.RunModalLoop();
    EXPECT_TRUE(modal.Saw(WM_USER + 1));
    EXPECT_TRUE(modal.Saw(WM_USER + 2));
    EXPECT_FALSE(modal.Saw(WM_USER + 3));
    EXPECT_FALSE(outsider.Saw(WM_KEYDOWN));
    wintest::Pump(30);
    EXPECT_TRUE(modal.Saw(WM_USER + 4));

    // The quit message ends it too, and is consumed.
    modal.remaining = 100;
    PostQuitMessage(3);
    modal.RunModalLoop();
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

}  // namespace
