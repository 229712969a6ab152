// TWIG4 window base: one object per native window, and the routing of native messages to
// those objects.
//
// How a window object works
// -------------------------
// - Every framework window is an object derived from `Wnd`. The object is bound to its
//   native window (its `handle` set, the object entered in the process-wide `WindowList`)
//   by the `CreationHook` at the moment the native window is created, so it sees every
//   message from the very first one (WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE).
//   Exactly the first window created while the hook is installed is bound; for a dialog
//   that is the dialog itself, never one of its controls.
// - A native window of one of the framework's classes (frame, child, control classes),
//   a framework dialog and a subclassed control hand each message to `Dispatch`, which
//   finds the object by handle and calls its virtual `WndProc`.
// - `WndProc` convention: return non-zero when the message was handled (that value is the
//   message result) and 0 to let the platform answer (DefWindowProc, the control's own
//   procedure after `Subclass`, or the dialog manager). A handler therefore cannot return
//   0 as a handled result. Derived handlers are a `switch` whose cases call named handler
//   functions; anything not handled falls through to the base class's `WndProc`.
// - Reflection: WM_COMMAND, WM_CTLCOLORBTN and WM_CTLCOLORSTATIC (control in lParam),
//   WM_DRAWITEM (DRAWITEMSTRUCT::hwndItem) and WM_NOTIFY (NMHDR::hwndFrom) are first given
//   to the object of the control that sent them, with the same four values (the handle is
//   the window the message was sent to, not the control). A non-zero answer ends the
//   dispatch; otherwise the receiving window's own object gets the message.
// - The base `WndProc` calls `OnDestroy` on WM_DESTROY and, on WM_NCDESTROY, takes the
//   object out of the `WindowList` and clears `handle`. Derived handlers must let these
//   two messages reach it.
// - Destroying the object destroys its window (unless `notOwned`). Derived destructors
//   run first, so messages caused by that destruction only reach the base handlers; a
//   class that must see its own WM_DESTROY destroys its window in its own destructor.
// - A native control made by a framework object (a rebar, a toolbar, a tooltip, ...) is
//   created with `CtrlWnd::Create` (which binds it) and then `Subclass`ed, so that its
//   messages and the notifications reflected to it reach the object before the control's
//   own procedure.
//
// Process-wide state: the application object (`SDIApp`, one per process) creates and
// deletes the `WindowList`; `Dispatch` and the window procedures below use it. Everything
// runs on the one user-interface thread.
#pragma once

#include <windows.h>

#include <memory>

namespace TWIG4 {

class DC;
class ClientDC;
class SDIApp;
class Wnd;

// Window procedures of the framework. The frame procedure lives with the application
// object (SDIApp::FrameProc).
//  - ChildProc: classes "TWIG4_SDI_CHILD_CLASS", "TWIG4_CTRL_CLASS",
//    "TWIG4_DROPSHADW_CLASS". Dispatch; a non-zero result is returned, otherwise
//    DefWindowProc answers (always, once the WindowList is gone).
//  - DialogProc: framework dialogs. The Dispatch result goes to the dialog manager.
//  - SubclassProc: controls after Wnd::Subclass. Dispatch; a non-zero result is returned,
//    otherwise the control's previous procedure answers.
LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The process-wide list of live window objects, in the order they were bound.
// Lookups are linear (a few dozen windows at most). All of these are safe to call when the
// list does not exist (before the application object is made or after it is gone).
namespace WindowList {
bool Exists();
// Creates / deletes the list; called by the SDIApp constructor and destructor only.
void CreateList();
void DeleteList();
// Appends an object; false when the list is missing or refuses.
bool Add(Wnd* wnd);
// Removes the first entry for the object; false when it is not listed.
bool Remove(Wnd* wnd);
// The object bound to a handle, or null (a null handle finds nothing).
Wnd* FromHandle(HWND hwnd);
bool Contains(const Wnd* wnd);
unsigned Count();
// The entry at an index (null when out of range).
Wnd* At(unsigned index);
}  // namespace WindowList

// Finds the object of `hwnd` in the WindowList and gives it the message, after offering
// reflected messages to the control's object (see the top of this file). Returns -1 when
// no object is bound to `hwnd`.
LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

class Wnd {
public:
    Wnd();
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    // Destroys the window if there still is one and `notOwned` is false, and makes sure
    // the object is no longer listed.
    virtual ~Wnd();

    // Called just before the frame (SDIApp::Run) and SDIClientWnd::Create make their
    // window; a derived class may change any creation parameter. Empty by default.
    virtual void PreCreateWindow(CREATESTRUCTW& params);
    // Shows the window for the first time (SDIApp::Run calls it on the frame). Empty.
    virtual void InitialShow();
    // Called by the base WndProc on WM_DESTROY. Empty by default.
    virtual void OnDestroy();
    // The message handler; see the convention at the top of this file. The base version
    // handles WM_DESTROY (OnDestroy) and WM_NCDESTROY (unlisting) and returns 0 always.
    virtual LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Called on every listed window on each idle pass of the main loop, with the pass
    // counter (0 on the first pass after activity). Return true to ask for another pass.
    virtual bool OnIdle(unsigned idleCount);
    // RunModalLoop continues while this returns true (checked as each message arrives).
    virtual bool ContinueModal();
    // Not called by anything; returns false.
    virtual bool ReservedHook(LPARAM value);

