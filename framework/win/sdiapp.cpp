// Application object: start-up, window classes, the frame's message handler, layout and
// the main message loop.
#include "framework/win/sdiapp.h"

#include <commctrl.h>

#include <cstdint>

#include "framework/registry.h"

#include "framework/win/ctrlbar.h"
#include "framework/win/tooltip.h"

namespace TWIG4 {

namespace {

SDIApp* application = nullptr;

}  // namespace

SDIApp* SDIApp::GetApp() { return application; }

SDIApp::SDIApp(const wchar_t* titleText, const wchar_t* appKeyName)
    : instance(nullptr),
      showCommand(0),
      client(nullptr),
      controlBars(nullptr),
      title(titleText),
      userRegistry(nullptr),
      machineRegistry(nullptr),
      firstIdle(true),
      accelerators(nullptr),
      toolTip(nullptr) {
    application = this;
    WindowList::CreateList();
    controlBars = new List<CtrlBarWnd*>(1);
    userRegistry = new Registry(appKeyName, Hive::CurrentUser);
    machineRegistry = new Registry(appKeyName, Hive::LocalMachine);
    toolTip = new ToolTipWnd();
}

SDIApp::~SDIApp() {
    WindowList::DeleteList();
    delete controlBars;
    controlBars = nullptr;
    delete userRegistry;
    userRegistry = nullptr;
    delete machineRegistry;
    machineRegistry = nullptr;
    delete toolTip;
    toolTip = nullptr;
    if (application == this) application = nullptr;
}

// ---------------------------------------------------------------------------------------
// Start-up

int SDIApp::Run(HINSTANCE moduleInstance, const wchar_t*, int show) {
    if (!Start(moduleInstance, show)) return -1;
    return MessageLoop();
}

bool SDIApp::Start(HINSTANCE moduleInstance, int show) {
    instance = moduleInstance;
    showCommand = show;

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = 0x4FF;
    InitCommonControlsEx(&controls);

    if (!RegisterWindowClasses()) return false;

    CREATESTRUCTW params = {};
    params.lpszClass = kFrameClass;
    params.lpszName = title;
    params.style = 0x06CF0000;
    params.dwExStyle = 0;
    params.x = CW_USEDEFAULT;
    params.cx = CW_USEDEFAULT;
    params.y = 0;
    params.cy = 0;
    params.hInstance = instance;
    PreCreateWindow(params);
    if (!Create(params)) return false;

    SetLong(GWL_EXSTYLE, GetLong(GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_COMPOSITED));
    InitialShow();
    return true;
}

bool SDIApp::RegisterWindowClasses() {
    struct ClassSpec {
        const wchar_t* name;
        UINT style;
        WNDPROC proc;
    };
    const ClassSpec classes[] = {
        {kFrameClass, 0x000B, &SDIApp::FrameProc},
        {kChildClass, 0x000B, &ChildProc},
        {kCtrlClass, 0x000B, &ChildProc},
        {kDropShadowClass, 0x2080B, &ChildProc},
    };
    for (const ClassSpec& spec : classes) {
        WNDCLASSEXW existing = {};
        existing.cbSize = sizeof(existing);
        if (GetClassInfoExW(instance, spec.name, &existing) && existing.lpfnWndProc == spec.proc) continue;
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = spec.style;
        wc.lpfnWndProc = spec.proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = spec.name;
        if (!RegisterClassExW(&wc)) return false;
    }
    return true;
}

void SDIApp::InitialShow() {
    Show(SW_SHOWNORMAL);
    Update();
}

// ---------------------------------------------------------------------------------------
// Frame messages

LRESULT CALLBACK SDIApp::FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (WindowList::Exists()) {
        if (message == WM_CREATE && application && application->handle == hwnd) application->CreateToolTipWindow();
        const LRESULT result = Dispatch(hwnd, message, wParam, lParam);
        if (result) return result;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void SDIApp::CreateToolTipWindow() {
    if (toolTip && !toolTip->GetHandle()) toolTip->Create(this);
}

HWND SDIApp::GetToolTipHandle() const {
    return toolTip ? toolTip->GetHandle() : nullptr;
}

LRESULT SDIApp::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        case WM_SIZE:
            RecalcLayout();
            break;
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
            break;
        case WM_NOTIFY:
            if (lParam && reinterpret_cast<const NMHDR*>(lParam)->code == RBN_HEIGHTCHANGE) RecalcLayout();
            break;
    }
    if (client && (message == WM_NOTIFY || message == WM_COMMAND || message == WM_MOUSEWHEEL)) {
        const LRESULT result = client->WndProc(hwnd, message, wParam, lParam);
        if (result) return result;
    }
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

bool SDIApp::OnFirstIdle() { return false; }
LRESULT SDIApp::OnThreadMessage(UINT, WPARAM, LPARAM) { return 0; }
void SDIApp::OnGetMinMaxInfo(MINMAXINFO*) {}
void SDIApp::OnToolTipShow(UINT_PTR) {}
void SDIApp::OnToolTipPop(UINT_PTR) {}

bool SDIApp::LoadAccelerators(int resourceId) {
    if (resourceId == 0) return false;
    accelerators = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(resourceId));
    return accelerators != nullptr;
}

