// The frame's flows through real messages: the blending command's rebuild read back from
// OpenGL, saving with its quality and its message for a failure, the alignment drag and the
// context menu's commands, the command line and drops. (The end-to-end test opens the
// settings sheet over the view.)
#include <shlobj.h>

#include <cmath>

#include "app/slot_texts.h"
#include "app_support.h"
#include "engine/decode.h"
#include "engine/jpeg_writer.h"
#include "framework/win/update_ui.h"
#include "resources/app_ids.h"
#include "view/status_text.h"

namespace apptest {
namespace {

using bistrope::Eye;

// Answers the next message box with OK and keeps its text.
struct MessageCatcher {
    std::wstring text;
    wintest::OneShot shot{300, [this] {
        const HWND box = wintest::WaitForWindow([](HWND w) { return wintest::ClassOf(w) == L"#32770"; }, 5000,
                                                wintest::Shown::Only);
        text = box ? MessageBoxText(box) : L"<no message box>";
        if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
    }};
};

// The preview on screen after a blending button: red from the left eye through the new
// mode's matrix, green and blue from the right one; a rebuild that kept the old mode fails.
TEST_F(AppTest, ABlendingButtonRebuildsThePreviewInTheNewMode) {
    Start();
    ASSERT_TRUE(Doc().SetEyeImage(Eye::Left, Solid(64, 48, {200, 100, 50}, {200, 100, 50}), L"l").ok());
    ASSERT_TRUE(Doc().SetEyeImage(Eye::Right, Solid(64, 48, {40, 160, 220}, {40, 160, 220}), L"r").ok());
    const auto centre = [this] {
        int w = 0, h = 0;
        const std::vector<std::uint8_t> pixels = ViewPixels(w, h);
        const std::uint8_t* p = &pixels[(std::size_t(h / 2) * std::size_t(w) + std::size_t(w / 2)) * 3];
        return std::array<int, 3>{p[0], p[1], p[2]};
    };
    const auto expected = [](int mode) {
        const bistrope::CustomMatrices custom{bistrope::FullColourMatrix(Eye::Left), bistrope::FullColourMatrix(Eye::Right)};
        const auto l = bistrope::ApplyColorMatrix(*bistrope::SelectBlendMatrix(mode, Eye::Left, custom), {200, 100, 50, 255});
        const auto r = bistrope::ApplyColorMatrix(*bistrope::SelectBlendMatrix(mode, Eye::Right, custom), {40, 160, 220, 255});
        return std::array<int, 3>{l.r, r.g, r.b};
    };
    EXPECT_EQ(centre(), expected(bistrope::FullColour));
    for (int mode : {bistrope::Monochromatic, bistrope::HalfColour, bistrope::OptimisedColour}) {
        Command(ID_BLEND_MONOCHROMATIC + mode - 1);
        EXPECT_EQ(Settings().blendMode, mode);
        EXPECT_TRUE(ButtonChecked(ID_BLEND_MONOCHROMATIC + mode - 1));
        const auto seen = centre(), want = expected(mode);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(seen[c], want[c], 1) << "mode " << mode << " channel " << c;
    }
}

// The JPEG's luminance quantisation table is libjpeg's standard one scaled for the quality:
// 16, 11, 12 in zigzag order scaled by (200 - 2q) / 100.
std::array<int, 3> FirstQuantisers(const wintest::Bytes& jpeg) {
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDB && (jpeg[i + 4] & 0x0F) == 0) return {jpeg[i + 5], jpeg[i + 6], jpeg[i + 7]};
    return {-1, -1, -1};
}

TEST_F(AppTest, SavingWritesTheOutputRectangleAtTheStoredQualityAndAFailureSaysWhy) {
    Start();
    LoadBoth(320, 240);
    Doc().SetAlignment({10.0, -4.0, 0.0});
    Settings().jpegQuality = 63;
    const std::wstring out = (folder->path() / L"anaglyph.jpg").wstring();
    ASSERT_TRUE(app->WriteOutputImage(out.c_str()));
    const bistrope::DecodeResult saved = bistrope::DecodeImageFile(out);
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved.image.width(), Doc().GetOutputRect().Width());
    EXPECT_EQ(saved.image.height(), Doc().GetOutputRect().Height());
    const int scale = 200 - 2 * 63;
    EXPECT_EQ(FirstQuantisers(wintest::ReadFileBytes(out)),
              (std::array<int, 3>{(16 * scale + 50) / 100, (11 * scale + 50) / 100, (12 * scale + 50) / 100}));

    const std::wstring nowhere = (folder->path() / L"no folder" / L"a.jpg").wstring();
    MessageCatcher message;
    EXPECT_FALSE(app->WriteOutputImage(nowhere.c_str()));
    wintest::Pump(50);
    EXPECT_EQ(message.text.rfind(L"The image could not be saved as\n" + nowhere + L"\n\nReason: ", 0), 0u) << message.text;
}

