// Helpers shared by the control tests: a strip image writer, GDI+ for the process, the
// open popup menu, and an owner window that answers UpdateUI queries and records the
// commands it gets.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/win/update_ui.h"
#include "support/wintest.h"
#include "framework/win/wnd.h"

namespace test {

// Writes a 24-bit BMP whose pixel (x, y) is colour(x, y).
bool WriteBmp24(const std::wstring& path, int width, int height, const std::function<COLORREF(int, int)>& colour);
// A path in the process's temporary folder.
std::wstring TempFile(const std::wstring& name);

// Starts GDI+ once for the test program (the application does this itself).
void EnsureGdiplus();

// An owner that answers UpdateUI queries from a table and records queries and commands.
class OwnerWnd : public TWIG4::Wnd {
public:
    struct Answer {
        bool enabled = true;
        bool checked = false;
        bool radio = false;
        int image = TWIG4::kNoImageChange;
        const wchar_t* text = nullptr;
    };
    std::map<int, Answer> answers;  // by command id (-1 for separators); absent: unchanged
    std::vector<int> queries;       // command ids asked, in order (low word sign-extended)
    std::vector<int> commands;      // WM_COMMAND ids that were not queries, in order
    std::function<void(int)> onCommand;

    // A hidden popup window at (x, y) of the given size.
    bool Make(int x, int y, int width, int height);
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    int QueriesFor(int id) const;
};

// The visible popup menu window of this process, or null.
inline HWND FindMenuWindow() {
    const auto menus = wintest::FindWindows([](HWND w) { return wintest::ClassOf(w) == L"#32768"; }, wintest::Shown::Only);
    return menus.empty() ? nullptr : menus.front();
}

}  // namespace test
