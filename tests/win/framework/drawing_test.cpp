// Drawing: the device-context wrapper puts back what it replaced; the OpenGL view base as
// Wine runs it draws an offscreen frame with the background gradient, copied by GDI into
// the view's child window the right way up, and read back.
#include <windows.h>
#include <GL/gl.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>

#include "framework/win/dc.h"
#include "framework/win/gl_window_copy.h"
#include "framework/win/oglview.h"
#include "framework/win/wnd.h"
#include "test_app.h"

using TWIG4::DC;
using TWIG4::OGLView;
using TWIG4::Pen;
using TWIG4::Wnd;
using Rgb = std::array<int, 3>;

namespace {

const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

HGDIOBJ Current(const wintest::Canvas& canvas, UINT kind) { return GetCurrentObject(canvas.dc(), kind); }

TEST(DC, SelectionsArePutBackWhateverTheOrderOfDestruction) {
    wintest::Canvas canvas(32, 32, kWhite);
    const HGDIOBJ pen = Current(canvas, OBJ_PEN), font = Current(canvas, OBJ_FONT), brush = Current(canvas, OBJ_BRUSH);
    Pen red(PS_SOLID, 1, kRed), blue(PS_SOLID, 1, kBlue);  // outliving the DC
    {
        DC dc(canvas.dc());
        TWIG4::Font bold(-12, L"Tahoma", FW_BOLD, 0);
        TWIG4::Brush fill(kRed);
        ASSERT_TRUE(dc.Select(&red) && dc.Select(&blue) && dc.Select(&bold) && dc.Select(&fill));
        EXPECT_EQ(Current(canvas, OBJ_PEN), blue.GetHandle());
        EXPECT_EQ(Current(canvas, OBJ_FONT), bold.GetHandle());
    }
    EXPECT_EQ(Current(canvas, OBJ_PEN), pen) << "the DC ends with the pen it started with";
    EXPECT_EQ(Current(canvas, OBJ_FONT), font);
    EXPECT_EQ(Current(canvas, OBJ_BRUSH), brush);

    DC dc(canvas.dc());
    ASSERT_TRUE(dc.Select(&red));
    {
        Pen second(PS_SOLID, 1, kBlue);
        ASSERT_TRUE(dc.Select(&second));
        ASSERT_TRUE(dc.Select(&second));  // twice: it still remembers the red pen
    }
    EXPECT_EQ(Current(canvas, OBJ_PEN), red.GetHandle());
    auto third = std::make_unique<Pen>(PS_SOLID, 1, kBlue), fourth = std::make_unique<Pen>(PS_SOLID, 1, kRed);
    ASSERT_TRUE(dc.Select(third.get()) && dc.Select(fourth.get()));
    third.reset();  // out of order: what the fourth replaced is gone, so the original returns
    fourth.reset();
    EXPECT_EQ(Current(canvas, OBJ_PEN), pen);
    EXPECT_TRUE(dc.Line(0, 30, 8, 30, kRed));
    EXPECT_EQ(canvas.Pixel(7, 30), kRed);
    EXPECT_EQ(Current(canvas, OBJ_PEN), pen) << "the line's own pen is gone again";
}

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
};

::testing::AssertionResult Near(Rgb got, Rgb want, int tolerance) {
    const bool close = std::abs(got[0] - want[0]) <= tolerance && std::abs(got[1] - want[1]) <= tolerance && std::abs(got[2] - want[2]) <= tolerance;
    return (close ? ::testing::AssertionSuccess() : ::testing::AssertionFailure()) << "got (" << got[0] << ", " << got[1] << ", " << got[2] << ")";
}

TEST(OpenGlView, CopiedFramesReachTheChildWindowTheRightWayUp) {
    EXPECT_TRUE(!TWIG4::RunningUnderWine() || OGLView::DefaultPresentation() == OGLView::Presentation::CopyToWindow);
    GlWnd view;
    EXPECT_FALSE(view.BeginFrame()) << "no context yet";
    ASSERT_TRUE(view.Make(64, 48));
    ASSERT_TRUE(view.CreateContext(&view, OGLView::Presentation::CopyToWindow));
    EXPECT_FALSE(view.CreateContext(&view)) << "one context per view";
    ASSERT_EQ(view.GetPresentation(), OGLView::Presentation::CopyToWindow) << "no framebuffer objects here";
    // The context lives on a window of its own: the view's window keeps no pixel format,
    // which is what lets GDI's copy show.
    EXPECT_NE(WindowFromDC(view.GetDeviceContext()), view.GetHandle());
    const HDC dc = GetDC(view.GetHandle());
    EXPECT_EQ(GetPixelFormat(dc), 0);
    ReleaseDC(view.GetHandle(), dc);

    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    for (const SIZE size : {SIZE{64, 48}, SIZE{100, 80}}) {  // the offscreen frame follows the client size
        ASSERT_TRUE(view.Move(0, 0, size.cx, size.cy, false));
        view.SetViewport(0, 0, size.cx, size.cy);
        view.SetBackgroundGradient(red, red, blue, blue);
        ASSERT_TRUE(view.BeginFrame());
        ASSERT_TRUE(view.Present());
        const wintest::Canvas shown = wintest::CaptureClient(view.GetHandle());
        EXPECT_TRUE(Near(shown.Rgb(size.cx - 1, 0), {255, 0, 0}, 8)) << "top row, " << size.cx;
        EXPECT_TRUE(Near(shown.Rgb(size.cx - 1, size.cy - 1), {0, 0, 255}, 8)) << "bottom row";
        EXPECT_TRUE(Near(view.Read(size.cx - 1, 0), {0, 0, 255}, 8)) << "read back: row 0 is the bottom one";
    }
    unsigned char outside[4] = {};
    EXPECT_FALSE(view.ReadPixels(100, 0, 1, 1, GL_RGBA, outside)) << "a read outside the frame is refused";
}

}  // namespace
