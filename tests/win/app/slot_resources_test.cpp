// What the slots draw with GDI, and the program's own resources as the code uses them.

#include "app/commands.h"
#include "app/slot_texts.h"
#include "app_support.h"
#include "resources/app_ids.h"

namespace apptest {
namespace {

using bistrope::Eye;
constexpr COLORREF kUnpainted = RGB(0x11, 0x22, 0x33);
const Rgb kSlotBackground{254, 252, 242};

// The columns and rows of `canvas` in [y0, y1) holding pure-ish blue text pixels.
struct Box {
    int left = 10000, right = -1, top = 10000, bottom = -1;
};
Box TextBox(const wintest::Canvas& canvas, int y0, int y1) {
    Box box;
    for (int y = y0; y < y1; ++y)
        for (int x = 1; x < canvas.width() - 1; ++x) {
            const Rgb c = canvas.Rgb(x, y);
            if (c[2] > 200 && c[0] < 150 && c[1] < 150) {
                box.left = std::min(box.left, x), box.right = std::max(box.right, x);
                box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
            }
        }
    return box;
}

// The width of a text in the slots' font, and the face the system gave for it.
int TextWidth(const wchar_t* text, std::wstring& face) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(bistrope::kSlotFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                             ANTIALIASED_QUALITY, 0, bistrope::kSlotFontFace);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t name[64] = {};
    GetTextFaceW(dc, 64, name);
    face = name;
    SIZE size{};
    GetTextExtentPoint32W(dc, text, int(wcslen(text)), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return size.cx;
}

TEST_F(AppTest, SlotsShowTheirTextUntilLoadedThenTheThumbnailUnderThePath) {
    Start();
    for (Eye eye : {Eye::Left, Eye::Right}) {
        const wintest::Canvas s = wintest::PrintClient(app->GetSlot(eye).GetHandle(), kUnpainted);
        ASSERT_EQ(s.width(), 198);
        EXPECT_EQ(s.Rgb(0, 0), (Rgb{0, 0, 0}));
        EXPECT_EQ(s.Rgb(196, 173), kSlotBackground);
        const Box box = TextBox(s, 0, 175);
        std::wstring face;
        const int width = TextWidth(bistrope::TextsForEye(int(eye)).emptyText, face);
        EXPECT_NEAR(box.right - box.left + 1, width, 3) << "the slot's font came out as \"" << face << "\"";
        EXPECT_LE(width, 190) << "the text does not fit the slot in \"" << face << "\"";
        EXPECT_NEAR((box.left + box.right) / 2.0, 99.0, 2.0);
        EXPECT_NEAR((box.top + box.bottom) / 2.0, 87.5, 3.0);
    }

    ASSERT_TRUE(Doc().SetEyeImage(Eye::Left, Solid(400, 300, {200, 120, 40}, {200, 120, 40}), L"C:\\pairs\\l.bmp").ok());
    const wintest::Canvas s = wintest::PrintClient(app->GetSlot(Eye::Left).GetHandle(), kUnpainted);
    // 190 x 142 at (4, 29), every pixel of it and none beside it.
    for (int y = 29; y < 171; y += 7)
        for (int x = 4; x < 194; x += 7) ASSERT_EQ(s.Rgb(x, y), (Rgb{200, 120, 40})) << x << "," << y;
    EXPECT_EQ(s.Rgb(3, 100), kSlotBackground);
    EXPECT_EQ(s.Rgb(194, 100), kSlotBackground);
    EXPECT_EQ(s.Rgb(100, 28), kSlotBackground);
    const Box caption = TextBox(s, 0, 25);
    std::wstring face;
    EXPECT_NEAR(caption.left, 5, 1);
    EXPECT_NEAR(caption.right - caption.left + 1, TextWidth(L"C:\\pairs\\l.bmp", face), 3);
    EXPECT_EQ(TextBox(s, 25, 175).right, -1);  // no empty-slot text once loaded
    EXPECT_EQ(app->GetSlot(Eye::Left).BuildToolTipText(),
              std::wstring(L"C:\\pairs\\l.bmp\n\nClick here to load a different image (keyboard shortcut: F2)"));
}

TEST(Resources, ContextMenuItemsAreCommandsOfTheTableAndTheCursorsLoad) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MAIN_CONTEXT_MENU));
    HMENU context = GetSubMenu(menu, 0);
    ASSERT_NE(context, nullptr);
    int commands = 0;
    std::function<void(HMENU)> walk = [&](HMENU m) {
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
            if (HMENU sub = GetSubMenu(m, i)) {
                walk(sub);
                continue;
            }
            const UINT id = GetMenuItemID(m, i);
            if (id == 0 || id == UINT(-1)) continue;  // separators
            ++commands;
            EXPECT_TRUE(bistrope::QueryCommandState(int(id), {}).has_value()) << "menu item " << id;
        }
    };
    walk(context);
    EXPECT_EQ(commands, 8);
    DestroyMenu(menu);

    for (int cursor = IDC_CUR_PAN_VIEW; cursor <= IDC_CUR_ROTATE_LEFT_DRAG; ++cursor) {
        HCURSOR c = LoadCursorW(module, MAKEINTRESOURCEW(cursor));
        ICONINFO info{};
        ASSERT_TRUE(c && GetIconInfo(c, &info)) << cursor;
        BITMAP mask{};
        GetObjectW(info.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(mask.bmWidth, 32) << cursor;
        DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
    }
}

}  // namespace
}  // namespace apptest
