#include "engine/render.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>

#include "engine/parallel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// One channel of the left image as a plane of bytes, so that four neighbours of a row
// are one 32-bit load.
using Plane = BasicImage<1>;

Plane ExtractChannel(const ConvertedImage& image, int channel) {
    Plane plane = Plane::Create(image.width(), image.height());
    if (plane.empty()) return plane;
    ParallelRows(
        image.height(),
        [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0; y < y1; ++y) {
                const std::uint8_t* src = image.row(y) + channel;
                std::uint8_t* dst = plane.row(y);
                for (std::int32_t x = 0, w = image.width(); x < w; ++x) dst[x] = src[3 * x];
            }
        },
        image.width());
    return plane;
}

struct LeftSampler {
    const Plane* planes[3] = {};  // blue, green, red; nullptr for a channel that is zero
    const ConvertedImage* whole = nullptr;  // set when every sample is on a pixel centre
    // Sample position of output pixel (0, 0) in left-image pixel-centre units (pixel i's
    // centre at i); each output column adds (cos, -sin), each row (sin, cos).
    double u0 = 0, v0 = 0;
    double cosA = 1, sinA = 0;
    std::int32_t wL = 0, hL = 0;

    // Bicubic sample of one plane at tap origin (iu - 1, iv - 1) with the given weights;
    // all 16 taps inside the plane.
    static float Inside(const Plane& p, std::int64_t iu, std::int64_t iv, const std::array<float, 4>& wx,
                        const std::array<float, 4>& wy) {
        const std::uint8_t* r = p.row(std::int32_t(iv - 1)) + (iu - 1);
        const std::size_t stride = p.stride();
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        __m128 acc = _mm_setzero_ps();
        for (int j = 0; j < 4; ++j, r += stride) {
            std::uint32_t four;
            std::memcpy(&four, r, 4);
            const __m128i bytes = _mm_cvtsi32_si128(int(four));
            const __m128i ints = _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero);
            acc = _mm_add_ps(acc, _mm_mul_ps(_mm_cvtepi32_ps(ints), _mm_set1_ps(wy[std::size_t(j)])));
        }
        acc = _mm_mul_ps(acc, _mm_loadu_ps(wx.data()));
        acc = _mm_add_ps(acc, _mm_movehl_ps(acc, acc));
        acc = _mm_add_ss(acc, _mm_shuffle_ps(acc, acc, 1));
        return _mm_cvtss_f32(acc);
#else
        float sum = 0.0f;
        for (int j = 0; j < 4; ++j, r += stride)
            sum += wy[std::size_t(j)] * (wx[0] * r[0] + wx[1] * r[1] + wx[2] * r[2] + wx[3] * r[3]);
        return sum;
#endif
    }

    // The same near the edges: taps outside repeat the edge.
    float Edge(const Plane& p, std::int64_t iu, std::int64_t iv, const std::array<float, 4>& wx,
               const std::array<float, 4>& wy) const {
        float sum = 0.0f;
        for (int j = 0; j < 4; ++j) {
            const std::uint8_t* r = p.row(std::int32_t(std::clamp<std::int64_t>(iv + j - 1, 0, hL - 1)));
            float h = 0.0f;
            for (int i = 0; i < 4; ++i) h += wx[std::size_t(i)] * r[std::clamp<std::int64_t>(iu + i - 1, 0, wL - 1)];
            sum += wy[std::size_t(j)] * h;
        }
        return sum;
    }

    // Where output row y starts sampling, in 32.32 fixed point rounded to the nearest 1/256
    // pixel (U0, V0), and how far each column moves (dU, dV).
    struct RowStart {
        std::int64_t U0, V0, dU, dV;
    };
    RowStart StartOf(std::int32_t y) const {
        const double one = 4294967296.0;  // positions carry 32 fraction bits
        const std::int64_t round = std::int64_t(1) << (31 - kPhaseBits);
        return {std::llround((u0 + y * sinA) * one) + round, std::llround((v0 + y * cosA) * one) + round,
                std::llround(cosA * one), std::llround(-sinA * one)};
    }
    static bool OnPixelCentres(const RowStart& r) {
        const std::int64_t phase = (std::int64_t(kPhases) - 1) << (32 - kPhaseBits);
        return r.dU == (std::int64_t(1) << 32) && r.dV == 0 && (r.U0 & phase) == 0 && (r.V0 & phase) == 0;
    }
    // Whether every sample of rows [0, height) falls on a pixel centre (rotation 0 and a
    // whole-pixel offset): then every kernel weight is 0 or 1 and a sample is the pixel.
    bool AllOnPixelCentres(std::int32_t height) const {
        for (std::int32_t y = 0; y < height; ++y)
            if (!OnPixelCentres(StartOf(y))) return false;
        return true;
    }

    // Output row y: the right crop's pixels `right` ORed with the left layer, into dst (which
    // may be `right` itself).
    void RenderRow(std::int32_t y, std::int32_t width, const std::uint8_t* right, std::uint8_t* dst) const {
        // Named copies rather than a structured binding, which C++17 lambdas cannot capture.
        const RowStart start = StartOf(y);
        const std::int64_t U0 = start.U0, V0 = start.V0, dU = start.dU, dV = start.dV;
        if (dst != right) std::memcpy(dst, right, std::size_t(width) * 3);
        if (whole) return CopyRow(U0 >> 32, V0 >> 32, width, dst);
        // All sixteen taps inside the image.
        auto inside = [&](std::int32_t x) {
            const std::int64_t iu = (U0 + x * dU) >> 32, iv = (V0 + x * dV) >> 32;
            return iu >= 1 && iv >= 1 && iu + 2 < wL && iv + 2 < hL;
        };
        // The inside pixels form one run [xa, xb) (the position is linear in x).
        std::int32_t xa = 0, xb = width;
        while (xa < width && !inside(xa)) ++xa;
        while (xb > xa && !inside(xb - 1)) --xb;
        SampleEdge(U0, V0, dU, dV, 0, xa, dst);
        SampleInside(U0, V0, dU, dV, xa, xb, dst);
        SampleEdge(U0, V0, dU, dV, xb, width, dst);
    }

    // The row of samples on pixel centres starting at pixel (iu0, iv) of `whole`, which is
    // what the bicubic sum gives there: the pixel itself, the nearest edge pixel within a
    // pixel outside the image, black further out. Channels the left image does not use
    // are zero, so ORing all three changes nothing else.
    void CopyRow(std::int64_t iu0, std::int64_t iv, std::int32_t width, std::uint8_t* dst) const {
        if (iv < -1 || iv > hL) return;
        const std::uint8_t* src = whole->row(std::int32_t(std::clamp<std::int64_t>(iv, 0, hL - 1)));
        const auto orPixel = [&](std::int32_t x, std::int64_t iu) {
            for (int c = 0; c < 3; ++c) dst[3 * x + c] |= src[3 * iu + c];
        };
        const std::int32_t xa = std::int32_t(std::clamp<std::int64_t>(-iu0, 0, width));
        const std::int32_t xb = std::int32_t(std::clamp<std::int64_t>(wL - iu0, xa, width));
        if (xa > 0 && iu0 + xa - 1 == -1) orPixel(xa - 1, 0);
        const std::uint8_t* in = src + 3 * (iu0 + xa);
        for (std::size_t i = 0, n = 3 * std::size_t(xb - xa); i < n; ++i) dst[3 * std::size_t(xa) + i] |= in[i];
        if (xb < width && iu0 + xb == wL) orPixel(xb, wL - 1);
    }

    void SampleInside(std::int64_t U0, std::int64_t V0, std::int64_t dU, std::int64_t dV, std::int32_t x0,
                      std::int32_t x1, std::uint8_t* dst) const {
        const auto& kernel = Kernel().w;
        for (int c = 0; c < 3; ++c) {
            const Plane* p = planes[c];
            if (!p) continue;
            std::int64_t U = U0 + x0 * dU, V = V0 + x0 * dV;
            for (std::int32_t x = x0; x < x1; ++x, U += dU, V += dV) {
                const auto& wx = kernel[std::size_t((U >> (32 - kPhaseBits)) & (kPhases - 1))];
                const auto& wy = kernel[std::size_t((V >> (32 - kPhaseBits)) & (kPhases - 1))];
                dst[3 * x + c] |= ToPixel(Inside(*p, U >> 32, V >> 32, wx, wy));
            }
        }
    }

    void SampleEdge(std::int64_t U0, std::int64_t V0, std::int64_t dU, std::int64_t dV, std::int32_t x0,
                    std::int32_t x1, std::uint8_t* dst) const {
        const auto& kernel = Kernel().w;
        // More than a pixel outside the image (pixel-centre units: edges at -0.5, w - 0.5)
        // is black.
        const std::int64_t low = -(std::int64_t(3) << 31);
        const std::int64_t highU = (2 * std::int64_t(wL) + 1) << 31, highV = (2 * std::int64_t(hL) + 1) << 31;
        for (std::int32_t x = x0; x < x1; ++x) {
            const std::int64_t U = U0 + x * dU, V = V0 + x * dV;
            if (U < low || V < low || U >= highU || V >= highV) continue;
            const auto& wx = kernel[std::size_t((U >> (32 - kPhaseBits)) & (kPhases - 1))];
            const auto& wy = kernel[std::size_t((V >> (32 - kPhaseBits)) & (kPhases - 1))];
            for (int c = 0; c < 3; ++c)
                if (planes[c]) dst[3 * x + c] |= ToPixel(Edge(*planes[c], U >> 32, V >> 32, wx, wy));
        }
    }
};

