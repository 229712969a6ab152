// The fixture every shell test uses: clean test keys, a fresh MainWnd with its frame, and
// readers for what a person sees (status panes, toolbar button states).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/reg_data.h"
#include "app/win/image_view.h"
#include "framework/win/toolbar.h"
#include "framework/win/update_ui.h"
#include "shell_test_support.h"
#include "view/win/main_image_view.h"

namespace shelltest {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearTestKeys();
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = TestFolder(std::wstring(name.begin(), name.end()).c_str());
    }
    void TearDown() override { Stop(); }

    // Makes the application object and its frame.
    void Start() {
        app = std::make_unique<TestMainWnd>();
        ASSERT_TRUE(app->CreateFrame());
        wintest::Pump(50, IdlePass);
    }
    // Closes the frame and destroys the application object (which writes the settings).
    void Stop() {
        if (!app) return;
        app->DestroyFrame();
        app.reset();
    }

    HWND Frame() { return app->GetHandle(); }
    cMainImageView& View() { return app->GetView(); }
    cRegData& Settings() { return app->GetSettings(); }

    std::wstring Pane(int index) {
        wchar_t text[512] = {};
        SendMessageW(app->GetStatusBar().GetHandle(), SB_GETTEXTW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND ToolBarHandle() { return app->GetToolBar() ? app->GetToolBar()->GetHandle() : nullptr; }
    bool ButtonEnabled(int id) { return SendMessageW(ToolBarHandle(), TB_ISBUTTONENABLED, id, 0) != 0; }
    bool ButtonChecked(int id) { return SendMessageW(ToolBarHandle(), TB_ISBUTTONCHECKED, id, 0) != 0; }
    // Lets the toolbar run its state pass.
    void Refresh() {
        app->GetToolBar()->OnIdle(0);
        wintest::Pump(20, IdlePass);
    }

    // The UpdateUI answer for a command, asked through the frame as the toolbar asks.
    TWIG4::UpdateUIRecord Query(int id, bool enabled = true, bool checked = false) {
        TWIG4::UpdateUIRecord record;
        record.enabled = enabled;
        record.checked = checked;
        SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(id, TWIG4::kUpdateUICode), reinterpret_cast<LPARAM>(&record));
        return record;
    }
    // A command as a toolbar button sends it to the frame.
    void Command(int id) { SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // Writes a picture into this test's folder and loads it into a slot.
    bool Load(cImageView& slot, const wchar_t* name, int width, int height, int seed) {
        const std::wstring path = folder + L"\\" + name;
        if (!WritePicture(path, MakePicture(width, height, seed))) return false;
        const bool loaded = slot.LoadFile(path.c_str());
        wintest::Pump(20, IdlePass);
        return loaded;
    }
    bool LoadBoth(int width = 320, int height = 240) {
        return Load(app->GetLeftSlot(), L"left.jpg", width, height, 1) &&
               Load(app->GetRightSlot(), L"right.jpg", width, height, 2);
    }

    std::unique_ptr<TestMainWnd> app;
    std::wstring folder;
};

}  // namespace shelltest
