// Loading images into the slots: the order of the work, the progress positions, what the
// stereo view does afterwards, and files that cannot be loaded, also chosen in the real
// open dialog.
#include <gtest/gtest.h>

#include "engine/decode.h"
#include "slot_test_support.h"

using namespace slot_test;
using bistrope::InteractionMode;

namespace {

class SlotLoad : public ::testing::Test {
protected:
    std::unique_ptr<Stage> stage;
    ScratchDir dir;
    cRegData& settings = Settings();

    void SetUp() override {
        settings.blendMode = 2;
        settings.maxTexSize = 4096;
        settings.leftImagePath = L"";
        settings.rightImagePath = L"";
        settings.defaultFileView = 0;
        stage = std::make_unique<Stage>(settings);
        ASSERT_TRUE(stage->Open());
    }
    void TearDown() override { stage.reset(); }

    std::wstring Bmp(const wchar_t* name, int w, int h, std::uint8_t r = 200, std::uint8_t g = 100,
                     std::uint8_t b = 50) {
        const fs::path file = dir / name;
        WriteBmp(file, w, h, r, g, b);
        return file.wstring();
    }

    // Everything a failed load must leave alone.
    struct Picture {
        std::wstring path;
        const bistrope::ConvertedImage* preview;
        std::int32_t width, height;
        GLuint texture0, texture1;
        bistrope::OutputRect rect;
        InteractionMode mode;
        HBITMAP thumbnail;
    };
    Picture Take(TestSlot& slot) {
        return {slot.GetPath().GetBuffer(), slot.GetPreviewImage(), slot.GetSourceWidth(), slot.GetSourceHeight(),
                stage->view.GetTexture(0), stage->view.GetTexture(1), stage->view.GetOutputRect(),
                stage->view.GetInteractionMode(), slot.GetThumbnail()};
    }
    void ExpectSame(const Picture& a, const Picture& b) {
        EXPECT_EQ(a.path, b.path);
        EXPECT_EQ(a.preview, b.preview);
        EXPECT_EQ(a.width, b.width);
        EXPECT_EQ(a.height, b.height);
        EXPECT_EQ(a.texture0, b.texture0);
        EXPECT_EQ(a.texture1, b.texture1);
        EXPECT_EQ(a.rect, b.rect);
        EXPECT_EQ(a.mode, b.mode);
        EXPECT_EQ(a.thumbnail, b.thumbnail);
    }
};

TEST_F(SlotLoad, ProgressRunsThroughZeroZeroFiftySeventyFiveHundred) {
    const std::wstring file = Bmp(L"left.bmp", 400, 300);
    std::vector<int> positions;
    {
        ProgressRecorder recorder;
        ASSERT_TRUE(stage->left.LoadFile(file.c_str()));
        positions = recorder.positions;
    }
    EXPECT_EQ(positions, (std::vector<int>{0, 0, 50, 75, 100}));
}

TEST_F(SlotLoad, LoadFillsTheSlotTheLeftTextureAndTheView) {
    const std::wstring file = Bmp(L"left.bmp", 400, 300, 200, 100, 50);
    ASSERT_TRUE(stage->left.LoadFile(file.c_str()));
    EXPECT_TRUE(stage->left.IsLoaded());
    EXPECT_EQ(stage->left.GetPath().GetBuffer(), file);
    EXPECT_EQ(stage->left.GetSourceWidth(), 400);
    EXPECT_EQ(stage->left.GetSourceHeight(), 300);
    ASSERT_NE(stage->left.GetPreviewImage(), nullptr);
    EXPECT_EQ(stage->left.GetPreviewImage()->width(), 512);
    EXPECT_EQ(stage->left.GetPreviewImage()->height(), 512);
    EXPECT_EQ(stage->left.GetOutputImage(), nullptr);
    EXPECT_NE(stage->left.GetThumbnail(), nullptr) << "the slot was painted at once";
    // The right slot is not touched.
    EXPECT_FALSE(stage->right.IsLoaded());
    EXPECT_EQ(stage->right.GetSourceWidth(), -1);
    EXPECT_EQ(stage->right.GetPreviewImage(), nullptr);
    // The view: one image, pan-view mode, the image's own output rectangle.
    EXPECT_EQ(stage->view.GetInteractionMode(), InteractionMode::PanView);
    EXPECT_EQ(stage->view.GetOutputRect(), (bistrope::OutputRect{-200, -150, 200, 150}));
    EXPECT_EQ(stage->status.panes[2], L" Output image 400x300");
    // Loading does not store anything in the settings: that is the dialog's part.
    EXPECT_EQ(std::wstring(settings.leftImagePath.GetBuffer()), L"");
}

TEST_F(SlotLoad, LeftImageAfterARightOneSelectsPanLeftAndResetsTheAlignment) {
    ASSERT_TRUE(stage->right.LoadFile(Bmp(L"right.bmp", 400, 300, 0, 100, 100).c_str()));
    EXPECT_EQ(stage->view.GetInteractionMode(), InteractionMode::PanView);
    stage->view.SetAlignment({25.0, -4.0, 7.5});
    ASSERT_TRUE(stage->left.LoadFile(Bmp(L"left.bmp", 400, 300).c_str()));
    EXPECT_EQ(stage->view.GetInteractionMode(), InteractionMode::PanLeft);
    EXPECT_EQ(stage->view.GetAlignment().offsetX, 0.0);
    EXPECT_EQ(stage->view.GetAlignment().offsetY, 0.0);
    EXPECT_EQ(stage->view.GetAlignment().rotation, 0.0);
    EXPECT_EQ(stage->status.panes[0], L"Left click and drag to pan left image");
    EXPECT_EQ(stage->status.panes[3], L" offset: 0.00,0.00");
    EXPECT_EQ(stage->view.GetOutputRect(), (bistrope::OutputRect{-200, -150, 200, 150}));
}

TEST_F(SlotLoad, FilesThatCannotBeReadLeaveTheSlotAsItWas) {
    ASSERT_TRUE(stage->left.LoadFile(Bmp(L"good.bmp", 64, 48).c_str()));
    const Picture before = Take(stage->left);

    WriteBytes(dir / L"empty.jpg", {});
    std::vector<std::uint8_t> jpeg = JpegBytes(64, 64, 10, 20, 30);
    ASSERT_GT(jpeg.size(), 400u);
    jpeg.resize(jpeg.size() / 2);
    WriteBytes(dir / L"truncated.jpg", jpeg);
    const std::string text = "This is a shopping list, not a picture.\n";
    WriteBytes(dir / L"list.png", std::vector<std::uint8_t>(text.begin(), text.end()));
    WriteBmpHeaderOnly(dir / L"huge.bmp", 60000, 60000);

    struct Case {
        const wchar_t* name;
        const wchar_t* reason;
    };
    for (const Case& c : {Case{L"empty.jpg", L"empty"}, Case{L"truncated.jpg", L"truncated"},
                          Case{L"list.png", L"not"}, Case{L"huge.bmp", L"large"}}) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        MessageBoxCatcher catcher;
        EXPECT_FALSE(stage->left.LoadFile((dir / c.name).wstring().c_str()));
        ASSERT_TRUE(catcher.Join(30000));
        ASSERT_TRUE(catcher.seen) << "a message box";
        EXPECT_NE(catcher.text.find(c.name), std::wstring::npos) << std::string(catcher.text.begin(), catcher.text.end());
        EXPECT_NE(catcher.text.find(c.reason), std::wstring::npos)
            << std::string(catcher.text.begin(), catcher.text.end());
        EXPECT_NE(catcher.text.find(L"The left image stays as it was."), std::wstring::npos);
        ExpectSame(Take(stage->left), before);
    }
}

