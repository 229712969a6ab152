// What an image slot paints (read back through WM_PRINTCLIENT) and what its tooltip says.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/slot_texts.h"
#include "slot_test_support.h"

using namespace slot_test;

namespace {

const std::array<int, 3> kBackground{254, 252, 242};
const std::array<int, 3> kBlack{0, 0, 0};
// Something no slot paints, so that unpainted pixels stand out.
const COLORREF kUnpainted = RGB(255, 0, 255);

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
    int count = 0;
    void Add(int x, int y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        ++count;
    }
};

// Pixels of the slot's text colour (pure blue, antialiased against the background).
bool IsText(const std::array<int, 3>& c) { return c[2] > 200 && c[0] < 200 && c[1] < 200; }

Box TextBox(const wintest::Canvas& s, int top, int bottom) {
    Box box;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < s.width(); ++x)
            if (IsText(s.Rgb(x, y))) box.Add(x, y);
    return box;
}

// Width of a text in the slot's font.
int TextWidth(const wchar_t* text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return size.cx;
}

std::wstring ToolTip(HWND slot) {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = nullptr;
    info.hdr.idFrom = reinterpret_cast<UINT_PTR>(slot);
    info.hdr.code = TTN_GETDISPINFOW;
    const LRESULT handled = SendMessageW(slot, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    if (!handled || !info.lpszText) return L"<not answered>";
    return info.lpszText;
}

class SlotDraw : public ::testing::Test {
protected:
    std::unique_ptr<Stage> stage;
    void SetUp() override {
        stage = std::make_unique<Stage>(Settings());
        ASSERT_TRUE(stage->Open());
    }
    void TearDown() override { stage.reset(); }
};

TEST_F(SlotDraw, EmptySlotShowsItsEyesTextInBlueInTheMiddle) {
    for (TestSlot* slot : {&stage->left, &stage->right}) {
        const bool isLeft = slot == &stage->left;
        SCOPED_TRACE(isLeft ? "left" : "right");
        const wintest::Canvas s = wintest::PrintClient(slot->GetHandle(), kUnpainted);
        ASSERT_EQ(s.width(), 198);
        ASSERT_EQ(s.height(), 175);
        // Outline along the edges, background inside.
        EXPECT_EQ(s.Rgb(0, 0), kBlack);
        EXPECT_EQ(s.Rgb(197, 0), kBlack);
        EXPECT_EQ(s.Rgb(0, 174), kBlack);
        EXPECT_EQ(s.Rgb(197, 174), kBlack);
        EXPECT_EQ(s.Rgb(100, 0), kBlack);
        EXPECT_EQ(s.Rgb(197, 90), kBlack);
        EXPECT_EQ(s.Rgb(1, 1), kBackground);
        EXPECT_EQ(s.Rgb(196, 173), kBackground);
        EXPECT_EQ(s.Rgb(100, 20), kBackground);  // no caption without a path

        // The text: one line, centred both ways, as wide as the eye's text.
        const Box box = TextBox(s, 0, 175);
        ASSERT_GT(box.count, 50);
        const wchar_t* text = bistrope::TextsForEye(isLeft ? 1 : 2).emptyText;
        EXPECT_NEAR(box.right - box.left + 1, TextWidth(text), 3);
        EXPECT_NEAR((box.left + box.right) / 2.0, 99.0, 2.0);
        EXPECT_NEAR((box.top + box.bottom) / 2.0, 87.5, 3.0);
        EXPECT_LE(box.bottom - box.top, 16);
        // Pure blue at the strokes' cores.
        bool pure = false;
        for (int y = box.top; y <= box.bottom && !pure; ++y)
            for (int x = box.left; x <= box.right && !pure; ++x)
                pure = s.Rgb(x, y) == std::array<int, 3>{0, 0, 255};
        EXPECT_TRUE(pure);
    }
    // The two texts differ in width ("left" against "right").
    EXPECT_NE(TextWidth(bistrope::TextsForEye(1).emptyText), TextWidth(bistrope::TextsForEye(2).emptyText));
}

TEST_F(SlotDraw, LandscapeThumbnailIsPlacedAndTheCaptionShowsThePath) {
    stage->left.Put(SolidSource(400, 300, 200, 120, 40), bistrope::ConvertedImage::Create(2, 2), L"C:\\pairs\\l.bmp");
    const wintest::Canvas s = wintest::PrintClient(stage->left.GetHandle(), kUnpainted);
    const std::array<int, 3> colour{200, 120, 40};
    // 190 x 142 at (4, 29): every pixel of it, and none beside it.
    for (int y = 29; y < 29 + 142; ++y)
        for (int x = 4; x < 4 + 190; ++x) ASSERT_EQ(s.Rgb(x, y), colour) << x << "," << y;
    for (int y = 29; y < 171; y += 10) {
        EXPECT_EQ(s.Rgb(3, y), kBackground);
        EXPECT_EQ(s.Rgb(194, y), kBackground);
    }
    for (int x = 4; x < 194; x += 10) {
        EXPECT_EQ(s.Rgb(x, 28), kBackground);
        EXPECT_EQ(s.Rgb(x, 171), kBackground);
    }
    // The path in the caption strip: left-aligned from x 4, vertically centred in 0..24.
    const Box caption = TextBox(s, 0, 25);
    ASSERT_GT(caption.count, 20);
    EXPECT_GE(caption.left, 4);
    EXPECT_LE(caption.left, 6);
    EXPECT_NEAR(caption.right - caption.left + 1, TextWidth(L"C:\\pairs\\l.bmp"), 3);
    EXPECT_NEAR((caption.top + caption.bottom) / 2.0, 12.0, 3.0);
    // No empty-slot text once loaded.
    EXPECT_EQ(TextBox(s, 25, 175).count, 0);
    // The thumbnail is kept for the next paint.
    const HBITMAP cached = stage->left.GetThumbnail();
    ASSERT_NE(cached, nullptr);
    const wintest::Canvas again = wintest::PrintClient(stage->left.GetHandle(), kUnpainted);
    EXPECT_EQ(stage->left.GetThumbnail(), cached);
    EXPECT_EQ(again.Rgb(100, 100), colour);
}

TEST_F(SlotDraw, PortraitThumbnailIsCentredHorizontally) {
    stage->right.Put(SolidSource(300, 400, 10, 200, 90), bistrope::ConvertedImage::Create(2, 2), L"D:\\r.bmp");
    const wintest::Canvas s = wintest::PrintClient(stage->right.GetHandle(), kUnpainted);
    const std::array<int, 3> colour{10, 200, 90};
    for (int y = 29; y < 29 + 142; ++y)
        for (int x = 46; x < 46 + 106; ++x) ASSERT_EQ(s.Rgb(x, y), colour) << x << "," << y;
    EXPECT_EQ(s.Rgb(45, 100), kBackground);
    EXPECT_EQ(s.Rgb(152, 100), kBackground);
    EXPECT_EQ(s.Rgb(100, 28), kBackground);
    EXPECT_EQ(s.Rgb(100, 171), kBackground);
}

TEST_F(SlotDraw, LongPathIsShortenedToTheCaptionStrip) {
    const wchar_t* path =
        L"C:\\Users\\somebody\\Pictures\\Holidays\\Mountains and lakes\\stereo pairs\\left-eye-0001.jpg";
    ASSERT_GT(TextWidth(path), 190);
    stage->left.Put(SolidSource(40, 30, 0, 0, 0), bistrope::ConvertedImage::Create(2, 2), path);
    const wintest::Canvas s = wintest::PrintClient(stage->left.GetHandle(), kUnpainted);
    const Box caption = TextBox(s, 0, 25);
    ASSERT_GT(caption.count, 20);
    EXPECT_GE(caption.left, 4);
    EXPECT_LT(caption.right, 194) << "the caption stays inside the strip";
    EXPECT_GT(caption.right, 150) << "the strip is used";
}

TEST_F(SlotDraw, ToolTipsPerEye) {
    EXPECT_EQ(ToolTip(stage->left.GetHandle()), L"Click here to load an image (keyboard shortcut: F2)");
    EXPECT_EQ(ToolTip(stage->right.GetHandle()), L"Click here to load an image (keyboard shortcut: F3)");
    stage->right.Put(SolidSource(4, 4, 1, 1, 1), bistrope::ConvertedImage::Create(2, 2), L"Z:\\pairs\\right 50%.jpg");
    EXPECT_EQ(ToolTip(stage->right.GetHandle()),
              L"Z:\\pairs\\right 50%.jpg\n\nClick here to load a different image (keyboard shortcut: F3)");
    EXPECT_EQ(ToolTip(stage->left.GetHandle()), L"Click here to load an image (keyboard shortcut: F2)");
}

TEST_F(SlotDraw, EachSlotIsAToolOfTheSharedToolTip) {
    HWND tip = App().GetToolTipHandle();
    ASSERT_NE(tip, nullptr);
    for (TestSlot* slot : {&stage->left, &stage->right}) {
        wchar_t text[256] = L"";
        TTTOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.lpszText = text;
        info.hwnd = slot->GetHandle();
        info.uId = reinterpret_cast<UINT_PTR>(slot->GetHandle());
        info.uFlags = TTF_IDISHWND;
        EXPECT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(info.lpszText, LPSTR_TEXTCALLBACKW);
    }
    EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 600);
}

}  // namespace
