// The application object: Run, the main loop's idle processing, thread messages,
// accelerators, the unhandled-exception box, layout and window placement.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/win/sdiapp.h"
#include "test_app.h"

using TWIG4::SDIApp;
using TWIG4::Wnd;
using test::App;
using test::TestApp;

namespace {

const wchar_t kTestKey[] = L"Software\\Bistrope-tests\\framework";
const wchar_t kPlacementKey[] = L"Software\\Bistrope-tests\\framework\\WindowPos";

class AppLoop : public ::testing::Test {
protected:
    void SetUp() override {
        App().ResetHooks();
        wintest::DrainQueue();
    }
    void TearDown() override {
        App().ResetHooks();
        App().SetAccelerators(nullptr);
        App().DestroyFrame();
    }
    int RunApp() { return App().Run(GetModuleHandleW(nullptr), L"", SW_SHOWNORMAL); }
};

// A second listed window that asks for idle passes of its own.
class IdleWnd : public Wnd {
public:
    std::vector<std::string>* log = nullptr;
    unsigned wantUntil = 0;  // asks for more passes while the counter is below this
    bool OnIdle(unsigned n) override {
        if (log) log->push_back("wnd" + std::to_string(n));
        return n < wantUntil;
    }
};

std::vector<std::string> After(const std::vector<std::string>& log, const std::string& marker) {
    auto it = std::find(log.begin(), log.end(), marker);
    if (it == log.end()) return {};
    return std::vector<std::string>(it + 1, log.end());
}

TEST_F(AppLoop, IdlePassesAndWhatRestartsThem) {
    TestApp& app = App();
    app.ResetFirstIdle();
    std::vector<std::string> log;
    int phase = 0;
    IdleWnd other;
    other.log = &log;
    other.wantUntil = 3;  // the app itself asks for nothing: the other window keeps passes going

    app.onFirstIdle = [&] {
        log.push_back("first");
        // Created here so that it is listed after the frame.
        other.CreateChild(0, WS_POPUP, nullptr);
        return false;
    };
    app.onIdle = [&](unsigned n) {
        log.push_back("idle" + std::to_string(n));
        if (phase == 0 && n == 3) {
            // Messages that must not restart idle processing, then a thread message whose
            // handler posts one that must.
            phase = 1;
            HWND frame = app.GetHandle();
            PostMessageW(frame, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            PostMessageW(frame, WM_TIMER, 77, 0);
            PostMessageW(frame, WM_PAINT, 0, 0);
            PostMessageW(frame, WM_NCPAINT, 1, 0);
            PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 11, 22);
        } else if (phase == 2 && n == 3) {
            phase = 3;
            other.Destroy();
            app.Destroy();  // ends the loop
        }
        return false;
    };
    app.onThreadMessage = [&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_APP + 1 && wParam == 11 && lParam == 22) {
            log.push_back("thread");
            phase = 2;
            PostMessageW(app.GetHandle(), WM_APP + 2, 0, 0);
        }
        return 0;
    };
    app.onMessage = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        // Only the messages posted here are logged (the real pointer may move too).
        switch (message) {
            case WM_MOUSEMOVE: if (lParam == MAKELPARAM(5, 5)) log.push_back("mousemove"); break;
            case WM_TIMER: if (wParam == 77) log.push_back("timer"); break;
            case WM_APP + 1: log.push_back("thread message dispatched"); break;
            case WM_APP + 2: log.push_back("app"); break;
        }
        return 0;
    };
    // An accelerator table is loaded: thread messages still never reach a window.
    ACCEL accel = {FVIRTKEY, VK_F2, 40017};
    HACCEL table = CreateAcceleratorTableW(&accel, 1);
    app.SetAccelerators(table);

    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(app.GetHandle(), nullptr) << "the frame was destroyed";
    DestroyAcceleratorTable(table);

    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "first");
    EXPECT_EQ(std::count(log.begin(), log.end(), "first"), 1);
    // First series: every window each pass, the counter counting passes from 0; the other
    // window keeps passes going until it stops asking.
    const std::vector<std::string> firstSeries = {"first", "idle0", "wnd0", "idle1", "wnd1",
                                                  "idle2", "wnd2",  "idle3", "wnd3"};
    ASSERT_GE(log.size(), firstSeries.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + firstSeries.size()), firstSeries);

    // Mouse move and timer were dispatched without any idle pass in between, the thread
    // message reached OnThreadMessage only, and the next ordinary message restarted idle
    // processing with the counter at 0.
    const std::vector<std::string> rest = After(log, "wnd3");
    const std::vector<std::string> expected = {"mousemove", "timer", "thread", "app", "idle0", "wnd0",
                                               "idle1",     "wnd1",  "idle2",  "wnd2", "idle3"};
    ASSERT_GE(rest.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(rest.begin(), rest.begin() + expected.size()), expected);
    EXPECT_EQ(std::count(log.begin(), log.end(), "thread message dispatched"), 0);
}

