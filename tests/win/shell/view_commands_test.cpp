// The stereo view's commands as the toolbar, the keys and the context menu give them: the
// enabled and checked states before any image, with one and with both; the empty output
// rectangle; the context menu; the blending rebuild; the settings sheet's rebuild; the about
// box; the cursor; and the double-click frame-rate box.
#include <cmath>
#include <set>
#include <vector>

#include "resources/app_ids.h"
#include "shell_fixture.h"
#include "view/interaction_mode.h"

namespace shelltest {
namespace {

using bistrope::InteractionMode;

constexpr int kAllIds[] = {40001, 40002, 40003, 40004, 40005, 40006, 40007, 40008,
                           40009, 40011, 40012, 40013, 40014, 40015, 40017, 40018};
constexpr int kToolbarIds[] = {40012, 40001, 40002, 40003, 40004, 40005, 40007,
                               40006, 40008, 40009, 40011, 40013};

class ViewCommands : public ShellTest {
protected:
    // The ids the view answers as enabled; the toolbar's buttons must agree after a pass.
    std::set<int> Enabled() {
        std::set<int> ids;
        for (int id : kAllIds)
            if (Query(id, false).enabled) ids.insert(id);
        Refresh();
        for (int id : kToolbarIds) EXPECT_EQ(ButtonEnabled(id), ids.count(id) == 1) << "toolbar button " << id;
        return ids;
    }
    std::set<int> Checked() {
        std::set<int> ids;
        for (int id : kAllIds)
            if (Query(id, true, false).checked) ids.insert(id);
        return ids;
    }
    static HWND MenuWindow() {
        std::vector<HWND> menus = VisibleWindowsOfClass(L"#32768");
        return menus.empty() ? nullptr : menus.front();
    }
    // Opens the view's context menu; `keys` are pressed in it, or it is dismissed without a
    // choice when there are none. False when the menu never showed.
    bool ContextMenu(std::vector<WPARAM> keys) {
        bool shown = false;
        OneShot act(300, [&] {
            HWND menu = MenuWindow();
            shown = menu != nullptr;
            if (!menu || keys.empty()) {
                EndMenu();
                return;
            }
            for (WPARAM k : keys) PostMessageW(menu, WM_KEYDOWN, k, 0);
        });
        OneShot watchdog(6000, [] { EndMenu(); });
        SendMessageW(View().GetHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(View().GetHandle()),
                     MAKELPARAM(-1, -1));
        wintest::Pump(20, IdlePass);
        return shown && !watchdog.Fired();
    }
};

TEST_F(ViewCommands, BeforeAnyImageOnlySettingsAboutAndTheLoadsAreEnabled) {
    Start();
    EXPECT_EQ(Enabled(), (std::set<int>{40011, 40013, 40017, 40018}));
    EXPECT_EQ(Checked(), (std::set<int>{40002}));  // the default blending mode, full colour
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::None);
    // Ids without a row are left as they were.
    for (int id : {0, 40010, 40016, 0xFFFF}) {
        TWIG4::UpdateUIRecord r = Query(id, true, true);
        EXPECT_TRUE(r.enabled && r.checked) << id;
        r = Query(id, false, false);
        EXPECT_FALSE(r.enabled || r.checked) << id;
    }
    // The arrow: mode None leaves the cursor to the window class.
    EXPECT_EQ(SendMessageW(View().GetHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(View().GetHandle()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              0);
    // A left drag does nothing; refused commands change nothing.
    SendMessageW(View().GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    SendMessageW(View().GetHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 130));
    SendMessageW(View().GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(150, 130));
    for (int id : {40006, 40008, 40012, 40014, 40015}) Command(id);
    EXPECT_EQ(View().GetAlignment().offsetX, 0.0);
    EXPECT_EQ(View().GetAlignment().offsetY, 0.0);
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::None);
    EXPECT_EQ(GetCapture(), nullptr);
    // A blending command stores its mode even now; there is nothing to rebuild.
    Command(40005);
    EXPECT_EQ(Settings().blendMode, 5);
    EXPECT_EQ(Checked(), (std::set<int>{40005}));
}

TEST_F(ViewCommands, WithOneImageTheViewModesAndZoomAllAreEnabledAndPanViewIsChecked) {
    Start();
    ASSERT_TRUE(Load(app->GetRightSlot(), L"right.jpg", 320, 240, 2));
    EXPECT_EQ(Enabled(), (std::set<int>{40006, 40007, 40011, 40013, 40014, 40017, 40018}));
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::PanView);
    EXPECT_EQ(Checked(), (std::set<int>{40002, 40006}));
    EXPECT_TRUE(ButtonChecked(40006));
    EXPECT_FALSE(Pane(0).empty());
    // The mode's own cursor, the open hand.
    EXPECT_EQ(SendMessageW(View().GetHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(View().GetHandle()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
    EXPECT_EQ(GetCursor(), LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_CUR_PAN_VIEW)));
    // The left-image modes stay refused.
    Command(40009);
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::PanView);
    Command(40007);
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::ZoomView);
    EXPECT_EQ(Checked(), (std::set<int>{40002, 40007}));
}

