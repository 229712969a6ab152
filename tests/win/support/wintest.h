#pragma once
// What every Windows test suite shares: pumping this thread's messages, helper threads and
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

// ---- Messages --------------------------------------------------------------------------

// Dispatches this thread's messages for about `milliseconds` (at least one pass). When the
// queue is empty, `onIdle` runs before waiting, as a main loop's idle pass would.
void Pump(int milliseconds, const std::function<void()>& onIdle = {});
// Removes every queued message of this thread without dispatching it.
void DrainQueue();

// Runs `action` on a helper thread. Join waits at most the given time and dispatches this
// thread's messages meanwhile (the helper may be talking to this thread's windows); the
// destructor waits at most 30 s.
class Helper {
public:
    explicit Helper(std::function<void()> action);
    ~Helper();
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;
    bool Join(int milliseconds);

private:
    static DWORD WINAPI Main(void* self);
    std::function<void()> work;
    HANDLE thread = nullptr;
};

// Runs `action` once on this thread `delayMs` from now, from whatever message loop runs
// then (a menu's, a modal dialog's, a message box's). Killed when destroyed.
class OneShot {
public:
    OneShot(int delayMs, std::function<void()> action);
    ~OneShot();
    OneShot(const OneShot&) = delete;
    OneShot& operator=(const OneShot&) = delete;
    bool Fired() const { return fired; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR id = 0;
    std::function<void()> work;
    bool fired = false;
};

// ---- Windows ---------------------------------------------------------------------------

enum class Shown { Any, Only };

// The top-level windows of this process matching `match`, in z order; with Shown::Only
// only the visible ones. Usable from any thread.
std::vector<HWND> FindWindows(const std::function<bool(HWND)>& match, Shown shown = Shown::Any);
// The first of them, polled for at most `milliseconds`; null when none appeared.
HWND WaitForWindow(const std::function<bool(HWND)>& match, int milliseconds, Shown shown = Shown::Any);
std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);

// ---- Files -----------------------------------------------------------------------------

using Bytes = std::vector<std::uint8_t>;

// A file of tests/data; a Linux path is reached through Wine's Z: drive.
std::filesystem::path DataPath(const char* name);
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

// ---- Pixels ----------------------------------------------------------------------------

// A 32-bit top-down DIB selected into a memory DC: something to draw into and read from.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(0x11, 0x22, 0x33));
    ~Canvas();
    Canvas(Canvas&& other) noexcept;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Canvas& operator=(Canvas&&) = delete;

    HDC dc() const { return memory; }
    int width() const { return w; }
    int height() const { return h; }
    COLORREF Pixel(int x, int y) const;        // CLR_INVALID outside
    std::array<int, 3> Rgb(int x, int y) const;  // red, green, blue; {-1, -1, -1} outside
    void Fill(COLORREF colour);

private:
    int w = 0;
    int h = 0;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    std::uint32_t* bits = nullptr;
};

// The window's client area as the window draws it for WM_PRINTCLIENT, over `background`.
Canvas PrintClient(HWND window, COLORREF background);
// The window's client area as it is on the screen (copied from its device context).
Canvas CaptureClient(HWND window);

}  // namespace wintest
