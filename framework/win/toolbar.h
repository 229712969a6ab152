#pragma once
// The toolbar: a control bar ("ToolbarWindow32") that draws its buttons itself from one
// image strip and keeps their states current by asking its owner.
//
// Image strip: cells of cellWidth x cellHeight pixels; the column is a button's image index,
// the row its drawing state (0 normal, 1 hot, 2 pressed, 3 checked, 4 disabled; disabled
// wins over checked, checked over pressed, pressed over hot). A cell not wholly inside the
// strip is not drawn. The control draws no frame and no text for a button; texts are only
// the buttons' tooltips.
//
// States: on every idle pass of the main loop and on its own 100 ms timer the toolbar sends
// its owner the UpdateUI query (framework/win/update_ui.h) for every button, separators
// included, and applies the answer (enabled; checked when checked or radio; text; image).
#include <windows.h>
#include <commctrl.h>

#include "framework/string.h"
#include "framework/win/ctrlbar.h"

namespace Gdiplus {
class Bitmap;
}

namespace TWIG4 {

class ToolBar : public CtrlBarWnd {
public:
    static constexpr UINT_PTR kTimerId = 100;
    static constexpr UINT kTimerPeriodMs = 100;
    static constexpr DWORD kStyle = 0x5000804C;  // visible child, transparent, no divider, no parent alignment
    static constexpr int kTipWidth = 300;

    ToolBar();
    ~ToolBar() override;

    // The toolbar, child of `owner`, which gets the UpdateUI queries and the commands.
    // `exStyle` is both the window's and the toolbar's extended style; padding, indent and
    // list gap are 0; the state timer starts. False without an owner.
    bool Create(DWORD exStyle, DWORD style, Wnd* owner);
    // Loads the image strip (any format the image library reads) with the given cell size.
    // False, and no images, when the file cannot be read or is empty.
    bool LoadButtonImages(const wchar_t* path, int cellWidth, int cellHeight);
    // Appends a button (a separator: style BTNS_SEP, command -1, `image` its width), asks
    // its state at once, and registers a tooltip for it unless it is a separator.
    bool AddButton(int image, int commandId, BYTE style, BYTE state, const wchar_t* text);

    // The UpdateUI pass; never asks for more idle passes.
    bool OnIdle(unsigned idleCount) override;
    // The height of the toolbar's maximum size.
    int GetThickness() override;
    // (0, 0, maximum width, maximum height).
    bool GetBarRect(RECT* rect) override;
    bool BarQuery() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    Wnd* GetOwner() const { return owner; }
    bool HasImages() const { return buttonStrip != nullptr; }

private:
    LRESULT OnNotify(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCustomDraw(NMTBCUSTOMDRAW* draw);
    void OnTipText(NMTTDISPINFOW* info);
    void DrawCell(HDC dc, const RECT& target, int imageIndex, int row);
    void ReleaseStrip();

    Wnd* owner;
    int cellWidth;
    int cellHeight;
    Gdiplus::Bitmap* buttonStrip;
    String tipText;
};

}  // namespace TWIG4
