// MainWnd: the application object and the main frame window in one. It owns everything
// else of the program: the settings record, the stereo document, the stereo view, the two
// image slots, the client window, the rebar with the toolbar and the status bar; and it
// carries out every command (app/commands.h).
//
// Exactly one exists, a static object made before the entry function runs:
//   construction  GDI+ started, settings record made and loaded, the document (which asks
//                 the settings for every conversion), the stereo view and the left and
//                 right slots, each listening to the document; no window yet.
//   Run           (TWIG4::SDIApp) creates the frame; its create message builds the
//                 children (OnCreate); InitialShow restores the saved placement.
//   running       toolbar buttons, keys, the view's context menu and slot clicks reach the
//                 frame as WM_COMMAND, and the command table carries them out or answers
//                 their state queries.
//   closing       OnDestroy saves the placement under "WindowPos".
//   destruction   slots, view, document and toolbar, then the settings record (which
//                 writes the settings), then GDI+ shut down, then the client window, rebar
//                 and status bar.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/win/client_wnd.h"
#include "document/stereo_document.h"
#include "framework/string.h"
#include "framework/win/rebar.h"
#include "framework/win/sdiapp.h"
#include "framework/win/statusbar.h"
#include "view/status_text.h"

class cImageView;
class cMainImageView;
class cRegData;

namespace TWIG4 {
class ToolBar;
struct UpdateUIRecord;
}

class MainWnd : public TWIG4::SDIApp, public bistrope::StatusPanes, public bistrope::CommandTarget {
public:
    // The program passes no arguments; tests give keys of their own so that they never
    // touch the program's settings and window placement.
    explicit MainWnd(const wchar_t* settingsKey = nullptr, const wchar_t* placementKey = nullptr);
    ~MainWnd() override;

    // Restores the window placement saved under "WindowPos" (first run: 656 x 464 in the
    // middle of the virtual screen). A window closed minimised starts minimised; one saved
    // hidden opens normally.
    void InitialShow() override;
    // Saves the window placement.
    void OnDestroy() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Opens the files of the command line (SetStartFiles) once the window is up.
    bool OnFirstIdle() override;
    // Minimum tracking size 626 x 461.
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    // While one of the program's tooltips shows, the stereo view does not draw.
    void OnToolTipShow(UINT_PTR toolId) override;
    void OnToolTipPop(UINT_PTR toolId) override;

    // Status pane 0 to 4 (bistrope::StatusPanes).
    void SetStatusText(int pane, const wchar_t* text) override;

    // --- Commands (bistrope::CommandTarget) ---------------------------------------------
    bistrope::CommandContext Context() const override;
    bool SetBlendMode(int mode) override;
    bool SetInteractionMode(bistrope::InteractionMode mode) override;
    // The settings sheet, centred over the stereo view; after OK with changed matrices or
    // texture size the previews are rebuilt.
    bool OpenSettings() override;
    // The save dialog, then WriteOutputImage. False when cancelled, refused or failed.
    bool Save() override;
    bool ShowAbout() override;
    bool ZoomAll() override;
    bool ResetAlignment() override;
    // The open dialog in the folder last used for the eye, then LoadFile.
    bool Load(bistrope::Eye eye) override;
    // Exchanges the eyes under the progress dialog; a preview that cannot be made is
    // reported and both eyes stay as they were.
    bool SwapEyes() override;
    // Aligns the eyes under the progress dialog; the status line tells the matches, a
    // refusal is explained in a message box and the alignment stays.
    bool AutoAlign() override;
    bool NudgeAlignment(const bistrope::Alignment& step) override;

    // The files given on the command line, opened at the first idle pass (app/open_plan.h).
    void SetStartFiles(std::vector<std::wstring> files) { startFiles = std::move(files); }
    // Loads files given together (command line, drop) as app/open_plan.h plans it; `target`
    // is the eye whose slot they were dropped on. A plan that cannot be carried out is
    // explained in a message box.
    void OpenFiles(const std::vector<std::wstring>& files, std::optional<bistrope::Eye> target);

    // Loads a file for an eye under the progress dialog "Loading image..." (a stereo file
    // fills both eyes); a file that cannot be loaded is reported in a message box over the
    // eye's slot, and everything stays as it was. False then. With the "Auto align" setting
    // on, a load that leaves both eyes filled aligns them (a refusal only shows in the
    // status line).
    bool LoadFile(bistrope::Eye eye, const wchar_t* path);
    // Renders the anaglyph at full size and writes it as a JPEG file under the progress
    // dialog; a failure is shown in a message box naming the file and the reason.
    bool WriteOutputImage(const wchar_t* path);
    // Remakes both previews under the progress dialog and redraws; a preview that cannot
    // be remade is reported over its slot and the previous one stays.
    void RebuildPreviews();

    cImageView& GetSlot(bistrope::Eye eye) { return eye == bistrope::Eye::Left ? *leftSlot : *rightSlot; }
    cMainImageView& GetView() { return *view; }
    bistrope::StereoDocument& GetDocument() { return *document; }
    cRegData& GetSettings() { return *settings; }
    TWIG4::ToolBar* GetToolBar() { return toolBar.get(); }
    TWIG4::StatusBar& GetStatusBar() { return statusBar; }

protected:
    // Message handlers.
    LRESULT OnCreate();
    void OnSize();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnUpdateUI(int commandId, TWIG4::UpdateUIRecord& record) const;
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void OnDropFiles(HDROP drop);

private:
    bool CreateToolBar();
    // The folder setting of an eye.
    TWIG4::String& FolderSetting(bistrope::Eye eye);
    // AutoAlign's work; `asked`: the user asked for it (a refusal gets a message box).
    bool AlignAutomatically(bool asked);

    // Members in the order they are made (and, in reverse, destroyed).
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    TWIG4::StatusBar statusBar;
    TWIG4::RebarWnd rebar;
    ClientWnd client;
    std::unique_ptr<TWIG4::ToolBar> toolBar;
    std::unique_ptr<cRegData> settings;
    std::unique_ptr<bistrope::StereoDocument> document;
    std::unique_ptr<cMainImageView> view;
    std::unique_ptr<cImageView> leftSlot;
    std::unique_ptr<cImageView> rightSlot;
    std::vector<std::wstring> startFiles;
};
