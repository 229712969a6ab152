// File dialogs: path splitting, and the real open and save dialogs driven from a helper
// thread (the name typed into the file-name field, then Enter).
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/win/filedlg.h"
#include "test_app.h"

using TWIG4::FileDlg;
using TWIG4::Wnd;

namespace {

const wchar_t kFilter[] = L"JPEG files\0*.jpg;*.jpeg\0All files\0*.*\0";

class SplitFileDlg : public FileDlg {
public:
    void Split(const wchar_t* p) { AssignPath(p); }
};

TEST(FileDlgPaths, SplitsTheChosenPath) {
    SplitFileDlg dlg;
    EXPECT_EQ(dlg.GetViewMode(), 0);
    EXPECT_STREQ(dlg.GetPath().GetBuffer(), L"");
    dlg.Split(L"C:\\images\\left.photo.jpg");
    EXPECT_STREQ(dlg.GetPath().GetBuffer(), L"C:\\images\\left.photo.jpg");
    EXPECT_STREQ(dlg.GetDirectory().GetBuffer(), L"C:\\images");
    EXPECT_STREQ(dlg.GetFileName().GetBuffer(), L"left.photo.jpg");
    EXPECT_STREQ(dlg.GetExtension().GetBuffer(), L"jpg");

    dlg.Split(L"left.jpg");
    EXPECT_STREQ(dlg.GetDirectory().GetBuffer(), L"");
    EXPECT_STREQ(dlg.GetFileName().GetBuffer(), L"left.jpg");
    EXPECT_STREQ(dlg.GetExtension().GetBuffer(), L"jpg");

    dlg.Split(L"C:\\my.photos\\left");
    EXPECT_STREQ(dlg.GetDirectory().GetBuffer(), L"C:\\my.photos");
    EXPECT_STREQ(dlg.GetFileName().GetBuffer(), L"left");
    EXPECT_STREQ(dlg.GetExtension().GetBuffer(), L"") << "a dot in a folder name is no extension";
}

TEST(FileDlgPaths, ViewModesAndTheirCommands) {
    EXPECT_EQ(FileDlg::ViewCommandForMode(0), 0u);
    EXPECT_EQ(FileDlg::ViewCommandForMode(1), 0x702Cu);
    EXPECT_EQ(FileDlg::ViewCommandForMode(2), 0x7029u);
    EXPECT_EQ(FileDlg::ViewCommandForMode(3), 0x702Bu);
    EXPECT_EQ(FileDlg::ViewCommandForMode(4), 0x702Eu);
    EXPECT_EQ(FileDlg::ViewCommandForMode(5), 0x702Du);
    EXPECT_EQ(FileDlg::ViewCommandForMode(6), 0u);
    EXPECT_EQ(FileDlg::ModeForViewCommand(0x702A), -1) << "small icons has no mode";
    for (int mode = 1; mode <= 5; ++mode) EXPECT_EQ(FileDlg::ModeForViewCommand(FileDlg::ViewCommandForMode(mode)), mode);
}

// ---------------------------------------------------------------------------------------
// The real dialogs

// What the helper thread saw of the dialog, and how it ended it.
struct Driven {
    bool found = false;
    RECT window = {};
    RECT client = {};
    bool hasView = false;
    LONG listStyleBefore = -1;
    LONG listStyleAfter = -1;
    std::wstring typedInto;
};

BOOL CALLBACK FindEdit(HWND hwnd, LPARAM lParam) {
    if (wintest::ClassOf(hwnd) == L"Edit") {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindFileNameEdit(HWND dialog) {
    // Explorer-style dialogs have a file-name combo box (cmb13, possibly an extended one)
    // with an edit inside, or an edit (edt1) of their own.
    HWND control = GetDlgItem(dialog, 0x47C);
    if (!control) return GetDlgItem(dialog, 0x480);
    HWND edit = nullptr;
    EnumChildWindows(control, &FindEdit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

// Cancels the dialog (and any box it shows) when it is still open after `milliseconds`,
// so a test that goes wrong ends instead of hanging.
void EnsureClosed(HWND dialog, int milliseconds) {
    for (int waited = 0; waited < milliseconds && IsWindow(dialog); waited += 50) Sleep(50);
    while (IsWindow(dialog)) {
        HWND box = wintest::WaitForWindow(
            [&](HWND w) { return w != dialog && wintest::ClassOf(w) == L"#32770" && IsWindowVisible(w); }, 0);
        if (box) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        Sleep(200);
    }
}

HWND ListViewOf(HWND view) { return view ? FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr) : nullptr; }

// Finds the dialog by its title, optionally switches the view to details, types `name`
// and presses Enter; or cancels when name is null.
void DriveDialog(const wchar_t* title, const wchar_t* name, bool switchToDetails, Driven& out) {
    const std::wstring wanted = title;
    HWND dialog = wintest::WaitForWindow(
        [&](HWND w) { return wintest::ClassOf(w) == L"#32770" && wintest::TextOf(w) == wanted && IsWindowVisible(w); },
        15000);
    if (!dialog) return;
    out.found = true;
    // Wait (bounded) for the shell view and for the hook's posted message to be handled.
    HWND view = nullptr;
    for (int i = 0; i < 100 && !view; ++i) {
        view = FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr);
        if (!view) Sleep(50);
    }
    Sleep(300);
    out.hasView = view != nullptr;
    GetWindowRect(dialog, &out.window);
    GetClientRect(dialog, &out.client);
    if (HWND list = ListViewOf(view)) out.listStyleBefore = GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK;
    if (switchToDetails && view) {
        SendMessageW(view, WM_COMMAND, 0x702C, 0);  // what the view's own menu sends
        if (HWND list = ListViewOf(view)) out.listStyleAfter = GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK;
    }
    if (!name) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        EnsureClosed(dialog, 5000);
        return;
    }
    HWND edit = FindFileNameEdit(dialog);
    if (!edit) {
        EnsureClosed(dialog, 0);
        return;
    }
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    for (const wchar_t* c = name; *c; ++c) PostMessageW(edit, WM_CHAR, *c, 1);
    Sleep(200);
    out.typedInto = wintest::TextOf(edit);
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    EnsureClosed(dialog, 5000);
}

class RealFileDialogs : public ::testing::Test {
protected:
    std::wstring folder;
    void SetUp() override {
        test::App().Prepare();
        wchar_t temp[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"bistrope-filedlg-test";
        CreateDirectoryW(folder.c_str(), nullptr);
        DeleteFileW((folder + L"\\anaglyph.jpg").c_str());
        HANDLE f = CreateFileW((folder + L"\\left.photo.jpg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                               nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(f, "\xFF\xD8\xFF\xD9", 4, &written, nullptr);
            CloseHandle(f);
        }
    }
    void TearDown() override {
        DeleteFileW((folder + L"\\left.photo.jpg").c_str());
        DeleteFileW((folder + L"\\anaglyph.jpg").c_str());
        RemoveDirectoryW(folder.c_str());
    }
};

TEST_F(RealFileDialogs, OpenReturnsTheTypedFileAndTheViewTheUserChose) {
    Wnd owner;
    ASSERT_TRUE(owner.CreateChild(0, WS_POPUP | WS_VISIBLE, nullptr));
    owner.Move(100, 100, 600, 400, false);

    FileDlg dlg;
    const int listMode = 3;
    Driven seen;
    wintest::Helper helper([&] { DriveDialog(L"Open the left image", L"left.photo.jpg", true, seen); });
    const bool chosen = dlg.Open(folder.c_str(), kFilter, OFN_HIDEREADONLY, &owner, &listMode, L"Open the left image");
    ASSERT_TRUE(helper.Join(30000));
    ASSERT_TRUE(seen.found) << "the dialog did not appear";
    EXPECT_EQ(seen.typedInto, L"left.photo.jpg");
    ASSERT_TRUE(chosen);
    EXPECT_STREQ(dlg.GetPath().GetBuffer(), (folder + L"\\left.photo.jpg").c_str());
    EXPECT_STREQ(dlg.GetDirectory().GetBuffer(), folder.c_str());
    EXPECT_STREQ(dlg.GetFileName().GetBuffer(), L"left.photo.jpg");
    EXPECT_STREQ(dlg.GetExtension().GetBuffer(), L"jpg");

    // Centred over the owner by the dialog's client size at initialisation. The platform's
    // dialog changes its height afterwards while it lays out its controls (Wine: by about
    // two dozen pixels), so only the width seen here is the one that was used.
    EXPECT_EQ(seen.window.left, (100 + 700 - seen.client.right) / 2);
    EXPECT_LE(std::abs(seen.window.top - (100 + 500 - seen.client.bottom) / 2), 30);

    // The dialog opened in the list view it was given, and the user's switch to details
    // came back as mode 1.
    ASSERT_TRUE(seen.hasView) << "the explorer-style dialog has a shell view";
    EXPECT_EQ(seen.listStyleBefore, LVS_LIST);
    EXPECT_EQ(seen.listStyleAfter, LVS_REPORT);
    EXPECT_EQ(dlg.GetViewMode(), 1);
    EXPECT_EQ(dlg.GetHandle(), nullptr) << "unbound once the shell view is gone";
}

TEST_F(RealFileDialogs, SaveAddsTheDefaultExtension) {
    FileDlg dlg;
    Driven seen;
    wintest::Helper helper([&] { DriveDialog(L"Save the anaglyph", L"anaglyph", false, seen); });
    const bool chosen = dlg.SaveAs(folder.c_str(), kFilter, OFN_HIDEREADONLY, nullptr, L"Save the anaglyph");
    ASSERT_TRUE(helper.Join(30000));
    ASSERT_TRUE(seen.found);
    ASSERT_TRUE(chosen);
    EXPECT_STREQ(dlg.GetPath().GetBuffer(), (folder + L"\\anaglyph.jpg").c_str());
    EXPECT_STREQ(dlg.GetExtension().GetBuffer(), L"jpg");
    EXPECT_EQ(dlg.GetViewMode(), 0);
}

TEST_F(RealFileDialogs, CancelLeavesThePathUnchanged) {
    SplitFileDlg dlg;
    dlg.Split(L"C:\\before\\old.jpg");
    Driven seen;
    wintest::Helper helper([&] { DriveDialog(L"Open the right image", nullptr, false, seen); });
    EXPECT_FALSE(dlg.Open(folder.c_str(), kFilter, 0, nullptr, nullptr, L"Open the right image"));
    ASSERT_TRUE(helper.Join(30000));
    ASSERT_TRUE(seen.found);
    EXPECT_STREQ(dlg.GetPath().GetBuffer(), L"C:\\before\\old.jpg");
    EXPECT_STREQ(dlg.GetFileName().GetBuffer(), L"old.jpg");
}

}  // namespace
