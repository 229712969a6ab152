#pragma once
// What the Windows test suites share: pumping this thread's messages, helper threads and
// one-shot timers for modal loops, finding this process's top-level windows, test files,
// and reading what a window shows as pixels.
#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace wintest {

// Dispatches this thread's messages for about `milliseconds` (at least one pass). When the
// queue is empty, `onIdle` runs before waiting, as a main loop's idle pass would.
void Pump(int milliseconds, const std::function<void()>& onIdle = {});
void DrainQueue();  // removes this thread's queued messages undispatched

// Runs `action` on a helper thread. Join waits at most the given time, dispatching this
// thread's messages meanwhile; the destructor waits at most 30 s.
class Helper {
public:
    explicit Helper(std::function<void()> action);
    ~Helper();
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;
    bool Join(int milliseconds);

private:
    std::function<void()> work;
    HANDLE thread = nullptr;
};

// Runs `action` once on this thread `delayMs` from now, from whatever message loop runs
// then (a menu's, a modal dialog's). Killed when destroyed.
class OneShot {
public:
    OneShot(int delayMs, std::function<void()> action);
    ~OneShot();
    OneShot(const OneShot&) = delete;
    OneShot& operator=(const OneShot&) = delete;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR id = 0;
    std::function<void()> work;
};

enum class Shown { Any, Only };
// This process's top-level windows matching `match`, in z order (visible ones only with
// Shown::Only); WaitForWindow polls for the first for at most `milliseconds`.
std::vector<HWND> FindWindows(const std::function<bool(HWND)>& match, Shown shown = Shown::Any);
HWND WaitForWindow(const std::function<bool(HWND)>& match, int milliseconds, Shown shown = Shown::Any);
std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);

using Bytes = std::vector<std::uint8_t>;
std::filesystem::path DataPath(const char* name);  // a file of tests/data, through Wine's Z: drive
Bytes ReadFileBytes(const std::filesystem::path& file);  // empty when unreadable
void WriteFileBytes(const std::filesystem::path& file, const Bytes& bytes);

// A fresh folder under the temporary folder, removed (read-only files included) with it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path operator/(const std::wstring& name) const { return folder / name; }

private:
    std::filesystem::path folder;
};

// A 32-bit top-down DIB selected into a memory DC: something to draw into and read from.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(0x11, 0x22, 0x33));
    ~Canvas();
    Canvas(Canvas&& other) noexcept;  // and no copies
    HDC dc() const { return memory; }
    int width() const { return w; }
    int height() const { return h; }
    COLORREF Pixel(int x, int y) const;          // CLR_INVALID outside
    std::array<int, 3> Rgb(int x, int y) const;  // red, green, blue; {-1, -1, -1} outside

private:
    int w = 0, h = 0;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    std::uint32_t* bits = nullptr;
};

// The window's client area as drawn for WM_PRINTCLIENT over `background`, or as it is on
// the screen.
Canvas PrintClient(HWND window, COLORREF background);
Canvas CaptureClient(HWND window);

}  // namespace wintest
