#include "framework/win/rebar.h"

#include <commctrl.h>

#include "framework/bar_layout.h"
#include "framework/win/menu_popup.h"
#include "framework/win/sdiapp.h"

namespace TWIG4 {

namespace {

HBITMAP LoadBitmapResource(int id) {
    if (!id) return nullptr;
    return static_cast<HBITMAP>(
        ::LoadImageW(Wnd::GetInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

void DeleteBitmap(HBITMAP& bitmap) {
    if (bitmap) ::DeleteObject(bitmap);
    bitmap = nullptr;
}

}  // namespace

RebarWnd::RebarWnd()
    : locked(false), owner(nullptr), bands(1), middleTile(nullptr), leftEnd(nullptr), rightEnd(nullptr) {}

RebarWnd::~RebarWnd() {
    // The window goes before the bitmaps it paints with.
    if (handle && !notOwned) Destroy();
    DeleteBitmap(middleTile);
    DeleteBitmap(leftEnd);
    DeleteBitmap(rightEnd);
}

bool RebarWnd::Create(DWORD exStyle, DWORD style, SDIApp* frame) {
    if (!frame) return false;
    owner = frame;
    if (!CtrlBarWnd::Create(REBARCLASSNAMEW, exStyle, style | kStyle, L"", 0, 0, 0, 0, frame, 0)) return false;
    subclassed = false;  // a new window; the object may have subclassed an earlier one
    Subclass();
    REBARINFO info = {};
    info.cbSize = sizeof(info);
    SendMessage(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

bool RebarWnd::LoadBackground(int middleTileId, int leftEndId, int rightEndId) {
    DeleteBitmap(middleTile);
    DeleteBitmap(leftEnd);
    DeleteBitmap(rightEnd);
    middleTile = LoadBitmapResource(middleTileId);
    leftEnd = LoadBitmapResource(leftEndId);
    rightEnd = LoadBitmapResource(rightEndId);
    return true;
}

bool RebarWnd::AddBand(CtrlBarWnd* bar, const wchar_t* text, bool newRow) {
    if (!bar) return false;
    if (owner) owner->RemoveControlBar(bar);

    RECT extent = {};
    bar->GetBarRect(&extent);
    const UINT w = static_cast<UINT>(extent.right);
    const UINT h = static_cast<UINT>(extent.bottom);

    REBARBANDINFOW band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_COLORS | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_IDEALSIZE;
    band.fStyle = kBandStyle | (newRow ? RBBS_BREAK : 0);
    band.clrFore = 0xFFFF00;
    band.clrBack = 0xFFFF80;
    band.hwndChild = bar->GetHandle();
    band.cxMinChild = w;
    band.cyMinChild = h;
    band.cx = w;
    band.cyMaxChild = h;
    band.cyIntegral = 1;
    band.cxIdeal = w;
    if (text) {
        band.fMask |= RBBIM_TEXT;
        band.lpText = const_cast<wchar_t*>(text);
    }
    if (!SendMessage(RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band))) return false;

    bands.Add(bar);
    bar->SetInBand(true);
    if (bands.Count() > 1) SetLocked(true);
    return true;
}

void RebarWnd::SetLocked(bool lock) {
    locked = lock;
    const int count = static_cast<int>(SendMessage(RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        REBARBANDINFOW band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_STYLE;
        if (!SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band))) continue;
        if (lock)
            band.fStyle |= RBBS_NOGRIPPER;
        else
            band.fStyle &= ~static_cast<UINT>(RBBS_NOGRIPPER);
        SendMessage(RB_SETBANDINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band));
    }
    if (owner) owner->RecalcLayout();
}

bool RebarWnd::OnIdle(unsigned) { return false; }

int RebarWnd::GetThickness() { return static_cast<int>(SendMessage(RB_GETBARHEIGHT, 0, 0)); }

LRESULT RebarWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kLockCommand && HIWORD(wParam) <= 1) SetLocked(!locked);
        break;
    case WM_RBUTTONDOWN:
        if (bands.Count() > 1) ShowLockMenu();
        break;
    case WM_ERASEBKGND:
        return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    default:
        break;
    }
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

void RebarWnd::ShowLockMenu() {
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return;
    ::AppendMenuW(menu, MF_STRING, kLockCommand, locked ? L"Unlock control bars" : L"Lock control bars");
    POINT at = {};
    ::GetCursorPos(&at);
    MenuPopup popup;
    popup.TrackMenu(menu, this, at.x, at.y);
    ::DestroyMenu(menu);
}

LRESULT RebarWnd::OnEraseBackground(HDC dc) {
    RECT r = {};
    GetClientRect(&r);
    HDC memory = ::CreateCompatibleDC(dc);
    if (!memory) return 1;
    const SIZE tile = BitmapSize(middleTile);
    const SIZE left = BitmapSize(leftEnd);
    const SIZE right = BitmapSize(rightEnd);
    HGDIOBJ previous = nullptr;
    for (const BackgroundCopy& copy : RebarBackgroundCopies(r.left, r.right, left.cx, right.cx, tile.cx)) {
        HBITMAP source = copy.piece == BackgroundCopy::LeftEnd ? leftEnd
                         : copy.piece == BackgroundCopy::RightEnd ? rightEnd
                                                                   : middleTile;
        const int height = copy.piece == BackgroundCopy::LeftEnd ? left.cy
                           : copy.piece == BackgroundCopy::RightEnd ? right.cy
                                                                     : tile.cy;
        HGDIOBJ replaced = ::SelectObject(memory, source);
        if (!previous) previous = replaced;
        ::BitBlt(dc, copy.x, 0, copy.width, height, memory, 0, 0, SRCCOPY);
    }
    if (previous) ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    return 1;
}

}  // namespace TWIG4
