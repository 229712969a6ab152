// Window base: the WindowList, the creation hook, Dispatch with reflection, the child,
// dialog and subclass procedures, and the window wrappers.
#include "framework/win/wnd.h"

#include <commctrl.h>

#include "framework/list.h"
#include "framework/win/dc.h"
#include "framework/win/sdiapp.h"

namespace TWIG4 {

// ---------------------------------------------------------------------------------------
// WindowList

namespace {

List<Wnd*>* windowList = nullptr;

// The subclassed control's previous procedure is also kept as a window property, so the
// subclass procedure can still pass messages on once the WindowList (or the object) is gone.
const wchar_t kPreviousProcProperty[] = L"TWIG4.previousProc";

}  // namespace

namespace WindowList {

bool Exists() { return windowList != nullptr; }

void CreateList() {
    if (!windowList) windowList = new List<Wnd*>(1);
}

void DeleteList() {
    List<Wnd*>* list = windowList;
    windowList = nullptr;
    delete list;
}

bool Add(Wnd* wnd) { return windowList && wnd && windowList->Add(wnd); }

bool Remove(Wnd* wnd) {
    if (!windowList) return false;
    const int index = windowList->Find(wnd);
    return index >= 0 && windowList->RemoveAt(static_cast<unsigned>(index));
}

Wnd* FromHandle(HWND hwnd) {
    if (!windowList || !hwnd) return nullptr;
    for (unsigned i = 0; i < windowList->Count(); ++i) {
        Wnd* wnd = windowList->At(i);
        if (wnd && wnd->GetHandle() == hwnd) return wnd;
    }
    return nullptr;
}

bool Contains(const Wnd* wnd) { return windowList && windowList->Find(const_cast<Wnd*>(wnd)) >= 0; }

unsigned Count() { return windowList ? windowList->Count() : 0; }

Wnd* At(unsigned index) { return windowList && index < windowList->Count() ? windowList->At(index) : nullptr; }

}  // namespace WindowList

// ---------------------------------------------------------------------------------------
// Dispatch

namespace {

// The control a reflected message names, or null for any other message.
HWND ReflectedControl(UINT message, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<HWND>(lParam);
        case WM_DRAWITEM:
            return lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        case WM_NOTIFY:
            return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
        default:
            return nullptr;
    }
}

}  // namespace

LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Wnd* target = WindowList::FromHandle(hwnd);
    if (!target) return -1;
    if (HWND control = ReflectedControl(message, lParam)) {
        Wnd* controlObject = WindowList::FromHandle(control);
        // A control notifying itself is not offered the same message twice.
        if (controlObject && controlObject != target) {
            const LRESULT reflected = controlObject->WndProc(hwnd, message, wParam, lParam);
            if (reflected) return reflected;
        }
    }
    return target->WndProc(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// Window procedures

LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (WindowList::Exists()) {
        const LRESULT result = Dispatch(hwnd, message, wParam, lParam);
        if (result) return result;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!WindowList::Exists()) return 0;
    const LRESULT result = Dispatch(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Dialog objects stay listed until their destructor; forgetting the handle of the
        // destroyed window keeps a later window that reuses the handle value from being
        // routed to them.
        if (Wnd* wnd = WindowList::FromHandle(hwnd)) wnd->handle = nullptr;
    }
    return result;
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kPreviousProcProperty));
    if (message == WM_NCDESTROY) RemovePropW(hwnd, kPreviousProcProperty);
    if (WindowList::Exists()) {
        if (Wnd* wnd = WindowList::FromHandle(hwnd)) {
            if (wnd->previousProc) previous = wnd->previousProc;
        }
        const LRESULT result = Dispatch(hwnd, message, wParam, lParam);
        if (result) return result;
    }
    if (!previous) return DefWindowProcW(hwnd, message, wParam, lParam);
    return CallWindowProcW(previous, hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// CreationHook

namespace {

struct HookState {
    HHOOK hook = nullptr;
    Wnd* object = nullptr;
    CreationHook* owner = nullptr;
};
HookState hookState;

}  // namespace

CreationHook::CreationHook(Wnd* object) {
    if (hookState.hook) return;  // creations do not nest: the outer one keeps the hook
    hookState.object = object;
    hookState.owner = this;
    hookState.hook = SetWindowsHookExW(WH_CBT, &CreationHook::HookProc, nullptr, GetCurrentThreadId());
    active = hookState.hook != nullptr;
    if (!active) {
        hookState.object = nullptr;
        hookState.owner = nullptr;
    }
}

CreationHook::~CreationHook() { End(); }

void CreationHook::End() {
    if (!active) return;
    if (hookState.hook) UnhookWindowsHookEx(hookState.hook);
    hookState = HookState();
    active = false;
}

LRESULT CALLBACK CreationHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = hookState.hook;
    if (code != HCBT_CREATEWND || !hookState.object) return CallNextHookEx(hook, code, wParam, lParam);
    HWND created = reinterpret_cast<HWND>(wParam);
    // The input-method window the platform may make for the thread alongside its first
    // window is never the one being created.
    wchar_t className[8] = L"";
    if (GetClassNameW(created, className, 8) && lstrcmpiW(className, L"IME") == 0)
        return CallNextHookEx(hook, code, wParam, lParam);
    Wnd* object = hookState.object;
    object->handle = created;
    WindowList::Add(object);
    if (hookState.owner) hookState.owner->bound = true;
    const LRESULT result = CallNextHookEx(hook, code, wParam, lParam);
    UnhookWindowsHookEx(hook);
    hookState.hook = nullptr;
    hookState.object = nullptr;
    return result;
}

