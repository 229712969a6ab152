// Offscreen framebuffer on a hidden context window, copied into the view with GDI.
#include "framework/win/gl_window_copy.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace TWIG4 {

namespace {

const wchar_t kContextWindowClass[] = L"TWIG4GlContextWindow";

// The framebuffer-object entry points: one pixel format is used process-wide, so the
// addresses found with the first context serve every later one.
struct FramebufferFunctions {
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSEXTPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus = nullptr;

    bool Complete() const {
        return genFramebuffers && deleteFramebuffers && bindFramebuffer && genRenderbuffers && deleteRenderbuffers &&
               bindRenderbuffer && renderbufferStorage && framebufferRenderbuffer && checkFramebufferStatus;
    }
};

FramebufferFunctions fbo;

template <typename T>
void Load(T& function, const char* name) {
    function = reinterpret_cast<T>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

bool RegisterContextWindowClass() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kContextWindowClass, &wc)) return true;
    wc.cbSize = sizeof(wc);
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kContextWindowClass;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

GlWindowCopy::GlWindowCopy()
    : window(nullptr), windowDc(nullptr), framebuffer(0), colourBuffer(0), depthBuffer(0), width(0), height(0) {}

GlWindowCopy::~GlWindowCopy() {
    // The context may already be gone at exit; the names go with it. Only the window is ours.
    if (window) {
        ::ReleaseDC(window, windowDc);
        ::DestroyWindow(window);
    }
}

HDC GlWindowCopy::CreateContextWindow() {
    if (window) return windowDc;
    if (!RegisterContextWindowClass()) return nullptr;
    // Never shown: the frame is drawn into the offscreen framebuffer, not into this window.
    window = ::CreateWindowExW(WS_EX_TOOLWINDOW, kContextWindowClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    windowDc = ::GetDC(window);
    if (!windowDc) {
        ::DestroyWindow(window);
        window = nullptr;
    }
    return windowDc;
}

bool GlWindowCopy::LoadFramebufferFunctions() {
    if (fbo.Complete()) return true;
    Load(fbo.genFramebuffers, "glGenFramebuffersEXT");
    Load(fbo.deleteFramebuffers, "glDeleteFramebuffersEXT");
    Load(fbo.bindFramebuffer, "glBindFramebufferEXT");
    Load(fbo.genRenderbuffers, "glGenRenderbuffersEXT");
    Load(fbo.deleteRenderbuffers, "glDeleteRenderbuffersEXT");
    Load(fbo.bindRenderbuffer, "glBindRenderbufferEXT");
    Load(fbo.renderbufferStorage, "glRenderbufferStorageEXT");
    Load(fbo.framebufferRenderbuffer, "glFramebufferRenderbufferEXT");
    Load(fbo.checkFramebufferStatus, "glCheckFramebufferStatusEXT");
    return fbo.Complete();
}

void GlWindowCopy::Release() {
    if (!fbo.Complete()) return;
    fbo.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
    if (framebuffer) fbo.deleteFramebuffers(1, &framebuffer);
    if (colourBuffer) fbo.deleteRenderbuffers(1, &colourBuffer);
    if (depthBuffer) fbo.deleteRenderbuffers(1, &depthBuffer);
    framebuffer = colourBuffer = depthBuffer = 0;
    width = height = 0;
}

bool GlWindowCopy::Bind(int newWidth, int newHeight) {
    if (!fbo.Complete() || newWidth <= 0 || newHeight <= 0) return false;
    if (framebuffer && newWidth == width && newHeight == height) {
        fbo.bindFramebuffer(GL_FRAMEBUFFER_EXT, framebuffer);
        return true;
    }
    Release();
    fbo.genFramebuffers(1, &framebuffer);
    fbo.genRenderbuffers(1, &colourBuffer);
    fbo.genRenderbuffers(1, &depthBuffer);
    fbo.bindFramebuffer(GL_FRAMEBUFFER_EXT, framebuffer);
    fbo.bindRenderbuffer(GL_RENDERBUFFER_EXT, colourBuffer);
    fbo.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_RGBA8, newWidth, newHeight);
    fbo.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, colourBuffer);
    fbo.bindRenderbuffer(GL_RENDERBUFFER_EXT, depthBuffer);
    fbo.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, newWidth, newHeight);
    fbo.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer);
    fbo.bindRenderbuffer(GL_RENDERBUFFER_EXT, 0);
    if (fbo.checkFramebufferStatus(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
        Release();
        return false;
    }
    width = newWidth;
    height = newHeight;
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    return true;
}

bool GlWindowCopy::Read(int x, int y, int w, int h, unsigned format, void* out) const {
    if (!framebuffer || x < 0 || y < 0 || w <= 0 || h <= 0 || x > width - w || y > height - h) return false;
    fbo.bindFramebuffer(GL_FRAMEBUFFER_EXT, framebuffer);
    // Errors left by earlier calls are not this read's (bounded: without a context the
    // error may never clear).
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) {
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, w, h, format, GL_UNSIGNED_BYTE, out);
    return glGetError() == GL_NO_ERROR;
}

bool GlWindowCopy::CopyTo(HDC dc) {
    if (!framebuffer || !dc) return false;
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    if (!Read(0, 0, width, height, GL_BGRA_EXT, pixels.data())) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: bottom-up, as OpenGL reads
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int lines = ::SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info,
                                          DIB_RGB_COLORS);
    return lines == height;
}

}  // namespace TWIG4
