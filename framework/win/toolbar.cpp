#include "framework/win/toolbar.h"

#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "framework/bar_layout.h"
#include "framework/win/sdiapp.h"
#include "framework/win/update_ui.h"

namespace TWIG4 {

ToolBar::ToolBar() : owner(nullptr), cellWidth(32), cellHeight(32), buttonStrip(nullptr) {}

ToolBar::~ToolBar() {
    if (handle && !notOwned) Destroy();
    ReleaseStrip();
}

void ToolBar::ReleaseStrip() {
    delete buttonStrip;
    buttonStrip = nullptr;
}

bool ToolBar::Create(DWORD exStyle, DWORD style, Wnd* ownerWnd) {
    if (!ownerWnd) return false;
    owner = ownerWnd;
    if (!CtrlBarWnd::Create(TOOLBARCLASSNAMEW, exStyle, style | kStyle, L"", 0, 0, 0, 0, ownerWnd, 0)) return false;
    SendMessage(TB_SETEXTENDEDSTYLE, 0, exStyle);
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessage(TB_SETPADDING, 0, 0);
    SendMessage(TB_SETINDENT, 0, 0);
    SendMessage(TB_SETLISTGAP, 0, 0);
    subclassed = false;  // a new window; the object may have subclassed an earlier one
    Subclass();
    SetTimer(kTimerId, kTimerPeriodMs, nullptr);
    if (HWND ownTips = reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS, 0, 0)))
        ::SetWindowPos(ownTips, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

bool ToolBar::LoadButtonImages(const wchar_t* path, int w, int h) {
    ReleaseStrip();
    if (!path) return false;
    Gdiplus::Bitmap loaded(path);
    if (loaded.GetLastStatus() != Gdiplus::Ok) return false;
    const int width = static_cast<int>(loaded.GetWidth());
    const int height = static_cast<int>(loaded.GetHeight());
    if (width <= 0 || height <= 0) return false;

    Gdiplus::Bitmap* strip = new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB);
    if (strip->GetLastStatus() != Gdiplus::Ok) {
        delete strip;
        return false;
    }
    {
        Gdiplus::Graphics g(strip);
        g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        // Pixel for pixel, whatever resolution the file declares.
        g.DrawImage(&loaded, Gdiplus::Rect(0, 0, width, height), 0, 0, width, height, Gdiplus::UnitPixel);
    }
    buttonStrip = strip;
    cellWidth = w;
    cellHeight = h;
    return SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(w - 4, h)) != 0;
}

bool ToolBar::AddButton(int image, int commandId, BYTE style, BYTE state, const wchar_t* text) {
    TBBUTTON button = {};
    button.iBitmap = image;
    button.idCommand = commandId;
    button.fsState = state;
    button.fsStyle = style;
    button.iString = text ? reinterpret_cast<INT_PTR>(text) : -1;
    const bool added = SendMessage(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button)) != 0;
    OnIdle(0);
    if (added && commandId != -1) {
        RECT r = {};
        if (SendMessage(TB_GETRECT, static_cast<WPARAM>(commandId), reinterpret_cast<LPARAM>(&r)))
            AddToolTip(&r, static_cast<UINT_PTR>(commandId), kTipWidth);
    }
    return added;
}

bool ToolBar::OnIdle(unsigned) {
    if (!owner || !handle) return false;

    POINT cursor = {};
    if (::GetCursorPos(&cursor) && ScreenToClient(&cursor) &&
        SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&cursor)) < 0)
        SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);

    const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button))) continue;
        UpdateUIRecord record;
        record.enabled = (button.fsState & TBSTATE_ENABLED) != 0;
        record.checked = (button.fsState & TBSTATE_CHECKED) != 0;
        SendUpdateUI(owner, button.idCommand, &record);
        if (!handle) return false;  // the owner may have destroyed us

        // Applied by index (separators share command -1), and only what changed, so a
        // steady state causes no repainting.
        TBBUTTONINFOW info = {};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_BYINDEX;
        BYTE newState = button.fsState;
        newState = record.enabled ? (newState | TBSTATE_ENABLED) : (newState & ~TBSTATE_ENABLED);
        newState = (record.checked || record.radio) ? (newState | TBSTATE_CHECKED) : (newState & ~TBSTATE_CHECKED);
        if (newState != button.fsState) {
            info.dwMask |= TBIF_STATE;
            info.fsState = newState;
        }
        if (record.text) {
            info.dwMask |= TBIF_TEXT;
            info.pszText = const_cast<wchar_t*>(record.text);
        }
        if (record.image != kNoImageChange && record.image != button.iBitmap) {
            info.dwMask |= TBIF_IMAGE;
            info.iImage = record.image;
        }
        if (info.dwMask != TBIF_BYINDEX)
            SendMessage(TB_SETBUTTONINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    }
    return false;
}