bool Finite(const Alignment& a) {
    return std::isfinite(a.offsetX) && std::isfinite(a.offsetY) && std::isfinite(a.rotation);
}

// The checks made before anything else: the output rectangle's size in W, H.
Status CheckRequest(const OutputRect& rect, const Alignment& alignment, std::int32_t& W, std::int32_t& H) {
    if (rect.IsEmpty())
        return Status::Error(ErrorCode::EmptyOutput, "the output rectangle is empty: the images do not overlap");
    if (!Finite(alignment)) return Status::Error(ErrorCode::InvalidArgument, "the alignment values are not finite");
    if (rect.Width() > 0x7fffffff || rect.Height() > 0x7fffffff)
        return Status::Error(ErrorCode::InvalidArgument, "the output rectangle is too large");
    W = std::int32_t(rect.Width());
    H = std::int32_t(rect.Height());
    return Status::Ok();
}

// Where the W x H crop starts in the right image (xR, yR).
Status RightCrop(const ConvertedImage* right, const OutputRect& rect, std::int32_t W, std::int32_t H,
                 std::int32_t& xR, std::int32_t& yR) {
    if (!right || right->empty()) return Status::Error(ErrorCode::NoImage, "there is no right image");
    const std::int64_t wR = right->width(), hR = right->height();
    const std::int64_t x = std::int64_t(std::trunc(rect.left + wR / 2.0));
    const std::int64_t y = std::int64_t(std::trunc(hR / 2.0 - rect.bottom));
    if (x < 0 || y < 0 || x + W > wR || y + H > hR)
        return Status::Error(ErrorCode::InvalidArgument, "the output rectangle lies outside the right image");
    xR = std::int32_t(x);
    yR = std::int32_t(y);
    return Status::Ok();
}

