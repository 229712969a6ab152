#include "slot_test_support.h"

#include <commctrl.h>

#include <cstdio>
#include <fstream>

#include "../framework/test_key.h"
#include "engine/jpeg_writer.h"
#include "framework/win/sdiapp.h"
#include "framework/win/tooltip.h"

namespace slot_test {

namespace {

// The application object when the program has none of its own.
class SlotTestApp : public TWIG4::SDIApp {
public:
    SlotTestApp() : SDIApp(L"Slot tests", L"Software\\Bistrope-tests\\slots-app") {}
};

// Reaches the application object's module instance, which Run would set.
struct AppInstance : TWIG4::SDIApp {
    static HINSTANCE TWIG4::SDIApp::*Field() { return &AppInstance::instance; }
};

}  // namespace

TWIG4::SDIApp& App() {
    // One application object per process: the program's other test files may have made
    // theirs already, and then every window here uses that one.
    if (TWIG4::SDIApp* app = TWIG4::SDIApp::GetApp()) return *app;
    static SlotTestApp own;
    return own;
}

bool MakeFrame() {
    TWIG4::SDIApp& app = App();
    if (!(app.*AppInstance::Field())) app.*AppInstance::Field() = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x4FF};
    InitCommonControlsEx(&controls);
    if (!app.RegisterWindowClasses()) return false;
    if (!app.GetHandle()) {
        CREATESTRUCTW p = {};
        p.lpszClass = TWIG4::SDIApp::kFrameClass;
        p.lpszName = app.GetTitle();
        p.style = 0x06CF0000 | WS_VISIBLE;
        p.x = 40;
        p.y = 40;
        p.cx = 700;
        p.cy = 500;
        p.hInstance = app.GetAppInstance();
        if (!app.Create(p)) return false;
    }
    // The frame makes the shared tooltip when it is created; make sure it exists.
    if (!app.GetToolTipHandle() && app.GetToolTip()) app.GetToolTip()->Create(&app);
    return true;
}

void DestroyFrame() {
    TWIG4::SDIApp& app = App();
    if (app.GetHandle()) app.Destroy();
    DrainQueue();  // destroying the frame posts the quit message
}

Stage::Stage(cRegData& settings)
    : left(bistrope::Eye::Left, settings), right(bistrope::Eye::Right, settings), view(left, right, status, settings) {}

Stage::~Stage() {
    view.Destroy();
    left.Destroy();
    right.Destroy();
    DestroyFrame();
}

TWIG4::Wnd& Stage::Frame() { return App(); }

bool Stage::Open() {
    if (!MakeFrame()) return false;
    TWIG4::SDIApp& app = App();
    if (!left.Create(&app, 2, 2, 198, 175)) return false;
    if (!right.Create(&app, 2, 179, 198, 175)) return false;
    if (!view.Create(&app, 202, 2, 420, 352)) return false;
    app.Update();
    return true;
}

cRegData& Settings() {
    // The key goes after the record, which saves itself when destroyed at exit.
    static TestKey key;
    static cRegData settings(key.Path());
    return settings;
}

ScratchDir::ScratchDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path = fs::path(base) / (L"bistrope-slots-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount()));
    fs::create_directories(path);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
}

namespace {

void Put16(std::vector<std::uint8_t>& v, std::uint16_t x) {
    v.push_back(std::uint8_t(x));
    v.push_back(std::uint8_t(x >> 8));
}
void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
}

std::vector<std::uint8_t> BmpHeader(int width, int height, std::uint32_t pixelBytes) {
    std::vector<std::uint8_t> h;
    h.push_back('B');
    h.push_back('M');
    Put32(h, 54 + pixelBytes);
    Put32(h, 0);
    Put32(h, 54);
    Put32(h, 40);
    Put32(h, std::uint32_t(width));
    Put32(h, std::uint32_t(height));  // bottom-up
    Put16(h, 1);
    Put16(h, 24);
    Put32(h, 0);
    Put32(h, pixelBytes);
    Put32(h, 2835);
    Put32(h, 2835);
    Put32(h, 0);
    Put32(h, 0);
    return h;
}

}  // namespace

void WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void WriteBmp(const fs::path& file, int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const std::uint32_t stride = (std::uint32_t(width) * 3 + 3) & ~3u;
    std::vector<std::uint8_t> bytes = BmpHeader(width, height, stride * std::uint32_t(height));
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < width; ++x) {
        row[std::size_t(3 * x)] = b;
        row[std::size_t(3 * x + 1)] = g;
        row[std::size_t(3 * x + 2)] = r;
    }
    for (int y = 0; y < height; ++y) bytes.insert(bytes.end(), row.begin(), row.end());
    WriteBytes(file, bytes);
}

void WriteBmpWith(const fs::path& file, int width, int height,
                  const std::function<std::array<std::uint8_t, 3>(int x, int y)>& colour) {
    const std::uint32_t stride = (std::uint32_t(width) * 3 + 3) & ~3u;
    std::vector<std::uint8_t> bytes = BmpHeader(width, height, stride * std::uint32_t(height));
    std::vector<std::uint8_t> row(stride, 0);
    for (int y = height - 1; y >= 0; --y) {  // bottom-up
        for (int x = 0; x < width; ++x) {
            const auto c = colour(x, y);
            row[std::size_t(3 * x)] = c[2];
            row[std::size_t(3 * x + 1)] = c[1];
            row[std::size_t(3 * x + 2)] = c[0];
        }
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    WriteBytes(file, bytes);
}

void WriteBmpHeaderOnly(const fs::path& file, int width, int height) {
    const std::uint64_t stride = (std::uint64_t(width) * 3 + 3) & ~3ull;
    WriteBytes(file, BmpHeader(width, height, std::uint32_t(stride * std::uint64_t(height))));
}

std::vector<std::uint8_t> JpegBytes(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    bistrope::ConvertedImage image = bistrope::ConvertedImage::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.row(y) + 3 * x;
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    bistrope::Status status;
    return bistrope::EncodeJpeg(image, 90, status);
}

bistrope::SourceImage SolidSource(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    bistrope::SourceImage image = bistrope::SourceImage::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.row(y) + 4 * x;
            p[0] = b;
            p[1] = g;
            p[2] = r;
            p[3] = 255;
        }
    return image;
}

namespace {

bool IsDialogWithTitle(HWND hwnd, const std::wstring& title) {
    return ClassOf(hwnd) == L"#32770" && TextOf(hwnd) == title && IsWindowVisible(hwnd);
}

// The text control of a message box: id 0xFFFF on Windows, 100 in Wine.
HWND MessageTextOf(HWND box) {
    for (int id : {0xFFFF, 100})
        if (HWND text = GetDlgItem(box, id)) return text;
    return nullptr;
}

// A message box of this process (a dialog with a message text control).
HWND WaitForMessageBox(int milliseconds) {
    return WaitForWindow(
        [&](HWND h) { return ClassOf(h) == L"#32770" && IsWindowVisible(h) && MessageTextOf(h); },
        milliseconds);
}

std::wstring CloseMessageBox(HWND box) {
    const std::wstring text = TextOf(MessageTextOf(box));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return text;
}

// Closes every visible dialog box of this process, so that a test whose box never matched
// ends instead of hanging.
void CloseStrayDialogs() {
    for (int round = 0; round < 20; ++round) {
        HWND box = WaitForWindow(
            [](HWND w) { return ClassOf(w) == L"#32770" && IsWindowVisible(w); }, 0);
        if (!box) return;
        fprintf(stderr, "closing a stray dialog box: \"%ls\"\n", TextOf(box).c_str());
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(box, WM_CLOSE, 0, 0);
        Sleep(200);
    }
}

}  // namespace

MessageBoxCatcher::MessageBoxCatcher(int milliseconds) : timeout(milliseconds) {
    thread = CreateThread(nullptr, 0, &MessageBoxCatcher::Main, this, 0, nullptr);
}

MessageBoxCatcher::~MessageBoxCatcher() {
    if (thread) {
        WaitForSingleObject(thread, 30000);
        CloseHandle(thread);
    }
}