TEST_F(ViewCommands, WithBothImagesEverythingIsEnabledUntilTheOutputRectangleIsEmpty) {
    Start();
    ASSERT_TRUE(LoadBoth());
    EXPECT_EQ(Enabled(), std::set<int>(std::begin(kAllIds), std::end(kAllIds)));
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::PanLeft);
    EXPECT_EQ(Checked(), (std::set<int>{40002, 40008}));
    EXPECT_EQ(Pane(2), L" Output image 320x240");

    // Moved off the right image entirely: no output rectangle, no save.
    View().SetAlignment({400.0, 0.0, 0.0});
    View().UpdateOutputRect();
    std::set<int> expected(std::begin(kAllIds), std::end(kAllIds));
    expected.erase(40012);
    EXPECT_EQ(Enabled(), expected);
    // Ctrl+S is refused by the view itself: no save dialog comes up.
    bool dialog = false;
    Poller watch(50, 600, [&] {
        for (HWND d : VisibleWindowsOfClass(L"#32770")) {
            dialog = true;
            PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
        }
        return false;
    }, [] {});
    EXPECT_TRUE(app->PressKey('S', true));
    wintest::Pump(700, IdlePass);
    EXPECT_FALSE(dialog);
    EXPECT_FALSE(View().SaveOutputImage());
}

TEST_F(ViewCommands, ADragEndsWhenAnotherWindowTakesTheMouse) {
    Start();
    ASSERT_TRUE(LoadBoth());
    ASSERT_EQ(View().GetInteractionMode(), InteractionMode::PanLeft);
    const HWND view = View().GetHandle();
    SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(GetCapture(), view);
    SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 100));
    const double moved = View().GetAlignment().offsetX;
    EXPECT_GT(moved, 0.0);
    SetCapture(Frame());  // as a dialog or a switch to another program would
    ReleaseCapture();
    // The drag is over: moves change nothing and mode switches work again.
    SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 100));
    EXPECT_EQ(View().GetAlignment().offsetX, moved);
    Command(40009);
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::RotateLeft);
}

TEST_F(ViewCommands, ClosingTheContextMenuDoesNothingAndResetFromItZeroesTheAlignment) {
    Start();
    ASSERT_TRUE(LoadBoth());
    View().SetAlignment({12.5, -3.0, 4.0});
    View().UpdateOutputRect();
    View().UpdateStatusPanes();
    const double zoom = View().GetZoom();
    ASSERT_TRUE(ContextMenu({}));
    EXPECT_EQ(View().GetAlignment().offsetX, 12.5);
    EXPECT_EQ(View().GetAlignment().rotation, 4.0);
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::PanLeft);
    EXPECT_EQ(View().GetZoom(), zoom);
    EXPECT_EQ(Pane(3), L" offset: 12.50,-3.00");

    // Up from no selection reaches the last item, "Reset"; right opens it; Enter chooses
    // "Reset offsets and rotation".
    ASSERT_TRUE(ContextMenu({VK_UP, VK_RIGHT, VK_RETURN}));
    EXPECT_EQ(View().GetAlignment().offsetX, 0.0);
    EXPECT_EQ(View().GetAlignment().offsetY, 0.0);
    EXPECT_EQ(View().GetAlignment().rotation, 0.0);
    EXPECT_EQ(Pane(3), L" offset: 0.00,0.00");
    EXPECT_EQ(Pane(4), L" rotation: 0.00");
    EXPECT_EQ(Pane(2), L" Output image 320x240");

    // The first item, "Pan View".
    ASSERT_TRUE(ContextMenu({VK_DOWN, VK_RETURN}));
    EXPECT_EQ(View().GetInteractionMode(), InteractionMode::PanView);
}