// A left drag in PanLeft moves the left image by the pointer's way over the zoom; losing
// the capture ends the drag where it stands. Commands from the view's context menu and the
// keys reach the frame's command table.
TEST_F(AppTest, TheAlignmentDragAndTheContextMenuCommandsWorkThroughTheView) {
    Start();
    LoadBoth();
    const HWND view = View().GetHandle();
    const double zoom = View().GetCamera().GetZoom();
    SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(130, 90));
    SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(130, 90));
    EXPECT_DOUBLE_EQ(Doc().GetAlignment().offsetX, 30 / zoom);
    EXPECT_DOUBLE_EQ(Doc().GetAlignment().offsetY, -10 / zoom);
    EXPECT_EQ(Pane(bistrope::kOffsetPane), bistrope::OffsetStatusText(30 / zoom, -10 / zoom));

    SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    SetCapture(Frame());  // a dialog or Alt+Tab takes the mouse
    SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 200));
    ReleaseCapture();
    EXPECT_DOUBLE_EQ(Doc().GetAlignment().offsetX, 30 / zoom);

    TWIG4::UpdateUIRecord record;
    SendMessageW(view, WM_COMMAND, MAKEWPARAM(ID_ROTATE_LEFT, TWIG4::kUpdateUICode), reinterpret_cast<LPARAM>(&record));
    EXPECT_TRUE(record.enabled);
    EXPECT_FALSE(record.checked);
    SendMessageW(view, WM_COMMAND, ID_RESET_ALIGNMENT, 0);
    EXPECT_EQ(Doc().GetAlignment().offsetX, 0.0);
    EXPECT_EQ(Pane(bistrope::kOffsetPane), bistrope::OffsetStatusText(0, 0));

    // The arrow keys and Page Down step the left image; F5 on two unrelated pictures says
    // why it cannot align them and leaves the alignment.
    EXPECT_TRUE(app->PressKey(VK_LEFT) && app->PressKey(VK_NEXT));
    EXPECT_EQ(Pane(bistrope::kOffsetPane), bistrope::OffsetStatusText(-1, 0));
    EXPECT_EQ(Pane(bistrope::kRotationPane), bistrope::RotationStatusText(0.05));
    MessageCatcher message;
    EXPECT_TRUE(app->PressKey(VK_F5));
    wintest::Pump(50);
    EXPECT_NE(message.text.find(L".\n\nThe alignment stays as it was."), std::wstring::npos) << message.text;
    EXPECT_EQ(Doc().GetAlignment().offsetX, -1.0);
    // With "Auto align" on, a load that fills both eyes aligns them; a refusal then only
    // shows in the status line.
    Settings().autoAlign = true;
    LoadBoth();
    const std::wstring refusal = bistrope::AutoAlignFailureText(Doc().AutoAlign().status.message);
    EXPECT_EQ(Pane(bistrope::kHintPane), refusal.substr(0, refusal.find(L'\n')));
}

}  // namespace
}  // namespace apptest

namespace apptest {
namespace {

// Sends the frame a WM_DROPFILES as the shell does: `files` dropped at client point `at`.
void Drop(HWND frame, const std::vector<std::wstring>& files, POINT at) {
    std::wstring list;
    for (const std::wstring& f : files) list += f + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = at;
    drop->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(memory);
    SendMessageW(frame, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);  // the frame frees it
}

TEST_F(AppTest, TheCommandLineAndDropsFillTheEyesAStereoFileBothAtOnce) {
    const std::wstring l = WritePicture(L"b_L.jpg", 64, 48, 1), r = WritePicture(L"a_R.jpg", 64, 48, 2);
    const std::wstring bad = (folder->path() / L"broken.jpg").wstring();
    wintest::WriteFileBytes(bad, {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F'});
    app = std::make_unique<TestMainWnd>();
    app->SetStartFiles({l, bad});
    ASSERT_TRUE(app->CreateFrame());
    {
        MessageCatcher message;
        app->OnFirstIdle();  // where the main loop opens them; the bad one says why
        wintest::Pump(50);
        EXPECT_NE(message.text.find(L"broken.jpg"), std::wstring::npos) << message.text;
        EXPECT_NE(message.text.find(L"The right image slot stays empty."), std::wstring::npos) << message.text;
    }
    EXPECT_EQ(Doc().Path(Eye::Left).filename(), L"b_L.jpg");
    EXPECT_FALSE(Doc().IsLoaded(Eye::Right));

    // Dropped together, files go left and right in name order; one file on a slot goes there.
    Drop(Frame(), {l, r}, POINT{400, 300});
    EXPECT_EQ(Doc().Path(Eye::Left).filename(), L"a_R.jpg");
    RECT slot{};
    GetWindowRect(app->GetSlot(Eye::Right).GetHandle(), &slot);
    POINT onSlot{slot.left + 20, slot.top + 20};
    ScreenToClient(Frame(), &onSlot);
    Drop(Frame(), {WritePicture(L"c.jpg", 32, 32, 3)}, onSlot);
    EXPECT_EQ(Doc().Path(Eye::Right).filename(), L"c.jpg");
    EXPECT_EQ(Doc().Path(Eye::Left).filename(), L"a_R.jpg");

    // A side-by-side file fills both eyes, whatever it is dropped on; the captions say which.
    bistrope::ConvertedImage sbs = bistrope::ConvertedImage::Create(64, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) sbs.row(y)[3 * x + (x < 32 ? 2 : 0)] = 250;
    ASSERT_TRUE(bistrope::WriteJpegFile(folder->path() / L"pair.jps", sbs, 95).ok());
    Drop(Frame(), {(folder->path() / L"pair.jps").wstring()}, onSlot);
    EXPECT_TRUE(Doc().FromOneFile());
    EXPECT_GT(Doc().Source(Eye::Right)->row(16)[4 * 16 + 2], 200);  // cross-eyed: red half is the right eye
    EXPECT_EQ(Doc().Size(Eye::Left)->width, 32);

    // More than two files are refused with a message, and nothing changes.
    MessageCatcher message;
    Drop(Frame(), {l, r, l}, POINT{400, 300});
    wintest::Pump(50);
    EXPECT_NE(message.text.find(L"one or two images"), std::wstring::npos) << message.text;
    EXPECT_TRUE(Doc().FromOneFile());
}

}  // namespace
}  // namespace apptest
