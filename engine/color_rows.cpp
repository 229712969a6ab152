#include "engine/color_rows.h"

#include <algorithm>
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
    for (int j = 0; j < 3; ++j) {
        bool zero = true;
        for (int i = 0; i < 4; ++i) zero &= matrix_.at(i, j) == 0.0f;
        alwaysZero_[kBgrIndex[j]] = zero && ToByte(sum(j, 0, 0, 0, 0)) == 0;
    }
    opaqueStaysOpaque_ = outputs_[3].kind == Kind::Constant && outputs_[3].constant == 255;
    inPlace_ = opaqueStaysOpaque_;
    for (int j = 0; j < 3; ++j) {
        const Output& o = outputs_[j].kind == Kind::SameAs ? outputs_[outputs_[j].input] : outputs_[j];
        if (o.kind == Kind::Constant) {
            inPlaceSteps_[j] = InPlace::Fill;
            fill_[j] = o.constant;
        } else if (o.kind == Kind::Single && o.input == j && outputs_[j].kind == Kind::Single) {
            bool identity = true;
            for (int v = 0; v < 256; ++v) identity &= o.lut[v] == v;
            inPlaceSteps_[j] = identity ? InPlace::Keep : InPlace::Lut;
        } else {
            inPlace_ = false;
        }
    }
    // Channels only kept or filled (the fixed modes): a byte mask over eight pixels.
    maskOnly_ = inPlace_;
    for (int j = 0; j < 3; ++j) maskOnly_ &= inPlaceSteps_[j] != InPlace::Lut;
    std::uint8_t keep[24], fill[24];
    for (int i = 0; i < 24; ++i) {
        const int j = 2 - i % 3;  // byte i of eight BGR pixels holds red (j = 0), green or blue
        keep[i] = inPlaceSteps_[j] == InPlace::Keep ? 0xFF : 0;
        fill[i] = keep[i] ? 0 : fill_[j];
    }
    std::memcpy(keepMask_, keep, sizeof keep);
    std::memcpy(fillBits_, fill, sizeof fill);
}