TEST_F(ViewCommands, ABlendingButtonStoresTheModeAndRebuildsBothPreviewsOnlyWithBothImages) {
    Start();
    ASSERT_TRUE(Load(app->GetLeftSlot(), L"left.jpg", 320, 240, 1));
    const GLuint leftTexture = View().GetTexture(0);
    Command(40001);
    EXPECT_EQ(Settings().blendMode, 1);
    EXPECT_EQ(View().GetTexture(0), leftTexture) << "rebuilt with one image";

    ASSERT_TRUE(Load(app->GetRightSlot(), L"right.jpg", 320, 240, 2));
    const GLuint before[2] = {View().GetTexture(0), View().GetTexture(1)};
    Command(40003);
    EXPECT_EQ(Settings().blendMode, 3);
    EXPECT_NE(View().GetTexture(0), before[0]);
    EXPECT_NE(View().GetTexture(1), before[1]);
    ASSERT_NE(app->GetLeftSlot().GetPreviewImage(), nullptr);
    Refresh();
    for (int id = 40001; id <= 40005; ++id) EXPECT_EQ(ButtonChecked(id), id == 40003) << id;
    // No progress dialog is left behind.
    EXPECT_TRUE(VisibleWindowsOfClass(L"#32770").empty());
    EXPECT_EQ(FindWindowExW(View().GetHandle(), nullptr, L"#32770", nullptr), nullptr);
}

TEST_F(ViewCommands, DoubleClickShowsTheFrameRateAndLeavesTheLeftImage500Further) {
    Start();
    ASSERT_TRUE(LoadBoth());
    const bistrope::OutputRect rect = View().GetOutputRect();
    const std::wstring outputPane = Pane(2);
    std::wstring text, caption;
    Poller reader(
        100, 60000,
        [&] {
            for (HWND box : VisibleWindowsOfClass(L"#32770")) {
                text = MessageBoxText(box);
                caption = TextOf(box);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return true;
            }
            return false;
        },
        [] {});
    SendMessageW(View().GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_FALSE(reader.GaveUp());
    EXPECT_EQ(caption, L"Bistrope v1.8.4");
    // "Time: 123.456fps", or the words for a run shorter than one clock tick.
    const bool rate = text.rfind(L"Time: ", 0) == 0 && text.size() > 9 && text.substr(text.size() - 3) == L"fps";
    EXPECT_TRUE(rate || text.find(L"tick") != std::wstring::npos) << std::string(text.begin(), text.end());
    if (rate) {
        const double fps = std::wcstod(text.c_str() + 6, nullptr);
        EXPECT_TRUE(std::isfinite(fps) && fps > 0.0);
        std::printf("[ measured ] frame benchmark, 320 x 240 pair: %ls\n", text.c_str());
    }
    EXPECT_NEAR(View().GetAlignment().offsetX, 500.0, 1e-6);
    // Neither the output rectangle nor the status line is refreshed by the run.
    EXPECT_EQ(View().GetOutputRect(), rect);
    EXPECT_EQ(Pane(2), outputPane);
    EXPECT_EQ(Pane(3), L" offset: 0.00,0.00");
}

TEST_F(ViewCommands, TheAboutBoxOpensCentredOverTheViewAndCloses) {
    Start();
    HWND seen = nullptr;
    RECT box{};
    Poller closer(
        100, 8000,
        [&] {
            for (HWND d : VisibleWindowsOfClass(L"#32770")) {
                seen = d;
                GetWindowRect(d, &box);
                PostMessageW(d, WM_COMMAND, IDOK, 0);
                return true;
            }
            return false;
        },
        [] {});
    Command(40013);
    ASSERT_NE(seen, nullptr);
    // The box's owner is the top-level frame, but it centres over the view it was made for.
    RECT view{}, frame{};
    GetWindowRect(View().GetHandle(), &view);
    GetWindowRect(Frame(), &frame);
    ASSERT_NE((view.left + view.right) / 2, (frame.left + frame.right) / 2) << "the test needs them apart";
    EXPECT_NEAR((box.left + box.right) / 2, (view.left + view.right) / 2, 1);
    EXPECT_NEAR((box.top + box.bottom) / 2, (view.top + view.bottom) / 2, 1);
    EXPECT_FALSE(IsWindow(seen) && IsWindowVisible(seen));
}

// --- The settings sheet -------------------------------------------------------------------

HWND FindChildWithId(HWND parent, int id, const wchar_t* cls) {
    struct S {
        int id;
        const wchar_t* cls;
        HWND found;
    } s{id, cls, nullptr};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<S*>(p);
            wchar_t name[64] = {};
            GetClassNameW(h, name, 63);
            if (GetDlgCtrlID(h) == s->id && _wcsicmp(name, s->cls) == 0) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

class SettingsCommand : public ViewCommands {
protected:
    // Opens the sheet with command 40011; `drive` runs inside its loop with the sheet window
    // and must press OK (1) or Cancel (2).
    int Open(const std::function<void(HWND)>& drive) {
        bool seen = false;
        Helper helper([&] {
            HWND sheet = wintest::WaitForWindow(
                [](HWND w) {
                    wchar_t cls[64] = {};
                    GetClassNameW(w, cls, 63);
                    return wcscmp(cls, L"TWIG4_SDI_CHILD_CLASS") == 0 && TextOf(w) == L"Settings";
                },
                10000, wintest::Shown::Only);
            if (!sheet) return;
            seen = true;
            drive(sheet);
            // Whatever the drive did, the sheet must be gone soon; otherwise it is closed.
            for (int i = 0; i < 100 && IsWindow(sheet) && IsWindowVisible(sheet); ++i) Sleep(50);
            if (IsWindow(sheet) && IsWindowVisible(sheet)) PostMessageW(sheet, WM_CLOSE, 0, 0);
        });
        Command(40011);
        EXPECT_TRUE(helper.Join(20000)) << "the helper thread did not finish";
        wintest::Pump(30, IdlePass);
        EXPECT_TRUE(seen) << "the settings sheet never appeared";
        return seen ? 1 : 0;
    }
    static void Press(HWND sheet, int id) {
        PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(sheet, id)));
    }
    static void Type(HWND edit, const wchar_t* text) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, WM_CHAR, VK_BACK, 0);
        for (const wchar_t* c = text; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 0);
    }
};

