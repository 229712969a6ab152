#pragma once
// The item operations of a settings page, answered from the page's dialog controls.

#include "app/page_items.h"
#include "framework/win/dlg.h"

class DlgPageItems : public bistrope::PageItems {
public:
    explicit DlgPageItems(TWIG4::Dlg& dialog) : dlg(dialog) {}

    bool GetItemPos(int id, int* position) const override { return dlg.GetItemPos(id, position); }
    bool SetItemPos(int id, int position) override { return dlg.SetItemPos(id, position); }
    bool GetItemInt(int id, int* value) const override { return dlg.GetItemInt(id, value); }
    bool GetItemDouble(int id, double* value) const override { return dlg.GetItemDouble(id, value); }
    bool SetItemInt(int id, int value) override { return dlg.SetItemInt(id, value); }
    bool SetItemDouble(int id, double value, int decimals) override { return dlg.SetItemDouble(id, value, decimals); }
    bool SetItemText(int id, const wchar_t* text) override { return dlg.SetItemText(id, text); }
    bool EnableItem(int id, bool enable) override;
    bool GetItemCheck(int id, bool* checked) const override;
    bool SetItemCheck(int id, bool checked) override;

private:
    TWIG4::Dlg& dlg;
};
