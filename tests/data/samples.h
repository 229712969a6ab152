#pragma once
// The sample images in this folder and what they must decode to (32-bit BGRA). Shared by
// the native decoder tests and the Windows (GDI+) decoder tests. Alpha -1: any alpha;
// colour of a fully transparent pixel is not checked.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

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

// What is wrong with decoded BGRA pixel p for sample s, or "" when it matches.
inline std::string Mismatch(const Expected& s, const std::uint8_t* p) {
    std::string why;
    if (s.a >= 0 && p[3] != s.a) why += " alpha " + std::to_string(p[3]) + " instead of " + std::to_string(s.a);
    if (s.a == 0) return why;
    const int want[3] = {s.b, s.g, s.r};
    const char* names[3] = {"blue", "green", "red"};
    for (int c = 0; c < 3; ++c)
        if (std::abs(p[c] - want[c]) > s.tolerance)
            why += std::string(" ") + names[c] + " " + std::to_string(p[c]) + " instead of " + std::to_string(want[c]);
    return why;
}

// A PNG's header chunk declaring width x height, with its CRC made right (the rest of the
// file is left as it was).
inline void SetPngSize(std::vector<std::uint8_t>& png, std::uint32_t width, std::uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        png[16 + std::size_t(i)] = std::uint8_t(width >> (24 - 8 * i));
        png[20 + std::size_t(i)] = std::uint8_t(height >> (24 - 8 * i));
    }
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= png[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i) png[29 + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
}

}  // namespace bistrope::samples
