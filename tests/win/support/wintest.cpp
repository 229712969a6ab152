#include "support/wintest.h"

#include <fstream>
#include <iterator>
#include <map>
#include <utility>

namespace wintest {

namespace {

bool DispatchWaiting() {
    bool any = false;
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); any = true) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return any;
}

bool Before(DWORD end) { return static_cast<LONG>(end - GetTickCount()) > 0; }

std::map<UINT_PTR, OneShot*> shots;

}  // namespace

void Pump(int milliseconds, const std::function<void()>& onIdle) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        if (DispatchWaiting()) continue;
        if (onIdle) onIdle();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (Before(end));
}

void DrainQueue() {
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) continue;
}

Helper::Helper(std::function<void()> action) : work(std::move(action)) {
    thread = CreateThread(nullptr, 0, [](void* self) -> DWORD { return static_cast<Helper*>(self)->work(), 0; }, this, 0, nullptr);
}

Helper::~Helper() {
    if (thread && WaitForSingleObject(thread, 30000) != WAIT_FAILED) CloseHandle(thread);
}

bool Helper::Join(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (thread && MsgWaitForMultipleObjects(1, &thread, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) {
        DispatchWaiting();
        if (!Before(end)) return false;
    }
    return thread != nullptr;
}

OneShot::OneShot(int delayMs, std::function<void()> action) : work(std::move(action)) {
    id = SetTimer(nullptr, 0, static_cast<UINT>(delayMs), &OneShot::Tick);
    shots[id] = this;
}

OneShot::~OneShot() {
    if (id) KillTimer(nullptr, id);
    shots.erase(id);
}

void CALLBACK OneShot::Tick(HWND, UINT, UINT_PTR timerId, DWORD) {
    KillTimer(nullptr, timerId);
    auto it = shots.find(timerId);
    if (it == shots.end()) return;
    OneShot* shot = it->second;
    shots.erase(it);
    shot->id = 0;
    shot->work();
}

std::vector<HWND> FindWindows(const std::function<bool(HWND)>& match, Shown shown) {
    struct Search {
        const std::function<bool(HWND)>& match;
        bool visibleOnly;
        std::vector<HWND> found;
    } search{match, shown == Shown::Only, {}};
    EnumWindows([](HWND hwnd, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        if (process == GetCurrentProcessId() && (!s->visibleOnly || IsWindowVisible(hwnd)) && s->match(hwnd))
            s->found.push_back(hwnd);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const std::function<bool(HWND)>& match, int milliseconds, Shown shown) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    for (;; Sleep(20)) {
        const std::vector<HWND> found = FindWindows(match, shown);
        if (!found.empty()) return found.front();
        if (!Before(end)) return nullptr;
    }
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = L"";
    return std::wstring(name, static_cast<size_t>(GetClassNameW(hwnd, name, 256)));
}

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::filesystem::path DataPath(const char* name) {
    const std::string dir = BISTROPE_TEST_DATA_DIR;
    return std::filesystem::path(dir[0] == '/' ? "Z:" + dir : dir) / name;
}

Bytes ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

ScratchDir::ScratchDir() {
    static int n = 0;
    folder = std::filesystem::temp_directory_path() /
             (L"bistrope-wintest-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n++));
    std::filesystem::create_directories(folder);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    for (auto& e : std::filesystem::recursive_directory_iterator(folder, ec))
        SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(folder, ec);
}

Canvas::Canvas(int width, int height, COLORREF fill) : w(width), h(height) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    memory = CreateCompatibleDC(nullptr);
    void* data = nullptr;
    bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &data, nullptr, 0);
    bits = static_cast<std::uint32_t*>(data);
    previous = SelectObject(memory, bitmap);
    const RECT r = {0, 0, width, height};
    HBRUSH b = CreateSolidBrush(fill);
    FillRect(memory, &r, b);
    DeleteObject(b);
    GdiFlush();
}

Canvas::Canvas(Canvas&& other) noexcept
    : w(std::exchange(other.w, 0)), h(std::exchange(other.h, 0)), memory(std::exchange(other.memory, nullptr)),
      bitmap(other.bitmap), previous(other.previous), bits(std::exchange(other.bits, nullptr)) {}

Canvas::~Canvas() {
    if (!memory) return;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

COLORREF Canvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h || !bits) return CLR_INVALID;
    GdiFlush();
    const std::uint32_t v = bits[y * w + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

std::array<int, 3> Canvas::Rgb(int x, int y) const {
    const COLORREF c = Pixel(x, y);
    return c == CLR_INVALID ? std::array<int, 3>{-1, -1, -1} : std::array<int, 3>{GetRValue(c), GetGValue(c), GetBValue(c)};
}

Canvas PrintClient(HWND window, COLORREF background) {
    RECT rc = {};
    GetClientRect(window, &rc);
    Canvas canvas(rc.right, rc.bottom, background);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    return canvas;
}

Canvas CaptureClient(HWND window) {
    RECT rc = {};
    GetClientRect(window, &rc);
    Canvas canvas(rc.right, rc.bottom);
    const HDC dc = GetDC(window);
    BitBlt(canvas.dc(), 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return canvas;
}

}  // namespace wintest