TEST_F(SlotLoad, PreviewThatCannotBeAllocatedIsReportedAndTheOldOneKept) {
    ASSERT_TRUE(stage->right.LoadFile(Bmp(L"first.bmp", 64, 48).c_str()));
    const Picture before = Take(stage->right);
    stage->right.failPreview = true;

    MessageBoxCatcher catcher;
    EXPECT_FALSE(stage->right.LoadFile(Bmp(L"second.bmp", 100, 100).c_str()));
    ASSERT_TRUE(catcher.Join(30000));
    ASSERT_TRUE(catcher.seen);
    EXPECT_NE(catcher.text.find(L"second.bmp"), std::wstring::npos);
    EXPECT_EQ(catcher.caption, std::wstring(App().GetTitle())) << "captioned with the frame's title";
    EXPECT_NE(catcher.text.find(L"not enough memory"), std::wstring::npos);
    ExpectSame(Take(stage->right), before);

    // A rebuild of the preview (a new blending mode) keeps the old preview as well.
    MessageBoxCatcher again;
    EXPECT_FALSE(stage->right.MakePreviewImage(bistrope::ProgressFn{}));
    ASSERT_TRUE(again.Join(30000));
    EXPECT_TRUE(again.seen);
    EXPECT_NE(again.text.find(L"The previous preview stays."), std::wstring::npos);
    EXPECT_EQ(stage->right.GetPreviewImage(), before.preview);
}