void ColorRowConverter::ConvertOpaqueBgrInPlace(std::uint8_t* row, std::int32_t width) const {
    std::int32_t done = 0;
    if (maskOnly_) {
        // Eight pixels (24 bytes, three words) at a time: bytes kept or replaced.
        for (; done + 8 <= width; done += 8, row += 24) {
            for (int w = 0; w < 3; ++w) {
                std::uint64_t word;
                std::memcpy(&word, row + 8 * w, 8);
                word = (word & keepMask_[w]) | fillBits_[w];
                std::memcpy(row + 8 * w, &word, 8);
            }
        }
        width -= done;
    }
    for (int j = 0; j < 3; ++j) {
        std::uint8_t* p = row + kBgrIndex[j];
        if (inPlaceSteps_[j] == InPlace::Fill) {
            const std::uint8_t v = fill_[j];
            for (std::int32_t x = 0; x < width; ++x) p[3 * x] = v;
        } else if (inPlaceSteps_[j] == InPlace::Lut) {
            const std::uint8_t* lut = outputs_[j].lut;
            for (std::int32_t x = 0; x < width; ++x) p[3 * x] = lut[p[3 * x]];
        }
    }
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

void InterleaveBgr(const std::uint8_t* b, const std::uint8_t* g, const std::uint8_t* r, std::uint8_t* dst,
                   std::int32_t width) {
    std::int32_t x = 0;
    // Four pixels as three 32-bit stores.
    for (; x + 4 <= width; x += 4, dst += 12) {
        const std::uint32_t w0 = b[x] | g[x] << 8 | r[x] << 16 | std::uint32_t(b[x + 1]) << 24;
        const std::uint32_t w1 = g[x + 1] | r[x + 1] << 8 | b[x + 2] << 16 | std::uint32_t(g[x + 2]) << 24;
        const std::uint32_t w2 = r[x + 2] | b[x + 3] << 8 | g[x + 3] << 16 | std::uint32_t(r[x + 3]) << 24;
        std::memcpy(dst, &w0, 4);
        std::memcpy(dst + 4, &w1, 4);
        std::memcpy(dst + 8, &w2, 4);
    }
    for (; x < width; ++x, dst += 3) {
        dst[0] = b[x];
        dst[1] = g[x];
        dst[2] = r[x];
    }
}

void ColorRowConverter::ComputeOpaque(const std::uint8_t* src, std::int32_t n, std::uint8_t* const planes[3]) const {
    // One tight loop per output component (red, green, blue).
    for (int j = 0; j < 3; ++j) {
        const Output& o = outputs_[j];
        std::uint8_t* d = planes[j];
        switch (o.kind) {
            case Kind::Constant:
                std::memset(d, o.constant, std::size_t(n));
                break;
            case Kind::Single: {
                const std::uint8_t* s = src + kBgraIndex[o.input];
                for (std::int32_t x = 0; x < n; ++x) d[x] = o.lut[s[4 * x]];
                break;
            }
            case Kind::SameAs:
                std::memcpy(d, planes[o.input], std::size_t(n));
                break;
            case Kind::General: {
                const float* tr = terms_[0][j];
                const float* tg = terms_[1][j];
                const float* tb = terms_[2][j];
                const float ta = terms_[3][j][255];
                const float tc = 1.0f * matrix_.at(4, j);
                for (std::int32_t x = 0; x < n; ++x) {
                    const std::uint8_t* px = src + 4 * x;
                    float s = 0.0f;
                    s += tr[px[2]];
                    s += tg[px[1]];
                    s += tb[px[0]];
                    s += ta;
                    s += tc;
                    d[x] = ToByte(s);
                }
                break;
            }
        }
    }
}

void ColorRowConverter::ConvertOpaque(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) const {
    // In chunks through small planes, then one interleaving pass.
    constexpr std::int32_t kChunk = 512;
    std::uint8_t r[kChunk], g[kChunk], b[kChunk];
    std::uint8_t* const planes[3] = {r, g, b};
    for (std::int32_t at = 0; at < width; at += kChunk) {
        const std::int32_t n = std::min(kChunk, width - at);
        ComputeOpaque(src + 4 * at, n, planes);
        InterleaveBgr(b, g, r, dst + 3 * at, n);
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

namespace {

// The end of the run of opaque pixels starting at x.
std::int32_t OpaqueRunEnd(const std::uint8_t* src, std::int32_t x, std::int32_t width) {
    constexpr std::uint64_t kAlpha = 0xFF000000FF000000ull;
    for (; x + 2 <= width; x += 2) {
        std::uint64_t two;
        std::memcpy(&two, src + 4 * x, 8);
        if ((two & kAlpha) != kAlpha) break;
    }
    while (x < width && src[4 * x + 3] == 255) ++x;
    return x;
}

std::int32_t TranslucentRunEnd(const std::uint8_t* src, std::int32_t x, std::int32_t width) {
    while (x < width && src[4 * x + 3] != 255) ++x;
    return x;
}

}  // namespace

void ColorRowConverter::ConvertRow(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) const {
    if (hasMatrix_ && !opaqueStaysOpaque_) {
        ConvertTranslucent(src, dst, width);
        return;
    }
    // Runs of opaque pixels take the fast path.
    std::int32_t x = 0;
    while (x < width) {
        std::int32_t end = OpaqueRunEnd(src, x, width);
        if (end > x) {
            if (hasMatrix_) {
                ConvertOpaque(src + 4 * x, dst + 3 * x, end - x);
            } else {
                for (std::int32_t i = x; i < end; ++i) std::memcpy(dst + 3 * i, src + 4 * i, 3);
            }
        }
        x = end;
        end = TranslucentRunEnd(src, x, width);
        if (end > x) ConvertTranslucent(src + 4 * x, dst + 3 * x, end - x);
        x = end;
    }
}

void ColorRowConverter::ConvertRowPlanes(const std::uint8_t* src, std::uint8_t* blue, std::uint8_t* green,
                                         std::uint8_t* red, std::int32_t width) const {
    std::int32_t x = 0;
    while (x < width) {
        std::int32_t end = (hasMatrix_ && !opaqueStaysOpaque_) ? x : OpaqueRunEnd(src, x, width);
        if (end > x) {
            if (hasMatrix_) {
                std::uint8_t* const planes[3] = {red + x, green + x, blue + x};
                ComputeOpaque(src + 4 * x, end - x, planes);
            } else {
                for (std::int32_t i = x; i < end; ++i) {
                    blue[i] = src[4 * i];
                    green[i] = src[4 * i + 1];
                    red[i] = src[4 * i + 2];
                }
            }
        }
        x = end;
        end = (hasMatrix_ && !opaqueStaysOpaque_) ? width : TranslucentRunEnd(src, x, width);
        while (x < end) {  // through a small interleaved buffer
            std::uint8_t bgr[3 * 256];
            const std::int32_t n = std::min<std::int32_t>(256, end - x);
            ConvertTranslucent(src + 4 * x, bgr, n);
            for (std::int32_t i = 0; i < n; ++i) {
                blue[x + i] = bgr[3 * i];
                green[x + i] = bgr[3 * i + 1];
                red[x + i] = bgr[3 * i + 2];
            }
            x += n;
        }
    }
}

}  // namespace bistrope
