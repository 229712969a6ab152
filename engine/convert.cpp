#include "engine/convert.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
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
    // When no output needs more than two taps (enlarging, or shrinking by less than 2):
    // per output the first tap and both weights, the second weight 0 for a single tap.
    std::vector<std::int32_t> pairFirst;
    std::vector<std::int16_t> pairWeights;
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
    if (f.maxCount <= 2 && from >= 2) {
        for (const Taps& t : f.taps) {
            const std::int32_t second = t.count == 2 ? f.weights[std::size_t(t.weightsAt) + 1] : 0;
            // A single tap at the last pixel reads no further than that pixel.
            const std::int32_t first = std::min(t.first, from - 2);
            const bool shifted = first != t.first;
            f.pairFirst.push_back(first);
            f.pairWeights.push_back(std::int16_t(shifted ? 0 : f.weights[std::size_t(t.weightsAt)]));
            f.pairWeights.push_back(std::int16_t(shifted ? f.weights[std::size_t(t.weightsAt)] : second));
        }
    }
    return f;
}

// Horizontal pass of one channel plane of a converted source row into `to` 16-bit values holding 8 fraction bits.
void ResampleRow(const std::uint8_t* src, std::uint16_t* dst, const Filter& fx) {
    const std::int32_t to = std::int32_t(fx.taps.size());
    if (fx.identity) {
        for (std::int32_t i = 0; i < to; ++i) dst[i] = std::uint16_t(src[i] << 8);
        return;
    }
    constexpr int shift = kWeightBits - 8;
    constexpr int half = 1 << (shift - 1);
    if (!fx.pairFirst.empty()) {
        const std::int32_t* first = fx.pairFirst.data();
        const std::int16_t* w = fx.pairWeights.data();
        for (std::int32_t o = 0; o < to; ++o) {
            const std::uint8_t* p = src + first[o];
            dst[o] = std::uint16_t((w[2 * o] * p[0] + w[2 * o + 1] * p[1] + half) >> shift);
        }
        return;
    }
    const std::int16_t* weights = fx.weights.data();
    for (std::int32_t o = 0; o < to; ++o) {
        const Taps& t = fx.taps[std::size_t(o)];
        const std::uint8_t* p = src + t.first;
        const std::int16_t* w = weights + t.weightsAt;
        std::int32_t sum = 0;
        for (std::int32_t k = 0; k < t.count; ++k) sum += w[k] * p[k];
        dst[o] = std::uint16_t((sum + half) >> shift);
    }
}

// Stretches rows [y0, y1) of the output: converts and horizontally resamples each needed
// source row once (a ring of recent rows, one plane per channel), then combines them
// vertically. Channels the matrix makes zero everywhere are not resampled.
void StretchBand(const SourceImage& source, const ColorRowConverter& colours, const Filter& fx, const Filter& fy,
                 ConvertedImage& out, std::int32_t y0, std::int32_t y1) {
    const std::int32_t w = out.width();
    int channels[3], count = 0;
    for (int c = 0; c < 3; ++c)
        if (!colours.AlwaysZero(c)) channels[count++] = c;
    const std::int32_t slots = fy.maxCount + 1;
    const std::size_t plane = std::size_t(w);
    std::vector<std::uint16_t> ring(plane * 3 * std::size_t(slots));
    std::vector<std::int32_t> held(std::size_t(slots), -1);
    const std::size_t sourcePlane = std::size_t(source.width());
    std::vector<std::uint8_t> converted(sourcePlane * 3);  // blue, green, red planes
    std::vector<std::int32_t> acc(plane);
    // Plane of channel c of source row sy.
    auto rowOf = [&](std::int32_t sy, int c) -> const std::uint16_t* {
        const std::size_t slot = std::size_t(sy % slots);
        std::uint16_t* r = ring.data() + slot * plane * 3;
        if (held[slot] != sy) {
            std::uint8_t* cp = converted.data();
            colours.ConvertRowPlanes(source.row(sy), cp, cp + sourcePlane, cp + 2 * sourcePlane, source.width());
            for (int k = 0; k < count; ++k) {
                const std::size_t c = std::size_t(channels[k]);
                ResampleRow(cp + sourcePlane * c, r + plane * c, fx);
            }
            held[slot] = sy;
        }
        return r + plane * std::size_t(c);
    };
    constexpr int shift = kWeightBits + 8;
    constexpr std::int32_t half = 1 << (shift - 1);
    // One output row as three planes (zero planes stay zero), interleaved at the end.
    std::vector<std::uint8_t> planes(plane * 3, 0);
    for (std::int32_t y = y0; y < y1; ++y) {
        const Taps& t = fy.taps[std::size_t(y)];
        const std::int16_t* wy = fy.weights.data() + t.weightsAt;
        for (int k = 0; k < count; ++k) {
            const int c = channels[k];
            std::uint8_t* d = planes.data() + plane * std::size_t(c);
            if (t.count == 1) {
                const std::uint16_t* r = rowOf(t.first, c);
                for (std::int32_t i = 0; i < w; ++i) d[i] = std::uint8_t((r[i] + 128) >> 8);
            } else if (t.count == 2) {
                const std::uint16_t* r0 = rowOf(t.first, c);
                const std::uint16_t* r1 = rowOf(t.first + 1, c);
                const std::int32_t w0 = wy[0], w1 = wy[1];
                for (std::int32_t i = 0; i < w; ++i) {
                    const std::int32_t v = (w0 * r0[i] + w1 * r1[i] + half) >> shift;
                    d[i] = std::uint8_t(v > 255 ? 255 : v);
                }
            } else {
                std::fill(acc.begin(), acc.end(), 0);
                for (std::int32_t j = 0; j < t.count; ++j) {
                    const std::uint16_t* r = rowOf(t.first + j, c);
                    const std::int32_t wj = wy[j];
                    for (std::int32_t i = 0; i < w; ++i) acc[std::size_t(i)] += wj * r[i];
                }
                for (std::int32_t i = 0; i < w; ++i) {
                    const std::int32_t v = (acc[std::size_t(i)] + half) >> shift;
                    d[i] = std::uint8_t(v > 255 ? 255 : v);
                }
            }
        }
        InterleaveBgr(planes.data(), planes.data() + plane, planes.data() + 2 * plane, out.row(y), w);
    }
}