TEST_F(SettingsCommand, OkUntouchedRebuildsNothingAndCancelAfterEditingChangesNothing) {
    Start();
    ASSERT_TRUE(LoadBoth());
    const GLuint before = View().GetTexture(0);
    Open([](HWND sheet) { Press(sheet, 1); });
    EXPECT_EQ(View().GetTexture(0), before);
    const float m10 = Settings().leftMatrix.at(1, 0);
    Open([](HWND sheet) {
        if (HWND box = FindChildWithId(sheet, 1005, L"Edit")) Type(box, L"0.5");
        Press(sheet, 2);
    });
    EXPECT_EQ(View().GetTexture(0), before);
    EXPECT_EQ(Settings().leftMatrix.at(1, 0), m10);
}

TEST_F(SettingsCommand, AMatrixBoxChangedAndOkRebuildsBothPreviewsWhateverTheMode) {
    Start();
    ASSERT_TRUE(LoadBoth());
    ASSERT_EQ(Settings().blendMode, 2);  // not the custom mode
    const GLuint before[2] = {View().GetTexture(0), View().GetTexture(1)};
    Open([](HWND sheet) {
        if (HWND box = FindChildWithId(sheet, 1005, L"Edit")) Type(box, L"0.5");
        Press(sheet, 1);
    });
    EXPECT_FLOAT_EQ(Settings().leftMatrix.at(1, 0), 0.5f);
    EXPECT_NE(View().GetTexture(0), before[0]);
    EXPECT_NE(View().GetTexture(1), before[1]);
    EXPECT_TRUE(VisibleWindowsOfClass(L"#32770").empty()) << "a progress dialog stayed";
}

TEST_F(SettingsCommand, AQualityChangeAloneIsStoredWithoutARebuild) {
    Start();
    ASSERT_TRUE(LoadBoth());
    const GLuint before = View().GetTexture(0);
    Open([](HWND sheet) {
        if (HWND bar = FindChildWithId(sheet, 1003, TRACKBAR_CLASSW)) {
            SendMessageW(bar, TBM_SETPOS, TRUE, 95);
            SendMessageW(GetParent(bar), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 95), reinterpret_cast<LPARAM>(bar));
        }
        Press(sheet, 1);
    });
    EXPECT_EQ(Settings().jpegQuality, 95);
    EXPECT_EQ(View().GetTexture(0), before);
}

}  // namespace
}  // namespace shelltest