bool MessageBoxCatcher::Join(int milliseconds) {
    return thread && WaitForSingleObject(thread, DWORD(milliseconds)) == WAIT_OBJECT_0;
}

DWORD WINAPI MessageBoxCatcher::Main(void* self) {
    auto* me = static_cast<MessageBoxCatcher*>(self);
    if (HWND box = WaitForMessageBox(me->timeout)) {
        me->seen = true;
        me->caption = TextOf(box);
        me->text = CloseMessageBox(box);
    } else {
        CloseStrayDialogs();
    }
    return 0;
}

OpenDialogDriver::OpenDialogDriver(std::wstring title, std::wstring fileName, bool expectMessage)
    : title(std::move(title)), fileName(std::move(fileName)), expectMessage(expectMessage) {
    thread = CreateThread(nullptr, 0, &OpenDialogDriver::Main, this, 0, nullptr);
}

OpenDialogDriver::~OpenDialogDriver() {
    if (thread) {
        WaitForSingleObject(thread, 60000);
        CloseHandle(thread);
    }
}

bool OpenDialogDriver::Join(int milliseconds) {
    return thread && WaitForSingleObject(thread, DWORD(milliseconds)) == WAIT_OBJECT_0;
}

namespace {

BOOL CALLBACK FindEdit(HWND hwnd, LPARAM lParam) {
    if (ClassOf(hwnd) == L"Edit") {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The file-name box: the combo box cmb13 (0x47C) with an edit inside, or the edit edt1.
HWND FileNameEdit(HWND dialog) {
    HWND control = GetDlgItem(dialog, 0x47C);
    if (!control) return GetDlgItem(dialog, 0x480);
    HWND edit = nullptr;
    EnumChildWindows(control, &FindEdit, reinterpret_cast<LPARAM>(&edit));
    return edit ? edit : control;
}

// Cancels the dialog (and any box it shows) when it is still open after `milliseconds`,
// so that a test that goes wrong ends instead of hanging.
void EnsureClosed(HWND dialog, int milliseconds) {
    for (int waited = 0; waited < milliseconds && IsWindow(dialog); waited += 50) Sleep(50);
    for (int tries = 0; IsWindow(dialog) && tries < 50; ++tries) {
        HWND box = WaitForWindow(
            [&](HWND w) { return w != dialog && ClassOf(w) == L"#32770" && IsWindowVisible(w); }, 0);
        if (box) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        Sleep(200);
    }
}

}  // namespace

DWORD WINAPI OpenDialogDriver::Main(void* self) {
    auto* me = static_cast<OpenDialogDriver*>(self);
    HWND dialog = WaitForWindow([&](HWND h) { return IsDialogWithTitle(h, me->title); }, 20000);
    if (!dialog) return 0;
    me->dialogSeen = true;
    Sleep(400);  // let the dialog finish building its controls
    if (me->fileName.empty()) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EnsureClosed(dialog, 5000);
        return 0;
    }
    HWND edit = FileNameEdit(dialog);
    if (!edit) {
        EnsureClosed(dialog, 0);
        return 0;
    }
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(me->fileName.c_str()));
    Sleep(100);
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    if (me->expectMessage) {
        if (HWND box = WaitForMessageBox(20000)) {
            me->messageSeen = true;
            me->messageText = CloseMessageBox(box);
        } else {
            CloseStrayDialogs();
        }
    }
    EnsureClosed(dialog, 10000);
    return 0;
}

namespace {
ProgressRecorder* activeRecorder = nullptr;
}

ProgressRecorder::ProgressRecorder() {
    activeRecorder = this;
    hook = SetWindowsHookExW(WH_CALLWNDPROC, &ProgressRecorder::Hook, nullptr, GetCurrentThreadId());
}

ProgressRecorder::~ProgressRecorder() {
    if (hook) UnhookWindowsHookEx(hook);
    activeRecorder = nullptr;
}

LRESULT CALLBACK ProgressRecorder::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && activeRecorder) {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (msg->message == PBM_SETPOS && ClassOf(msg->hwnd) == PROGRESS_CLASSW)
            activeRecorder->positions.push_back(static_cast<int>(msg->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}


}  // namespace slot_test
