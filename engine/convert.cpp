#include "engine/convert.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/color_rows.h"
#include "engine/parallel.h"

namespace bistrope {
namespace {

// Fixed-point filter weights: 14 fraction bits, summing to exactly 1 << 14 per output.
constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;

// The source pixels that make one output pixel along one axis.
struct Taps {
    std::int32_t first = 0;
    std::int32_t count = 0;
    std::int32_t weightsAt = 0;  // index into Filter::weights
};

struct Filter {
    std::vector<Taps> taps;  // one per output index
    std::vector<std::int16_t> weights;
    std::int32_t maxCount = 0;
    bool identity = false;
};

Filter MakeFilter(std::int32_t from, std::int32_t to) {
    Filter f;
    f.identity = from == to;
    f.taps.resize(std::size_t(to));
    std::vector<double> w;
    const double scale = double(from) / double(to);
    for (std::int32_t o = 0; o < to; ++o) {
        std::int32_t first;
        w.clear();
        if (f.identity) {
            first = o;
            w.push_back(1.0);
        } else if (to < from) {
            // Area average: the output pixel covers [o * scale, (o + 1) * scale) of the source.
            const double a = o * scale, b = (o + 1) * scale;
            first = std::int32_t(std::floor(a));
            const std::int32_t last = std::min<std::int32_t>(from - 1, std::int32_t(std::ceil(b)) - 1);
            for (std::int32_t i = first; i <= last; ++i) w.push_back((std::min(b, i + 1.0) - std::max(a, double(i))) / scale);
        } else {
            // Bilinear between the two source pixel centres around the output pixel's centre.
            const double c = (o + 0.5) * scale - 0.5;
            const double fl = std::floor(c);
            const double t = c - fl;
            std::int32_t i0 = std::int32_t(fl), i1 = i0 + 1;
            i0 = std::clamp<std::int32_t>(i0, 0, from - 1);
            i1 = std::clamp<std::int32_t>(i1, 0, from - 1);
            first = i0;
            if (i0 == i1) {
                w.push_back(1.0);
            } else {
                w.push_back(1.0 - t);
                w.push_back(t);
            }
        }
        // Round to fixed point and put the rounding error on the largest weight.
        Taps& t = f.taps[std::size_t(o)];
        t.first = first;
        t.count = std::int32_t(w.size());
        t.weightsAt = std::int32_t(f.weights.size());
        int sum = 0;
        std::size_t largest = 0;
        for (std::size_t k = 0; k < w.size(); ++k) {
            const int q = int(std::lround(w[k] * kWeightOne));
            f.weights.push_back(std::int16_t(q));
            sum += q;
            if (w[k] > w[largest]) largest = k;
        }
        f.weights[std::size_t(t.weightsAt) + largest] = std::int16_t(f.weights[std::size_t(t.weightsAt) + largest] + (kWeightOne - sum));
        f.maxCount = std::max(f.maxCount, t.count);
    }
    return f;
}

// Horizontal pass: one converted source row (BGR bytes) to `to` pixels of 16-bit values
// holding 8 fraction bits.
void ResampleRow(const std::uint8_t* src, std::uint16_t* dst, const Filter& fx) {
    const std::int32_t to = std::int32_t(fx.taps.size());
    if (fx.identity) {
        for (std::int32_t i = 0; i < to * 3; ++i) dst[i] = std::uint16_t(src[i] << 8);
        return;
    }
    const std::int16_t* weights = fx.weights.data();
    for (std::int32_t o = 0; o < to; ++o, dst += 3) {
        const Taps& t = fx.taps[std::size_t(o)];
        const std::uint8_t* p = src + 3 * t.first;
        const std::int16_t* w = weights + t.weightsAt;
        std::int32_t b = 0, g = 0, r = 0;
        for (std::int32_t k = 0; k < t.count; ++k, p += 3) {
            b += w[k] * p[0];
            g += w[k] * p[1];
            r += w[k] * p[2];
        }
        constexpr int shift = kWeightBits - 8;
        dst[0] = std::uint16_t((b + (1 << (shift - 1))) >> shift);
        dst[1] = std::uint16_t((g + (1 << (shift - 1))) >> shift);
        dst[2] = std::uint16_t((r + (1 << (shift - 1))) >> shift);
    }
}

// Stretches rows [y0, y1) of the output: converts and horizontally resamples each needed
// source row once (a ring of recent rows), then combines them vertically.
void StretchBand(const SourceImage& source, const ColorRowConverter& colours, const Filter& fx, const Filter& fy,
                 ConvertedImage& out, std::int32_t y0, std::int32_t y1) {
    const std::int32_t w = out.width();
    const std::size_t rowValues = std::size_t(w) * 3;
    const std::int32_t slots = fy.maxCount + 1;
    std::vector<std::uint16_t> ring(rowValues * std::size_t(slots));
    std::vector<std::int32_t> held(std::size_t(slots), -1);
    std::vector<std::uint8_t> converted(std::size_t(source.width()) * 3);
    std::vector<std::int32_t> acc(rowValues);
    auto rowOf = [&](std::int32_t sy) -> const std::uint16_t* {
        const std::size_t slot = std::size_t(sy % slots);
        std::uint16_t* r = ring.data() + slot * rowValues;
        if (held[slot] != sy) {
            colours.ConvertRow(source.row(sy), converted.data(), source.width());
            ResampleRow(converted.data(), r, fx);
            held[slot] = sy;
        }
        return r;
    };
    for (std::int32_t y = y0; y < y1; ++y) {
        const Taps& t = fy.taps[std::size_t(y)];
        const std::int16_t* wy = fy.weights.data() + t.weightsAt;
        std::uint8_t* dst = out.row(y);
        if (t.count == 1) {
            const std::uint16_t* r = rowOf(t.first);
            for (std::size_t i = 0; i < rowValues; ++i) dst[i] = std::uint8_t((r[i] + 128) >> 8);
            continue;
        }
        std::fill(acc.begin(), acc.end(), 0);
        for (std::int32_t k = 0; k < t.count; ++k) {
            const std::uint16_t* r = rowOf(t.first + k);
            const std::int32_t wk = wy[k];
            for (std::size_t i = 0; i < rowValues; ++i) acc[i] += wk * r[i];
        }
        constexpr int shift = kWeightBits + 8;
        for (std::size_t i = 0; i < rowValues; ++i) {
            const std::int32_t v = (acc[i] + (1 << (shift - 1))) >> shift;
            dst[i] = std::uint8_t(v > 255 ? 255 : v);
        }
    }
}

Status Refusal(const SourceImage& source, unsigned mode) {
    if (source.empty()) return Status::Error(ErrorCode::NoImage, "there is no source image to convert");
    if (!CanConvert(mode)) return Status::Error(ErrorCode::ModeZero, "blending mode 0 allows no conversion");
    return Status::Ok();
}

Status Finish(ConvertedImage&& made, std::int32_t w, std::int32_t h, ConvertedImage& slot, const ProgressFn& progress) {
    if (made.empty())
        return Status::Error(ErrorCode::OutOfMemory, "not enough memory for a " + std::to_string(w) + " x " +
                                                         std::to_string(h) + " converted image");
    slot = std::move(made);
    Report(progress, 100);
    return Status::Ok();
}

}  // namespace

PreviewSize ComputePreviewSize(std::uint32_t sourceWidth, std::uint32_t sourceHeight, std::uint32_t maxTexSize) {
    auto side = [maxTexSize](std::uint32_t source) {
        std::uint32_t s = 2;
        while (s < maxTexSize && s < source) s *= 2;
        return s;
    };
    // Sides beyond 2^30 cannot be allocated anyway; keep the result a valid int32.
    return {std::int32_t(std::min<std::uint32_t>(side(sourceWidth), 1u << 30)),
            std::int32_t(std::min<std::uint32_t>(side(sourceHeight), 1u << 30))};
}

ConvertedImage ConvertImage(const SourceImage& source, const std::optional<ColorMatrix>& matrix, std::int32_t width,
                            std::int32_t height) {
    ConvertedImage out = ConvertedImage::Create(width, height);
    if (out.empty() || source.empty()) return out;
    const ColorRowConverter colours(matrix);
    if (width == source.width() && height == source.height()) {
        ParallelRows(
            height,
            [&](std::int32_t y0, std::int32_t y1) {
                for (std::int32_t y = y0; y < y1; ++y) colours.ConvertRow(source.row(y), out.row(y), width);
            },
            width);
        return out;
    }
    const Filter fx = MakeFilter(source.width(), width);
    const Filter fy = MakeFilter(source.height(), height);
    const std::int64_t work = std::int64_t(width) * fy.maxCount + std::int64_t(source.width()) * source.height() / height;
    ParallelRows(
        height, [&](std::int32_t y0, std::int32_t y1) { StretchBand(source, colours, fx, fy, out, y0, y1); }, work);
    return out;
}

Status MakePreviewImage(const SourceImage& source, const ConversionParams& params, std::uint32_t maxTexSize,
                        ConvertedImage& preview, const ProgressFn& progress) {
    Report(progress, 0);
    if (Status refusal = Refusal(source, params.mode); !refusal.ok()) return refusal;
    preview.reset();
    const PreviewSize size = ComputePreviewSize(std::uint32_t(source.width()), std::uint32_t(source.height()), maxTexSize);
    return Finish(ConvertImage(source, SelectBlendMatrix(params.mode, params.eye, params.custom), size.width, size.height),
                  size.width, size.height, preview, progress);
}

Status MakeOutputImage(const SourceImage& source, const ConversionParams& params, ConvertedImage& output,
                       const ProgressFn& progress) {
    Report(progress, 0);
    if (Status refusal = Refusal(source, params.mode); !refusal.ok()) return refusal;
    output.reset();
    return Finish(ConvertImage(source, SelectBlendMatrix(params.mode, params.eye, params.custom), source.width(),
                               source.height()),
                  source.width(), source.height(), output, progress);
}

}  // namespace bistrope
