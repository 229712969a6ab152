// TWIG4 OpenGL view base: an OpenGL 1.1 rendering context for a window, an orthographic
// camera (framework/camera.h) and an optional four-colour background.
//
// A window class derives from Wnd and, as a second base, from OGLView. Life of a view:
//   CreateContext(window)              pixel format, context made current, swap interval off
//   on every resize: SetViewport(...)  stored in the camera and given to OpenGL
//   per frame: BeginFrame() ... draw ... Present()
// The context stays current on the user-interface thread from CreateContext on, so OpenGL
// calls outside a frame (texture uploads) act on it. ReleaseContext does nothing: the
// context and the device context live until the process ends.
//
// Two ways of bringing a frame to the screen (Presentation):
//   SwapBuffers    the window's own device context gets the pixel format and the context;
//                  Present swaps its buffers. The normal way, used on Windows.
//   CopyToWindow   the context lives on a hidden window of its own and draws into an
//                  offscreen framebuffer the size of the view's client area; Present copies
//                  the frame into the view with GDI (framework/win/gl_window_copy.h). Used
//                  under Wine, which never shows OpenGL drawn into a child window.
//
// Colours are COLORREF values: red in the lowest byte, then green, then blue.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/camera.h"
#include "framework/matrix4.h"

namespace TWIG4 {

class Wnd;
class GlWindowCopy;

class OGLView {
public:
    enum class Presentation { SwapBuffers, CopyToWindow };
    // CopyToWindow under Wine, SwapBuffers elsewhere.
    static Presentation DefaultPresentation();

    // The camera at its start values, no context, gradient off. Switches the desktop's
    // menu selection-fade effect off for the running session (not written to the user's
    // profile, not restored), where the platform has that setting.
    OGLView();
    virtual ~OGLView();
    OGLView(const OGLView&) = delete;
    OGLView& operator=(const OGLView&) = delete;

    // Makes the rendering context for `owner`: double-buffered RGBA, 32 colour and 32 depth
    // bits, on the owner's device context (SwapBuffers) or on the hidden context window's
    // (CopyToWindow; where the framebuffer-object extension is missing the view falls back
    // to SwapBuffers). Clear colour (0, 0, 0.995, 0); swap interval off. False for a null
    // owner, when a context (or device context) already exists, or when the pixel format,
    // the context or making it current fails.
    bool CreateContext(Wnd* owner, Presentation presentation = DefaultPresentation());
    Presentation GetPresentation() const { return presentation; }
    // Returns true and keeps the context (see above).
    bool ReleaseContext();
    // Asks for vertical-retrace waiting on or off through wglSwapIntervalEXT where the
    // WGL_EXT_swap_control extension exists; otherwise nothing happens.
    void SetSwapInterval(bool on);
    // Stores the viewport in the camera and sets the OpenGL viewport.
    void SetViewport(int x, int y, int width, int height);
    // Top-left, top-right, bottom-left, bottom-right colours; turns the gradient on.
    void SetBackgroundGradient(COLORREF topLeft, COLORREF topRight, COLORREF bottomLeft, COLORREF bottomRight);

    // Opens a frame on `dc` (the view's own device context when null): makes the context
    // current, clears colour and depth, draws the gradient when on, and loads the camera's
    // projection and view matrix (left unchanged with a zero viewport). With CopyToWindow
    // the frame is drawn offscreen at the owner's client size whatever `dc` is. False
    // without a context or when it cannot be made current (or the offscreen frame made).
    bool BeginFrame(HDC dc = nullptr);
    // Brings the frame to `dc` (the view's own when null): swaps its buffers, or copies the
    // offscreen frame into it. False without a context or when the swap or copy fails.
    bool Present(HDC dc = nullptr);
    // Reads a rectangle of the frame last drawn into `pixels` (OpenGL's coordinates, bottom
    // row first, rows packed without padding; `format` as for glReadPixels with unsigned
    // bytes). SwapBuffers reads the back buffer, which keeps the frame after a swap on the
    // platforms tested here. False without a context.
    bool ReadPixels(int x, int y, int width, int height, unsigned format, void* pixels);

    // The camera (framework/camera.h); interaction and zoom code work on it directly.
    Camera& GetCamera() { return camera; }
    const Camera& GetCamera() const { return camera; }
    double GetZoom() const { return camera.GetZoom(); }
    void SetZoom(double zoom) { camera.SetZoom(zoom); }
    Vec3 GetTarget() const { return camera.GetTarget(); }
    void SetTarget(const Vec3& target) { camera.SetTarget(target); }
    void FitRect(double x, double y, double w, double h) { camera.FitRect(x, y, w, h); }
    void Refit() { camera.Refit(); }
    Vec3 WindowToWorld(const Vec3& p) const { return camera.WindowToWorld(p); }
    bool ApplyCamera() { return camera.ApplyCamera(); }

    HGLRC GetRenderContext() const { return renderContext; }
    // The device context the rendering context is made on (the hidden window's with
    // CopyToWindow).
    HDC GetDeviceContext() const { return deviceContext; }
    bool IsGradientOn() const { return gradientOn; }

protected:
    HGLRC renderContext;
    HDC deviceContext;
    Wnd* ownerWnd;
    Camera camera;
    bool gradientOn;
    COLORREF gradientColours[4];

private:
    bool MakeContextOn(HDC dc);
    bool UseWindowCopy();
    void DrawGradient();
    void LoadCamera();

    Presentation presentation;
    std::unique_ptr<GlWindowCopy> windowCopy;
};

// Turns the desktop's menu selection-fade effect off for the running session when it is
// on (a change notice is broadcast; the user's profile is not written). Returns whether the
// effect is off afterwards; false where the platform has no such setting.
bool SwitchOffMenuSelectionFade();

}  // namespace TWIG4
