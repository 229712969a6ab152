// e2e-probe: reads what a person sees in the running Bistrope window, for the end-to-end
// test that drives the program from Linux with xdotool. It never clicks or types itself.
//
//   e2e-probe status            the five status-bar pane texts, one "pane N: text" a line
//   e2e-probe toolbar           "button ID X Y W H ENABLED CHECKED" for every toolbar button
//                               (screen pixels; the two states 1 or 0)
//   e2e-probe view              "view X Y W H" of the stereo view's client area (screen pixels)
//   e2e-probe dialog            "dialog TITLE" for each visible dialog box of the program,
//                               followed by "text TEXT" for a message box
//   e2e-probe frame             "frame X Y W H SHOWCMD" of the main window
//
// Texts of controls in another process are read through a buffer allocated in that process.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/version.h"

namespace {

const wchar_t kTitle[] = L"" BISTROPE_TITLE;

HWND FindFrame() { return FindWindowW(L"TWIG4_SDI_FRAME_CLASS", kTitle); }

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring ClassOf(HWND h) {
    wchar_t name[128] = {};
    GetClassNameW(h, name, 127);
    return name;
}

// A block of memory inside the process that owns a window.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t bytes) : size_(bytes) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool ok() const { return address_ != nullptr; }
    LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
    bool Read(void* out, size_t bytes) const {
        SIZE_T got = 0;
        return bytes <= size_ && ReadProcessMemory(process_, address_, out, bytes, &got) && got == bytes;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

HWND FindDescendant(HWND frame, const wchar_t* cls) {
    for (HWND h : Descendants(frame))
        if (ClassOf(h) == cls) return h;
    return nullptr;
}

void PrintRect(const char* what, const std::string& name, const RECT& r) {
    std::printf("%s %s %ld %ld %ld %ld\n", what, name.c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top);
}

int Status(HWND frame) {
    HWND bar = FindDescendant(frame, STATUSCLASSNAMEW);
    if (!bar) return 3;
    const int parts = int(SendMessageW(bar, SB_GETPARTS, 0, 0));
    RemoteBuffer buffer(bar, 4096);
    if (!buffer.ok()) return 4;
    for (int i = 0; i < parts; ++i) {
        wchar_t text[2048] = {};
        SendMessageW(bar, SB_GETTEXTW, WPARAM(i), buffer.address());
        buffer.Read(text, sizeof(text) - sizeof(wchar_t));
        std::printf("pane %d: %s\n", i, Utf8(text).c_str());
    }
    return 0;
}

int Toolbar(HWND frame) {
    HWND bar = FindDescendant(frame, TOOLBARCLASSNAMEW);
    if (!bar) return 3;
    RemoteBuffer buffer(bar, sizeof(TBBUTTON) + sizeof(RECT));
    if (!buffer.ok()) return 4;
    const int count = int(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        SendMessageW(bar, TB_GETBUTTON, WPARAM(i), buffer.address());
        buffer.Read(&button, sizeof(button));
        if (button.fsStyle & BTNS_SEP) continue;
        RECT r = {};
        SendMessageW(bar, TB_GETITEMRECT, WPARAM(i), buffer.address());
        buffer.Read(&r, sizeof(r));
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
        const LRESULT enabled = SendMessageW(bar, TB_ISBUTTONENABLED, WPARAM(button.idCommand), 0);
        const LRESULT checked = SendMessageW(bar, TB_ISBUTTONCHECKED, WPARAM(button.idCommand), 0);
        std::printf("button %d %ld %ld %ld %ld %d %d\n", button.idCommand, r.left, r.top, r.right - r.left,
                    r.bottom - r.top, enabled ? 1 : 0, checked ? 1 : 0);
    }
    return 0;
}

// The stereo view: the largest window of the framework's child class inside the client window.
int View(HWND frame) {
    HWND best = nullptr;
    long bestArea = -1;
    for (HWND h : Descendants(frame)) {
        HWND parent = GetParent(h);
        if (ClassOf(h) != L"TWIG4_SDI_CHILD_CLASS" || parent == frame || !parent || GetParent(parent) != frame)
            continue;
        RECT r;
        GetClientRect(h, &r);
        const long area = (r.right - r.left) * (r.bottom - r.top);
        if (area > bestArea) {
            bestArea = area;
            best = h;
        }
    }
    if (!best) return 3;
    RECT r;
    GetClientRect(best, &r);
    MapWindowPoints(best, nullptr, reinterpret_cast<POINT*>(&r), 2);
    PrintRect("view", "client", r);
    return 0;
}

int Dialogs(HWND frame) {
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    struct Search {
        DWORD pid;
    } search{pid};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == reinterpret_cast<Search*>(p)->pid && IsWindowVisible(h) && ClassOf(h) == L"#32770") {
                wchar_t title[256] = {};
                GetWindowTextW(h, title, 255);
                std::printf("dialog %s\n", Utf8(title).c_str());
                // A message box's text is its static control 0xFFFF.
                if (HWND text = GetDlgItem(h, 0xFFFF)) {
                    wchar_t body[1024] = {};
                    GetWindowTextW(text, body, 1023);
                    std::printf("text %s\n", Utf8(body).c_str());
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return 0;
}

int Frame(HWND frame) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    GetWindowPlacement(frame, &wp);
    RECT r;
    GetWindowRect(frame, &r);
    RECT client;
    GetClientRect(frame, &client);
    MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::printf("frame %ld %ld %ld %ld %u\n", r.left, r.top, r.right - r.left, r.bottom - r.top, wp.showCmd);
    PrintRect("client", "frame", client);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: e2e-probe status|toolbar|view|dialog|frame\n");
        return 2;
    }
    HWND frame = FindFrame();
    if (!frame) {
        std::fprintf(stderr, "e2e-probe: no Bistrope window\n");
        return 1;
    }
    const std::string what = argv[1];
    int rc = 2;
    if (what == "status") rc = Status(frame);
    else if (what == "toolbar") rc = Toolbar(frame);
    else if (what == "view") rc = View(frame);
    else if (what == "dialog") rc = Dialogs(frame);
    else if (what == "frame") rc = Frame(frame);
    std::fflush(stdout);
    return rc;
}
