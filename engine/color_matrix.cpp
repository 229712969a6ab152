#include "engine/color_matrix.h"

namespace bistrope {
namespace {

// The single-precision luminance weights; they add up to exactly 1.0f.
constexpr float kLumaR = 0.299f;
constexpr float kLumaG = 0.587f;
constexpr float kLumaB = 0.114f;

ColorMatrix AlphaAndConstantOnly() {
    ColorMatrix m;
    m.at(3, 3) = 1.0f;
    m.at(4, 4) = 1.0f;
    return m;
}

ColorMatrix MonochromaticMatrix(Eye eye) {
    ColorMatrix m = AlphaAndConstantOnly();
    if (eye == Eye::Left) {
        m.at(0, 0) = kLumaR;
        m.at(1, 0) = kLumaG;
        m.at(2, 0) = kLumaB;
    } else {
        for (int out = 1; out <= 2; ++out) {
            m.at(0, out) = kLumaR;
            m.at(1, out) = kLumaG;
            m.at(2, out) = kLumaB;
        }
    }
    return m;
}

ColorMatrix OptimisedLeftMatrix() {
    ColorMatrix m = AlphaAndConstantOnly();
    m.at(1, 0) = 0.7f;
    m.at(2, 0) = 0.3f;
    return m;
}

}  // namespace

ColorMatrix ColorMatrix::Identity() {
    ColorMatrix m;
    for (int i = 0; i < 5; ++i) m.at(i, i) = 1.0f;
    return m;
}

ColorMatrix FullColourMatrix(Eye eye) {
    ColorMatrix m = AlphaAndConstantOnly();
    if (eye == Eye::Left) {
        m.at(0, 0) = 1.0f;
    } else {
        m.at(1, 1) = 1.0f;
        m.at(2, 2) = 1.0f;
    }
    return m;
}

std::optional<ColorMatrix> SelectBlendMatrix(unsigned mode, Eye eye, const CustomMatrices& custom) {
    switch (mode) {
        case Monochromatic:
            return MonochromaticMatrix(eye);
        case FullColour:
            return FullColourMatrix(eye);
        case HalfColour:
            return eye == Eye::Left ? MonochromaticMatrix(eye) : FullColourMatrix(eye);
        case OptimisedColour:
            return eye == Eye::Left ? OptimisedLeftMatrix() : FullColourMatrix(eye);
        case CustomColour:
            return eye == Eye::Left ? custom.left : custom.right;
        default:
            return std::nullopt;
    }
}

Rgba8 ApplyColorMatrix(const ColorMatrix& matrix, Rgba8 pixel) {
    const float in[5] = {pixel.r / 255.0f, pixel.g / 255.0f, pixel.b / 255.0f, pixel.a / 255.0f, 1.0f};
    std::uint8_t out[4];
    for (int j = 0; j < 4; ++j) {
        float sum = 0.0f;
        for (int i = 0; i < 5; ++i) sum += in[i] * matrix.at(i, j);
        out[j] = ToByte(sum);
    }
    return {out[0], out[1], out[2], out[3]};
}

}  // namespace bistrope
