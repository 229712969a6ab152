#include "engine/render.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>

#include "engine/parallel.h"

namespace bistrope {
namespace {

constexpr int kPhaseBits = 8;  // sample positions are quantised to 1/256 pixel
constexpr int kPhases = 1 << kPhaseBits;

// Keys' cubic convolution kernel with a = -0.5.
double Keys(double x) {
    constexpr double a = -0.5;
    x = std::fabs(x);
    if (x <= 1.0) return ((a + 2.0) * x - (a + 3.0)) * x * x + 1.0;
    if (x < 2.0) return ((a * x - 5.0 * a) * x + 8.0 * a) * x - 4.0 * a;
    return 0.0;
}

// The four weights for taps at -1, 0, +1, +2 around a position with fraction p / 256.
struct KernelTable {
    std::array<std::array<float, 4>, kPhases> w;
    KernelTable() {
        for (int p = 0; p < kPhases; ++p) {
            const double f = double(p) / kPhases;
            for (int k = 0; k < 4; ++k) w[std::size_t(p)][std::size_t(k)] = float(Keys(f - (k - 1)));
        }
    }
};
const KernelTable& Kernel() {
    static const KernelTable table;
    return table;
}

// Which of the blue, green, red bytes are non-zero anywhere in the image (bit 0 blue).
unsigned ChannelsInUse(const ConvertedImage& image) {
    std::atomic<unsigned> mask{0};
    ParallelRows(
        image.height(),
        [&](std::int32_t y0, std::int32_t y1) {
            unsigned m = 0;
            const std::int32_t w = image.width();
            for (std::int32_t y = y0; y < y1 && m != 7 && mask.load(std::memory_order_relaxed) != 7; ++y) {
                const std::uint8_t* r = image.row(y);
                for (std::int32_t x = 0; x < w; ++x, r += 3) m |= (r[0] ? 1u : 0u) | (r[1] ? 2u : 0u) | (r[2] ? 4u : 0u);
            }
            mask.fetch_or(m);
        },
        image.width());
    return mask.load();
}

inline std::uint8_t ToPixel(float v) {
    if (!(v > 0.0f)) return 0;
    if (v >= 255.0f) return 255;
    return std::uint8_t(v + 0.5f);
}

struct LeftSampler {
    const ConvertedImage* image;
    unsigned channels;
    // Sample position of output pixel (0, 0) in left-image pixel-centre units (pixel i's
    // centre at i); each output column adds (cos, -sin), each row (sin, cos).
    double u0, v0;
    double cosA, sinA;