Status Refusal(const SourceImage& source, unsigned mode) {
    if (source.empty()) return Status::Error(ErrorCode::NoImage, "there is no source image to convert");
    if (!CanConvert(mode)) return Status::Error(ErrorCode::ModeZero, "blending mode 0 allows no conversion");
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

namespace {

// The conversion of a whole source onto `out`, whose size decides the stretch, made in
// bands of output rows.
class Conversion {
public:
    Conversion(const SourceImage& source, const std::optional<ColorMatrix>& matrix, ConvertedImage& out)
        : source_(source), colours_(matrix), out_(out),
          same_(out.width() == source.width() && out.height() == source.height()) {
        if (same_) return;
        fx_ = MakeFilter(source.width(), out.width());
        fy_ = MakeFilter(source.height(), out.height());
    }

    // Output rows [y0, y1).
    void Rows(std::int32_t y0, std::int32_t y1) const {
        if (!same_) return StretchBand(source_, colours_, fx_, fy_, out_, y0, y1);
        for (std::int32_t y = y0; y < y1; ++y) colours_.ConvertRow(source_.row(y), out_.row(y), out_.width());
    }
    // How many source rows, from the top, output rows [y0, y1) read.
    std::int32_t SourceRowsFor(std::int32_t y0, std::int32_t y1) const {
        if (same_) return y1;
        std::int32_t rows = 0;
        for (std::int32_t y = y0; y < y1; ++y) {
            const Taps& t = fy_.taps[std::size_t(y)];
            rows = std::max(rows, t.first + t.count);
        }
        return rows;
    }
    // ParallelRows' measure of one output row's work.
    std::int64_t WorkPerRow() const {
        if (same_) return out_.width();
        return std::int64_t(out_.width()) * fy_.maxCount +
               std::int64_t(source_.width()) * source_.height() / out_.height();
    }
    std::int32_t Height() const { return out_.height(); }

private:
    const SourceImage& source_;
    const ColorRowConverter colours_;
    ConvertedImage& out_;
    const bool same_;
    Filter fx_, fy_;
};

// Converts the whole source onto `out` on all workers.
void ConvertInto(const SourceImage& source, const std::optional<ColorMatrix>& matrix, ConvertedImage& out) {
    const Conversion conversion(source, matrix, out);
    ParallelRows(
        conversion.Height(), [&](std::int32_t y0, std::int32_t y1) { conversion.Rows(y0, y1); },
        conversion.WorkPerRow());
}

// The conversion for a slot: the slot's previous image is replaced. When it already has
// the wanted size its memory is written over instead of being released and mapped anew
// (which costs more than the conversion on large images); otherwise it is released
// before the new one is allocated.
Status ConvertForSlot(const SourceImage& source, const std::optional<ColorMatrix>& matrix, std::int32_t width,
                      std::int32_t height, ConvertedImage& slot, const ProgressFn& progress) {
    if (slot.width() != width || slot.height() != height) {
        slot.reset();
        slot = ConvertedImage::Create(width, height);
        if (slot.empty())
            return Status::Error(ErrorCode::OutOfMemory, "not enough memory for a " + std::to_string(width) + " x " +
                                                             std::to_string(height) + " converted image");
    }
    ConvertInto(source, matrix, slot);
    Report(progress, 100);
    return Status::Ok();
}

}  // namespace

ConvertedImage ConvertImage(const SourceImage& source, const std::optional<ColorMatrix>& matrix, std::int32_t width,
                            std::int32_t height) {
    ConvertedImage out = ConvertedImage::Create(width, height);
    if (out.empty() || source.empty()) return out;
    ConvertInto(source, matrix, out);
    return out;
}

Status MakePreviewImage(const SourceImage& source, const ConversionParams& params, std::uint32_t maxTexSize,
                        ConvertedImage& preview, const ProgressFn& progress) {
    Report(progress, 0);
    if (Status refusal = Refusal(source, params.mode); !refusal.ok()) return refusal;
    const PreviewSize size = ComputePreviewSize(std::uint32_t(source.width()), std::uint32_t(source.height()), maxTexSize);
    return ConvertForSlot(source, SelectBlendMatrix(params.mode, params.eye, params.custom), size.width, size.height,
                          preview, progress);
}

Status MakeOutputImage(const SourceImage& source, const ConversionParams& params, ConvertedImage& output,
                       const ProgressFn& progress) {
    Report(progress, 0);
    if (Status refusal = Refusal(source, params.mode); !refusal.ok()) return refusal;
    return ConvertForSlot(source, SelectBlendMatrix(params.mode, params.eye, params.custom), source.width(),
                          source.height(), output, progress);
}

void LumaRow(const std::uint8_t* bgra, std::uint8_t* luma, std::int32_t width) {
    for (std::int32_t x = 0; x < width; ++x, bgra += 4)
        luma[x] = std::uint8_t((7471u * bgra[0] + 38470u * bgra[1] + 19595u * bgra[2] + 32768u) >> 16);
}

GreyImage MakeGreyImage(const SourceImage& source) {
    GreyImage grey = GreyImage::Create(source.width(), source.height());
    if (grey.empty()) return grey;
    ParallelRows(
        source.height(),
        [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0; y < y1; ++y) LumaRow(source.row(y), grey.row(y), source.width());
        },
        source.width());
    return grey;
}

