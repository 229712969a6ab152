#include "app/win/main_wnd.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/frame_layout.h"
#include "app/open_plan.h"
#include "app/reg_data.h"
#include "app/win/image_view.h"
#include "framework/win/toolbar.h"
#include "framework/win/update_ui.h"
#include "resources/app_ids.h"
#include "view/texture_limit.h"
#include "view/win/main_image_view.h"

using namespace bistrope;

namespace {

constexpr DWORD kStatusBarStyle = 0x0103;  // docked at the bottom, with a size grip

BYTE ButtonStyle(ToolbarEntryKind kind) {
    switch (kind) {
    case ToolbarEntryKind::AutoSizeButton:
        return BTNS_AUTOSIZE;
    case ToolbarEntryKind::Separator:
        return BTNS_SEP;
    case ToolbarEntryKind::PlainButton:
    default:
        return BTNS_BUTTON;
    }
}

// The toolbar strip's path beside the program, for a start from another working folder.
std::wstring BesideProgram(const wchar_t* fileName) {
    wchar_t module[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::wstring path(module, n);
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    return path.substr(0, slash + 1) + fileName;
}

}  // namespace

MainWnd::MainWnd(const wchar_t* settingsKey, const wchar_t* placementKey)
    : SDIApp(kFrameTitle, placementKey ? placementKey : kPlacementKey) {
    // Version 1, no debug callback, background thread and external codecs not suppressed
    // (the input's defaults).
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr) != Gdiplus::Ok) gdiplusToken = 0;
    settings = std::make_unique<cRegData>(settingsKey ? settingsKey : cRegData::kSettingsKey);
    (void)settings->Load();
    document = std::make_unique<StereoDocument>([this] { return settings->Conversion(); });
    // The view listens first: its textures exist before a slot paints the new thumbnail.
    view = std::make_unique<cMainImageView>(*document, *this);
    leftSlot = std::make_unique<cImageView>(Eye::Left, *document);
    rightSlot = std::make_unique<cImageView>(Eye::Right, *document);
}

MainWnd::~MainWnd() {
    leftSlot.reset();
    rightSlot.reset();
    view.reset();
    document.reset();
    toolBar.reset();
    settings.reset();  // writes every setting
    if (gdiplusToken) Gdiplus::GdiplusShutdown(gdiplusToken);
    gdiplusToken = 0;
}

// --- Messages -----------------------------------------------------------------------------

LRESULT MainWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        if (OnCreate() < 0) return -1;
        break;
    case WM_SIZE:
        OnSize();
        return 1;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        break;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        return 1;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        break;
    }
    return SDIApp::WndProc(hwnd, message, wParam, lParam);
}

LRESULT MainWnd::OnCreate() {
    HICON icon = static_cast<HICON>(
        ::LoadImageW(GetInstance(), MAKEINTRESOURCEW(IDI_BISTROPE), IMAGE_ICON, 48, 48, LR_DEFAULTCOLOR | LR_SHARED));
    if (icon) SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));

    (void)client.Create(this);
    // Without the stereo view there is no program: the frame's creation fails.
    if (!view->Create(&client, 0, 0, 0, 0)) return -1;
    // The preview's size bound follows what this OpenGL implementation can hold.
    const TextureLimits limits = ApplyTextureLimit({settings->maxTexSize, settings->hardwareMaxTexSize},
                                                   view->QueryImplementationTextureSize());
    settings->maxTexSize = limits.maxTexSize;
    settings->hardwareMaxTexSize = limits.hardwareMaxTexSize;
    (void)leftSlot->Create(&client, 0, 0, 0, 0);
    (void)rightSlot->Create(&client, 0, 0, 0, 0);

    if (rebar.Create(0, 0, this)) (void)rebar.LoadBackground(IDB_REBAR_MIDDLE, IDB_REBAR_LEFT, IDB_REBAR_RIGHT);
    if (statusBar.Create(0, kStatusBarStyle, this))
        (void)statusBar.SetParts(static_cast<int>(kInitialPaneEdges.size()), kInitialPaneEdges.data());
    if (CreateToolBar()) (void)rebar.AddBand(toolBar.get(), nullptr, false);
    (void)LoadAccelerators(IDR_ACCELERATORS);
    ::DragAcceptFiles(handle, TRUE);
    return 0;
}

