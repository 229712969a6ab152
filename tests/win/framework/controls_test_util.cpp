#include "controls_test_util.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>

namespace test {

bool WriteBmp24(const std::wstring& path, int width, int height, const std::function<COLORREF(int, int)>& colour) {
    const int row = (width * 3 + 3) & ~3;
    std::vector<unsigned char> data(static_cast<size_t>(row) * height, 0);
    for (int y = 0; y < height; ++y) {
        unsigned char* line = &data[static_cast<size_t>(height - 1 - y) * row];
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            line[x * 3 + 0] = GetBValue(c);
            line[x * 3 + 1] = GetGValue(c);
            line[x * 3 + 2] = GetRValue(c);
        }
    }
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(data.size());
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(data.size());
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const bool ok = fwrite(&file, sizeof(file), 1, f) == 1 && fwrite(&info, sizeof(info), 1, f) == 1 &&
                    fwrite(data.data(), 1, data.size(), f) == data.size();
    fclose(f);
    return ok;
}

std::wstring TempFile(const std::wstring& name) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

void EnsureGdiplus() {
    static ULONG_PTR token = 0;
    if (token) return;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
}

bool OwnerWnd::Make(int x, int y, int width, int height) {
    // Not shown: Wine without a window manager waits seconds for a shown window to go.
    if (!CreateChild(0, WS_POPUP, nullptr)) return false;
    return Move(x, y, width, height, true);
}

LRESULT OwnerWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (TWIG4::IsUpdateUIQuery(message, wParam, lParam)) {
            const int id = LOWORD(wParam) == 0xFFFF ? -1 : static_cast<int>(LOWORD(wParam));
            queries.push_back(id);
            auto it = answers.find(id);
            if (it != answers.end()) {
                auto* record = reinterpret_cast<TWIG4::UpdateUIRecord*>(lParam);
                record->enabled = it->second.enabled;
                record->checked = it->second.checked;
                record->radio = it->second.radio;
                record->image = it->second.image;
                record->text = it->second.text;
            }
            return 1;
        }
        if (lParam == 0) {
            commands.push_back(static_cast<int>(LOWORD(wParam)));
            if (onCommand) onCommand(static_cast<int>(LOWORD(wParam)));
            return 1;
        }
    }
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

int OwnerWnd::QueriesFor(int id) const {
    int n = 0;
    for (int q : queries) n += q == id;
    return n;
}

}  // namespace test