// ---------------------------------------------------------------------------------------
// Wnd

Wnd::Wnd() : handle(nullptr), notOwned(false), subclassed(false), previousProc(nullptr) {}

Wnd::~Wnd() {
    if (handle && !notOwned && IsWindow(handle)) DestroyWindow(handle);
    handle = nullptr;
    // A window that was not destroyed here (not owned, or already gone without its
    // final message reaching the base handler) must not leave a dangling entry.
    while (WindowList::Remove(this)) {
    }
}

void Wnd::PreCreateWindow(CREATESTRUCTW&) {}
void Wnd::InitialShow() {}
void Wnd::OnDestroy() {}

LRESULT Wnd::WndProc(HWND, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_NCDESTROY:
            // The object may later make a new window, which must be bound and subclassed
            // afresh.
            WindowList::Remove(this);
            handle = nullptr;
            subclassed = false;
            previousProc = nullptr;
            break;
    }
    return 0;
}

bool Wnd::OnIdle(unsigned) { return false; }
bool Wnd::ContinueModal() { return true; }
bool Wnd::ReservedHook(LPARAM) { return false; }

bool Wnd::Create(const CREATESTRUCTW& p) {
    if (handle) return false;
    HWND created;
    {
        CreationHook hook(this);
        created = CreateWindowExW(p.dwExStyle, p.lpszClass, p.lpszName, p.style, p.x, p.y, p.cx, p.cy, p.hwndParent,
                                  p.hMenu, p.hInstance, p.lpCreateParams);
    }
    return FinishCreation(created);
}

bool Wnd::FinishCreation(HWND created) {
    if (created) return true;
    // Creation refused after binding (WM_NCCREATE / WM_CREATE said no): the window is gone,
    // so is the binding.
    WindowList::Remove(this);
    handle = nullptr;
    return false;
}

bool Wnd::CreateChild(DWORD exStyle, DWORD style, Wnd* parent) {
    CREATESTRUCTW p = {};
    p.dwExStyle = exStyle;
    p.lpszClass = SDIApp::kChildClass;
    p.style = static_cast<LONG>(style);
    p.hwndParent = parent ? parent->handle : nullptr;
    p.hInstance = GetInstance();
    return Create(p);
}

bool Wnd::Attach(HWND hwnd) {
    if (!hwnd || handle) return false;
    handle = hwnd;
    if (!WindowList::Add(this)) {
        handle = nullptr;
        return false;
    }
    return true;
}

bool Wnd::Subclass() {
    if (!handle || subclassed) return false;
    subclassed = true;
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle, GWLP_WNDPROC));
    if (current == &SDIApp::FrameProc) return false;
    previousProc = current;
    SetPropW(handle, kPreviousProcProperty, reinterpret_cast<HANDLE>(current));
    SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
    return true;
}

bool Wnd::Destroy() {
    if (handle) {
        if (!DestroyWindow(handle)) return false;
    }
    handle = nullptr;
    return true;
}

bool Wnd::Enable(bool enable) { return EnableWindow(handle, enable) != 0; }
bool Wnd::Show(int showCommand) { return ShowWindow(handle, showCommand) == 1; }
bool Wnd::Update() { return UpdateWindow(handle) == 1; }

bool Wnd::Move(int x, int y, int width, int height, bool repaint) {
    return MoveWindow(handle, x, y, width, height, repaint) == 1;
}

