#include "shell_test_support.h"

#include <commctrl.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "engine/decode.h"
#include "engine/jpeg_writer.h"
#include "framework/win/wnd.h"

namespace shelltest {

bool TestMainWnd::CreateFrame() {
    instance = GetModuleHandleW(nullptr);
    showCommand = SW_SHOWNORMAL;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x4FF};
    InitCommonControlsEx(&controls);
    if (!RegisterWindowClasses()) return false;
    CREATESTRUCTW p = {};
    p.lpszClass = kFrameClass;
    p.lpszName = title;
    p.style = 0x06CF0000;
    p.x = CW_USEDEFAULT;
    p.cx = CW_USEDEFAULT;
    p.hInstance = instance;
    PreCreateWindow(p);
    if (!Create(p)) return false;
    InitialShow();
    wintest::Pump(50, IdlePass);
    return true;
}

void TestMainWnd::DestroyFrame() {
    if (GetHandle()) Destroy();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
    }
}

bool TestMainWnd::PressKey(UINT virtualKey, bool control) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_LCONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG msg = {};
    msg.hwnd = GetHandle();
    msg.message = WM_KEYDOWN;
    msg.wParam = virtualKey;
    msg.lParam = 1;
    const bool translated = TranslateAcceleratorW(GetHandle(), accelerators, &msg) != 0;
    keys[VK_CONTROL] = 0;
    keys[VK_LCONTROL] = 0;
    SetKeyboardState(keys);
    return translated;
}

void ClearTestKeys() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, kPlacementKey);
}

namespace {

std::wstring SubKey(const wchar_t* key, const wchar_t* section) {
    return section && section[0] ? std::wstring(key) + L"\\" + section : std::wstring(key);
}

}  // namespace

bool ReadDword(const wchar_t* key, const wchar_t* section, const wchar_t* name, DWORD& value) {
    DWORD size = sizeof(value);
    return RegGetValueW(HKEY_CURRENT_USER, SubKey(key, section).c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS;
}

bool ReadString(const wchar_t* key, const wchar_t* section, const wchar_t* name, std::wstring& value) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, SubKey(key, section).c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

bool WriteDword(const wchar_t* key, const wchar_t* section, const wchar_t* name, DWORD value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, SubKey(key, section).c_str(), name, REG_DWORD, &value, sizeof(value)) ==
           ERROR_SUCCESS;
}

void IdlePass() {
    for (unsigned i = 0; i < TWIG4::WindowList::Count(); ++i)
        if (TWIG4::Wnd* w = TWIG4::WindowList::At(i)) w->OnIdle(0);
}

// --- Timers ---------------------------------------------------------------------------------

namespace {
std::map<UINT_PTR, Poller*>& Pollers() {
    static std::map<UINT_PTR, Poller*> pollers;
    return pollers;
}
}  // namespace

Poller::Poller(int periodMs, int limitMs, std::function<bool()> pollFn, std::function<void()> giveUpFn)
    : end(GetTickCount() + static_cast<DWORD>(limitMs)), poll(std::move(pollFn)), giveUp(std::move(giveUpFn)) {
    id = SetTimer(nullptr, 0, static_cast<UINT>(periodMs), &Poller::Tick);
    Pollers()[id] = this;
}

Poller::~Poller() {
    if (id) KillTimer(nullptr, id);
    Pollers().erase(id);
}

void CALLBACK Poller::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Pollers().find(id);
    if (it == Pollers().end()) {
        KillTimer(nullptr, id);
        return;
    }
    Poller* p = it->second;
    if (p->done || p->gaveUp) return;
    // A modal loop started by `poll` may deliver this timer again; it is stopped first.
    KillTimer(nullptr, id);
    Pollers().erase(it);
    p->id = 0;
    bool finished = p->poll && p->poll();
    if (finished) {
        p->done = true;
        return;
    }
    if (static_cast<LONG>(p->end - GetTickCount()) <= 0) {
        p->gaveUp = true;
        if (p->giveUp) p->giveUp();
        return;
    }
    p->id = SetTimer(nullptr, 0, 50, &Poller::Tick);
    Pollers()[p->id] = p;
}


// --- Windows --------------------------------------------------------------------------------

std::vector<HWND> VisibleWindowsOfClass(const wchar_t* cls) {
    return wintest::FindWindows([cls](HWND w) { return wintest::ClassOf(w) == cls; }, wintest::Shown::Only);
}

std::wstring MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? TextOf(text) : std::wstring();
}

// --- Files and pictures ---------------------------------------------------------------------

std::wstring TestFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder = std::filesystem::path(temp) / L"bistrope-shell-tests" / name;
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder, ec);
    return folder.wstring();
}

bistrope::ConvertedImage MakePicture(int width, int height, int seed) {
    bistrope::ConvertedImage image = bistrope::ConvertedImage::Create(width, height);
    const double kTwoPi = 6.283185307179586;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.row(y);
        for (int x = 0; x < width; ++x) {
            // Smooth ramps plus diagonal ripples: a one-pixel shift changes
            // values by up to about 10, more than JPEG changes most of them.
            const double ripple = std::sin(kTwoPi * (x + y + 5 * seed) / 24.0);
            const double ripple2 = std::sin(kTwoPi * (x - y + 3 * seed) / 32.0);
            const double r = 40 + 140.0 * x / width + 40 * ripple;
            const double g = 50 + 120.0 * y / height + 30 * ripple2 + (seed * 17) % 30;
            const double b = 190 - 130.0 * (x + y) / (width + height) + 30 * ripple;
            auto clamp = [](double v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); };
            row[3 * x + 0] = clamp(b);
            row[3 * x + 1] = clamp(g);
            row[3 * x + 2] = clamp(r);
        }
    }
    return image;
}

bool WritePicture(const std::wstring& path, const bistrope::ConvertedImage& image) {
    return bistrope::WriteJpegFile(std::filesystem::path(path), image, 95).ok();
}

bistrope::ConvertedImage ReadPicture(const std::wstring& path) {
    bistrope::DecodeResult decoded = bistrope::DecodeImageFile(std::filesystem::path(path));
    bistrope::ConvertedImage out;
    if (!decoded.ok()) return out;
    const bistrope::SourceImage& src = decoded.image;
    out = bistrope::ConvertedImage::Create(src.width(), src.height());
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            for (int c = 0; c < 3; ++c) out.row(y)[3 * x + c] = src.row(y)[4 * x + c];
    return out;
}

}  // namespace shelltest
