// The shell tests' application: a MainWnd on test registry keys, made afresh for every test
// (the program makes exactly one; one at a time is what the framework needs), with the
// frame created as Run creates it but without Run's message loop, so the test drives the
// messages itself. Plus helpers: pumping, timers that drive modal windows away, test images.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win/main_wnd.h"
#include "support/wintest.h"
#include "engine/image.h"

namespace shelltest {

using wintest::TextOf;

constexpr const wchar_t* kSettingsKey = L"Software\\Bistrope-tests\\shell\\settings";
constexpr const wchar_t* kPlacementKey = L"Software\\Bistrope-tests\\shell\\placement";

class TestMainWnd : public MainWnd {
public:
    TestMainWnd() : MainWnd(kSettingsKey, kPlacementKey) {}
    // Run's steps before its loop: common controls, classes, the frame, InitialShow.
    bool CreateFrame();
    // Destroys the frame (saving its placement) and drops the quit message.
    void DestroyFrame();
    HACCEL GetAccelerators() const { return accelerators; }
    // Offers a key press to the accelerator table as the main loop does.
    bool PressKey(UINT virtualKey, bool control = false);
};

// Deletes both test keys.
void ClearTestKeys();
// A DWORD / string value under a test key's section; false when missing.
bool ReadDword(const wchar_t* key, const wchar_t* section, const wchar_t* name, DWORD& value);
bool ReadString(const wchar_t* key, const wchar_t* section, const wchar_t* name, std::wstring& value);
bool WriteDword(const wchar_t* key, const wchar_t* section, const wchar_t* name, DWORD value);

// An idle pass as the main loop makes one (the toolbars ask for their states), for
// wintest::Pump.
void IdlePass();

using wintest::OneShot;

// Repeats `poll` every `periodMs` (from inside any message loop) until it returns true or
// `limitMs` pass; then `giveUp` runs once. Done() tells which happened.
class Poller {
public:
    Poller(int periodMs, int limitMs, std::function<bool()> poll, std::function<void()> giveUp);
    ~Poller();
    Poller(const Poller&) = delete;
    Poller& operator=(const Poller&) = delete;
    bool Done() const { return done; }
    bool GaveUp() const { return gaveUp; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR id = 0;
    DWORD end = 0;
    std::function<bool()> poll;
    std::function<void()> giveUp;
    bool done = false;
    bool gaveUp = false;
};

// For modal loops that dispatch only their own window's messages (the settings sheet's).
using wintest::Helper;

// Visible top-level windows of this process of a class (e.g. "#32770").
std::vector<HWND> VisibleWindowsOfClass(const wchar_t* cls);
// The message text of a message box (its static control).
std::wstring MessageBoxText(HWND box);

// A folder for this run's files under the temporary folder, emptied first.
std::wstring TestFolder(const wchar_t* name);
// A smooth, deterministic test picture: red, green and blue ramps with diagonal ripples
// that differ per `seed`, so that a shift of one pixel shows.
bistrope::ConvertedImage MakePicture(int width, int height, int seed);
// Writes `image` as a JPEG of quality 95; false on failure.
bool WritePicture(const std::wstring& path, const bistrope::ConvertedImage& image);
// Decodes a file to 24-bit pixels (empty on failure).
bistrope::ConvertedImage ReadPicture(const std::wstring& path);

}  // namespace shelltest