bool Wnd::Move(const RECT* rect, bool repaint) {
    if (!rect) return false;
    return Move(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

bool Wnd::Invalidate(const RECT* rect, bool erase) { return InvalidateRect(handle, rect, erase) != 0; }
bool Wnd::SetText(const wchar_t* text) { return SetWindowTextW(handle, text) != 0; }
int Wnd::GetText(wchar_t* buffer, int size) const { return GetWindowTextW(handle, buffer, size); }
int Wnd::GetTextLength() const { return GetWindowTextLengthW(handle); }
LONG_PTR Wnd::GetLong(int index) const { return GetWindowLongPtrW(handle, index); }
LONG_PTR Wnd::SetLong(int index, LONG_PTR value) { return SetWindowLongPtrW(handle, index, value); }

UINT_PTR Wnd::SetTimer(UINT_PTR id, UINT milliseconds, TIMERPROC callback) {
    return ::SetTimer(handle, id, milliseconds, callback);
}

HWND Wnd::SetCapture() { return ::SetCapture(handle); }
bool Wnd::ReleaseCapture() { return ::ReleaseCapture() != 0; }

bool Wnd::ScreenToClient(POINT* point) const {
    if (!point) return false;
    return ::ScreenToClient(handle, point) != 0;
}

bool Wnd::GetWindowRect(RECT* rect) const {
    if (!rect) return false;
    return ::GetWindowRect(handle, rect) == 1;
}

bool Wnd::GetClientRect(RECT* rect) const {
    if (!rect) return false;
    return ::GetClientRect(handle, rect) == 1;
}

LRESULT Wnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(handle, message, wParam, lParam);
}

bool Wnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(handle, message, wParam, lParam) != 0;
}

std::unique_ptr<ClientDC> Wnd::GetDC() { return std::make_unique<ClientDC>(handle); }

int Wnd::MessageBox(const wchar_t* text, UINT flags) {
    wchar_t caption[256] = L"";
    if (SDIApp* app = SDIApp::GetApp()) {
        if (HWND frame = app->GetHandle()) GetWindowTextW(frame, caption, 256);
    }
    return ::MessageBoxW(handle, text, caption, flags);
}

Wnd* Wnd::GetParent() const {
    HWND parent = ::GetParent(handle);
    return parent ? WindowList::FromHandle(parent) : nullptr;
}

Wnd* Wnd::SetParent(Wnd* parent) {
    HWND previous = ::SetParent(handle, parent ? parent->handle : nullptr);
    return previous ? WindowList::FromHandle(previous) : nullptr;
}

HINSTANCE Wnd::GetInstance() {
    SDIApp* app = SDIApp::GetApp();
    return app ? app->GetAppInstance() : nullptr;
}

void Wnd::RunModalLoop() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) return;
        if (!ContinueModal()) return;
        const bool ours = msg.hwnd && handle && (msg.hwnd == handle || IsChild(handle, msg.hwnd));
        if (ours || msg.message == WM_PAINT || msg.message == WM_PRINTCLIENT) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

bool Wnd::AddTool(UINT flags, UINT_PTR id, const RECT& rect, int maxTipWidth) {
    SDIApp* app = SDIApp::GetApp();
    HWND tip = app ? app->GetToolTipHandle() : nullptr;
    if (!tip || !handle) return false;
    TTTOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.uFlags = flags;
    info.hwnd = handle;
    info.uId = id;
    info.rect = rect;
    info.hinst = nullptr;
    info.lpszText = LPSTR_TEXTCALLBACKW;
    info.lParam = reinterpret_cast<LPARAM>(this);
    const bool added = ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
    ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, maxTipWidth);
    return added;
}

bool Wnd::AddToolTip(const RECT* rect, UINT_PTR id, int maxTipWidth) {
    if (!rect) return false;
    return AddTool(TTF_SUBCLASS, id, *rect, maxTipWidth);
}

bool Wnd::AddToolTip(int maxTipWidth) {
    const RECT rect = {10, 10, 11, 11};
    return AddTool(TTF_IDISHWND | TTF_SUBCLASS, reinterpret_cast<UINT_PTR>(handle), rect, maxTipWidth);
}

// ---------------------------------------------------------------------------------------
// CtrlWnd and SDIClientWnd

CtrlWnd::CtrlWnd() : controlId(0) {}

bool CtrlWnd::Create(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* windowName, int x, int y,
                     int width, int height, Wnd* parent, int id) {
    controlId = id;
    CREATESTRUCTW p = {};
    p.lpszClass = className;
    p.dwExStyle = exStyle;
    p.style = static_cast<LONG>(style);
    p.lpszName = windowName;
    p.x = x;
    p.y = y;
    p.cx = width;
    p.cy = height;
    p.hwndParent = parent ? parent->GetHandle() : nullptr;
    p.hMenu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    p.hInstance = GetInstance();
    return Wnd::Create(p);
}

bool SDIClientWnd::Create(SDIApp* frame) {
    if (!frame) return false;
    CREATESTRUCTW p = {};
    p.lpszClass = SDIApp::kChildClass;
    p.lpszName = L"";
    p.style = 0x52000000;
    p.hwndParent = frame->GetHandle();
    p.hInstance = nullptr;
    PreCreateWindow(p);
    if (!Wnd::Create(p)) return false;
    frame->SetClientWnd(this);
    return true;
}

}  // namespace TWIG4
