// Presenting OpenGL frames by copying them into a window with GDI.
//
// Wine (at least with Xvfb and Mesa) never shows what OpenGL draws into a child window: a
// child window that has a pixel format stays on screen as it was, whatever SwapBuffers or
// even GDI puts into it; top-level windows are fine. For such a platform the view's window
// keeps no pixel format at all: the context lives on a hidden window of its own, frames are
// drawn into an offscreen framebuffer (GL_EXT_framebuffer_object) the size of the view's
// client area, and each finished frame is read back and copied into the view's device
// context with SetDIBitsToDevice. On Windows the ordinary SwapBuffers path is used.
//
// Rows: OpenGL's framebuffer and a bottom-up DIB both start with the bottom row, so the
// frame is copied without flipping.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace TWIG4 {

// Whether the program runs under Wine (ntdll exports wine_get_version there).
bool RunningUnderWine();

class GlWindowCopy {
public:
    GlWindowCopy();
    ~GlWindowCopy();
    GlWindowCopy(const GlWindowCopy&) = delete;
    GlWindowCopy& operator=(const GlWindowCopy&) = delete;

    // Creates the hidden window the context is made on and returns its device context
    // (null on failure). The caller sets the pixel format and makes the context.
    HDC CreateContextWindow();
    // With the context current: whether the framebuffer-object entry points exist.
    bool LoadFramebufferFunctions();

    // With the context current: binds the offscreen framebuffer, (re)made at width × height
    // when its size changed. False for an empty size or when it cannot be made.
    bool Bind(int width, int height);
    // Reads the bound frame and copies it to `dc` at (0, 0). False without a frame or when
    // the copy fails.
    bool CopyTo(HDC dc);
    // Reads a rectangle of the bound frame (OpenGL's coordinates: bottom row first). False
    // without a frame or for a rectangle outside it.
    bool Read(int x, int y, int width, int height, unsigned format, void* pixels) const;

private:
    void Release();

    HWND window;
    HDC windowDc;
    unsigned framebuffer;
    unsigned colourBuffer;
    unsigned depthBuffer;
    int width;
    int height;
    std::vector<std::uint8_t> pixels;
};

}  // namespace TWIG4
