#include "framework/win/menu_popup.h"

#include <string>

#include "framework/menu_layout.h"
#include "framework/win/dc.h"
#include "framework/win/update_ui.h"

namespace TWIG4 {

namespace {

RECT ToRect(const LayoutRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
LayoutRect ToLayout(const RECT& r) { return LayoutRect{r.left, r.top, r.right, r.bottom}; }

void Fill(DC& dc, const LayoutRect& r, COLORREF colour) {
    const RECT rc = ToRect(r);
    dc.FillRect(&rc, colour);
}

// A one-pixel outline just inside r.
void Outline(DC& dc, const LayoutRect& r, COLORREF colour) {
    const RECT rc = ToRect(r);
    dc.FrameRect(&rc, colour);
}

}  // namespace

MenuPopup::MenuPopup() : target(nullptr), menu(nullptr), font(-11, L"Tahoma", 128, 0) {}

MenuPopup::~MenuPopup() {
    if (handle && !notOwned) Destroy();
}

bool MenuPopup::TrackMenu(HMENU trackedMenu, Wnd* trackTarget, int x, int y) {
    return Track(trackedMenu, trackTarget, x, y, TPM_RETURNCMD);
}

bool MenuPopup::TrackMenuResource(int resourceId, Wnd* trackTarget, int x, int y) {
    if (!trackTarget) return false;
    HMENU loaded = ::LoadMenuW(GetInstance(), MAKEINTRESOURCEW(resourceId));
    if (!loaded) return false;
    HMENU popup = ::GetSubMenu(loaded, 0);
    const bool shown = popup && Track(popup, trackTarget, x, y, TPM_RETURNCMD | TPM_NOANIMATION);
    ::DestroyMenu(loaded);
    if (shown) PostMessage(WM_NULL, 0, 0);
    return shown;
}

bool MenuPopup::TrackAtCursor(int resourceId, Wnd* trackTarget) {
    if (!trackTarget) return false;
    POINT at = {};
    ::GetCursorPos(&at);
    return TrackMenuResource(resourceId, trackTarget, at.x, at.y);
}

bool MenuPopup::Track(HMENU trackedMenu, Wnd* trackTarget, int x, int y, UINT flags) {
    if (!trackedMenu || !trackTarget) return false;
    target = trackTarget;
    menu = trackedMenu;
    MakeOwnerDraw(menu);
    // The hidden owner is made once per object; a second menu reuses it.
    if (!handle && !CtrlWnd::Create(L"TWIG4_CTRL_CLASS", 0, WS_CHILD, L"", 0, 0, 0, 0, trackTarget, 0))
        return false;
    const int chosen = static_cast<int>(::TrackPopupMenu(menu, flags, x, y, 0, handle, nullptr));
    ::SendMessageW(target->GetHandle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    return true;
}

void MenuPopup::MakeOwnerDraw(HMENU m) {
    const int count = ::GetMenuItemCount(m);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(m, i)) MakeOwnerDraw(sub);
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        if (!::GetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &info)) continue;
        info.fType |= MFT_OWNERDRAW;
        ::SetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &info);
    }
}

LRESULT MenuPopup::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return 1;
    case WM_MEASUREITEM:
        OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        break;
    case WM_DRAWITEM:
        OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        break;
    default:
        break;
    }
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

int MenuPopup::ItemText(UINT id, wchar_t* buffer, int size) const {
    buffer[0] = L'\0';
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = static_cast<UINT>(size);
    if (!menu || !::GetMenuItemInfoW(menu, id, FALSE, &info)) {
        buffer[0] = L'\0';
        return 0;
    }
    buffer[size - 1] = L'\0';
    return static_cast<int>(info.cch);
}