TEST_F(AppLoop, OnFirstIdleRunsOncePerProcess) {
    TestApp& app = App();
    app.ResetFirstIdle();
    int first = 0;
    int passes = 0;
    int firstBeforeIdle = -1;
    app.onFirstIdle = [&] {
        ++first;
        if (firstBeforeIdle < 0) firstBeforeIdle = passes == 0;
        return false;
    };
    app.onIdle = [&](unsigned) {
        ++passes;
        app.Destroy();
        return false;
    };
    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(firstBeforeIdle, 1);
    // A second run of the loop does not call it again.
    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(passes, 2);
}

TEST_F(AppLoop, AcceleratorsTurnKeysIntoFrameCommands) {
    TestApp& app = App();
    ACCEL accel = {FVIRTKEY, VK_F2, 40017};
    HACCEL table = CreateAcceleratorTableW(&accel, 1);
    app.SetAccelerators(table);
    WPARAM command = 0;
    int keydowns = 0;
    bool posted = false;
    app.onIdle = [&](unsigned) {
        if (!posted) {
            posted = true;
            PostMessageW(app.GetHandle(), WM_KEYDOWN, VK_F2, 1);
            PostMessageW(app.GetHandle(), WM_KEYDOWN, VK_F3, 1);  // not in the table
            PostMessageW(app.GetHandle(), WM_APP + 3, 0, 0);
        }
        return false;
    };
    app.onMessage = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_COMMAND) command = wParam;
        if (message == WM_KEYDOWN) ++keydowns;
        if (message == WM_APP + 3) app.Destroy();
        return 0;
    };
    EXPECT_EQ(RunApp(), 0);
    DestroyAcceleratorTable(table);
    EXPECT_EQ(LOWORD(command), 40017);
    EXPECT_EQ(HIWORD(command), 1) << "an accelerator command";
    EXPECT_EQ(keydowns, 1) << "F2 was translated, F3 dispatched";

    EXPECT_FALSE(app.LoadAccelerators(0));
    EXPECT_FALSE(app.LoadAccelerators(9999));  // no such table
}

TEST_F(AppLoop, AnExceptionFromAHandlerEndsTheLoopWithABox) {
    TestApp& app = App();
    bool thrown = false;
    app.onIdle = [&](unsigned) {
        if (!thrown) PostMessageW(app.GetHandle(), WM_APP + 9, 0, 0);
        return false;
    };
    app.onMessage = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_APP + 9 && !thrown) {
            thrown = true;
            throw std::runtime_error("handler failure");
        }
        return 0;
    };
    // The box is driven away from a helper thread; it must show the text, be captioned
    // with the frame's title and be owned by the frame.
    std::wstring text, caption;
    HWND owner = nullptr;
    wintest::Helper helper([&] {
        HWND box = wintest::WaitForWindow(
            [](HWND w) { return wintest::ClassOf(w) == L"#32770" && IsWindowVisible(w); }, 10000);
        if (!box) return;
        caption = wintest::TextOf(box);
        owner = GetWindow(box, GW_OWNER);
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (wintest::TextOf(child) == L"Unhandled exception") text = wintest::TextOf(child);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    const int result = RunApp();
    EXPECT_TRUE(helper.Join(15000));
    EXPECT_TRUE(thrown);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(text, L"Unhandled exception");
    EXPECT_EQ(caption, L"Framework tests");
    EXPECT_EQ(owner, app.GetHandle());
}

TEST_F(AppLoop, RunFailsWithMinusOneWhenTheFrameCannotBeMade) {
    TestApp& app = App();
    app.onPreCreate = [](CREATESTRUCTW& p) { p.lpszClass = L"NoSuchFrameClass"; };
    EXPECT_EQ(RunApp(), -1);
    EXPECT_EQ(app.GetHandle(), nullptr);
}

TEST_F(AppLoop, RunCreatesTheFrameAsDescribed) {
    TestApp& app = App();
    DWORD style = 0, exStyle = 0;
    std::wstring cls, title;
    bool visible = false;
    app.onPreCreate = [](CREATESTRUCTW& p) { p.dwExStyle |= WS_EX_COMPOSITED; };
    app.onIdle = [&](unsigned) {
        style = static_cast<DWORD>(GetWindowLongPtrW(app.GetHandle(), GWL_STYLE));
        exStyle = static_cast<DWORD>(GetWindowLongPtrW(app.GetHandle(), GWL_EXSTYLE));
        cls = wintest::ClassOf(app.GetHandle());
        title = wintest::TextOf(app.GetHandle());
        visible = IsWindowVisible(app.GetHandle()) != 0;
        app.Destroy();
        return false;
    };
    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(cls, L"TWIG4_SDI_FRAME_CLASS");
    EXPECT_EQ(title, L"Framework tests");
    EXPECT_EQ(style & 0x06CF0000u, 0x06CF0000u);
    EXPECT_EQ(exStyle & WS_EX_COMPOSITED, 0u) << "the composited bit is removed";
    EXPECT_TRUE(visible);

    // The four classes, with their styles.
    const struct {
        const wchar_t* name;
        UINT style;
    } classes[] = {{L"TWIG4_SDI_FRAME_CLASS", 0xB}, {L"TWIG4_SDI_CHILD_CLASS", 0xB},
                   {L"TWIG4_CTRL_CLASS", 0xB},      {L"TWIG4_DROPSHADW_CLASS", 0x2080B}};
    for (const auto& c : classes) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), c.name, &wc)) << c.name;
        EXPECT_EQ(wc.style, c.style);
        EXPECT_EQ(wc.hbrBackground, nullptr);
        EXPECT_EQ(wc.hIcon, nullptr);
        EXPECT_EQ(wc.cbWndExtra, 0);
    }
}

