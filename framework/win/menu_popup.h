#pragma once
// Owner-drawn popup (context) menus.
//
// Every item of the menu (submenus included) is made owner-drawn and drawn in a fixed light
// style: an icon column with check, radio or icon marks, the text, and a shortcut after a
// tab right-aligned 18 pixels short of the item's right edge. Item states are not kept in
// the menu: each item asks the target through the UpdateUI query (update_ui.h) when it is
// drawn. A disabled item is drawn grey and never highlighted but can still be chosen; the
// target ignores commands it does not allow.
//
// The chosen command reaches the target as WM_COMMAND (wParam = id, lParam 0); dismissing
// the menu sends command 0.
//
// A MenuPopup is a local object for one menu: construct, track, destroy. Its hidden owner
// window (a child of the target) lives until the object is destroyed.
#include <windows.h>

#include "framework/win/dc.h"
#include "framework/win/wnd.h"

namespace TWIG4 {

class MenuPopup : public CtrlWnd {
public:
    static constexpr COLORREF kIconColumn = RGB(0xF0, 0xF0, 0xF0);
    static constexpr COLORREF kIconColumnHot = RGB(0xC0, 0xC8, 0xD7);
    static constexpr COLORREF kBody = RGB(0xFF, 0xFF, 0xFF);
    static constexpr COLORREF kBodyHot = RGB(0xC1, 0xD2, 0xEE);
    static constexpr COLORREF kOutlineHot = RGB(0x00, 0x00, 0xFF);
    static constexpr COLORREF kText = RGB(0x00, 0x00, 0x00);
    static constexpr COLORREF kTextDisabled = RGB(0x80, 0x80, 0x80);
    static constexpr COLORREF kTextHot = RGB(0x00, 0x00, 0x80);
    static constexpr COLORREF kSeparator = RGB(0xC4, 0xC4, 0xC4);
    static constexpr COLORREF kCheckBox = RGB(0xBE, 0xDC, 0xF0);
    static constexpr COLORREF kTick = RGB(0x20, 0x80, 0x20);
    static constexpr COLORREF kRadioFill = RGB(0xDC, 0xDC, 0xF0);
    static constexpr COLORREF kRadioOutline = RGB(0x20, 0x20, 0xF0);

    MenuPopup();
    ~MenuPopup() override;

    // Shows `menu` (made owner-drawn in place; the caller destroys it) at screen (x, y) and
    // sends the chosen command, or 0, to `target`. False when either is missing or the
    // owner window cannot be made.
    bool TrackMenu(HMENU menu, Wnd* target, int x, int y);
    // The first submenu of a menu resource of the application, tracked without animation.
    bool TrackMenuResource(int resourceId, Wnd* target, int x, int y);
    // TrackMenuResource at the cursor.
    bool TrackAtCursor(int resourceId, Wnd* target);

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Adds the owner-draw flag to every item, submenus first.
    static void MakeOwnerDraw(HMENU menu);

private:
    bool Track(HMENU trackedMenu, Wnd* trackTarget, int x, int y, UINT flags);
    void OnMeasureItem(MEASUREITEMSTRUCT* measure);
    void OnDrawItem(const DRAWITEMSTRUCT* draw);
    void DrawSeparator(DC& dc, const RECT& item);
    void DrawItem(DC& dc, const DRAWITEMSTRUCT* draw);
    int ItemText(UINT id, wchar_t* buffer, int size) const;

    Wnd* target;
    HMENU menu;
    Font font;
};

}  // namespace TWIG4