void MenuPopup::OnMeasureItem(MEASUREITEMSTRUCT* measure) {
    if (!measure || measure->CtlType != ODT_MENU) return;
    int textWidth = 0;
    if (measure->itemID != 0) {
        wchar_t text[256];
        const int length = ItemText(measure->itemID, text, 256);
        if (HDC window = ::GetDC(handle)) {
            {
                DC dc(window);
                dc.Select(&font);
                SIZE size = {};
                if (dc.GetTextExtent(text, length, &size)) textWidth = size.cx;
            }  // the font is selected out before the context goes back
            ::ReleaseDC(handle, window);
        }
    }
    const LayoutSize s = MeasureMenuItem(measure->itemID == 0, textWidth);
    measure->itemWidth = static_cast<UINT>(s.width);
    measure->itemHeight = static_cast<UINT>(s.height);
}

void MenuPopup::OnDrawItem(const DRAWITEMSTRUCT* draw) {
    if (!draw || draw->CtlType != ODT_MENU || !draw->hDC) return;
    DC dc(draw->hDC);
    dc.Select(&font);
    if (draw->itemID == 0)
        DrawSeparator(dc, draw->rcItem);
    else
        DrawItem(dc, draw);
}

void MenuPopup::DrawSeparator(DC& dc, const RECT& item) {
    const MenuItemAreas a = MenuItemLayout(ToLayout(item));
    Fill(dc, a.iconColumn, kIconColumn);
    Fill(dc, a.body, kBody);
    const MenuSeparatorLine line = MenuSeparatorLineOf(a.text);
    dc.Line(line.x1, line.y, line.x2, line.y, kSeparator);
}

void MenuPopup::DrawItem(DC& dc, const DRAWITEMSTRUCT* draw) {
    UpdateUIRecord record;
    SendUpdateUI(target, static_cast<int>(draw->itemID), &record);

    const LayoutRect item = ToLayout(draw->rcItem);
    const MenuItemAreas a = MenuItemLayout(item);
    const bool highlighted = (draw->itemState & ODS_SELECTED) && record.enabled;
    Fill(dc, a.iconColumn, highlighted ? kIconColumnHot : kIconColumn);
    Fill(dc, a.body, highlighted ? kBodyHot : kBody);
    if (highlighted) Outline(dc, item, kOutlineHot);

    wchar_t buffer[256];
    ItemText(draw->itemID, buffer, 256);
    const MenuText text = SplitMenuText(buffer);
    dc.SetBackgroundMode(TRANSPARENT);
    dc.SetTextColour(highlighted ? kTextHot : record.enabled ? kText : kTextDisabled);
    const UINT flags = DT_SINGLELINE | DT_VCENTER;
    RECT textRect = ToRect(a.text);
    dc.DrawText(text.label.c_str(), static_cast<int>(text.label.size()), &textRect, flags | DT_LEFT);
    if (text.hasShortcut) {
        RECT shortcutRect = ToRect(a.shortcut);
        dc.DrawText(text.shortcut.c_str(), static_cast<int>(text.shortcut.size()), &shortcutRect, flags | DT_RIGHT);
    }

    if (record.checked) {
        Outline(dc, a.markBox, kCheckBox);
        const auto tick = MenuTickPoints(a.markBox);
        POINT points[3];
        for (int i = 0; i < 3; ++i) points[i] = POINT{tick[i].x, tick[i].y};
        Pen pen(PS_SOLID, 3, kTick);
        dc.Select(&pen);
        ::Polyline(dc.GetHandle(), points, 3);
    }
    if (record.radio) {
        Fill(dc, a.markBox, kRadioFill);
        Outline(dc, a.markBox, kRadioOutline);
        const LayoutRect dot = MenuRadioDot(a.markBox);
        Brush black(RGB(0, 0, 0));
        Pen edge(PS_SOLID, 0, RGB(0, 0, 0));
        dc.Select(&black);
        dc.Select(&edge);
        ::Ellipse(dc.GetHandle(), dot.left, dot.top, dot.right, dot.bottom);
    }
    if (!record.checked && !record.radio && record.icon) {
        ::DrawIconEx(dc.GetHandle(), a.markBox.left, a.markBox.top, record.icon, a.markBox.Width(),
                     a.markBox.Height(), 0, nullptr, DI_NORMAL);
    }
}

}  // namespace TWIG4
