#pragma once
// The dialog item operations a settings page works through. The Windows pages answer them
// from their controls (app/win/dlg_page_items.h); native tests answer them from a table.
// Every operation returns false when the page has no item with that id; readers then leave
// their out value unchanged.

namespace bistrope {

class PageItems {
public:
    virtual ~PageItems() = default;

    virtual bool GetItemPos(int id, int* position) const = 0;  // trackbar position
    virtual bool SetItemPos(int id, int position) = 0;         // trackbar position, redrawn
    virtual bool GetItemInt(int id, int* value) const = 0;     // leading integer of the text, else 0
    virtual bool GetItemDouble(int id, double* value) const = 0;  // leading number of the text, else 0
    virtual bool SetItemInt(int id, int value) = 0;               // "%d"
    virtual bool SetItemDouble(int id, double value, int decimals) = 0;  // "%.*f"
    virtual bool SetItemText(int id, const wchar_t* text) = 0;
    virtual bool EnableItem(int id, bool enable) = 0;
    virtual bool GetItemCheck(int id, bool* checked) const = 0;  // check box
    virtual bool SetItemCheck(int id, bool checked) = 0;
};

}  // namespace bistrope
