#pragma once
// The tree control ("SysTreeView32") the property sheet lists its pages in.
#include <windows.h>
#include <commctrl.h>

#include "framework/win/wnd.h"

namespace TWIG4 {

class TreeWnd : public CtrlWnd {
public:
    // Visible child with the given styles added; subclassed.
    bool Create(DWORD exStyle, DWORD style, const wchar_t* text, int x, int y, int width, int height, Wnd* parent,
                int id);
    // A new item with text and parameter under `parent` after `insertAfter` (TVI_ROOT,
    // TVI_LAST and friends allowed); null on failure.
    HTREEITEM InsertItem(HTREEITEM parent, HTREEITEM insertAfter, const wchar_t* text, LPARAM param);
    // Makes the item the selected (caret) item, which notifies TVN_SELCHANGEDW.
    bool SelectItem(HTREEITEM item);
    // The item's parameter; 0 when the item cannot be read.
    LPARAM GetItemParam(HTREEITEM item);
};

}  // namespace TWIG4
