#include "app/thumbnail.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/parallel.h"

namespace bistrope {
namespace {

// The source pixels under one output pixel along one axis, with their weights (adding
// up to 1).
struct Footprint {
    std::int32_t first = 0;
    std::vector<float> weights;
};

std::vector<Footprint> Footprints(std::int32_t sourceSize, std::int32_t targetSize) {
    std::vector<Footprint> out(static_cast<std::size_t>(targetSize));
    const double scale = double(sourceSize) / double(targetSize);
    for (std::int32_t i = 0; i < targetSize; ++i) {
        const double a = i * scale, b = (i + 1) * scale;
        auto first = static_cast<std::int32_t>(std::floor(a));
        auto last = static_cast<std::int32_t>(std::ceil(b)) - 1;
        first = std::clamp(first, 0, sourceSize - 1);
        last = std::clamp(last, first, sourceSize - 1);
        Footprint& f = out[static_cast<std::size_t>(i)];
        f.first = first;
        for (std::int32_t s = first; s <= last; ++s) {
            const double cover = std::min(b, double(s + 1)) - std::max(a, double(s));
            f.weights.push_back(static_cast<float>(std::max(0.0, cover) / scale));
        }
    }
    return out;
}

std::uint8_t ToByte(float v) {
    if (!(v > 0.0f)) return 0;
    if (v >= 255.0f) return 255;
    return static_cast<std::uint8_t>(v + 0.5f);
}

}  // namespace

SourceImage MakeThumbnail(const SourceImage& source, std::int32_t width, std::int32_t height, Bgr background) {
    if (source.empty() || width <= 0 || height <= 0) return {};
    SourceImage out = SourceImage::Create(width, height);
    if (out.empty()) return out;

    const std::vector<Footprint> columns = Footprints(source.width(), width);
    const std::vector<Footprint> rows = Footprints(source.height(), height);

    // One horizontally reduced row at a time, in premultiplied form: blue, green, red
    // times alpha (0..1), and alpha. Output rows are independent: bands of them run on
    // several threads (each reads its own share of the source).
    const std::int64_t sourcePerRow = std::int64_t(source.width()) * (source.height() / height + 1);
    ParallelRows(
        height,
        [&](std::int32_t y0, std::int32_t y1) {
            std::vector<float> reduced(std::size_t(width) * 4);
            std::vector<float> sum(std::size_t(width) * 4);
            for (std::int32_t y = y0; y < y1; ++y) {
                std::fill(sum.begin(), sum.end(), 0.0f);
                const Footprint& fy = rows[static_cast<std::size_t>(y)];
                for (std::size_t k = 0; k < fy.weights.size(); ++k) {
                    const std::uint8_t* src = source.row(fy.first + static_cast<std::int32_t>(k));
                    for (std::int32_t x = 0; x < width; ++x) {
                        const Footprint& fx = columns[static_cast<std::size_t>(x)];
                        float b = 0, g = 0, r = 0, a = 0;
                        const std::uint8_t* p = src + std::size_t(fx.first) * 4;
                        for (float w : fx.weights) {
                            const float alpha = p[3] * (w / 255.0f);
                            b += p[0] * alpha;
                            g += p[1] * alpha;
                            r += p[2] * alpha;
                            a += alpha;
                            p += 4;
                        }
                        float* s = &reduced[std::size_t(x) * 4];
                        s[0] = b;
                        s[1] = g;
                        s[2] = r;
                        s[3] = a;
                    }
                    const float wy = fy.weights[k];
                    for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += reduced[i] * wy;
                }
                std::uint8_t* dst = out.row(y);
                for (std::int32_t x = 0; x < width; ++x) {
                    const float* s = &sum[std::size_t(x) * 4];
                    const float rest = std::max(0.0f, 1.0f - s[3]);
                    dst[0] = ToByte(s[0] + rest * background.b);
                    dst[1] = ToByte(s[1] + rest * background.g);
                    dst[2] = ToByte(s[2] + rest * background.r);
                    dst[3] = 255;
                    dst += 4;
                }
            }
        },
        sourcePerRow);
    return out;
}

}  // namespace bistrope
