#include "app/win/settings_pages.h"

#include "app/advanced_page_rules.h"
#include "app/blend_page_rules.h"
#include "app/output_page_rules.h"
#include "resources/app_ids.h"

bool DlgPageItems::EnableItem(int id, bool enable) {
    HWND item = dlg.GetItem(id);
    if (!item) return false;
    ::EnableWindow(item, enable ? TRUE : FALSE);
    return true;
}

bool DlgPageItems::GetItemCheck(int id, bool* checked) const {
    HWND item = dlg.GetItem(id);
    if (!item) return false;
    *checked = ::SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return true;
}

bool DlgPageItems::SetItemCheck(int id, bool checked) {
    HWND item = dlg.GetItem(id);
    if (!item) return false;
    ::SendMessageW(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
}

// ---------------------------------------------------------------------------------------
// cGeneralPage

cGeneralPage::cGeneralPage(int templateId, cRegData& data) : PropPage2(templateId), settings(data), items(*this) {}

cGeneralPage::~cGeneralPage() = default;

LRESULT cGeneralPage::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        break;
    case WM_HSCROLL:
        OnHScroll();
        break;
    default:
        break;
    }
    return PropPage2::WndProc(hwnd, message, wParam, lParam);
}

void cGeneralPage::OnInitDialog() { bistrope::OutputPageInit(items, settings); }

void cGeneralPage::OnHScroll() { bistrope::OutputPageScrolled(items); }

void cGeneralPage::OnApply() { bistrope::OutputPageApply(items, settings); }

// ---------------------------------------------------------------------------------------
// cBlendPage

cBlendPage::cBlendPage(int templateId, cRegData& data) : PropPage2(templateId), settings(data), items(*this) {}

cBlendPage::~cBlendPage() = default;

LRESULT cBlendPage::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        break;
    case WM_COMMAND:
        OnCommand(wParam);
        break;
    default:
        break;
    }
    return PropPage2::WndProc(hwnd, message, wParam, lParam);
}

void cBlendPage::OnInitDialog() { bistrope::BlendPageInit(items, settings); }

void cBlendPage::OnCommand(WPARAM wParam) {
    if (HIWORD(wParam) == EN_CHANGE) bistrope::BlendPageEdited(settings);
}

void cBlendPage::OnApply() { bistrope::BlendPageApply(items, settings); }

// ---------------------------------------------------------------------------------------
// cAdvancedSettings

cAdvancedSettings::cAdvancedSettings(int templateId, cRegData& data)
    : PropPage2(templateId), settings(data), items(*this) {}

cAdvancedSettings::~cAdvancedSettings() = default;

LRESULT cAdvancedSettings::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        break;
    case WM_COMMAND:
        OnCommand(wParam);
        break;
    default:
        break;
    }
    return PropPage2::WndProc(hwnd, message, wParam, lParam);
}

void cAdvancedSettings::OnInitDialog() { bistrope::AdvancedPageInit(items, settings); }

void cAdvancedSettings::OnCommand(WPARAM wParam) {
    if (LOWORD(wParam) == IDC_TEXSIZE_RESET)
        bistrope::AdvancedPageReset(items, settings);
    else if (HIWORD(wParam) == EN_CHANGE)
        bistrope::AdvancedPageEdited(items, settings);
}

void cAdvancedSettings::OnApply() { bistrope::AdvancedPageApply(items, settings); }
