// OpenGL view base: context, swap interval, gradient background and the camera's matrices.
#include "framework/win/oglview.h"

#include <GL/gl.h>

#include <array>
#include <cstring>

#include "framework/win/gl_window_copy.h"
#include "framework/win/wnd.h"

namespace TWIG4 {

namespace {

typedef BOOL(WINAPI* SwapIntervalProc)(int interval);
typedef const char*(WINAPI* ExtensionsStringProc)();

bool HasWord(const char* list, const char* word) {
    if (!list) return false;
    const size_t length = std::strlen(word);
    for (const char* p = std::strstr(list, word); p; p = std::strstr(p + 1, word)) {
        const bool startsWord = p == list || p[-1] == ' ';
        const bool endsWord = p[length] == '\0' || p[length] == ' ';
        if (startsWord && endsWord) return true;
    }
    return false;
}

// Whether the current context offers WGL_EXT_swap_control: in the OpenGL extension string,
// or in the WGL one (where drivers list their WGL extensions).
bool HasSwapControl() {
    if (HasWord(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), "WGL_EXT_swap_control")) return true;
    auto wglExtensions =
        reinterpret_cast<ExtensionsStringProc>(reinterpret_cast<void*>(wglGetProcAddress("wglGetExtensionsStringEXT")));
    return wglExtensions && HasWord(wglExtensions(), "WGL_EXT_swap_control");
}

void SplitColour(COLORREF c, float rgb[3]) {
    rgb[0] = GetRValue(c) / 255.0f;
    rgb[1] = GetGValue(c) / 255.0f;
    rgb[2] = GetBValue(c) / 255.0f;
}

}  // namespace

bool SwitchOffMenuSelectionFade() {
    BOOL fade = FALSE;
    if (!SystemParametersInfoW(SPI_GETSELECTIONFADE, 0, &fade, 0)) return false;
    if (!fade) return true;
    // pvParam carries the new value itself; SPIF_SENDCHANGE without SPIF_UPDATEINIFILE
    // changes the running session only.
    return SystemParametersInfoW(SPI_SETSELECTIONFADE, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(FALSE)),
                                 SPIF_SENDCHANGE) != 0;
}

OGLView::OGLView()
    : renderContext(nullptr),
      deviceContext(nullptr),
      ownerWnd(nullptr),
      gradientOn(false),
      gradientColours{},
      presentation(Presentation::SwapBuffers) {
    SwitchOffMenuSelectionFade();
}

OGLView::~OGLView() {}

OGLView::Presentation OGLView::DefaultPresentation() {
    return RunningUnderWine() ? Presentation::CopyToWindow : Presentation::SwapBuffers;
}

bool OGLView::CreateContext(Wnd* owner, Presentation how) {
    if (!owner || deviceContext || renderContext) return false;
    ownerWnd = owner;
    presentation = Presentation::CopyToWindow;
    if (how != Presentation::CopyToWindow || !UseWindowCopy()) {
        presentation = Presentation::SwapBuffers;
        HWND window = owner->GetHandle();
        HDC dc = ::GetDC(window);
        if (!dc) return false;
        if (!MakeContextOn(dc)) {
            ::ReleaseDC(window, dc);
            return false;
        }
        deviceContext = dc;
    }
    glClearColor(0.0f, 0.0f, 0.995f, 0.0f);
    SetSwapInterval(false);
    return true;
}

// The context on a hidden window of its own, drawing into an offscreen framebuffer.
bool OGLView::UseWindowCopy() {
    windowCopy = std::make_unique<GlWindowCopy>();
    const HDC dc = windowCopy->CreateContextWindow();
    if (dc && MakeContextOn(dc)) {
        if (windowCopy->LoadFramebufferFunctions()) {
            deviceContext = dc;
            return true;
        }
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(renderContext);
        renderContext = nullptr;
    }
    windowCopy.reset();
    return false;
}

bool OGLView::MakeContextOn(HDC dc) {
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = 40;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(dc, &pfd);
    if (!format || !SetPixelFormat(dc, format, &pfd)) return false;
    renderContext = wglCreateContext(dc);
    if (renderContext && wglMakeCurrent(dc, renderContext)) return true;
    if (renderContext) wglDeleteContext(renderContext);
    renderContext = nullptr;
    return false;
}

bool OGLView::ReleaseContext() { return true; }

void OGLView::SetSwapInterval(bool on) {
    if (!HasSwapControl()) return;
    auto swapInterval =
        reinterpret_cast<SwapIntervalProc>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    if (swapInterval) swapInterval(on ? 1 : 0);
}

void OGLView::SetViewport(int x, int y, int width, int height) {
    camera.SetViewport(x, y, width, height);
    glViewport(x, y, width, height);
}

void OGLView::SetBackgroundGradient(COLORREF topLeft, COLORREF topRight, COLORREF bottomLeft, COLORREF bottomRight) {
    gradientColours[0] = topLeft;
    gradientColours[1] = topRight;
    gradientColours[2] = bottomLeft;
    gradientColours[3] = bottomRight;
    gradientOn = true;
}

bool OGLView::BeginFrame(HDC dc) {
    if (!renderContext) return false;
    if (windowCopy) {
        RECT client = {};
        if (!wglMakeCurrent(deviceContext, renderContext)) return false;
        if (!::GetClientRect(ownerWnd->GetHandle(), &client)) return false;
        if (!windowCopy->Bind(client.right, client.bottom)) return false;
    } else if (!wglMakeCurrent(dc ? dc : deviceContext, renderContext)) {
        return false;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (gradientOn) DrawGradient();
    LoadCamera();
    return true;
}

void OGLView::DrawGradient() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    float c[4][3];
    for (int i = 0; i < 4; ++i) SplitColour(gradientColours[i], c[i]);
    glBegin(GL_QUADS);
    glColor3fv(c[2]);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glColor3fv(c[3]);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glColor3fv(c[1]);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glColor3fv(c[0]);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void OGLView::LoadCamera() {
    if (!camera.ApplyCamera()) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(camera.orthoMin.x, camera.orthoMax.x, camera.orthoMin.y, camera.orthoMax.y, camera.orthoMin.z,
            camera.orthoMax.z);
    glMatrixMode(GL_MODELVIEW);
    const std::array<double, 16> columns = camera.viewMatrix.ToColumnOrder();
    glLoadMatrixd(columns.data());
}

bool OGLView::Present(HDC dc) {
    if (!renderContext) return false;
    if (!windowCopy) return SwapBuffers(dc ? dc : deviceContext) != 0;
    if (dc) return windowCopy->CopyTo(dc);
    const HWND window = ownerWnd->GetHandle();
    if (!window) return false;  // GetDC(null) would be the whole screen's
    const HDC own = ::GetDC(window);
    const bool copied = windowCopy->CopyTo(own);
    ::ReleaseDC(window, own);
    return copied;
}

bool OGLView::ReadPixels(int x, int y, int width, int height, unsigned format, void* pixels) {
    if (!renderContext) return false;
    if (windowCopy) return windowCopy->Read(x, y, width, height, format, pixels);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, format, GL_UNSIGNED_BYTE, pixels);
    return true;
}

}  // namespace TWIG4
