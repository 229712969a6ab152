#include "framework/win/tree.h"

namespace TWIG4 {

bool TreeWnd::Create(DWORD exStyle, DWORD style, const wchar_t* text, int x, int y, int width, int height,
                     Wnd* parent, int id) {
    if (!CtrlWnd::Create(WC_TREEVIEWW, exStyle, style | WS_CHILD | WS_VISIBLE, text, x, y, width, height, parent, id))
        return false;
    subclassed = false;  // a new window; the object may have subclassed an earlier one
    Subclass();
    return true;
}

HTREEITEM TreeWnd::InsertItem(HTREEITEM parent, HTREEITEM insertAfter, const wchar_t* text, LPARAM param) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text ? text : L"");
    insert.item.lParam = param;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool TreeWnd::SelectItem(HTREEITEM item) {
    return SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

LPARAM TreeWnd::GetItemParam(HTREEITEM item) {
    if (!item) return 0;
    TVITEMW tv = {};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return 0;
    return tv.lParam;
}

}  // namespace TWIG4
