// The application suite's fixture: a MainWnd on test registry keys, made afresh for every
// test with its frame created as Run creates it but without Run's loop, so the test drives
// the messages; and readers for what a person sees.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/reg_data.h"
#include "app/win/image_view.h"
#include "app/win/main_wnd.h"
#include "engine/image.h"
#include "support/wintest.h"
#include "view/win/main_image_view.h"

namespace apptest {

constexpr const wchar_t* kSettingsKey = L"Software\\Bistrope-tests\\app\\settings";
constexpr const wchar_t* kPlacementKey = L"Software\\Bistrope-tests\\app\\placement";

class TestMainWnd : public MainWnd {
public:
    TestMainWnd() : MainWnd(kSettingsKey, kPlacementKey) {}
    // The application's Start (Run without its loop), then a first pump with idle passes.
    bool CreateFrame();
    // Destroys the frame (saving its placement) and drops the quit message.
    void DestroyFrame();
    // Offers a key press to the accelerator table as the main loop does.
    bool PressKey(UINT virtualKey, bool control = false);
};

// An idle pass as the main loop makes one (the toolbar asks for its states).
void IdlePass();
using Rgb = std::array<int, 3>;
// A picture of one colour above its middle row and another from there down.
bistrope::SourceImage Solid(int width, int height, Rgb top, Rgb bottom);
// The text of a message box.
std::wstring MessageBoxText(HWND box);

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { Stop(); }
    void Start();
    void Stop();

    HWND Frame() { return app->GetHandle(); }
    cMainImageView& View() { return app->GetView(); }
    bistrope::StereoDocument& Doc() { return app->GetDocument(); }
    cRegData& Settings() { return app->GetSettings(); }
    std::wstring Pane(int index);
    bool ButtonEnabled(int id);
    bool ButtonChecked(int id);
    // A command as a toolbar button sends it to the frame.
    void Command(int id) { SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // Writes a picture as a JPEG (quality 95) into the test's folder; returns its path.
    std::wstring WritePicture(const wchar_t* name, int width, int height, int seed);
    // Loads pictures into both eyes through the frame's load flow.
    void LoadBoth(int width = 320, int height = 240);
    // What OpenGL drew for the view's last frame, rows bottom first, RGB.
    std::vector<std::uint8_t> ViewPixels(int& width, int& height);

    std::unique_ptr<TestMainWnd> app;
    std::unique_ptr<wintest::ScratchDir> folder;
};

}  // namespace apptest
