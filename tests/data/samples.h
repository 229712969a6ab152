#pragma once
// The sample images in this folder and what they must decode to (32-bit BGRA). Shared by
// the native decoder tests and the Windows (GDI+) decoder tests. Alpha -1: any alpha;
// colour of a fully transparent pixel is not checked.

namespace bistrope::samples {

struct Expected {
    const char* file;
    int width, height;
    int x, y;
    int b, g, r, a;
    int tolerance;  // per colour value
};

inline constexpr Expected kSamples[] = {
    {"rgba.png", 4, 2, 0, 0, 0, 0, 255, 255, 0},
    {"rgba.png", 4, 2, 1, 0, 0, 255, 0, 255, 0},
    {"rgba.png", 4, 2, 2, 0, 255, 0, 0, 255, 0},
    {"rgba.png", 4, 2, 3, 0, 255, 255, 255, 128, 0},
    {"rgba.png", 4, 2, 1, 1, 128, 128, 128, 255, 0},
    {"rgba.png", 4, 2, 3, 1, 240, 240, 240, 255, 0},
    {"palette-trns.png", 3, 1, 0, 0, 0, 0, 255, 0, 0},
    {"palette-trns.png", 3, 1, 1, 0, 0, 255, 0, 128, 0},
    {"palette-trns.png", 3, 1, 2, 0, 255, 0, 0, 255, 0},
    {"rgb16.png", 2, 1, 0, 0, 1, 128, 255, 255, 1},
    {"rgb16.png", 2, 1, 1, 0, 0, 0, 0, 255, 0},
    {"grey.png", 2, 1, 0, 0, 7, 7, 7, 255, 0},
    {"grey.png", 2, 1, 1, 0, 200, 200, 200, 255, 0},
    {"cmyk.jpg", 16, 8, 2, 2, 255, 255, 0, 255, 3},  // cyan ink
    {"cmyk.jpg", 16, 8, 13, 5, 127, 127, 127, 255, 3},  // half black
    {"grey.jpg", 16, 8, 2, 2, 60, 60, 60, 255, 3},
    {"grey.jpg", 16, 8, 13, 5, 190, 190, 190, 255, 3},
    {"anim.gif", 3, 2, 0, 0, 0, 0, 255, 255, 0},  // first frame only
    {"anim.gif", 3, 2, 1, 0, 0, 255, 0, 255, 0},
    {"anim.gif", 3, 2, 2, 0, 255, 0, 0, 255, 0},
    {"anim.gif", 3, 2, 0, 1, 0, 0, 0, 0, 0},  // transparent index
    {"anim.gif", 3, 2, 2, 1, 0, 255, 0, 255, 0},
    {"lzw.tif", 2, 2, 0, 0, 3, 2, 1, 255, 0},
    {"lzw.tif", 2, 2, 1, 1, 252, 251, 250, 255, 0},
    {"bits1-bottomup.bmp", 3, 2, 0, 0, 0, 255, 0, 255, 0},
    {"bits1-bottomup.bmp", 3, 2, 1, 0, 0, 0, 255, 255, 0},
    {"bits1-bottomup.bmp", 3, 2, 1, 1, 0, 255, 0, 255, 0},
    {"bits4-bottomup.bmp", 3, 2, 0, 0, 0, 255, 0, 255, 0},
    {"bits4-bottomup.bmp", 3, 2, 1, 0, 255, 0, 0, 255, 0},
    {"bits4-bottomup.bmp", 3, 2, 2, 0, 9, 9, 9, 255, 0},
    {"bits4-bottomup.bmp", 3, 2, 2, 1, 0, 0, 255, 255, 0},
    {"bits8-topdown.bmp", 3, 2, 0, 0, 9, 9, 9, 255, 0},
    {"bits8-topdown.bmp", 3, 2, 2, 0, 255, 0, 0, 255, 0},
    {"bits8-topdown.bmp", 3, 2, 0, 1, 0, 0, 255, 255, 0},
    {"bits24-topdown.bmp", 3, 2, 0, 0, 1, 2, 3, 255, 0},
    {"bits24-topdown.bmp", 3, 2, 2, 0, 7, 8, 9, 255, 0},
    {"bits24-topdown.bmp", 3, 2, 1, 1, 77, 77, 77, 255, 0},
    // GDI+ ignores the alpha channel of BMP files; the native reader honours an alpha mask.
    {"bits32-alpha.bmp", 2, 1, 0, 0, 10, 20, 30, -1, 0},
    {"bits32-alpha.bmp", 2, 1, 1, 0, 1, 2, 3, 255, 0},
};

}  // namespace bistrope::samples