// The left layer's sampler for a crop at (xR, yR) of a wR x hR right image, with the planes
// it resamples (progress 40 once the transform is set).
Status PrepareLeft(const ConvertedImage& left, std::int64_t wR, std::int64_t hR, std::int32_t xR, std::int32_t yR,
                   std::int32_t H, const Alignment& alignment, LeftSampler& sampler, Plane (&planes)[3],
                   const ProgressFn& progress) {
    const double angle = alignment.rotation * kDegreesToRadians;
    const double cosA = std::cos(angle), sinA = std::sin(angle);
    Report(progress, 40);

    // The crop's origin in the rotated left raster, registered to the right crop's actual
    // (whole-pixel) origin so both eyes share one pixel grid.
    const double wL = left.width(), hL = left.height();
    const double sx0 = (double(xR) - double(wR) / 2.0) + wL / 2.0 - alignment.offsetX;
    const double sy0 = (double(yR) - double(hR) / 2.0) + hL / 2.0 - alignment.offsetY;
    // Output pixel (0, 0)'s centre relative to the left image's centre, turned back.
    const double dx = sx0 + 0.5 - wL / 2.0, dy = sy0 + 0.5 - hL / 2.0;
    sampler.wL = left.width();
    sampler.hL = left.height();
    sampler.cosA = cosA;
    sampler.sinA = sinA;
    sampler.u0 = wL / 2.0 + cosA * dx + sinA * dy - 0.5;
    sampler.v0 = hL / 2.0 - sinA * dx + cosA * dy - 0.5;
    if (sampler.AllOnPixelCentres(H)) sampler.whole = &left;
    // Otherwise only the channels the left image uses are resampled (one for the fixed
    // modes).
    const unsigned channels = sampler.whole ? 0 : ChannelsInUse(left);
    for (int c = 0; c < 3; ++c) {
        if (!(channels & (1u << c))) continue;
        planes[c] = ExtractChannel(left, c);
        if (planes[c].empty())
            return Status::Error(ErrorCode::OutOfMemory, "not enough memory to resample the left image");
        sampler.planes[c] = &planes[c];
    }
    Report(progress, 50);
    return Status::Ok();
}