TEST_F(AppLoop, ClientWindowFillsTheFrameAndGetsItsCommands) {
    TestApp& app = App();
    ASSERT_TRUE(app.CreateFrame());
    class Client : public TWIG4::SDIClientWnd {
    public:
        std::vector<UINT> seen;
        LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
            seen.push_back(message);
            if (message == WM_COMMAND && LOWORD(wParam) == 40014) return 1;
            return SDIClientWnd::WndProc(hwnd, message, wParam, lParam);
        }
    } client;
    EXPECT_FALSE(client.Create(nullptr));
    ASSERT_TRUE(client.Create(&app));
    EXPECT_EQ(app.GetClientWnd(), &client);
    EXPECT_EQ(static_cast<DWORD>(client.GetLong(GWL_STYLE)) & 0x52000000u, 0x52000000u);
    EXPECT_EQ(wintest::ClassOf(client.GetHandle()), L"TWIG4_SDI_CHILD_CLASS");

    app.Move(0, 0, 500, 400, false);  // WM_SIZE lays the client out
    RECT frameClient = {}, clientRect = {};
    app.GetClientRect(&frameClient);
    GetWindowRect(client.GetHandle(), &clientRect);
    MapWindowPoints(nullptr, app.GetHandle(), reinterpret_cast<POINT*>(&clientRect), 2);
    EXPECT_EQ(clientRect.left, 0);
    EXPECT_EQ(clientRect.top, 0);
    EXPECT_EQ(clientRect.right, frameClient.right);
    EXPECT_EQ(clientRect.bottom, frameClient.bottom);

    // Commands, notifications and the wheel reach the client through the frame.
    client.seen.clear();
    EXPECT_EQ(SendMessageW(app.GetHandle(), WM_COMMAND, 40014, 0), 1);
    SendMessageW(app.GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(client.seen, (std::vector<UINT>{WM_COMMAND, WM_MOUSEWHEEL}));
    client.Destroy();
    app.SetClient(nullptr);
}

// ---------------------------------------------------------------------------------------
// Window placement

class Placement : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
        App().ResetHooks();
        ASSERT_TRUE(App().CreateFrame());
    }
    void TearDown() override {
        App().DestroyFrame();
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    }
    static void Put(const wchar_t* name, std::int32_t value) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kPlacementKey, name, REG_DWORD, &value, sizeof(value));
    }
    static bool Get(const wchar_t* name, std::int32_t& value) {
        DWORD size = sizeof(value);
        return RegGetValueW(HKEY_CURRENT_USER, kPlacementKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
               ERROR_SUCCESS;
    }
    static WINDOWPLACEMENT Current() {
        WINDOWPLACEMENT p = {};
        p.length = sizeof(p);
        GetWindowPlacement(App().GetHandle(), &p);
        return p;
    }
};

