#pragma once
// Colour matrices and blending modes.
//
// Conventions (used by every pixel operation of the engine):
//   * A ColorMatrix is 5 x 5 single-precision floats stored row by row; m[i][j] is at 5*i + j.
//     Row i names an input component, column j an output component; index 0 red, 1 green,
//     2 blue, 3 alpha, 4 the constant 1.
//   * Applied to a pixel: each 8-bit component is scaled to 0..1 (v / 255), the row vector
//     (R, G, B, A, 1) is multiplied by the matrix, each output is clamped to 0..1 and rounded
//     to the nearest 8-bit value. Column 4 has no effect; row 4 adds a constant per output.
//   * The left eye supplies red, the right eye green and blue.

#include <array>
#include <cstdint>
#include <optional>

namespace bistrope {

struct ColorMatrix {
    std::array<float, 25> m{};  // row by row

    float& at(int row, int col) { return m[static_cast<size_t>(5 * row + col)]; }
    float at(int row, int col) const { return m[static_cast<size_t>(5 * row + col)]; }

    static ColorMatrix Identity();
    friend bool operator==(const ColorMatrix& a, const ColorMatrix& b) { return a.m == b.m; }
    friend bool operator!=(const ColorMatrix& a, const ColorMatrix& b) { return !(a == b); }
};

// Blending modes. Values outside 1..5 can only come from edited settings: 0 forbids any conversion, values above 5
// copy the source colours unchanged.
enum BlendMode : unsigned {
    Monochromatic = 1,
    FullColour = 2,
    HalfColour = 3,
    OptimisedColour = 4,
    CustomColour = 5,
};

enum class Eye : int { Left = 1, Right = 2 };

// The two matrices the custom mode uses (the settings hold them).
struct CustomMatrices {
    ColorMatrix left;
    ColorMatrix right;
};

// The full-colour matrices, which are also the custom matrices' defaults.
ColorMatrix FullColourMatrix(Eye eye);

// The matrix to apply for a mode and an eye; none for mode 0 (no conversion may be made:
// see CanConvert) and for modes above 5 (the source colours are copied unchanged).
// Fixed matrices are built afresh on each call; the custom mode returns the stored one.
[[nodiscard]] std::optional<ColorMatrix> SelectBlendMatrix(unsigned mode, Eye eye,
                                                          const CustomMatrices& custom);

// False for mode 0, for which neither conversion may run.
[[nodiscard]] constexpr bool CanConvert(unsigned mode) { return mode != 0; }

// One pixel through a matrix, components in R, G, B, A order.
struct Rgba8 {
    std::uint8_t r, g, b, a;
};
[[nodiscard]] Rgba8 ApplyColorMatrix(const ColorMatrix& matrix, Rgba8 pixel);

// The 8-bit value of a matrix output: clamped to 0..1, then rounded to nearest.
[[nodiscard]] inline std::uint8_t ToByte(float unit) {
    if (!(unit > 0.0f)) return 0;  // negative and NaN
    if (unit >= 1.0f) return 255;
    return static_cast<std::uint8_t>(unit * 255.0f + 0.5f);
}

}  // namespace bistrope