// --- Conversion while decoding ----------------------------------------------------------

struct StreamedConversion::State {
    State(const SourceImage& source, const std::optional<ColorMatrix>& matrix, ConvertedImage& out)
        : conversion(source, matrix, out), bands((out.height() + kBandRows - 1) / kBandRows) {}

    // Output bands of 32 rows, taken in order by whichever thread is free.
    static constexpr std::int32_t kBandRows = 32;

    // Makes bands until none is left, each once the source rows it reads are final.
    void Work() {
        for (std::int32_t b; (b = nextBand.fetch_add(1)) < bands;) {
            const std::int32_t y0 = b * kBandRows, y1 = std::min(conversion.Height(), y0 + kBandRows);
            if (!WaitFor(conversion.SourceRowsFor(y0, y1))) return;
            conversion.Rows(y0, y1);
        }
    }
    // False when the work was abandoned first.
    bool WaitFor(std::int32_t rows) {
        if (ready.load() < rows) {
            // The decoder wakes this thread only when it has said what it waits for (see
            // Announce), so that announcing a row costs nothing while no one waits.
            std::unique_lock<std::mutex> lock(mutex);
            waitingFor.store(rows);
            wake.wait(lock, [&] { return abandoned.load() || ready.load() >= rows; });
            waitingFor.store(0);
        }
        return !abandoned.load();
    }
    void Announce(std::int32_t rows) {
        ready.store(rows);
        const std::int32_t wanted = waitingFor.load();
        if (wanted != 0 && rows >= wanted) Wake();
    }
    void Wake() {
        // Taking the lock orders this wake after a waiter's check of its condition.
        { const std::lock_guard<std::mutex> lock(mutex); }
        wake.notify_all();
    }
    void JoinWorker() {
        if (worker.joinable()) worker.join();
    }

    const Conversion conversion;
    const std::int32_t bands;
    std::atomic<std::int32_t> nextBand{0}, ready{0}, waitingFor{0};
    std::atomic<bool> abandoned{false};
    std::mutex mutex;
    std::condition_variable wake;
    std::thread worker;
};

StreamedConversion::StreamedConversion(const SourceImage& source, const std::optional<ColorMatrix>& matrix,
                                       ConvertedImage& out)
    : state_(std::make_unique<State>(source, matrix, out)) {
    try {
        state_->worker = std::thread([state = state_.get()] { state->Work(); });
    } catch (const std::system_error&) {
        // No second thread: Finish makes every band.
    }
}

StreamedConversion::~StreamedConversion() { Abandon(); }

void StreamedConversion::RowsReady(std::int32_t rows) { state_->Announce(rows); }

void StreamedConversion::Finish() {
    state_->Announce(std::numeric_limits<std::int32_t>::max());
    state_->Work();
    state_->JoinWorker();
}

void StreamedConversion::Abandon() {
    state_->abandoned.store(true);
    state_->Wake();
    state_->JoinWorker();
}

}  // namespace bistrope
