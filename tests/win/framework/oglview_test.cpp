// The OpenGL view base: context creation, the swap interval, frames with and without the
// background gradient (read back from the drawing buffer), the camera's matrices, and both
// ways of bringing a frame to the window.
#include <windows.h>
#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "framework/win/gl_window_copy.h"
#include "framework/win/oglview.h"
#include "framework/win/wnd.h"
#include "test_app.h"

using TWIG4::OGLView;
using TWIG4::Vec3;
using TWIG4::Wnd;

namespace {

const int kSize = 64;

// A view window the way the stereo view is one: a framework window with OGLView as
// second base.
class GlWnd : public Wnd, public OGLView {
public:
    bool Make() {
        if (!CreateChild(0, WS_POPUP | WS_VISIBLE, nullptr)) return false;
        return Move(200, 200, kSize, kSize, false);
    }
};

struct Rgb {
    int r, g, b;
};

Rgb ReadPixel(OGLView& view, int x, int y) {
    unsigned char px[4] = {};
    glFinish();
    EXPECT_TRUE(view.ReadPixels(x, y, 1, 1, GL_RGBA, px));
    return {px[0], px[1], px[2]};
}

::testing::AssertionResult Near(Rgb got, int r, int g, int b, int tolerance) {
    if (std::abs(got.r - r) <= tolerance && std::abs(got.g - g) <= tolerance && std::abs(got.b - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.r << ", " << got.g << ", " << got.b << "), expected (" << r
                                         << ", " << g << ", " << b << ") +-" << tolerance;
}

class OpenGlView : public ::testing::Test {
protected:
    void SetUp() override { test::App().Prepare(); }
};

TEST_F(OpenGlView, OneContextPerView) {
    GlWnd view;
    ASSERT_TRUE(view.Make());
    EXPECT_FALSE(view.CreateContext(nullptr));
    EXPECT_EQ(view.GetRenderContext(), nullptr);
    ASSERT_TRUE(view.CreateContext(&view));
    const HGLRC context = view.GetRenderContext();
    const HDC dc = view.GetDeviceContext();
    EXPECT_NE(context, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), context);
    // A second CreateContext fails and changes nothing.
    EXPECT_FALSE(view.CreateContext(&view));
    EXPECT_EQ(view.GetRenderContext(), context);
    EXPECT_EQ(view.GetDeviceContext(), dc);
    EXPECT_EQ(wglGetCurrentContext(), context);

    // The pixel format asked for: double-buffered RGBA for a window.
    PIXELFORMATDESCRIPTOR pfd = {};
    const int format = GetPixelFormat(dc);
    ASSERT_NE(format, 0);
    DescribePixelFormat(dc, format, sizeof(pfd), &pfd);
    EXPECT_NE(pfd.dwFlags & PFD_DOUBLEBUFFER, 0u);
    EXPECT_NE(pfd.dwFlags & PFD_SUPPORT_OPENGL, 0u);
    EXPECT_EQ(pfd.iPixelType, PFD_TYPE_RGBA);

    EXPECT_TRUE(view.ReleaseContext());
    EXPECT_EQ(view.GetRenderContext(), context) << "the context lives on";
}

TEST_F(OpenGlView, WithoutAContextFramesFail) {
    GlWnd view;
    EXPECT_FALSE(view.BeginFrame());
    EXPECT_FALSE(view.Present());
    EXPECT_FALSE(view.IsGradientOn());
}

TEST_F(OpenGlView, SwapIntervalIsOffWhereTheExtensionExists) {
    GlWnd view;
    ASSERT_TRUE(view.Make());
    ASSERT_TRUE(view.CreateContext(&view));
    typedef int(WINAPI * GetSwapInterval)();
    auto get = reinterpret_cast<GetSwapInterval>(reinterpret_cast<void*>(wglGetProcAddress("wglGetSwapIntervalEXT")));
    if (!get) GTEST_SKIP() << "this OpenGL has no WGL_EXT_swap_control";
    EXPECT_EQ(get(), 0);
    view.SetSwapInterval(true);
    EXPECT_EQ(get(), 1);
    view.SetSwapInterval(false);
    EXPECT_EQ(get(), 0);
}

TEST_F(OpenGlView, FrameWithoutGradientClearsToTheClearColour) {
    GlWnd view;
    ASSERT_TRUE(view.Make());
    ASSERT_TRUE(view.CreateContext(&view));
    view.SetViewport(0, 0, kSize, kSize);
    ASSERT_TRUE(view.BeginFrame());
    glFinish();
    // Clear colour (0, 0, 0.995): blue 254 (253.7 rounded), nothing drawn over it.
    for (int y : {0, kSize / 2, kSize - 1})
        for (int x : {0, kSize / 2, kSize - 1}) EXPECT_TRUE(Near(ReadPixel(view, x, y), 0, 0, 254, 1)) << x << "," << y;
    EXPECT_TRUE(view.Present());
}

TEST_F(OpenGlView, GradientRunsBetweenItsFourCorners) {
    GlWnd view;
    ASSERT_TRUE(view.Make());
    ASSERT_TRUE(view.CreateContext(&view));
    view.SetViewport(0, 0, kSize, kSize);
    // top-left red, top-right green, bottom-left blue, bottom-right white
    view.SetBackgroundGradient(RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255));
    EXPECT_TRUE(view.IsGradientOn());
    ASSERT_TRUE(view.BeginFrame());
    glFinish();
    // OpenGL rows count upwards: row kSize - 1 is the top. Corner pixels are half a pixel in
    // from the corners, so within 1/64 of the corner colours.
    const int tol = 6;
    EXPECT_TRUE(Near(ReadPixel(view, 0, kSize - 1), 255, 0, 0, tol)) << "top-left";
    EXPECT_TRUE(Near(ReadPixel(view, kSize - 1, kSize - 1), 0, 255, 0, tol)) << "top-right";
    EXPECT_TRUE(Near(ReadPixel(view, 0, 0), 0, 0, 255, tol)) << "bottom-left";
    EXPECT_TRUE(Near(ReadPixel(view, kSize - 1, 0), 255, 255, 255, tol)) << "bottom-right";
    // Along the outer edges the colour runs linearly between the two corners.
    EXPECT_TRUE(Near(ReadPixel(view, kSize / 2, 0), 128, 128, 255, tol)) << "bottom edge";
    EXPECT_TRUE(Near(ReadPixel(view, kSize / 2, kSize - 1), 128, 128, 0, tol)) << "top edge";
    EXPECT_TRUE(Near(ReadPixel(view, 0, kSize / 2), 128, 0, 128, tol)) << "left edge";
    // The gradient leaves texturing off and the matrices as the camera loads them.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(OpenGlView, FourEqualColoursGiveAFlatBackground) {
    GlWnd view;
    ASSERT_TRUE(view.Make());
    ASSERT_TRUE(view.CreateContext(&view));
    view.SetViewport(0, 0, kSize, kSize);
    const COLORREF paper = RGB(254, 252, 242);
    view.SetBackgroundGradient(paper, paper, paper, paper);
    ASSERT_TRUE(view.BeginFrame());
    glFinish();
    for (int y = 0; y < kSize; y += 9)
        for (int x = 0; x < kSize; x += 9) EXPECT_TRUE(Near(ReadPixel(view, x, y), 254, 252, 242, 1)) << x << "," << y;
}

TEST_F(OpenGlView, FramesLoadTheCameraProjection) {
    GlWnd view;
    ASSERT_TRUE(view.Make());
    ASSERT_TRUE(view.CreateContext(&view));

    // Before any viewport the camera is inert: BeginFrame leaves the matrices alone.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScaled(3.0, 3.0, 3.0);
    ASSERT_TRUE(view.BeginFrame());
    double m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ(m[0], 3.0) << "a zero viewport changes nothing";

    // A 64 x 64 viewport fitted to the world square (-32, -32)..(32, 32): one unit, one pixel.
    view.SetViewport(0, 0, kSize, kSize);
    GLint vp[4] = {};
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], kSize);
    EXPECT_EQ(vp[3], kSize);
    view.FitRect(-32, -32, 64, 64);
    EXPECT_DOUBLE_EQ(view.GetZoom(), 1.0);
    view.SetTarget(Vec3{8.0, 0.0, 0.0});  // pan: the world point (8, 0) at the centre
    ASSERT_TRUE(view.BeginFrame());
    // (OpenGL keeps its matrices in single precision.)
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[0], 2.0 / 64.0, 1e-9);
    EXPECT_NEAR(m[5], 2.0 / 64.0, 1e-9);
    EXPECT_NEAR(m[10], -2.0 / 2000.0, 1e-9);
    EXPECT_EQ(m[12], 0.0);
    EXPECT_EQ(m[15], 1.0);
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], -8.0) << "the view matrix translates by -target";
    EXPECT_EQ(m[13], 0.0);
    EXPECT_EQ(m[0], 1.0);

    // A white square drawn at world (8..24, 0..16) lands right of the centre, above it.
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2d(8, 0);
    glVertex2d(24, 0);
    glVertex2d(24, 16);
    glVertex2d(8, 16);
    glEnd();
    glFinish();
    EXPECT_TRUE(Near(ReadPixel(view, 32 + 8, 32 + 8), 255, 255, 255, 0));
    EXPECT_TRUE(Near(ReadPixel(view, 32 - 8, 32 + 8), 0, 0, 254, 1)) << "left of the square: cleared";
    EXPECT_TRUE(Near(ReadPixel(view, 32 + 8, 32 - 8), 0, 0, 254, 1)) << "below the square: cleared";

    // Mapping the window's centre back into the world gives the target.
    const Vec3 centre = view.WindowToWorld(Vec3{32.0, -32.0, 0.0});
    EXPECT_DOUBLE_EQ(centre.x, 8.0);
    EXPECT_DOUBLE_EQ(centre.y, 0.0);
    EXPECT_TRUE(view.Present());
}

