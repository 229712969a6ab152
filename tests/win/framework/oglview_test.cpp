// The OpenGL view base: its context, frames with and without the background gradient (read
// back from the drawing buffer), and both ways of bringing a frame to the window (swapping
// buffers, or GDI copying an offscreen frame the right way up).
#include <windows.h>
#include <GL/gl.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "framework/win/gl_window_copy.h"
#include "framework/win/oglview.h"
#include "framework/win/wnd.h"
#include "test_app.h"

using TWIG4::OGLView;
using TWIG4::Wnd;
using Rgb = std::array<int, 3>;

namespace {

// A view the way the stereo view is one: a framework window with OGLView as second base,
// a child window of a shown popup.
class GlWnd : public Wnd, public OGLView {
public:
    Wnd host;
    bool Make(int width, int height) {
        test::App().Prepare();
        return host.CreateChild(0, WS_POPUP | WS_VISIBLE, nullptr) && host.Move(300, 200, 120, 100, false) &&
               CreateChild(0, WS_CHILD | WS_VISIBLE, &host) && Move(0, 0, width, height, false);
    }
    ~GlWnd() override {
        Destroy();
        host.Destroy();
    }
    Rgb Read(int x, int y) {  // OpenGL window coordinates: row 0 is the bottom one
        unsigned char px[4] = {};
        glFinish();
        EXPECT_TRUE(ReadPixels(x, y, 1, 1, GL_RGBA, px));
        return {px[0], px[1], px[2]};
    }
    void Draw(int width, int height, COLORREF tl, COLORREF tr, COLORREF bl, COLORREF br) {
        SetViewport(0, 0, width, height);
        SetBackgroundGradient(tl, tr, bl, br);
        ASSERT_TRUE(BeginFrame());
    }
};

::testing::AssertionResult Near(Rgb got, Rgb want, int tolerance) {
    for (int i = 0; i < 3; ++i)
        if (std::abs(got[i] - want[i]) > tolerance)
            return ::testing::AssertionFailure() << "got (" << got[0] << ", " << got[1] << ", " << got[2] << ")";
    return ::testing::AssertionSuccess();
}

bool HasPixelFormat(HWND window) {
    const HDC dc = GetDC(window);
    const int format = GetPixelFormat(dc);
    ReleaseDC(window, dc);
    return format != 0;
}

TEST(OpenGlView, SwappedFramesDrawTheGradientBetweenItsCornersOnTheWindowsOwnContext) {
    GlWnd view;
    EXPECT_FALSE(view.BeginFrame()) << "no context yet";
    ASSERT_TRUE(view.Make(64, 64));
    ASSERT_TRUE(view.CreateContext(&view, OGLView::Presentation::SwapBuffers));
    const HGLRC context = view.GetRenderContext();
    EXPECT_EQ(wglGetCurrentContext(), context);
    EXPECT_FALSE(view.CreateContext(&view)) << "one context per view";
    EXPECT_EQ(view.GetRenderContext(), context);
    EXPECT_EQ(WindowFromDC(view.GetDeviceContext()), view.GetHandle());
    EXPECT_TRUE(HasPixelFormat(view.GetHandle()));

    view.SetViewport(0, 0, 64, 64);
    ASSERT_TRUE(view.BeginFrame());
    EXPECT_TRUE(Near(view.Read(32, 32), {0, 0, 254}, 1)) << "no gradient: the clear colour (0, 0, 0.995)";
    view.Draw(64, 64, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255));
    EXPECT_TRUE(Near(view.Read(0, 63), {255, 0, 0}, 6)) << "top-left";
    EXPECT_TRUE(Near(view.Read(63, 63), {0, 255, 0}, 6)) << "top-right";
    EXPECT_TRUE(Near(view.Read(0, 0), {0, 0, 255}, 6)) << "bottom-left";
    EXPECT_TRUE(Near(view.Read(63, 0), {255, 255, 255}, 6)) << "bottom-right";
    EXPECT_TRUE(Near(view.Read(32, 0), {128, 128, 255}, 6)) << "linear along the bottom edge";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(view.Present());
}

TEST(OpenGlView, CopiedFramesReachTheChildWindowTheRightWayUp) {
    if (TWIG4::RunningUnderWine()) {
        EXPECT_EQ(OGLView::DefaultPresentation(), OGLView::Presentation::CopyToWindow);
    }
    GlWnd view;
    ASSERT_TRUE(view.Make(64, 48));
    ASSERT_TRUE(view.CreateContext(&view, OGLView::Presentation::CopyToWindow));
    ASSERT_EQ(view.GetPresentation(), OGLView::Presentation::CopyToWindow) << "no framebuffer objects here";
    // The context lives on a window of its own: the view's window keeps no pixel format,
    // which is what lets GDI's copy show.
    EXPECT_NE(WindowFromDC(view.GetDeviceContext()), view.GetHandle());
    EXPECT_FALSE(HasPixelFormat(view.GetHandle()));

    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    for (const SIZE size : {SIZE{64, 48}, SIZE{100, 80}}) {  // the offscreen frame follows the client size
        ASSERT_TRUE(view.Move(0, 0, size.cx, size.cy, false));
        view.Draw(size.cx, size.cy, red, red, blue, blue);
        ASSERT_TRUE(view.Present());
        const wintest::Canvas shown = wintest::CaptureClient(view.GetHandle());
        EXPECT_TRUE(Near(shown.Rgb(size.cx - 1, 0), {255, 0, 0}, 8)) << "top row, " << size.cx;
        EXPECT_TRUE(Near(shown.Rgb(size.cx - 1, size.cy - 1), {0, 0, 255}, 8)) << "bottom row";
        EXPECT_TRUE(Near(view.Read(size.cx - 1, 0), {0, 0, 255}, 8)) << "read back: row 0 is the bottom one";
    }
    unsigned char outside[4] = {};
    EXPECT_FALSE(view.ReadPixels(100, 0, 1, 1, GL_RGBA, outside)) << "a read outside the frame is refused";

    wintest::Canvas memory(100, 80);  // a frame can be given to another device context
    ASSERT_TRUE(view.BeginFrame(memory.dc()));
    EXPECT_TRUE(view.Present(memory.dc()));
    EXPECT_TRUE(Near(memory.Rgb(50, 0), {255, 0, 0}, 8));
    EXPECT_TRUE(Near(memory.Rgb(50, 79), {0, 0, 255}, 8));
}

}  // namespace