TEST_F(SlotLoad, NegativeOrHugeMaxTexSizeCannotExceedTheImplementation) {
    settings.maxTexSize = static_cast<std::uint32_t>(-1);  // "-1" typed into the settings
    settings.hardwareMaxTexSize = 2048;
    ASSERT_TRUE(stage->left.LoadFile(Bmp(L"wide.bmp", 3000, 20).c_str()));
    ASSERT_NE(stage->left.GetPreviewImage(), nullptr);
    EXPECT_EQ(stage->left.GetPreviewImage()->width(), 2048);
    EXPECT_EQ(stage->left.GetPreviewImage()->height(), 32);
    // Sizes that fit behave as before: 1000 lets a side reach 1024.
    settings.maxTexSize = 1000;
    ASSERT_TRUE(stage->left.MakePreviewImage(bistrope::ProgressFn{}));
    EXPECT_EQ(stage->left.GetPreviewImage()->width(), 1024);
}

TEST_F(SlotLoad, MakePreviewWithoutASourceReportsZeroAndRefuses) {
    std::vector<int> seen;
    EXPECT_FALSE(stage->left.MakePreviewImage([&](int p) { seen.push_back(p); }));
    EXPECT_EQ(seen, (std::vector<int>{0}));
    EXPECT_EQ(stage->left.GetPreviewImage(), nullptr);
}

// --- The real open dialog ----------------------------------------------------------------

TEST_F(SlotLoad, CancellingTheDialogChangesNothing) {
    ASSERT_TRUE(stage->left.LoadFile(Bmp(L"kept.bmp", 64, 48).c_str()));
    settings.leftImagePath = dir.path.wstring().c_str();
    settings.defaultFileView = 3;
    const Picture before = Take(stage->left);

    OpenDialogDriver driver(L"Load left image", L"", false);
    EXPECT_FALSE(stage->left.LoadImageFile());
    ASSERT_TRUE(driver.Join(30000));
    EXPECT_TRUE(driver.dialogSeen);
    ExpectSame(Take(stage->left), before);
    EXPECT_EQ(std::wstring(settings.leftImagePath.GetBuffer()), dir.path.wstring());
    EXPECT_EQ(settings.defaultFileView, 3);
}

TEST_F(SlotLoad, ClickingTheSlotOpensTheDialogWithTheEyesTitle) {
    OpenDialogDriver driver(L"Load right image", L"", false);
    SendMessageW(stage->right.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    ASSERT_TRUE(driver.Join(30000));
    EXPECT_TRUE(driver.dialogSeen);
    EXPECT_FALSE(stage->right.IsLoaded());
}

TEST_F(SlotLoad, FileChosenInTheDialogIsLoadedAndItsFolderStored) {
    const std::wstring file = Bmp(L"chosen.bmp", 120, 90);
    settings.leftImagePath = L"C:\\nowhere-in-particular";
    OpenDialogDriver driver(L"Load left image", file, false);
    EXPECT_TRUE(stage->left.LoadImageFile());
    ASSERT_TRUE(driver.Join(30000));
    EXPECT_TRUE(driver.dialogSeen);
    EXPECT_TRUE(stage->left.IsLoaded());
    EXPECT_EQ(stage->left.GetSourceWidth(), 120);
    // The folder: the path before its last backslash.
    const std::wstring chosen = stage->left.GetPath().GetBuffer();
    EXPECT_EQ(std::wstring(settings.leftImagePath.GetBuffer()), chosen.substr(0, chosen.rfind(L'\\')));
    EXPECT_NE(chosen.find(L"chosen.bmp"), std::wstring::npos);
}

TEST_F(SlotLoad, BadFilesChosenInTheDialogGiveAMessageAndLeaveTheSlot) {
    ASSERT_TRUE(stage->right.LoadFile(Bmp(L"kept.bmp", 64, 48).c_str()));
    const Picture before = Take(stage->right);
    WriteBytes(dir / L"empty.png", {});
    std::vector<std::uint8_t> jpeg = JpegBytes(64, 64, 10, 20, 30);
    jpeg.resize(jpeg.size() / 3);
    WriteBytes(dir / L"cut.jpg", jpeg);
    const std::string text = "plain text\n";
    WriteBytes(dir / L"notes.gif", std::vector<std::uint8_t>(text.begin(), text.end()));
    WriteBmpHeaderOnly(dir / L"giant.bmp", 50000, 50000);

    for (const wchar_t* name : {L"empty.png", L"cut.jpg", L"notes.gif", L"giant.bmp"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        OpenDialogDriver driver(L"Load right image", (dir / name).wstring(), true);
        EXPECT_FALSE(stage->right.LoadImageFile());
        ASSERT_TRUE(driver.Join(60000));
        EXPECT_TRUE(driver.dialogSeen);
        EXPECT_TRUE(driver.messageSeen);
        EXPECT_NE(driver.messageText.find(name), std::wstring::npos)
            << std::string(driver.messageText.begin(), driver.messageText.end());
        ExpectSame(Take(stage->right), before);
    }
}

}  // namespace
