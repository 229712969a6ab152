#include "app_support.h"

#include <cmath>

#include "engine/jpeg_writer.h"
#include "framework/win/toolbar.h"
#include "framework/win/wnd.h"

namespace apptest {

bool TestMainWnd::CreateFrame() {
    instance = GetModuleHandleW(nullptr);
    showCommand = SW_SHOWNORMAL;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x4FF};
    InitCommonControlsEx(&controls);
    if (!RegisterWindowClasses()) return false;
    CREATESTRUCTW p = {};
    p.lpszClass = kFrameClass;
    p.lpszName = title;
    p.style = 0x06CF0000;
    p.x = CW_USEDEFAULT;
    p.cx = CW_USEDEFAULT;
    p.hInstance = instance;
    PreCreateWindow(p);
    if (!Create(p)) return false;
    InitialShow();
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

bistrope::SourceImage MakePicture(int width, int height, int seed) {
    bistrope::SourceImage image = bistrope::SourceImage::Create(width, height);
    const double kTwoPi = 6.283185307179586;
    auto clamp = [](double v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double ripple = std::sin(kTwoPi * (x + y + 5 * seed) / 24.0);
            std::uint8_t* p = image.row(y) + 4 * x;
            p[0] = clamp(190 - 130.0 * (x + y) / (width + height) + 30 * ripple);
            p[1] = clamp(50 + 120.0 * y / height + 30 * std::sin(kTwoPi * (x - y + 3 * seed) / 32.0));
            p[2] = clamp(40 + 140.0 * x / width + 40 * ripple);
            p[3] = 255;
        }
    return image;
}

std::vector<HWND> Shown(const wchar_t* cls) {
    return wintest::FindWindows([cls](HWND w) { return wintest::ClassOf(w) == cls; }, wintest::Shown::Only);
}

std::wstring MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? wintest::TextOf(text) : std::wstring();
}

void Press(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

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
    const bistrope::SourceImage picture = MakePicture(width, height, seed);
    bistrope::ConvertedImage bgr = bistrope::ConvertedImage::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) bgr.row(y)[3 * x + c] = picture.row(y)[4 * x + c];
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
