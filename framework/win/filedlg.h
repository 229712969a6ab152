// TWIG4 file dialogs: the platform's explorer-style open and save dialogs with a hook.
//
// Besides running the dialog and splitting the chosen path, a FileDlg centres the dialog
// over its owner and carries a file view mode into and out of the dialog through the
// dialog's shell list view ("SHELLDLL_DefView"): while the dialog runs, the FileDlg object
// is bound (Attach + Subclass) to that view window, applies the caller's mode to it with
// the view's own command and notices when the user picks another view. Without such a view
// the mode is carried through unchanged.
//
// View modes (the numbers the settings store) and the view commands behind them:
//   0 none (as the platform opens it), 1 details 0x702C, 2 large icons 0x7029,
//   3 list 0x702B, 4 tiles 0x702E, 5 thumbnails 0x702D; small icons (0x702A) has no mode.
//
// A FileDlg is a local object used for one dialog at a time (one file dialog runs at a
// time in the process). Paths longer than 259 characters are refused by the platform.
#pragma once

#include <windows.h>

#include "framework/string.h"
#include "framework/win/wnd.h"

namespace TWIG4 {

class FileDlg : public Wnd {
public:
    // The view command id of a mode (0 for mode 0 and unknown modes), and the mode a view
    // command selects (-1 for commands without a mode).
    static UINT ViewCommandForMode(int mode);
    static int ModeForViewCommand(UINT command);

    FileDlg();

    // Runs the open dialog: buffer initially empty, flags | OFN_EXPLORER | OFN_ENABLESIZING
    // | OFN_ENABLEHOOK | OFN_FILEMUSTEXIST. `viewModeIn` (may be null) gives the view mode
    // to open with. True with the chosen path; false on cancel or error (the path fields
    // are then unchanged).
    bool Open(const wchar_t* initialDirectory, const wchar_t* filter, DWORD flags, Wnd* owner,
              const int* viewModeIn, const wchar_t* title);
    // Runs the save dialog: buffer initially "untitled", default extension "jpg", flags |
    // OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK | OFN_PATHMUSTEXIST |
    // OFN_OVERWRITEPROMPT. The view mode is the object's own (0 for a new object).
    bool SaveAs(const wchar_t* initialDirectory, const wchar_t* filter, DWORD flags, Wnd* owner,
                const wchar_t* title);

    int GetViewMode() const { return viewMode; }
    const String& GetPath() const { return path; }
    // `path` before its last backslash (empty when it has none).
    const String& GetDirectory() const { return directory; }
    // `path` after its last backslash (all of it when it has none).
    const String& GetFileName() const { return fileName; }
    // The file name after its last dot (empty when it has none).
    const String& GetExtension() const { return extension; }

    // The subclassed shell view: a view command records its mode; everything then goes on
    // to Wnd::WndProc and the view's own procedure.
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Sets `path` and cuts `directory`, `fileName` and `extension` from it.
    void AssignPath(const wchar_t* fullPath);

    int viewMode;
    String path;
    String directory;
    String fileName;
    String extension;
    Wnd* owner;

private:
    bool Run(bool save, const wchar_t* initialDirectory, const wchar_t* filter, DWORD flags, Wnd* ownerWnd,
             const wchar_t* title);
    void OnHookInit(HWND hookDialog);
    void OnViewReady(HWND hookDialog);
    static UINT_PTR CALLBACK HookProc(HWND hookDialog, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace TWIG4
