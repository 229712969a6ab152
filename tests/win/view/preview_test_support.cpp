#include "preview_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "../framework/test_app.h"
#include "../framework/test_key.h"

namespace preview_test {

void FakeSlot::SetSolid(std::int32_t w, std::int32_t h, std::uint8_t r, std::uint8_t g, std::uint8_t b, int side) {
    sourceWidth = w;
    sourceHeight = h;
    preview = bistrope::ConvertedImage::Create(side, side);
    for (int y = 0; y < side; ++y) {
        std::uint8_t* p = preview.row(y);
        for (int x = 0; x < side; ++x, p += 3) {
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    }
}

void FakeSlot::PaintRed(int x0, int y0, int x1, int y1, std::uint8_t r) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) preview.row(y)[3 * x + 2] = r;
}

void FakeSlot::Clear() {
    preview.reset();
    sourceWidth = sourceHeight = -1;
}

bool HostWindow::Open(int clientWidth, int clientHeight) {
    if (!CreateChild(0, WS_POPUP | WS_VISIBLE, nullptr)) return false;
    return Move(20, 20, clientWidth, clientHeight, true);
}

void FrontBuffer::Read(TWIG4::OGLView& view, int w, int h) {
    width = w;
    height = h;
    pixels.assign(std::size_t(w) * std::size_t(h) * 3, 0);
    glFinish();
    EXPECT_TRUE(view.ReadPixels(0, 0, w, h, GL_RGB, pixels.data()));
}

Rgb FrontBuffer::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {-1, -1, -1};
    const std::uint8_t* p = &pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
    return {p[0], p[1], p[2]};
}

bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

std::string ToString(Rgb c) {
    char text[48];
    std::snprintf(text, sizeof(text), "(%d, %d, %d)", c.r, c.g, c.b);
    return text;
}

cRegData& Settings() {
    // The key goes after the record, which saves itself when destroyed at exit.
    static TestKey key;
    static cRegData settings(key.Path());
    return settings;
}

void PrepareApp() { test::App().Prepare(); }

}  // namespace preview_test

// The framework tests' application object and helpers, shared by this suite.
#include "../framework/test_app.cpp"
