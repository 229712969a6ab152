#include "engine/color_rows.h"

#include <cstring>

namespace bistrope {
namespace {

// Byte index of a component inside a BGRA pixel, and of an output component inside BGR.
constexpr int kBgraIndex[4] = {2, 1, 0, 3};  // red, green, blue, alpha
constexpr int kBgrIndex[3] = {2, 1, 0};

inline std::uint8_t OverBlack(std::uint8_t c, std::uint8_t a) {
    return std::uint8_t((unsigned(c) * a + 127) / 255);
}

}  // namespace

ColorRowConverter::ColorRowConverter(const std::optional<ColorMatrix>& matrix) {
    hasMatrix_ = matrix.has_value();
    if (!hasMatrix_) return;
    matrix_ = *matrix;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int v = 0; v < 256; ++v) terms_[i][j][v] = (float(v) / 255.0f) * matrix_.at(i, j);

    // The same sum as ApplyColorMatrix, in the same order, so the bytes are identical.
    auto sum = [&](int j, int r, int g, int b, int a) {
        float s = 0.0f;
        s += terms_[0][j][r];
        s += terms_[1][j][g];
        s += terms_[2][j][b];
        s += terms_[3][j][a];
        s += 1.0f * matrix_.at(4, j);
        return s;
    };
    for (int j = 0; j < 4; ++j) {
        Output& o = outputs_[j];
        // An output whose matrix column equals an earlier one's is a copy of it.
        bool same = false;
        for (int k = 0; k < j && j < 3 && !same; ++k) {
            bool equal = true;
            for (int i = 0; i < 5; ++i) equal &= matrix_.at(i, j) == matrix_.at(i, k);
            if (equal) {
                o.kind = Kind::SameAs;
                o.input = k;
                same = true;
            }
        }
        if (same) continue;
        int colourInputs = 0, last = 0;
        for (int i = 0; i < 3; ++i) {
            o.uses[i] = matrix_.at(i, j) != 0.0f;
            if (o.uses[i]) {
                ++colourInputs;
                last = i;
            }
        }
        if (colourInputs == 0) {
            o.kind = Kind::Constant;
            o.constant = ToByte(sum(j, 0, 0, 0, 255));
        } else if (colourInputs == 1) {
            o.kind = Kind::Single;
            o.input = last;
            for (int v = 0; v < 256; ++v)
                o.lut[v] = ToByte(sum(j, last == 0 ? v : 0, last == 1 ? v : 0, last == 2 ? v : 0, 255));
        } else {
            o.kind = Kind::General;
        }
    }
    opaqueStaysOpaque_ = outputs_[3].kind == Kind::Constant && outputs_[3].constant == 255;
}

std::uint8_t ColorRowConverter::General(int j, const std::uint8_t* px) const {
    float s = 0.0f;
    s += terms_[0][j][px[2]];
    s += terms_[1][j][px[1]];
    s += terms_[2][j][px[0]];
    s += terms_[3][j][px[3]];
    s += 1.0f * matrix_.at(4, j);
    return ToByte(s);
}

void ColorRowConverter::ConvertOpaque(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) const {
    // One tight loop per output component.
    for (int j = 0; j < 3; ++j) {
        const Output& o = outputs_[j];
        std::uint8_t* d = dst + kBgrIndex[j];
        switch (o.kind) {
            case Kind::Constant:
                for (std::int32_t x = 0; x < width; ++x) d[3 * x] = o.constant;
                break;
            case Kind::Single: {
                const std::uint8_t* s = src + kBgraIndex[o.input];
                for (std::int32_t x = 0; x < width; ++x) d[3 * x] = o.lut[s[4 * x]];
                break;
            }
            case Kind::SameAs: {
                const std::uint8_t* s = dst + kBgrIndex[o.input];
                for (std::int32_t x = 0; x < width; ++x) d[3 * x] = s[3 * x];
                break;
            }
            case Kind::General: {
                const float* tr = terms_[0][j];
                const float* tg = terms_[1][j];
                const float* tb = terms_[2][j];
                const float ta = terms_[3][j][255];
                const float tc = 1.0f * matrix_.at(4, j);
                for (std::int32_t x = 0; x < width; ++x) {
                    const std::uint8_t* px = src + 4 * x;
                    float s = 0.0f;
                    s += tr[px[2]];
                    s += tg[px[1]];
                    s += tb[px[0]];
                    s += ta;
                    s += tc;
                    d[3 * x] = ToByte(s);
                }
                break;
            }
        }
    }
}

void ColorRowConverter::ConvertTranslucent(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) const {
    for (std::int32_t x = 0; x < width; ++x, src += 4, dst += 3) {
        if (!hasMatrix_) {
            dst[0] = OverBlack(src[0], src[3]);
            dst[1] = OverBlack(src[1], src[3]);
            dst[2] = OverBlack(src[2], src[3]);
            continue;
        }
        const std::uint8_t a = General(3, src);
        for (int j = 0; j < 3; ++j) dst[kBgrIndex[j]] = OverBlack(General(j, src), a);
    }
}

void ColorRowConverter::ConvertRow(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) const {
    if (hasMatrix_ && !opaqueStaysOpaque_) {
        ConvertTranslucent(src, dst, width);
        return;
    }
    // Split the row into runs of opaque pixels (fast path) and the rest.
    std::int32_t x = 0;
    while (x < width) {
        std::int32_t end = x;
        while (end < width && src[4 * end + 3] == 255) ++end;
        if (end > x) {
            if (hasMatrix_) {
                ConvertOpaque(src + 4 * x, dst + 3 * x, end - x);
            } else {
                for (std::int32_t i = x; i < end; ++i) std::memcpy(dst + 3 * i, src + 4 * i, 3);
            }
        }
        x = end;
        while (end < width && src[4 * end + 3] != 255) ++end;
        if (end > x) ConvertTranslucent(src + 4 * x, dst + 3 * x, end - x);
        x = end;
    }
}

}  // namespace bistrope