    // Creates the native window with all twelve parameters through the CreationHook.
    // False when the object already has a window or the platform fails; a failed creation
    // leaves the object without a handle, outside the WindowList, and no hook installed.
    bool Create(const CREATESTRUCTW& params);
    // A plain child window of class "TWIG4_SDI_CHILD_CLASS": no name, zero position and
    // size, id 0, the application's instance, the parent's handle (none for no parent).
    bool CreateChild(DWORD exStyle, DWORD style, Wnd* parent);
    // Binds an existing window the framework did not create (it is entered in the list).
    // False for a null handle, an object that already has a window, or a refused entry.
    bool Attach(HWND hwnd);
    // Routes the control's messages through SubclassProc to this object first. False when
    // the object has no window, when it was subclassed before, or when the window is a
    // framework frame (the flag stays set then). The object must already be listed.
    bool Subclass();

    // --- Wrappers over the platform's window operations --------------------------------
    // With UNICODE, <windows.h> turns SendMessage, PostMessage and MessageBox into
    // SendMessageW, PostMessageW and MessageBoxW, so inside a class derived from Wnd these
    // members hide the platform functions: call those as ::SendMessageW(hwnd, ...) there.
    HWND GetHandle() const { return handle; }
    // False when the platform refuses; otherwise (also without a window) the handle is
    // cleared and true returned.
    bool Destroy();
    bool Enable(bool enable);
    bool Show(int showCommand);
    bool Update();
    bool Move(int x, int y, int width, int height, bool repaint);
    bool Move(const RECT* rect, bool repaint);  // false for a null rectangle
    bool Invalidate(const RECT* rect, bool erase);
    bool SetText(const wchar_t* text);
    int GetText(wchar_t* buffer, int size) const;
    int GetTextLength() const;
    LONG_PTR GetLong(int index) const;
    LONG_PTR SetLong(int index, LONG_PTR value);
    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds, TIMERPROC callback);
    HWND SetCapture();
    bool ReleaseCapture();
    bool ScreenToClient(POINT* point) const;    // false for a null point
    bool GetWindowRect(RECT* rect) const;       // false for a null rectangle
    bool GetClientRect(RECT* rect) const;       // false for a null rectangle
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool PostMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A DC on the client area, released when the object goes (its handle is null when the
    // window has none).
    std::unique_ptr<ClientDC> GetDC();
    // A message box owned by this window, captioned with the frame's current title.
    int MessageBox(const wchar_t* text, UINT flags);
    // The parent's object, or null when there is no parent or it is not a framework window.
    Wnd* GetParent() const;
    // Sets the parent (null: none) and returns the previous parent's object, if any.
    Wnd* SetParent(Wnd* parent);
    // The application's module instance.
    static HINSTANCE GetInstance();
    // Dispatches messages for this window and its descendants (and paints for any window)
    // until the quit message, an error, or ContinueModal turning false (noticed when the
    // next message arrives; that message is dropped). Input for other windows is dropped.
    void RunModalLoop();

    // --- Tooltips (the application's one shared tooltip control) -----------------------
    // Registers `rect` (client coordinates) of this window as tool `id`; the text is asked
    // for with TTN_GETDISPINFOW, which reaches this object's WndProc (the tool's lParam is
    // this object). Sets the tooltip's maximum tip width. False without a tooltip window.
    bool AddToolTip(const RECT* rect, UINT_PTR id, int maxTipWidth);
    // The whole window as one tool (its id is the window handle).
    bool AddToolTip(int maxTipWidth);

protected:
    // Ends a creation made under a CreationHook: when nothing was created (or the window
    // refused its creation after being bound) the object is left unbound and false returned.
    bool FinishCreation(HWND created);

    HWND handle;
    bool notOwned;
    bool subclassed;
    WNDPROC previousProc;

    friend LRESULT Dispatch(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    friend class CreationHook;

private:
    bool AddTool(UINT flags, UINT_PTR id, const RECT& rect, int maxTipWidth);
};

// A native control made by the framework (class name given), with its control id.
class CtrlWnd : public Wnd {
public:
    CtrlWnd();
    // Records the id, then creates the control with the application's instance and the id
    // in the menu-or-id slot. The control is not subclassed here; derived classes call
    // Subclass() after a successful Create when they want its messages.
    bool Create(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* windowName, int x, int y,
                int width, int height, Wnd* parent, int controlId);
    int GetControlId() const { return controlId; }

protected:
    int controlId;
};

// The frame's client window: the area the control bars leave (base of the application's
// client window).
class SDIClientWnd : public Wnd {
public:
    // Class "TWIG4_SDI_CHILD_CLASS", empty name, style 0x52000000 (visible child clipping
    // its children), parent the frame; PreCreateWindow is called first. On success the
    // frame is told (SDIApp::SetClientWnd). False for a null frame.
    bool Create(SDIApp* frame);
};

// Installs the thread's creation hook around one creation call. Used by Wnd::Create and
// the dialog classes; exposed for framework classes that create windows by other calls:
//     HWND made;
//     { CreationHook hook(this); made = CreateWindowExW(...); }   // hook gone here
//     return FinishCreation(made);
class CreationHook {
public:
    explicit CreationHook(Wnd* object);
    ~CreationHook();
    // Removes the hook if no window was created and forgets the object (idempotent).
    void End();
    // Whether a window was bound during this creation.
    bool Bound() const { return bound; }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    bool bound = false;
    bool active = false;
};

}  // namespace TWIG4