    void RenderRow(std::int32_t y, std::int32_t width, std::uint8_t* dst) const {
        const ConvertedImage& L = *image;
        const std::int64_t wL = L.width(), hL = L.height();
        const double one = 4294967296.0;  // 2^32
        // Moving one output row down moves the sample by (sin, cos); one column right by (cos, -sin).
        const std::int64_t U0 = std::llround((u0 + y * sinA) * one);
        const std::int64_t V0 = std::llround((v0 + y * cosA) * one);
        const std::int64_t dU = std::llround(cosA * one), dV = std::llround(-sinA * one);
        const std::size_t stride = L.stride();
        const std::uint8_t* base = L.data();
        const auto& kernel = Kernel().w;
        const std::int64_t uLow = -(std::int64_t(3) << 31);
        const std::int64_t uHigh = (2 * wL + 1) << 31, vHigh = (2 * hL + 1) << 31;
        for (std::int32_t x = 0; x < width; ++x, dst += 3) {
            const std::int64_t U = U0 + x * dU + (std::int64_t(1) << 23);
            const std::int64_t V = V0 + x * dV + (std::int64_t(1) << 23);
            // More than a pixel outside the image (pixel-centre units: edges at -0.5, w - 0.5).
            if (U < uLow || V < uLow || U >= uHigh || V >= vHigh) {
                dst[0] = dst[1] = dst[2] = 0;
                continue;
            }
            const std::int64_t iu = U >> 32, iv = V >> 32;
            const auto& wx = kernel[std::size_t((U >> (32 - kPhaseBits)) & (kPhases - 1))];
            const auto& wy = kernel[std::size_t((V >> (32 - kPhaseBits)) & (kPhases - 1))];
            std::size_t col[4];
            const std::uint8_t* rows[4];
            const bool inside = iu >= 1 && iv >= 1 && iu + 2 < wL && iv + 2 < hL;
            for (int k = 0; k < 4; ++k) {
                const std::int64_t cx = inside ? iu + k - 1 : std::clamp<std::int64_t>(iu + k - 1, 0, wL - 1);
                const std::int64_t cy = inside ? iv + k - 1 : std::clamp<std::int64_t>(iv + k - 1, 0, hL - 1);
                col[k] = std::size_t(cx) * 3;
                rows[k] = base + std::size_t(cy) * stride;
            }
            for (int c = 0; c < 3; ++c) {
                if (!(channels & (1u << c))) {
                    dst[c] = 0;
                    continue;
                }
                float sum = 0.0f;
                for (int r = 0; r < 4; ++r) {
                    const std::uint8_t* p = rows[r] + c;
                    const float h = wx[0] * p[col[0]] + wx[1] * p[col[1]] + wx[2] * p[col[2]] + wx[3] * p[col[3]];
                    sum += wy[std::size_t(r)] * h;
                }
                dst[c] = ToPixel(sum);
            }
        }
    }
};

bool Finite(const Alignment& a) {
    return std::isfinite(a.offsetX) && std::isfinite(a.offsetY) && std::isfinite(a.rotation);
}

}  // namespace

Status RenderAnaglyph(const ConvertedImageSupplier& rightSupplier, const ConvertedImageSupplier& leftSupplier,
                      const OutputRect& rect, const Alignment& alignment, ConvertedImage& result,
                      const ProgressFn& progress) {
    if (rect.IsEmpty())
        return Status::Error(ErrorCode::EmptyOutput, "the output rectangle is empty: the images do not overlap");
    if (!Finite(alignment)) return Status::Error(ErrorCode::InvalidArgument, "the alignment values are not finite");
    if (rect.Width() > 0x7fffffff || rect.Height() > 0x7fffffff)
        return Status::Error(ErrorCode::InvalidArgument, "the output rectangle is too large");
    const std::int32_t W = std::int32_t(rect.Width()), H = std::int32_t(rect.Height());
    Report(progress, 0);

    ConvertedImage out = ConvertedImage::Create(W, H);
    if (out.empty())
        return Status::Error(ErrorCode::OutOfMemory, "not enough memory for a " + std::to_string(W) + " x " +
                                                         std::to_string(H) + " output image");
    Report(progress, 10);

    // Right eye: the crop of the output rectangle.
    const ConvertedImage* right = rightSupplier ? rightSupplier() : nullptr;
    if (!right || right->empty()) return Status::Error(ErrorCode::NoImage, "there is no right image");
    const std::int64_t wR = right->width(), hR = right->height();
    const std::int64_t xR = std::int64_t(std::trunc(rect.left + wR / 2.0));
    const std::int64_t yR = std::int64_t(std::trunc(hR / 2.0 - rect.bottom));
    if (xR < 0 || yR < 0 || xR + W > wR || yR + H > hR)
        return Status::Error(ErrorCode::InvalidArgument, "the output rectangle lies outside the right image");
    Report(progress, 20);

    const ConvertedImage* left = leftSupplier ? leftSupplier() : nullptr;
    if (!left || left->empty()) return Status::Error(ErrorCode::NoImage, "there is no left image");
    Report(progress, 30);

    const double angle = alignment.rotation * kDegreesToRadians;
    const double cosA = std::cos(angle), sinA = std::sin(angle);
    Report(progress, 40);

    // The crop's origin in the rotated left raster, registered to the right crop's actual
    // (whole-pixel) origin so both eyes share one pixel grid.
    const double wL = left->width(), hL = left->height();
    const double sx0 = (double(xR) - wR / 2.0) + wL / 2.0 - alignment.offsetX;
    const double sy0 = (double(yR) - hR / 2.0) + hL / 2.0 - alignment.offsetY;
    // Output pixel (0, 0)'s centre relative to the left image's centre, turned back.
    const double dx = sx0 + 0.5 - wL / 2.0, dy = sy0 + 0.5 - hL / 2.0;
    LeftSampler sampler;
    sampler.image = left;
    sampler.channels = ChannelsInUse(*left);
    sampler.cosA = cosA;
    sampler.sinA = sinA;
    sampler.u0 = wL / 2.0 + cosA * dx + sinA * dy - 0.5;
    sampler.v0 = hL / 2.0 - sinA * dx + cosA * dy - 0.5;
    Report(progress, 50);

    const std::size_t rowBytes = std::size_t(W) * 3;
    ParallelRows(
        H,
        [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0; y < y1; ++y) {
                std::uint8_t* dst = out.row(y);
                sampler.RenderRow(y, W, dst);
                const std::uint8_t* r = right->row(std::int32_t(yR + y)) + std::size_t(xR) * 3;
                for (std::size_t i = 0; i < rowBytes; ++i) dst[i] |= r[i];
            }
        },
        std::int64_t(W) * 16);
    Report(progress, 60);
    Report(progress, 80);
    Report(progress, 90);
    result = std::move(out);
    Report(progress, 100);
    return Status::Ok();
}

Status RenderAnaglyph(const ConvertedImage& left, const ConvertedImage& right, const OutputRect& rect,
                      const Alignment& alignment, ConvertedImage& result, const ProgressFn& progress) {
    return RenderAnaglyph([&] { return &right; }, [&] { return &left; }, rect, alignment, result, progress);
}

}  // namespace bistrope
