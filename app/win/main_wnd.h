// MainWnd: the application object and the main frame window in one. It owns everything
// else of the program: the settings record, the two image slots, the stereo view, the
// client window, the rebar with the toolbar and the status bar.
//
// Exactly one exists, a static object made before the entry function runs:
//   construction  GDI+ started, settings record made and loaded, left slot, right slot,
//                 stereo view (which registers itself with both slots); no window yet.
//   Run           (TWIG4::SDIApp) creates the frame; its create message builds the
//                 children (OnCreate); InitialShow restores the saved placement.
//   running       every command and wheel message reaches the stereo view, which carries
//                 out all commands and answers the toolbar's state queries.
//   closing       OnDestroy saves the placement under "WindowPos".
//   destruction   slots, view and toolbar, then the settings record (which writes the
//                 settings), then GDI+ shut down, then the client window, rebar and status
//                 bar: nothing that holds an image outlives the image library.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include "app/win/client_wnd.h"
#include "framework/win/rebar.h"
#include "framework/win/sdiapp.h"
#include "framework/win/statusbar.h"
#include "view/image_slot.h"

class cImageView;
class cMainImageView;
class cRegData;

namespace TWIG4 {
class ToolBar;
}

class MainWnd : public TWIG4::SDIApp, public bistrope::StatusPanes {
public:
    // The program passes no arguments; tests give keys of their own so that they never
    // touch the program's settings and window placement.
    explicit MainWnd(const wchar_t* settingsKey = nullptr, const wchar_t* placementKey = nullptr);
    ~MainWnd() override;

    // Restores the window placement saved under "WindowPos" (first run: 656 x 464 in the
    // middle of the virtual screen).
    void InitialShow() override;
    // Saves the window placement.
    void OnDestroy() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnFirstIdle() override;
    // Minimum tracking size 626 x 461.
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    // While one of the program's tooltips shows, the stereo view does not draw.
    void OnToolTipShow(UINT_PTR toolId) override;
    void OnToolTipPop(UINT_PTR toolId) override;

    // Status pane 0 to 4 (bistrope::StatusPanes).
    void SetStatusText(int pane, const wchar_t* text) override;

    cImageView& GetLeftSlot() { return *leftSlot; }
    cImageView& GetRightSlot() { return *rightSlot; }
    cMainImageView& GetView() { return *view; }
    cRegData& GetSettings() { return *settings; }
    TWIG4::ToolBar* GetToolBar() { return toolBar; }
    TWIG4::StatusBar& GetStatusBar() { return statusBar; }
    TWIG4::RebarWnd& GetRebar() { return rebar; }
    ClientWnd& GetClient() { return client; }

protected:
    // Message handlers.
    LRESULT OnCreate();
    void OnSize();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);

private:
    bool CreateToolBar();

    // Members in the order they are made (and, in reverse, destroyed).
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    TWIG4::StatusBar statusBar;
    TWIG4::RebarWnd rebar;
    TWIG4::ToolBar* toolBar = nullptr;
    ClientWnd client;
    cImageView* leftSlot = nullptr;
    cImageView* rightSlot = nullptr;
    cMainImageView* view = nullptr;
    cRegData* settings = nullptr;
};
