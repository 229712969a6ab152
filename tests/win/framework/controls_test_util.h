// Helpers shared by the control tests: an off-screen canvas to read pixels from, a strip
// image writer, GDI+ for the process, and an owner window that answers UpdateUI queries
// and records the commands it gets.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/win/update_ui.h"
#include "framework/win/wnd.h"

namespace test {

// A 32-bit top-down DIB selected into a memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(0x11, 0x22, 0x33));
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return memory; }
    int width() const { return w; }
    int height() const { return h; }
    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF colour);
    // The leftmost / rightmost column in [x0, x1) of rows [y0, y1) holding a pixel whose
    // colour differs from `background`; -1 when there is none.
    int FirstColumnNot(COLORREF background, int x0, int x1, int y0, int y1) const;
    int LastColumnNot(COLORREF background, int x0, int x1, int y0, int y1) const;
    // Saves the canvas as a 24-bit BMP (for looking at a failure).
    bool Save(const std::wstring& path) const;

private:
    int w;
    int h;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    unsigned* bits = nullptr;
};

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

// Runs `action` from a thread timer `delayMs` after now, once; it is dispatched by any
// message loop of this thread (the menu loop included).
class OneShot {
public:
    OneShot(int delayMs, std::function<void()> action);
    ~OneShot();
    bool Fired() const { return fired; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR id;
    std::function<void()> work;
    bool fired = false;
};

// The visible popup menu window of this process, or null.
HWND FindMenuWindow();

}  // namespace test
