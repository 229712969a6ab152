// The real open dialog, driven from a helper thread: the view switched, a name typed into
// the file-name field, then Enter.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/win/filedlg.h"
#include "test_app.h"

using TWIG4::FileDlg;

namespace {

const wchar_t kFilter[] = L"JPEG files\0*.jpg;*.jpeg\0All files\0*.*\0";

struct Driven {
    bool found = false;
    RECT window = {}, client = {};
    LONG listStyleBefore = -1, listStyleAfter = -1;  // of the shell view's list
};

HWND FileNameEdit(HWND dialog) {
    // The file-name combo box (cmb13) with an edit inside, or an edit (edt1) of its own.
    HWND combo = GetDlgItem(dialog, 0x47C), edit = nullptr;
    if (!combo) return GetDlgItem(dialog, 0x480);
    EnumChildWindows(combo, [](HWND w, LPARAM found) {
        return wintest::ClassOf(w) == L"Edit" ? (*reinterpret_cast<HWND*>(found) = w, FALSE) : TRUE;
    }, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

// Finds the dialog by its title, switches its view to details when asked, then types `name`
// and presses Enter, or cancels when there is no name. Cancels it should it stay open.
void Drive(const wchar_t* title, const wchar_t* name, bool details, Driven& out) {
    HWND dialog = wintest::WaitForWindow([&](HWND w) { return wintest::TextOf(w) == title; }, 15000, wintest::Shown::Only);
    if (!dialog) return;
    out.found = true;
    HWND view = nullptr;
    for (int i = 0; i < 100 && !(view = FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr)); ++i) Sleep(50);
    Sleep(300);  // the hook's posted message is handled
    GetWindowRect(dialog, &out.window);
    GetClientRect(dialog, &out.client);
    const auto listStyle = [&] {
        HWND list = view ? FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
        return list ? GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK : -1;
    };
    out.listStyleBefore = listStyle();
    if (details && view) SendMessageW(view, WM_COMMAND, 0x702C, 0);  // what the view's own menu sends
    out.listStyleAfter = listStyle();
    HWND edit = FileNameEdit(dialog);
    if (name && edit) {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
        PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    } else {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    for (int i = 0; i < 200 && IsWindow(dialog); ++i) Sleep(50);
    while (IsWindow(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0), Sleep(200);
}

class FileDialogs : public ::testing::Test {
protected:
    // A folder with a dot in its name, holding left.photo.jpg.
    std::filesystem::path folder = std::filesystem::temp_directory_path() / L"bistrope.filedlg";
    void SetUp() override {
        test::App().Prepare();
        std::filesystem::create_directories(folder);
        wintest::WriteFileBytes(folder / L"left.photo.jpg", {0xFF, 0xD8, 0xFF, 0xD9});
    }
    void TearDown() override {
        std::error_code ec;  // the dialog made the folder the current one
        std::filesystem::current_path(folder.parent_path(), ec);
        std::filesystem::remove_all(folder, ec);
    }
    std::wstring Path(const wchar_t* name) const { return (folder / name).wstring(); }
};

TEST_F(FileDialogs, OpenGivesTheChosenFileInPartsAndTheViewTheUserChose) {
    TWIG4::Wnd owner;
    ASSERT_TRUE(owner.CreateChild(0, WS_POPUP, nullptr));
    owner.Move(100, 100, 600, 400, false);
    FileDlg dlg;
    const int listMode = 3;
    Driven seen;
    wintest::Helper helper([&] { Drive(L"Open the left image", L"left.photo.jpg", true, seen); });
    const bool chosen = dlg.Open(folder.c_str(), kFilter, OFN_HIDEREADONLY, &owner, &listMode, L"Open the left image");
    ASSERT_TRUE(helper.Join(30000));
    ASSERT_TRUE(seen.found) << "the dialog did not appear";
    ASSERT_TRUE(chosen);
    EXPECT_EQ(std::wstring(dlg.GetPath().GetBuffer()), Path(L"left.photo.jpg"));
    EXPECT_EQ(std::wstring(dlg.GetDirectory().GetBuffer()), folder.wstring());
    EXPECT_STREQ(dlg.GetFileName().GetBuffer(), L"left.photo.jpg");
    EXPECT_STREQ(dlg.GetExtension().GetBuffer(), L"jpg");
    // Centred over the owner by the client size at initialisation; the platform's dialog
    // grows afterwards while it lays out its controls (Wine: by about two dozen pixels).
    EXPECT_EQ(seen.window.left, (100 + 700 - seen.client.right) / 2);
    EXPECT_LE(std::abs(seen.window.top - (100 + 500 - seen.client.bottom) / 2), 30);
    // Opened in the list view it was given; the switch to details came back as mode 1.
    EXPECT_EQ(seen.listStyleBefore, LVS_LIST);
    EXPECT_EQ(seen.listStyleAfter, LVS_REPORT);
    EXPECT_EQ(dlg.GetViewMode(), 1);
    EXPECT_EQ(dlg.GetHandle(), nullptr) << "unbound once the shell view is gone";
}

}  // namespace
