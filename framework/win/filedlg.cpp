// File dialogs: open and save with a hook, centring over the owner and the view mode.
#include "framework/win/filedlg.h"

#include <commdlg.h>

#include "framework/dialog_geometry.h"

namespace TWIG4 {

namespace {

// Posted to the hook dialog at initialisation; it arrives once the dialog has made its
// controls, the shell view among them.
const UINT kViewReadyMessage = 0x8001;
const int kPathCapacity = 260;

struct ViewModeCommand {
    int mode;
    UINT command;
};
const ViewModeCommand kViewModes[] = {
    {1, 0x702C},  // details
    {2, 0x7029},  // large icons
    {3, 0x702B},  // list
    {4, 0x702E},  // tiles
    {5, 0x702D},  // thumbnails
};

// The FileDlg whose dialog is running.
FileDlg* running = nullptr;

}  // namespace

UINT FileDlg::ViewCommandForMode(int mode) {
    for (const ViewModeCommand& v : kViewModes)
        if (v.mode == mode) return v.command;
    return 0;
}

int FileDlg::ModeForViewCommand(UINT command) {
    for (const ViewModeCommand& v : kViewModes)
        if (v.command == command) return v.mode;
    return -1;
}

FileDlg::FileDlg() : viewMode(0), owner(nullptr) {}

bool FileDlg::Open(const wchar_t* initialDirectory, const wchar_t* filter, DWORD flags, Wnd* ownerWnd,
                   const int* viewModeIn, const wchar_t* title) {
    if (viewModeIn) viewMode = *viewModeIn;
    return Run(false, initialDirectory, filter, flags, ownerWnd, title);
}

bool FileDlg::SaveAs(const wchar_t* initialDirectory, const wchar_t* filter, DWORD flags, Wnd* ownerWnd,
                     const wchar_t* title) {
    return Run(true, initialDirectory, filter, flags, ownerWnd, title);
}

bool FileDlg::Run(bool save, const wchar_t* initialDirectory, const wchar_t* filter, DWORD flags, Wnd* ownerWnd,
                  const wchar_t* title) {
    owner = ownerWnd;
    if (!handle) {
        // The shell view of an earlier dialog is gone; this one gets its own.
        subclassed = false;
        previousProc = nullptr;
    }
    wchar_t file[kPathCapacity] = L"";
    if (save) lstrcpynW(file, L"untitled", kPathCapacity);

    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner ? owner->GetHandle() : nullptr;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kPathCapacity;
    ofn.lpstrInitialDir = initialDirectory;
    ofn.lpstrTitle = title;
    ofn.Flags = flags | (save ? 0x880822u : 0x881020u);
    ofn.lpstrDefExt = save ? L"jpg" : nullptr;
    ofn.lpfnHook = &FileDlg::HookProc;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);

    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (running == this) running = nullptr;
    if (!chosen) return false;
    file[kPathCapacity - 1] = L'\0';
    AssignPath(file);
    return true;
}

void FileDlg::AssignPath(const wchar_t* fullPath) {
    path.Assign(fullPath);
    directory = path.PathDirectory();
    fileName = path.PathFileName();
    extension = path.PathExtension();
}

UINT_PTR CALLBACK FileDlg::HookProc(HWND hookDialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lParam);
        running = ofn ? reinterpret_cast<FileDlg*>(ofn->lCustData) : nullptr;
        if (running) running->OnHookInit(hookDialog);
    } else if (message == kViewReadyMessage) {
        if (running) running->OnViewReady(hookDialog);
    }
    return 0;
}

void FileDlg::OnHookInit(HWND hookDialog) {
    ::PostMessageW(hookDialog, kViewReadyMessage, 0, 0);
    if (!owner || !owner->GetHandle()) return;
    HWND dialog = ::GetParent(hookDialog);
    RECT ownerRect = {}, client = {};
    if (!dialog || !owner->GetWindowRect(&ownerRect) || !::GetClientRect(dialog, &client)) return;
    ScreenRect o;
    o.left = ownerRect.left;
    o.top = ownerRect.top;
    o.right = ownerRect.right;
    o.bottom = ownerRect.bottom;
    const ScreenPoint at = CentreFileDialog(o, client.right - client.left, client.bottom - client.top);
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void FileDlg::OnViewReady(HWND hookDialog) {
    HWND dialog = ::GetParent(hookDialog);
    HWND view = dialog ? FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
    if (!view || handle) return;
    if (!Attach(view)) return;
    Subclass();
    if (const UINT command = ViewCommandForMode(viewMode)) ::SendMessageW(view, WM_COMMAND, command, 0);
}

LRESULT FileDlg::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const int mode = ModeForViewCommand(LOWORD(wParam));
        if (mode > 0) viewMode = mode;
    }
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

}  // namespace TWIG4