int ToolBar::GetThickness() {
    SIZE size = {};
    SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    return size.cy;
}

bool ToolBar::GetBarRect(RECT* rect) {
    if (!rect) return false;
    SIZE size = {};
    SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    *rect = RECT{0, 0, size.cx, size.cy};
    return true;
}

bool ToolBar::BarQuery() { return true; }

LRESULT ToolBar::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam != kTimerId) break;  // the control's own timers stay the control's
        OnIdle(0);
        return 1;
    case WM_CAPTURECHANGED:
        SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
        break;
    case WM_RBUTTONDOWN:
        if (inBand) {
            // The rebar decides about its context menu.
            Wnd* rebar = GetParent();
            if (rebar) return rebar->WndProc(rebar->GetHandle(), message, wParam, lParam);
        }
        break;
    case WM_NOTIFY:
        return OnNotify(hwnd, message, wParam, lParam);
    default:
        break;
    }
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

LRESULT ToolBar::OnNotify(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (!hdr) return Wnd::WndProc(hwnd, message, wParam, lParam);
    SDIApp* app = SDIApp::GetApp();
    switch (static_cast<int>(hdr->code)) {
    case static_cast<int>(NM_CUSTOMDRAW):
        // Only our own drawing: the tooltip sends its custom draw here too.
        if (hdr->hwndFrom == handle) return OnCustomDraw(reinterpret_cast<NMTBCUSTOMDRAW*>(lParam));
        break;
    case static_cast<int>(TTN_SHOW):
        if (app) app->OnToolTipShow(wParam);
        break;
    case static_cast<int>(TTN_POP):
        if (app) app->OnToolTipPop(wParam);
        break;
    case static_cast<int>(TTN_GETDISPINFOW):
        OnTipText(reinterpret_cast<NMTTDISPINFOW*>(lParam));
        return 1;
    default:
        break;
    }
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

LRESULT ToolBar::OnCustomDraw(NMTBCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const int index =
            static_cast<int>(SendMessage(TB_COMMANDTOINDEX, static_cast<WPARAM>(draw->nmcd.dwItemSpec), 0));
        TBBUTTON button = {};
        if (index < 0 || !SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
            return CDRF_DODEFAULT;
        if (button.fsStyle & BTNS_SEP) return CDRF_DODEFAULT;  // a separator's iBitmap is its width
        DrawCell(draw->nmcd.hdc, draw->nmcd.rc, button.iBitmap, ButtonStateRow(draw->nmcd.uItemState));
        return CDRF_SKIPDEFAULT;
    }
    default:
        return 0;
    }
}

void ToolBar::DrawCell(HDC dc, const RECT& target, int imageIndex, int row) {
    if (!buttonStrip || !dc) return;
    LayoutRect cell;
    if (!StripCellRect(imageIndex, row, cellWidth, cellHeight, static_cast<int>(buttonStrip->GetWidth()),
                       static_cast<int>(buttonStrip->GetHeight()), &cell))
        return;
    Gdiplus::Graphics g(dc);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    // Mirrored edges keep the neighbouring cells from bleeding in when scaling.
    Gdiplus::ImageAttributes edges;
    edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    g.DrawImage(buttonStrip,
                Gdiplus::Rect(target.left, target.top, target.right - target.left, target.bottom - target.top),
                cell.left, cell.top, cell.Width(), cell.Height(), Gdiplus::UnitPixel, &edges);
}

void ToolBar::OnTipText(NMTTDISPINFOW* info) {
    const WPARAM id = static_cast<WPARAM>(info->hdr.idFrom);
    const LRESULT length = SendMessage(TB_GETBUTTONTEXTW, id, 0);
    std::vector<wchar_t> text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
    if (length > 0) SendMessage(TB_GETBUTTONTEXTW, id, reinterpret_cast<LPARAM>(text.data()));
    tipText.Assign(text.data());
    info->lpszText = const_cast<wchar_t*>(tipText.GetBuffer());
    info->hinst = nullptr;
}

}  // namespace TWIG4
