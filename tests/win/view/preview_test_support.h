// Helpers of the stereo view tests: slots that hold fixed images, a status line that
// remembers its texts, a host window, and reading back what OpenGL drew.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/reg_data.h"
#include "engine/image.h"
#include "framework/win/oglview.h"
#include "framework/win/wnd.h"
#include "view/image_slot.h"

namespace preview_test {

// A slot holding a preview image and a source size set by the test.
class FakeSlot : public bistrope::ImageSlot {
public:
    bistrope::ConvertedImage preview;
    std::int32_t sourceWidth = -1;
    std::int32_t sourceHeight = -1;
    cMainImageView* owner = nullptr;

    void SetOwnerView(cMainImageView* view) override { owner = view; }
    bool LoadImageFile() override { return false; }
    bool MakePreviewImage(const bistrope::ProgressFn&) override { return false; }
    bool MakeOutputImage() override { return false; }
    const bistrope::ConvertedImage* GetPreviewImage() const override { return preview.empty() ? nullptr : &preview; }
    const bistrope::ConvertedImage* GetOutputImage() const override { return nullptr; }
    std::int32_t GetSourceWidth() const override { return sourceWidth; }
    std::int32_t GetSourceHeight() const override { return sourceHeight; }

    // A source of w x h whose preview is side x side pixels of one colour. (Textures clamp
    // with GL_CLAMP, so the outermost half texel blends with the black border: tests look
    // at exact colours at least a texel inside an image.)
    void SetSolid(std::int32_t w, std::int32_t h, std::uint8_t r, std::uint8_t g, std::uint8_t b, int side = 64);
    // Sets the red value of the preview's texels in [x0, x1) x [y0, y1).
    void PaintRed(int x0, int y0, int x1, int y1, std::uint8_t r);
    void Clear();
};

class FakeStatus : public bistrope::StatusPanes {
public:
    std::array<std::wstring, 5> panes;
    void SetStatusText(int pane, const wchar_t* text) override {
        if (pane >= 0 && pane < 5) panes[static_cast<size_t>(pane)] = text ? text : L"";
    }
};

// A top-level popup window that parents the view under test.
class HostWindow : public TWIG4::Wnd {
public:
    bool Open(int clientWidth, int clientHeight);
};

struct Rgb {
    int r, g, b;
};

// The front buffer of the current context, `width` x `height` pixels from the window's
// bottom-left corner (OpenGL window coordinates).
class FrontBuffer {
public:
    void Read(TWIG4::OGLView& view, int width, int height);  // the frame as drawn
    Rgb At(int x, int y) const;  // OpenGL window coordinates
    int Width() const { return width; }
    int Height() const { return height; }

private:
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
};

bool Near(Rgb a, Rgb b, int tolerance);
std::string ToString(Rgb c);

// The settings record of the tests (a test-only key).
cRegData& Settings();

// Prepares the test application object (instance, common controls, window classes).
void PrepareApp();

}  // namespace preview_test