bool MainWnd::CreateToolBar() {
    toolBar = std::make_unique<TWIG4::ToolBar>();
    if (!toolBar->Create(TBSTYLE_EX_MIXEDBUTTONS, TBSTYLE_LIST, this)) return false;
    // Without the strip the buttons have no images; the commands still work.
    if (!toolBar->LoadButtonImages(kToolbarImageFile, kToolbarCell, kToolbarCell)) {
        const std::wstring beside = BesideProgram(kToolbarImageFile);
        if (!beside.empty()) (void)toolBar->LoadButtonImages(beside.c_str(), kToolbarCell, kToolbarCell);
    }
    for (const ToolbarEntry& entry : ToolbarEntries()) {
        if (entry.kind == ToolbarEntryKind::Separator)
            (void)toolBar->AddButton(kToolbarSeparatorWidth, -1, BTNS_SEP, 0, nullptr);
        else
            (void)toolBar->AddButton(entry.image, entry.command, ButtonStyle(entry.kind), 0, entry.tip);
    }
    return true;
}

void MainWnd::OnSize() {
    // Twice: the rebar's height settles only once it knows its width.
    RecalcLayout();
    RecalcLayout();
    RECT area{};
    client.GetClientRect(&area);
    const FrameLayout layout = LayoutFrame(area.right - area.left, area.bottom - area.top);
    const auto move = [](TWIG4::Wnd& wnd, const TWIG4::LayoutRect& r, bool repaint) {
        if (wnd.GetHandle()) (void)wnd.Move(r.left, r.top, r.Width(), r.Height(), repaint);
    };
    move(*leftSlot, layout.leftSlot, false);
    move(*rightSlot, layout.rightSlot, false);
    move(*view, layout.view, true);
    (void)statusBar.SetParts(kStatusPaneCount, layout.paneEdges.data());
}

void MainWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Toolbar buttons, accelerators, menu items and slot clicks, and the state queries of
    // the toolbar and the context menu.
    const WORD code = HIWORD(wParam);
    const int id = LOWORD(wParam);
    if (code == TWIG4::kUpdateUICode) {
        if (lParam) OnUpdateUI(id, *reinterpret_cast<TWIG4::UpdateUIRecord*>(lParam));
    } else if (code == 0 || code == 1) {
        (void)bistrope::ExecuteCommand(id, *this);
    }
}

void MainWnd::OnUpdateUI(int commandId, TWIG4::UpdateUIRecord& record) const {
    const std::optional<CommandState> state = QueryCommandState(commandId, Context());
    if (!state) return;
    record.enabled = state->enabled;
    if (state->checked) record.checked = *state->checked;
}

void MainWnd::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    if (view && view->GetHandle()) (void)::SendMessageW(view->GetHandle(), WM_MOUSEWHEEL, wParam, lParam);
}

void MainWnd::OnDropFiles(HDROP drop) {
    std::vector<std::wstring> files;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), length + 1));
        files.push_back(path);
    }
    POINT at{};
    const bool inClient = ::DragQueryPoint(drop, &at) != 0;
    ::DragFinish(drop);
    // The slot under the drop point, if any.
    std::optional<Eye> target;
    if (inClient && ::ClientToScreen(handle, &at)) {
        for (const Eye eye : {Eye::Left, Eye::Right}) {
            RECT slot{};
            if (GetSlot(eye).GetHandle() && GetSlot(eye).GetWindowRect(&slot) && ::PtInRect(&slot, at)) target = eye;
        }
    }
    SortByName(files);
    OpenFiles(files, target);
}

// --- Placement, limits, tooltips -------------------------------------------------------

void MainWnd::InitialShow() {
    const TWIG4::LayoutRect r =
        DefaultFrameRect(::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    (void)RestoreWindowPlacement(kPlacementSection, RECT{r.left, r.top, r.right, r.bottom});
    // A window closed while minimised starts minimised; a damaged show state that would
    // leave it invisible opens it normally instead.
    if (!::IsWindowVisible(handle)) ::ShowWindow(handle, SW_SHOWNORMAL);
    Update();
}

void MainWnd::OnDestroy() { (void)SaveWindowPlacement(kPlacementSection); }

void MainWnd::OnGetMinMaxInfo(MINMAXINFO* info) {
    if (!info) return;
    info->ptMinTrackSize.x = kMinTrackWidth;
    info->ptMinTrackSize.y = kMinTrackHeight;
}

void MainWnd::OnToolTipShow(UINT_PTR) {
    if (view) view->SuspendDrawing();
}

void MainWnd::OnToolTipPop(UINT_PTR) {
    if (view) view->ResumeDrawing();
}

void MainWnd::SetStatusText(int pane, const wchar_t* text) {
    if (statusBar.GetHandle()) (void)statusBar.SetPartText(pane, text);
}
