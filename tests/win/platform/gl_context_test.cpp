// The toolchain end to end: a native window, a WGL context, a clear and a read-back.
#include <windows.h>
#include <GL/gl.h>

#include <gtest/gtest.h>

#include "engine/color_matrix.h"

namespace {

struct GlWindow {
    HWND hwnd = nullptr;
    HDC dc = nullptr;
    HGLRC rc = nullptr;

    GlWindow() {
        WNDCLASSW wc = {};
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"GlSmokeTestClass";
        RegisterClassW(&wc);
        hwnd = CreateWindowW(wc.lpszClassName, L"gl", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 128, 128, nullptr,
                             nullptr, wc.hInstance, nullptr);
        if (!hwnd) return;
        dc = GetDC(hwnd);
        PIXELFORMATDESCRIPTOR pfd = {};
        pfd.nSize = sizeof(pfd);
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pfd.iPixelType = PFD_TYPE_RGBA;
        pfd.cColorBits = 32;
        pfd.cDepthBits = 32;
        const int format = ChoosePixelFormat(dc, &pfd);
        if (format && SetPixelFormat(dc, format, &pfd)) rc = wglCreateContext(dc);
        if (rc && !wglMakeCurrent(dc, rc)) {
            wglDeleteContext(rc);
            rc = nullptr;
        }
    }
    ~GlWindow() {
        if (rc) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(rc);
        }
        if (dc) ReleaseDC(hwnd, dc);
        if (hwnd) DestroyWindow(hwnd);
    }
};

TEST(GlContext, ClearsToAColourAndReadsItBack) {
    GlWindow w;
    ASSERT_NE(w.hwnd, nullptr);
    ASSERT_NE(w.rc, nullptr) << "no OpenGL context";
    glViewport(0, 0, 128, 128);
    glClearColor(1.0f, 0.0f, 128 / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    unsigned char px[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 0);
    EXPECT_NEAR(px[2], 128, 1);
}

TEST(GlContext, EngineLinksIntoWindowsPrograms) {
    const auto m = bistrope::SelectBlendMatrix(bistrope::FullColour, bistrope::Eye::Left, {});
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->at(0, 0), 1.0f);
}

}  // namespace