// A view that is a child window, as the stereo view is one, inside a shown popup.
class ChildGlWnd : public Wnd, public OGLView {
public:
    Wnd host;
    bool Make(int width, int height) {
        if (!host.CreateChild(0, WS_POPUP | WS_VISIBLE, nullptr) || !host.Move(300, 200, 120, 100, false)) return false;
        if (!CreateChild(0, WS_CHILD | WS_VISIBLE, &host)) return false;
        return Move(0, 0, width, height, false);
    }
    ~ChildGlWnd() override {
        Destroy();
        host.Destroy();
    }
};

// What the window itself shows, read through GDI; rows count downwards here.
Rgb ShownPixel(HWND window, int x, int y) {
    const HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

bool HasPixelFormat(HWND window) {
    const HDC dc = GetDC(window);
    const int format = GetPixelFormat(dc);
    ReleaseDC(window, dc);
    return format != 0;
}

// Red above, blue below, over the whole client area.
void DrawRedOverBlue(OGLView& view, int width, int height) {
    view.SetViewport(0, 0, width, height);
    view.SetBackgroundGradient(RGB(255, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 0, 255));
    ASSERT_TRUE(view.BeginFrame());
    ASSERT_TRUE(view.Present());
}

TEST_F(OpenGlView, CopiedFramesReachAChildWindowTheRightWayUp) {
    if (TWIG4::RunningUnderWine()) {
        EXPECT_EQ(OGLView::DefaultPresentation(), OGLView::Presentation::CopyToWindow);
    }
    ChildGlWnd view;
    ASSERT_TRUE(view.Make(64, 48));
    ASSERT_TRUE(view.CreateContext(&view, OGLView::Presentation::CopyToWindow));
    ASSERT_EQ(view.GetPresentation(), OGLView::Presentation::CopyToWindow) << "no framebuffer objects here";
    // The context lives on a window of its own; the view's window keeps no pixel format,
    // which is what lets GDI's copy show.
    EXPECT_NE(WindowFromDC(view.GetDeviceContext()), view.GetHandle());
    EXPECT_FALSE(HasPixelFormat(view.GetHandle()));

    DrawRedOverBlue(view, 64, 48);
    EXPECT_TRUE(Near(ShownPixel(view.GetHandle(), 32, 0), 255, 0, 0, 8)) << "top row";
    EXPECT_TRUE(Near(ShownPixel(view.GetHandle(), 32, 47), 0, 0, 255, 8)) << "bottom row";
    EXPECT_TRUE(Near(ReadPixel(view, 32, 0), 0, 0, 255, 8)) << "OpenGL's row 0 is the bottom one";

    // The offscreen frame follows the client size.
    ASSERT_TRUE(view.Move(0, 0, 100, 80, false));
    DrawRedOverBlue(view, 100, 80);
    EXPECT_TRUE(Near(ShownPixel(view.GetHandle(), 99, 0), 255, 0, 0, 8));
    EXPECT_TRUE(Near(ShownPixel(view.GetHandle(), 99, 79), 0, 0, 255, 8));
    unsigned char outside[4] = {};
    EXPECT_FALSE(view.ReadPixels(100, 0, 1, 1, GL_RGBA, outside)) << "a read outside the frame is refused";

    // A frame can be given to another device context, such as a memory bitmap.
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 100, -80, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    const HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    ASSERT_TRUE(view.BeginFrame(memory));
    EXPECT_TRUE(view.Present(memory));
    GdiFlush();
    const auto* top = static_cast<const unsigned char*>(bits);  // top-down: B, G, R, x
    const unsigned char* bottom = top + 79 * 100 * 4;
    EXPECT_TRUE(Near(Rgb{top[2], top[1], top[0]}, 255, 0, 0, 8));
    EXPECT_TRUE(Near(Rgb{bottom[2], bottom[1], bottom[0]}, 0, 0, 255, 8));
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

TEST_F(OpenGlView, SwappedFramesUseTheWindowsOwnDeviceContext) {
    GlWnd view;
    ASSERT_TRUE(view.Make());
    ASSERT_TRUE(view.CreateContext(&view, OGLView::Presentation::SwapBuffers));
    EXPECT_EQ(view.GetPresentation(), OGLView::Presentation::SwapBuffers);
    EXPECT_EQ(WindowFromDC(view.GetDeviceContext()), view.GetHandle());
    EXPECT_TRUE(HasPixelFormat(view.GetHandle()));
    DrawRedOverBlue(view, kSize, kSize);
    EXPECT_TRUE(Near(ReadPixel(view, 0, kSize - 1), 255, 0, 0, 8)) << "top";
    EXPECT_TRUE(Near(ReadPixel(view, 0, 0), 0, 0, 255, 8)) << "bottom";
}

TEST_F(OpenGlView, MenuSelectionFadeIsSwitchedOff) {
    BOOL on = TRUE;
    if (!SystemParametersInfoW(SPI_SETSELECTIONFADE, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(TRUE)), 0))
        GTEST_SKIP() << "no menu selection-fade setting here";
    GlWnd view;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETSELECTIONFADE, 0, &on, 0));
    EXPECT_FALSE(on);
}

}  // namespace
