#pragma once
// The three pages of the settings dialog. Each edits the settings record only in OnApply,
// which the sheet calls on OK; what each page does is in app/*_page_rules.h.

#include <windows.h>

#include "app/reg_data.h"
#include "app/win/dlg_page_items.h"
#include "framework/win/prop_sheet.h"

// "Output settings": the JPEG quality.
class cGeneralPage : public TWIG4::PropPage2 {
public:
    cGeneralPage(int templateId, cRegData& settings);
    ~cGeneralPage() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnApply() override;

private:
    void OnInitDialog();
    void OnHScroll();

    cRegData& settings;
    DlgPageItems items;
};

// "Custom colour blending": the two custom matrices.
class cBlendPage : public TWIG4::PropPage2 {
public:
    cBlendPage(int templateId, cRegData& settings);
    ~cBlendPage() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnApply() override;

private:
    void OnInitDialog();
    void OnCommand(WPARAM wParam);

    cRegData& settings;
    DlgPageItems items;
};

// "Advanced settings": the largest preview texture edge.
class cAdvancedSettings : public TWIG4::PropPage2 {
public:
    cAdvancedSettings(int templateId, cRegData& settings);
    ~cAdvancedSettings() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnApply() override;

private:
    void OnInitDialog();
    void OnCommand(WPARAM wParam);

    cRegData& settings;
    DlgPageItems items;
};
