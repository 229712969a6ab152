#include "app_support.h"

#include "engine/jpeg_writer.h"
#include "framework/win/toolbar.h"
#include "framework/win/wnd.h"

namespace apptest {

bool TestMainWnd::CreateFrame() {
    if (!Start(GetModuleHandleW(nullptr), SW_SHOWNORMAL)) return false;
    wintest::Pump(50, IdlePass);
    return true;
}

void TestMainWnd::DestroyFrame() {
    if (GetHandle()) Destroy();
    wintest::DrainQueue();
}

bool TestMainWnd::PressKey(UINT virtualKey, bool control) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG msg = {};
    msg.hwnd = GetHandle();
    msg.message = WM_KEYDOWN;
    msg.wParam = virtualKey;
    msg.lParam = 1;
    const bool translated = TranslateAcceleratorW(GetHandle(), accelerators, &msg) != 0;
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
    SetKeyboardState(keys);
    return translated;
}

void IdlePass() {
    for (unsigned i = 0; i < TWIG4::WindowList::Count(); ++i)
        if (TWIG4::Wnd* w = TWIG4::WindowList::At(i)) w->OnIdle(0);
}

bistrope::SourceImage Solid(int width, int height, Rgb top, Rgb bottom) {
    bistrope::SourceImage image = bistrope::SourceImage::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb& c = y < height / 2 ? top : bottom;
            std::uint8_t* p = image.row(y) + 4 * x;
            p[0] = std::uint8_t(c[2]), p[1] = std::uint8_t(c[1]), p[2] = std::uint8_t(c[0]), p[3] = 255;
        }
    return image;
}

std::wstring MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? wintest::TextOf(text) : std::wstring();
}

void AppTest::SetUp() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, kPlacementKey);
    folder = std::make_unique<wintest::ScratchDir>();
}

void AppTest::Start() {
    app = std::make_unique<TestMainWnd>();
    ASSERT_TRUE(app->CreateFrame());
}

void AppTest::Stop() {
    if (!app) return;
    app->DestroyFrame();
    app.reset();
}

std::wstring AppTest::Pane(int index) {
    wchar_t text[512] = {};
    SendMessageW(app->GetStatusBar().GetHandle(), SB_GETTEXTW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text));
    return text;
}

bool AppTest::ButtonEnabled(int id) {
    app->GetToolBar()->OnIdle(0);
    return SendMessageW(app->GetToolBar()->GetHandle(), TB_ISBUTTONENABLED, id, 0) != 0;
}

bool AppTest::ButtonChecked(int id) {
    app->GetToolBar()->OnIdle(0);
    return SendMessageW(app->GetToolBar()->GetHandle(), TB_ISBUTTONCHECKED, id, 0) != 0;
}

std::wstring AppTest::WritePicture(const wchar_t* name, int width, int height, int seed) {
    bistrope::ConvertedImage bgr = bistrope::ConvertedImage::Create(width, height);  // a gradient per seed
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) bgr.row(y)[3 * x + c] = std::uint8_t((x * (c + 1) + y * seed * 3 + 40 * c) % 256);
    const std::filesystem::path path = *folder / name;
    EXPECT_TRUE(bistrope::WriteJpegFile(path, bgr, 95).ok());
    return path.wstring();
}

void AppTest::LoadBoth(int width, int height) {
    ASSERT_TRUE(app->LoadFile(bistrope::Eye::Left, WritePicture(L"left.jpg", width, height, 1).c_str()));
    ASSERT_TRUE(app->LoadFile(bistrope::Eye::Right, WritePicture(L"right.jpg", width, height, 2).c_str()));
    wintest::Pump(20, IdlePass);
}

std::vector<std::uint8_t> AppTest::ViewPixels(int& width, int& height) {
    RECT client{};
    GetClientRect(View().GetHandle(), &client);
    width = client.right;
    height = client.bottom;
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height) * 3);
    EXPECT_TRUE(View().Render());
    EXPECT_TRUE(View().ReadPixels(0, 0, width, height, 0x1907 /* GL_RGB */, pixels.data()));
    return pixels;
}

}  // namespace apptest
