// TWIG4 application object: the single-document application, which is at the same time the
// main frame window.
//
// Exactly one SDIApp exists per process: the program derives its frame class from it and
// defines one global instance. The object owns the process-wide framework state: the
// WindowList (created by the constructor, deleted first by the destructor), the shared
// tooltip, the two registry objects, the list of docked control bars and the accelerators.
//
// Run(instance, commandLine, show):
//   1. stores instance and show command; 2. InitCommonControlsEx(0x4FF);
//   3. RegisterWindowClasses (failure: -1);
//   4. creates the frame "TWIG4_SDI_FRAME_CLASS" (style 0x06CF0000, x and width
//      CW_USEDEFAULT, y and height 0) after PreCreateWindow (failure: -1);
//   5. clears WS_EX_COMPOSITED; 6. InitialShow; 7. returns MessageLoop().
// Steps 1 to 6 are Start, for a caller that runs the messages itself (tests).
//
// The frame's WndProc: WM_DESTROY posts quit(0); WM_SIZE and the rebar's RBN_HEIGHTCHANGE
// run RecalcLayout; WM_GETMINMAXINFO calls OnGetMinMaxInfo; then notifications, commands
// and mouse-wheel messages go to the client window's WndProc (a non-zero answer is the
// result); everything else reaches Wnd::WndProc.
//
// MessageLoop: idle passes while the queue is empty (OnFirstIdle once, before the first
// pass; then OnIdle(counter) on every listed window, the counter incremented per pass,
// passes continuing while any window returns true); thread messages (no window) go to
// OnThreadMessage and are never dispatched; other messages are offered to the accelerator
// table (against the frame) and otherwise translated and dispatched; a dispatched message
// for which IsIdleMessage holds restarts idle processing with the counter at 0. Quit or a
// GetMessage error returns 0. An exception escaping any of this shows "Unhandled exception"
// (ReportUnhandledException) and returns 0.
//
// Control bars and the tooltip are classes of their own (CtrlBarWnd in
// framework/win/ctrlbar.h, ToolTipWnd in framework/win/tooltip.h). What this class needs
// of them:
//   - CtrlBarWnd derives from CtrlWnd and has `bool Reposition(RECT* rect)`, which docks
//     the bar at one side of `rect` and shrinks `rect` by the bar's thickness;
//     CtrlBarWnd::Create calls AddControlBar on its parent frame.
//   - ToolTipWnd derives from CtrlWnd, has a default constructor and
//     `bool Create(Wnd* owner)`, which makes the native tooltip owned by `owner`.
#pragma once

#include <windows.h>

#include "framework/list.h"
#include "framework/win/wnd.h"

namespace TWIG4 {

class CtrlBarWnd;
class Registry;
class ToolTipWnd;

class SDIApp : public Wnd {
public:
    static constexpr const wchar_t* kFrameClass = L"TWIG4_SDI_FRAME_CLASS";
    static constexpr const wchar_t* kChildClass = L"TWIG4_SDI_CHILD_CLASS";
    static constexpr const wchar_t* kCtrlClass = L"TWIG4_CTRL_CLASS";
    static constexpr const wchar_t* kDropShadowClass = L"TWIG4_DROPSHADW_CLASS";

    // Records the title (not copied: it must outlive the object) and publishes the object
    // as the application; creates the WindowList, the control-bar list, the registry
    // objects on `appKeyName` (current user and local machine) and the tooltip object.
    SDIApp(const wchar_t* title, const wchar_t* appKeyName);
    // Deletes the WindowList first (messages then go straight to the default procedures),
    // then the control-bar list, the registry objects and the tooltip object; the Wnd base
    // finally destroys the frame window if it still exists.
    ~SDIApp() override;

    // The application object of the process, or null.
    static SDIApp* GetApp();

    // Runs the program (see the top of this file). `commandLine` is not used.
    int Run(HINSTANCE instance, const wchar_t* commandLine, int showCommand);
    // Run's steps before its message loop; false when the classes or the frame cannot be made.
    bool Start(HINSTANCE instance, int showCommand);

    // Registers the four framework window classes in order, stopping at the first failure.
    // A class this module has already registered with the same procedure counts as
    // registered, so Run may be called again in the same process (tests do).
    bool RegisterWindowClasses();

    // Shows the frame normally and updates it.
    void InitialShow() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Called once, the first time the queue is empty, before the first OnIdle pass.
    virtual bool OnFirstIdle();
    // A message posted to the thread (no window). Returns 0 by default.
    virtual LRESULT OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_GETMINMAXINFO of the frame. Does nothing by default.
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);
    // The shared tooltip was shown / hidden for a tool. Do nothing by default.
    virtual void OnToolTipShow(UINT_PTR toolId);
    virtual void OnToolTipPop(UINT_PTR toolId);

    // Loads an accelerator table from the application's module; false for id 0 or failure.
    bool LoadAccelerators(int resourceId);
    // Called by SDIClientWnd::Create. Returns whether `client` is non-null.
    bool SetClientWnd(SDIClientWnd* client);
    SDIClientWnd* GetClientWnd() const { return client; }
    // Docked control bars, laid out by RecalcLayout in the order they were added.
    bool AddControlBar(CtrlBarWnd* bar);
    bool RemoveControlBar(CtrlBarWnd* bar);
    unsigned GetControlBarCount() const;
    // Docks the control bars one after another inside the frame's client rectangle and
    // gives the rest to the client window.
    void RecalcLayout();

    HINSTANCE GetAppInstance() const { return instance; }
    ToolTipWnd* GetToolTip() const { return toolTip; }
    // The shared tooltip's native window, or null when it does not exist.
    HWND GetToolTipHandle() const;
    const wchar_t* GetTitle() const { return title; }
    Registry* GetUserRegistry() const { return userRegistry; }

    // Restores the frame's placement from the subkey `keyName` of the user registry
    // ("rect.left", "rect.top", "rect.right", "rect.bottom", "cmd"; defaults from
    // `defaultRect` and SW_SHOWNORMAL) and applies it, which shows the frame. True only when
    // all five values were read; false without doing anything for a null or empty key.
    bool RestoreWindowPlacement(const wchar_t* keyName, const RECT& defaultRect);
    // Writes the frame's normal-position rectangle and show state under `keyName`,
    // stopping at the first failed write. True when all five were written.
    bool SaveWindowPlacement(const wchar_t* keyName);

    // The main loop (see the top of this file).
    int MessageLoop();
    // False for WM_DESTROY, WM_PAINT, WM_NCPAINT, WM_TIMER and WM_MOUSEMOVE, true for all
    // others: the messages that restart idle processing when dispatched.
    static bool IsIdleMessage(const MSG* msg);
    // Shows "Unhandled exception" (stop icon, system modal), captioned with the frame's
    // title and owned by the frame. Never lets an exception out.
    void ReportUnhandledException();

    // The frame window procedure: creates the shared tooltip on the frame's own
    // WM_CREATE, then behaves like ChildProc.
    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    HINSTANCE instance;
    int showCommand;
    SDIClientWnd* client;
    List<CtrlBarWnd*>* controlBars;
    const wchar_t* title;
    Registry* userRegistry;
    Registry* machineRegistry;
    bool firstIdle;
    HACCEL accelerators;
    ToolTipWnd* toolTip;

private:
    void CreateToolTipWindow();
};

}  // namespace TWIG4