// Output rows [0, H) on all workers; `rows(y)` gives the right crop's row y and where output
// row y goes (the same place when rendering in place).
template <class Rows>
void RenderRows(const LeftSampler& sampler, std::int32_t W, std::int32_t H, const Rows& rows,
                const ProgressFn& progress) {
    ParallelRows(
        H,
        [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0; y < y1; ++y) {
                const auto [right, dst] = rows(y);
                sampler.RenderRow(y, W, right, dst);
            }
        },
        std::int64_t(W) * 16);
    Report(progress, 60);
    Report(progress, 80);
    Report(progress, 90);
}

}  // namespace

Status RenderAnaglyph(const ConvertedImageSupplier& rightSupplier, const ConvertedImageSupplier& leftSupplier,
                      const OutputRect& rect, const Alignment& alignment, ConvertedImage& result,
                      const ProgressFn& progress) {
    std::int32_t W = 0, H = 0, xR = 0, yR = 0;
    if (Status checked = CheckRequest(rect, alignment, W, H); !checked.ok()) return checked;
    Report(progress, 0);

    ConvertedImage out = ConvertedImage::Create(W, H);
    if (out.empty())
        return Status::Error(ErrorCode::OutOfMemory, "not enough memory for a " + std::to_string(W) + " x " +
                                                         std::to_string(H) + " output image");
    Report(progress, 10);

    // Right eye: the crop of the output rectangle.
    const ConvertedImage* right = rightSupplier ? rightSupplier() : nullptr;
    if (Status crop = RightCrop(right, rect, W, H, xR, yR); !crop.ok()) return crop;
    Report(progress, 20);

    const ConvertedImage* left = leftSupplier ? leftSupplier() : nullptr;
    if (!left || left->empty()) return Status::Error(ErrorCode::NoImage, "there is no left image");
    Report(progress, 30);

    LeftSampler sampler;
    Plane planes[3];
    if (Status prepared = PrepareLeft(*left, right->width(), right->height(), xR, yR, H, alignment, sampler, planes,
                                      progress);
        !prepared.ok())
        return prepared;
    RenderRows(
        sampler, W, H,
        [&](std::int32_t y) { return std::make_pair(right->row(yR + y) + std::size_t(xR) * 3, out.row(y)); },
        progress);
    result = std::move(out);
    Report(progress, 100);
    return Status::Ok();
}

Status RenderAnaglyphInPlace(const ConvertedImage& left, ConvertedImage& right, const OutputRect& rect,
                             const Alignment& alignment, const ProgressFn& progress) {
    std::int32_t W = 0, H = 0, xR = 0, yR = 0;
    if (Status checked = CheckRequest(rect, alignment, W, H); !checked.ok()) return checked;
    Report(progress, 0);
    if (Status crop = RightCrop(&right, rect, W, H, xR, yR); !crop.ok()) return crop;
    Report(progress, 10);
    Report(progress, 20);
    if (left.empty()) return Status::Error(ErrorCode::NoImage, "there is no left image");
    Report(progress, 30);

    LeftSampler sampler;
    Plane planes[3];
    if (Status prepared = PrepareLeft(left, right.width(), right.height(), xR, yR, H, alignment, sampler, planes,
                                      progress);
        !prepared.ok())
        return prepared;
    // Nothing can fail from here on.
    right.CropInPlace(xR, yR, W, H);
    RenderRows(
        sampler, W, H, [&](std::int32_t y) { return std::make_pair(right.row(y), right.row(y)); }, progress);
    Report(progress, 100);
    return Status::Ok();
}

Status RenderAnaglyph(const ConvertedImage& left, const ConvertedImage& right, const OutputRect& rect,
                      const Alignment& alignment, ConvertedImage& result, const ProgressFn& progress) {
    return RenderAnaglyph([&] { return &right; }, [&] { return &left; }, rect, alignment, result, progress);
}

}  // namespace bistrope