TEST_F(Placement, AnEmptyKeyGivesTheDefaultRectangle) {
    const RECT def = {100, 120, 700, 520};
    EXPECT_FALSE(App().RestoreWindowPlacement(L"WindowPos", def));
    const WINDOWPLACEMENT p = Current();
    EXPECT_EQ(p.rcNormalPosition.left, 100);
    EXPECT_EQ(p.rcNormalPosition.top, 120);
    EXPECT_EQ(p.rcNormalPosition.right, 700);
    EXPECT_EQ(p.rcNormalPosition.bottom, 520);
    EXPECT_EQ(p.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_TRUE(IsWindowVisible(App().GetHandle()));
    EXPECT_FALSE(IsIconic(App().GetHandle()));
}

TEST_F(Placement, AllFiveValuesGiveTheSavedPlace) {
    Put(L"rect.left", 30);
    Put(L"rect.top", 40);
    Put(L"rect.right", 530);
    Put(L"rect.bottom", 440);
    Put(L"cmd", SW_SHOWNORMAL);
    const RECT def = {100, 120, 700, 520};
    EXPECT_TRUE(App().RestoreWindowPlacement(L"WindowPos", def));
    const WINDOWPLACEMENT p = Current();
    EXPECT_EQ(p.rcNormalPosition.left, 30);
    EXPECT_EQ(p.rcNormalPosition.top, 40);
    EXPECT_EQ(p.rcNormalPosition.right, 530);
    EXPECT_EQ(p.rcNormalPosition.bottom, 440);
    RECT r = {};
    App().GetWindowRect(&r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.bottom, 440);
}

TEST_F(Placement, MissingValuesFallBackButAreStillApplied) {
    Put(L"rect.left", 10);
    Put(L"rect.top", 20);
    Put(L"rect.right", 410);  // no bottom, no cmd
    const RECT def = {100, 120, 700, 520};
    EXPECT_FALSE(App().RestoreWindowPlacement(L"WindowPos", def));
    const WINDOWPLACEMENT p = Current();
    EXPECT_EQ(p.rcNormalPosition.left, 10);
    EXPECT_EQ(p.rcNormalPosition.right, 410);
    EXPECT_EQ(p.rcNormalPosition.bottom, 520);
    EXPECT_TRUE(IsWindowVisible(App().GetHandle()));
}

TEST_F(Placement, ASavedMinimisedStateStartsMinimised) {
    Put(L"rect.left", 30);
    Put(L"rect.top", 40);
    Put(L"rect.right", 530);
    Put(L"rect.bottom", 440);
    Put(L"cmd", SW_SHOWMINIMIZED);
    const RECT def = {100, 120, 700, 520};
    EXPECT_TRUE(App().RestoreWindowPlacement(L"WindowPos", def));
    EXPECT_TRUE(IsIconic(App().GetHandle()));
    EXPECT_EQ(Current().rcNormalPosition.right, 530);
}

TEST_F(Placement, NoKeyNameDoesNothing) {
    const RECT def = {100, 120, 700, 520};
    EXPECT_FALSE(App().RestoreWindowPlacement(nullptr, def));
    EXPECT_FALSE(App().RestoreWindowPlacement(L"", def));
    EXPECT_FALSE(IsWindowVisible(App().GetHandle())) << "nothing was applied";
    EXPECT_FALSE(App().SaveWindowPlacement(nullptr));
    EXPECT_FALSE(App().SaveWindowPlacement(L""));
}

TEST_F(Placement, SaveWritesTheNormalRectangleAndShowState) {
    const RECT def = {-20, 30, 620, 500};  // a negative coordinate is stored as two's complement
    App().RestoreWindowPlacement(L"WindowPos", def);
    EXPECT_TRUE(App().SaveWindowPlacement(L"WindowPos"));
    std::int32_t v = 0;
    ASSERT_TRUE(Get(L"rect.left", v));
    EXPECT_EQ(v, -20);
    ASSERT_TRUE(Get(L"rect.top", v));
    EXPECT_EQ(v, 30);
    ASSERT_TRUE(Get(L"rect.right", v));
    EXPECT_EQ(v, 620);
    ASSERT_TRUE(Get(L"rect.bottom", v));
    EXPECT_EQ(v, 500);
    ASSERT_TRUE(Get(L"cmd", v));
    EXPECT_EQ(v, SW_SHOWNORMAL);

    // Minimised: the normal rectangle is kept and the state is saved.
    ShowWindow(App().GetHandle(), SW_SHOWMINIMIZED);
    EXPECT_TRUE(App().SaveWindowPlacement(L"WindowPos"));
    ASSERT_TRUE(Get(L"cmd", v));
    EXPECT_EQ(v, SW_SHOWMINIMIZED);
    ASSERT_TRUE(Get(L"rect.right", v));
    EXPECT_EQ(v, 620);

    // And it reads back as a complete placement.
    EXPECT_TRUE(App().RestoreWindowPlacement(L"WindowPos", RECT{0, 0, 10, 10}));
    EXPECT_TRUE(IsIconic(App().GetHandle()));
}

}  // namespace