bool SDIApp::SetClientWnd(SDIClientWnd* clientWnd) {
    client = clientWnd;
    return client != nullptr;
}

// ---------------------------------------------------------------------------------------
// Control bars and layout

bool SDIApp::AddControlBar(CtrlBarWnd* bar) { return controlBars && controlBars->Add(bar); }

bool SDIApp::RemoveControlBar(CtrlBarWnd* bar) {
    if (!controlBars) return false;
    const int index = controlBars->Find(bar);
    return index >= 0 && controlBars->RemoveAt(static_cast<unsigned>(index));
}

unsigned SDIApp::GetControlBarCount() const { return controlBars ? controlBars->Count() : 0; }

void SDIApp::RecalcLayout() {
    RECT rect = {};
    if (!GetClientRect(&rect)) return;
    for (unsigned i = 0; controlBars && i < controlBars->Count(); ++i) {
        if (CtrlBarWnd* bar = controlBars->At(i)) bar->Reposition(&rect);
    }
    if (client) client->Move(&rect, true);
}

// ---------------------------------------------------------------------------------------
// The main loop

bool SDIApp::IsIdleMessage(const MSG* msg) {
    if (!msg) return true;
    switch (msg->message) {
        case WM_DESTROY:
        case WM_PAINT:
        case WM_NCPAINT:
        case WM_TIMER:
        case WM_MOUSEMOVE:
            return false;
        default:
            return true;
    }
}

int SDIApp::MessageLoop() {
    try {
        bool idle = true;
        unsigned idleCount = 0;
        MSG msg;
        for (;;) {
            while (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                if (firstIdle) {
                    firstIdle = false;
                    OnFirstIdle();
                }
                bool more = false;
                for (unsigned i = 0; i < WindowList::Count(); ++i) {
                    Wnd* wnd = WindowList::At(i);
                    if (wnd && wnd->OnIdle(idleCount)) more = true;
                }
                ++idleCount;
                idle = more;
            }
            do {
                const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
                if (got == 0 || got == -1) return 0;
                if (!msg.hwnd) {
                    OnThreadMessage(msg.message, msg.wParam, msg.lParam);
                    continue;
                }
                if (!accelerators || !TranslateAcceleratorW(handle, accelerators, &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
                if (!idle && IsIdleMessage(&msg)) {
                    idle = true;
                    idleCount = 0;
                }
            } while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
        }
    } catch (...) {
        ReportUnhandledException();
        return 0;
    }
}

void SDIApp::ReportUnhandledException() {
    try {
        wchar_t caption[256] = L"";
        if (handle) GetWindowTextW(handle, caption, 256);
        ::MessageBoxW(handle, L"Unhandled exception", caption, 0x1010);
    } catch (...) {
    }
}

// ---------------------------------------------------------------------------------------
// Window placement

namespace {

const wchar_t* const kPlacementNames[5] = {L"rect.left", L"rect.top", L"rect.right", L"rect.bottom", L"cmd"};

}  // namespace

bool SDIApp::RestoreWindowPlacement(const wchar_t* keyName, const RECT& defaultRect) {
    if (!keyName || !keyName[0] || !userRegistry) return false;
    const std::int32_t defaults[5] = {defaultRect.left, defaultRect.top, defaultRect.right, defaultRect.bottom,
                                      SW_SHOWNORMAL};
    std::int32_t values[5];
    bool all = true;
    for (int i = 0; i < 5; ++i) {
        if (!userRegistry->ReadDword(keyName, kPlacementNames[i], values[i], defaults[i])) all = false;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    placement.flags = 0;
    placement.showCmd = static_cast<UINT>(values[4]);
    placement.rcNormalPosition = {values[0], values[1], values[2], values[3]};
    SetWindowPlacement(handle, &placement);
    return all;
}

bool SDIApp::SaveWindowPlacement(const wchar_t* keyName) {
    if (!keyName || !keyName[0] || !userRegistry) return false;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(handle, &placement)) return false;
    const std::int32_t values[5] = {placement.rcNormalPosition.left, placement.rcNormalPosition.top,
                                    placement.rcNormalPosition.right, placement.rcNormalPosition.bottom,
                                    static_cast<std::int32_t>(placement.showCmd)};
    for (int i = 0; i < 5; ++i) {
        if (!userRegistry->WriteDword(keyName, kPlacementNames[i], values[i])) return false;
    }
    return true;
}

}  // namespace TWIG4
