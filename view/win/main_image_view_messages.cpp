// The stereo view's window messages.
#include <algorithm>

#include "framework/win/dc.h"
#include "view/win/main_image_view.h"

namespace {

// Every corner of the background gradient: red 254, green 252, blue 242.
constexpr COLORREF kBackground = RGB(254, 252, 242);

}  // namespace

LRESULT cMainImageView::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        break;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_PAINT:
        OnPaint();
        return 1;
    case WM_SETCURSOR:
        return OnSetCursor(lParam);
    case WM_CONTEXTMENU:
        OnContextMenu();
        return 1;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
        OnMouseButton(message, lParam);
        break;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        OnLeftDoubleClick();
        break;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(wParam);
    default:
        break;
    }
    return TWIG4::Wnd::WndProc(hwnd, message, wParam, lParam);
}

void cMainImageView::OnCreate() {
    // A failed context is not reported: texture and drawing calls then do nothing useful.
    (void)CreateContext(this);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glGenTextures(2, textures);
    SetBackgroundGradient(kBackground, kBackground, kBackground, kBackground);
    OnImagesChanged();
}

void cMainImageView::OnDestroy() {
    glDeleteTextures(2, textures);
    textures[0] = textures[1] = 0;
    (void)ReleaseContext();
}

void cMainImageView::OnSize(int width, int height) {
    // The viewport leaves one pixel free on every side: the preview's black border.
    SetViewport(1, 1, std::max(0, width - 2), std::max(0, height - 2));
    if (document.HasPreview(bistrope::Eye::Left) || document.HasPreview(bistrope::Eye::Right)) Refit();
    UpdateStatusPanes();
}

void cMainImageView::OnCommand(WPARAM wParam, LPARAM lParam) {
    // The application carries out every command and answers every state query.
    if (HWND top = ::GetAncestor(handle, GA_ROOT); top && top != handle)
        (void)::SendMessageW(top, WM_COMMAND, wParam, lParam);
}

void cMainImageView::OnPaint() {
    TWIG4::PaintDC dc(handle);
    Render(&dc);
}