namespace {

TEST(AppIdleMessages, OnlyDestroyPaintTimerAndMouseMoveKeepIdleProcessingOff) {
    for (UINT message = 0; message < 0x400; ++message) {
        MSG msg = {};
        msg.message = message;
        const bool quiet = message == WM_DESTROY || message == WM_PAINT || message == WM_NCPAINT ||
                           message == WM_TIMER || message == WM_MOUSEMOVE;
        EXPECT_EQ(SDIApp::IsIdleMessage(&msg), !quiet) << "message 0x" << std::hex << message;
    }
    MSG app = {};
    app.message = WM_APP + 5;
    EXPECT_TRUE(SDIApp::IsIdleMessage(&app));
}

class AppFrame : public ::testing::Test {
protected:
    void SetUp() override {
        App().ResetHooks();
        ASSERT_TRUE(App().CreateFrame());
    }
    void TearDown() override { App().DestroyFrame(); }
};

TEST_F(AppFrame, MessageBoxIsOwnedByTheWindowAndCaptionedWithTheFrameTitle) {
    Wnd child;
    ASSERT_TRUE(child.CreateChild(0, WS_POPUP | WS_VISIBLE, nullptr));
    App().SetText(L"Frame title now");
    std::wstring caption, text;
    HWND owner = nullptr;
    wintest::Helper helper([&] {
        HWND box = wintest::WaitForWindow(
            [](HWND w) { return wintest::ClassOf(w) == L"#32770" && IsWindowVisible(w); }, 10000);
        if (!box) return;
        caption = wintest::TextOf(box);
        owner = GetWindow(box, GW_OWNER);
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (wintest::TextOf(c) == L"Something to say") text = wintest::TextOf(c);
        PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    const int answer = child.MessageBox(L"Something to say", MB_YESNO);
    EXPECT_TRUE(helper.Join(15000));
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(caption, L"Frame title now");
    EXPECT_EQ(text, L"Something to say");
    EXPECT_EQ(owner, child.GetHandle());
    App().SetText(L"Framework tests");
}

TEST_F(AppFrame, ToolsAreRegisteredWithTheSharedTooltip) {
    Wnd tool;
    ASSERT_TRUE(tool.CreateChild(0, WS_CHILD | WS_VISIBLE, &App()));
    HWND tip = App().GetToolTipHandle();
    const RECT rect = {2, 3, 40, 20};
    if (!tip) {
        // Without the shared tooltip window there is nothing to register with.
        EXPECT_FALSE(tool.AddToolTip(&rect, 7, 250));
        EXPECT_FALSE(tool.AddToolTip(300));
        return;
    }
    EXPECT_FALSE(tool.AddToolTip(nullptr, 7, 250));
    ASSERT_TRUE(tool.AddToolTip(&rect, 7, 250));
    EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 250);
    ASSERT_TRUE(tool.AddToolTip(300));
    EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 300);

    TTTOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = tool.GetHandle();
    info.uId = 7;
    ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.uFlags & (TTF_SUBCLASS | TTF_IDISHWND), static_cast<UINT>(TTF_SUBCLASS));
    EXPECT_EQ(info.rect.left, 2);
    EXPECT_EQ(info.rect.bottom, 20);
    EXPECT_EQ(info.lParam, reinterpret_cast<LPARAM>(&tool));

    TTTOOLINFOW whole = {};
    whole.cbSize = sizeof(whole);
    whole.hwnd = tool.GetHandle();
    whole.uId = reinterpret_cast<UINT_PTR>(tool.GetHandle());
    ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&whole)));
    EXPECT_EQ(whole.uFlags & (TTF_SUBCLASS | TTF_IDISHWND), static_cast<UINT>(TTF_SUBCLASS | TTF_IDISHWND));
    EXPECT_EQ(whole.lParam, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&whole));
}

}  // namespace
