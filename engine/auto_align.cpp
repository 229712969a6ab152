#include "engine/auto_align.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "engine/parallel.h"

namespace bistrope {
namespace {

// Within this file, points of a pyramid level are in pixel-centre units of that level
// (pixel i's centre at i); points of the full-size images are continuous coordinates
// (pixel i covers [i, i+1)). Level k's pixel i covers full-size [i 2^k, (i+1) 2^k).

constexpr std::int32_t kCoarseSide = 1024;  // the matching level's longer side at most
constexpr std::int32_t kMinSide = 48;
constexpr int kMinMatches = 20;
constexpr int kMaxCorners = 1500;
constexpr int kDescSide = 8;          // descriptor: 8 x 8 samples ...
constexpr float kDescStep = 2.0f;     // ... this far apart
constexpr int kBorder = 14;           // corners keep this far from the edges
constexpr double kMaxTurn = 35.0;     // orientations of a match differ by less (degrees)
constexpr float kRatio = 0.8f;        // best distance below this share of the second best
constexpr int kPatch = 8;             // refinement patch radius
constexpr int kDenseHalf = 5;         // dense parallax patches: 11 x 11
constexpr int kDensePlaces = 3000;    // grid places tried for dense parallax, about
constexpr int kMinDense = 100;        // fewer dense matches: the corners' parallaxes decide
constexpr double kMinTexture = 4;     // dense places: about 2 grey levels a pixel of slope both ways
constexpr double kPi = 3.14159265358979323846;

struct FloatPlane {
    std::int32_t w = 0, h = 0;
    std::vector<float> v;
    FloatPlane(std::int32_t width, std::int32_t height) : w(width), h(height), v(std::size_t(width) * height) {}
    float& at(std::int32_t x, std::int32_t y) { return v[std::size_t(y) * w + x]; }
    float at(std::int32_t x, std::int32_t y) const { return v[std::size_t(y) * w + x]; }
    // Bilinear, for 0 <= x <= w - 1, 0 <= y <= h - 1.
    float Sample(float x, float y) const {
        const std::int32_t x0 = std::min(std::int32_t(x), w - 2), y0 = std::min(std::int32_t(y), h - 2);
        const float fx = x - x0, fy = y - y0;
        const float* r = &v[std::size_t(y0) * w + x0];
        const float top = r[0] + fx * (r[1] - r[0]), bottom = r[w] + fx * (r[w + 1] - r[w]);
        return top + fy * (bottom - top);
    }
};

float Bilinear(const GreyImage& g, double x, double y) {
    const std::int32_t x0 = std::min(std::int32_t(x), g.width() - 2), y0 = std::min(std::int32_t(y), g.height() - 2);
    const float fx = float(x - x0), fy = float(y - y0);
    const std::uint8_t* r0 = g.row(y0) + x0;
    const std::uint8_t* r1 = g.row(y0 + 1) + x0;
    const float top = r0[0] + fx * (r0[1] - r0[0]), bottom = r1[0] + fx * (r1[1] - r1[0]);
    return top + fy * (bottom - top);
}

// Half the size, each pixel the mean of a 2 x 2 block (an odd last row or column is dropped).
GreyImage Half(const GreyImage& g) {
    GreyImage out = GreyImage::Create(g.width() / 2, g.height() / 2);
    if (out.empty()) return out;
    ParallelRows(
        out.height(),
        [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0; y < y1; ++y) {
                const std::uint8_t* a = g.row(2 * y);
                const std::uint8_t* b = g.row(2 * y + 1);
                std::uint8_t* d = out.row(y);
                for (std::int32_t x = 0, w = out.width(); x < w; ++x)
                    d[x] = std::uint8_t((a[2 * x] + a[2 * x + 1] + b[2 * x] + b[2 * x + 1] + 2) >> 2);
            }
        },
        out.width() * 4);
    return out;
}

// The image at every level, full size first, halved until the longer side is at most
// kCoarseSide.
std::vector<GreyImage> Pyramid(const GreyImage& image, int levels) {
    std::vector<GreyImage> pyramid;
    pyramid.reserve(std::size_t(levels) + 1);
    for (int k = 1; k <= levels; ++k) {
        GreyImage next = Half(k == 1 ? image : pyramid.back());
        if (next.empty()) return {};
        pyramid.push_back(std::move(next));
    }
    return pyramid;  // levels 1..L; level 0 is the caller's image
}

// Smoothed with the binomial kernel [1 4 6 4 1] / 16 across and down (edges repeated).
FloatPlane Smooth(const GreyImage& g) {
    const std::int32_t w = g.width(), h = g.height();
    FloatPlane across(w, h), out(w, h);
    constexpr float k[5] = {1 / 16.f, 4 / 16.f, 6 / 16.f, 4 / 16.f, 1 / 16.f};
    ParallelRows(
        h,
        [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0; y < y1; ++y) {
                const std::uint8_t* r = g.row(y);
                float* d = &across.at(0, y);
                for (std::int32_t x = 0; x < w; ++x) {
                    if (x >= 2 && x + 2 < w) {
                        d[x] = k[0] * (r[x - 2] + r[x + 2]) + k[1] * (r[x - 1] + r[x + 1]) + k[2] * r[x];
                        continue;
                    }
                    float sum = 0;
                    for (int i = -2; i <= 2; ++i) sum += k[i + 2] * r[std::clamp(x + i, 0, w - 1)];
                    d[x] = sum;
                }
            }
        },
        std::int64_t(w) * 5);
    ParallelRows(
        h,
        [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0; y < y1; ++y) {
                const float* r[5];
                for (int i = -2; i <= 2; ++i) r[i + 2] = &across.at(0, std::clamp(y + i, 0, h - 1));
                float* d = &out.at(0, y);
                for (std::int32_t x = 0; x < w; ++x)
                    d[x] = k[0] * (r[0][x] + r[4][x]) + k[1] * (r[1][x] + r[3][x]) + k[2] * r[2][x];
            }
        },
        std::int64_t(w) * 5);
    return out;
}

struct Feature {
    float x = 0, y = 0;   // coarse level, pixel-centre units
    float angle = 0;      // dominant gradient direction, radians
    std::array<float, kDescSide * kDescSide> desc{};
};

// Shi-Tomasi corners (the smaller eigenvalue of the 5 x 5 structure tensor), the strongest
// local maximum in each cell of a grid so that they spread over the picture.
std::vector<Feature> Corners(const FloatPlane& s) {
    const std::int32_t w = s.w, h = s.h;
    // Gradient products, then their 5 x 5 sums (across, then down).
    FloatPlane xx(w, h), xy(w, h), yy(w, h), response(w, h);
    ParallelRows(
        h - 2,
        [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0 + 1; y < y1 + 1; ++y)
                for (std::int32_t x = 1; x < w - 1; ++x) {
                    const float gx = 0.5f * (s.at(x + 1, y) - s.at(x - 1, y));
                    const float gy = 0.5f * (s.at(x, y + 1) - s.at(x, y - 1));
                    xx.at(x, y) = gx * gx, xy.at(x, y) = gx * gy, yy.at(x, y) = gy * gy;
                }
        },
        std::int64_t(w) * 8);
    for (FloatPlane* p : {&xx, &xy, &yy}) {
        FloatPlane& plane = *p;
        ParallelRows(
            h,
            [&](std::int32_t y0, std::int32_t y1) {
                std::vector<float> row(std::size_t(w), 0.0f);
                for (std::int32_t y = y0; y < y1; ++y) {
                    for (std::int32_t x = 2; x < w - 2; ++x)
                        row[std::size_t(x)] = plane.at(x - 2, y) + plane.at(x - 1, y) + plane.at(x, y) +
                                              plane.at(x + 1, y) + plane.at(x + 2, y);
                    std::copy(row.begin(), row.end(), &plane.at(0, y));
                }
            },
            std::int64_t(w) * 5);
    }
    ParallelRows(
        h,
        [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = std::max(y0, kBorder); y < std::min(y1, h - kBorder); ++y)
                for (std::int32_t x = kBorder; x < w - kBorder; ++x) {
                    float a = 0, b = 0, c = 0;
                    for (int j = -2; j <= 2; ++j) a += xx.at(x, y + j), b += xy.at(x, y + j), c += yy.at(x, y + j);
                    response.at(x, y) = 0.5f * (a + c - std::sqrt((a - c) * (a - c) + 4 * b * b));
                }
        },
        std::int64_t(w) * 20);
    // A corner needs about half a grey level a pixel of slope both ways over its window:
    // soft, low-contrast pictures (haze, a smooth sky) still give corners; flat noise gives
    // corners that find no consistent match.
    constexpr float kMinResponse = 25 * 0.25f;
    const std::int32_t cell = std::max(8, std::max(w, h) / 40);
    std::vector<std::pair<float, std::array<std::int32_t, 2>>> best;
    for (std::int32_t cy = kBorder; cy < h - kBorder; cy += cell)
        for (std::int32_t cx = kBorder; cx < w - kBorder; cx += cell) {
            float top = kMinResponse;
            std::array<std::int32_t, 2> at{-1, -1};
            for (std::int32_t y = cy; y < std::min(cy + cell, h - kBorder); ++y)
                for (std::int32_t x = cx; x < std::min(cx + cell, w - kBorder); ++x) {
                    const float r = response.at(x, y);
                    if (r <= top) continue;
                    bool peak = true;
                    for (int j = -1; j <= 1 && peak; ++j)
                        for (int i = -1; i <= 1; ++i)
                            if ((i || j) && response.at(x + i, y + j) > r) peak = false;
                    if (peak) top = r, at = {x, y};
                }
            if (at[0] >= 0) best.push_back({top, at});
        }
    std::sort(best.begin(), best.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    if (best.size() > std::size_t(kMaxCorners)) best.resize(kMaxCorners);
    std::vector<Feature> features(best.size());
    for (std::size_t i = 0; i < best.size(); ++i) {
        features[i].x = float(best[i].second[0]);
        features[i].y = float(best[i].second[1]);
    }
    return features;
}

// Each feature's dominant gradient direction (a 36-bin histogram weighted by magnitude
// and distance, its peak interpolated) and its descriptor: 8 x 8 samples turned by that
// direction, less their mean, scaled to unit length (zero for a flat patch).
void Describe(const FloatPlane& s, std::vector<Feature>& features) {
    ParallelRows(
        std::int32_t(features.size()),
        [&](std::int32_t b, std::int32_t e) {
            for (std::int32_t n = b; n < e; ++n) {
                Feature& f = features[std::size_t(n)];
                std::array<float, 36> hist{};
                const std::int32_t fx = std::int32_t(f.x), fy = std::int32_t(f.y);
                for (int j = -7; j <= 7; ++j)
                    for (int i = -7; i <= 7; ++i) {
                        if (i * i + j * j > 49) continue;
                        const float gx = s.at(fx + i + 1, fy + j) - s.at(fx + i - 1, fy + j);
                        const float gy = s.at(fx + i, fy + j + 1) - s.at(fx + i, fy + j - 1);
                        const float a = std::atan2(gy, gx);
                        const int bin = (int(std::floor((a + float(kPi)) * 36 / float(2 * kPi))) % 36 + 36) % 36;
                        hist[std::size_t(bin)] += std::sqrt(gx * gx + gy * gy) * std::exp(-(i * i + j * j) / 32.0f);
                    }
                std::array<float, 36> smooth{};
                for (int i = 0; i < 36; ++i)
                    smooth[std::size_t(i)] = 0.25f * hist[std::size_t((i + 35) % 36)] + 0.5f * hist[std::size_t(i)] +
                                             0.25f * hist[std::size_t((i + 1) % 36)];
                const int peak = int(std::max_element(smooth.begin(), smooth.end()) - smooth.begin());
                const float l = smooth[std::size_t((peak + 35) % 36)], c = smooth[std::size_t(peak)],
                            r = smooth[std::size_t((peak + 1) % 36)];
                const float denom = l - 2 * c + r;
                const float shift = denom < 0 ? 0.5f * (l - r) / denom : 0.0f;
                f.angle = (peak + 0.5f + shift) * float(2 * kPi) / 36 - float(kPi);
                const float ca = std::cos(f.angle), sa = std::sin(f.angle);
                float sum = 0, sum2 = 0;
                for (int j = 0; j < kDescSide; ++j)
                    for (int i = 0; i < kDescSide; ++i) {
                        const float u = (i - (kDescSide - 1) / 2.0f) * kDescStep;
                        const float v = (j - (kDescSide - 1) / 2.0f) * kDescStep;
                        const float value = s.Sample(f.x + ca * u - sa * v, f.y + sa * u + ca * v);
                        f.desc[std::size_t(j * kDescSide + i)] = value;
                        sum += value;
                    }
                const float mean = sum / (kDescSide * kDescSide);
                for (float& d : f.desc) d -= mean, sum2 += d * d;
                const float scale = sum2 > 1e-6f ? 1.0f / std::sqrt(sum2) : 0.0f;
                for (float& d : f.desc) d *= scale;
            }
        },
        std::int64_t(400));
}

struct Match {
    double lx, ly;  // left point minus the left image's centre (full size)
    double rx, ry;  // right point minus the right image's centre
};

// Mutual best matches whose orientations differ by less than kMaxTurn and whose best
// distance is clearly below the second best (which refuses repeating patterns).
std::vector<std::array<int, 2>> MatchFeatures(const std::vector<Feature>& left, const std::vector<Feature>& right) {
    const double maxTurn = kMaxTurn * kDegreesToRadians;
    auto turnOk = [&](const Feature& a, const Feature& b) {
        const double d = std::remainder(double(b.angle) - a.angle, 2 * kPi);
        return std::fabs(d) < maxTurn;
    };
    auto nearest = [&](const Feature& f, const std::vector<Feature>& others, float& secondOut) {
        float best = 4, second = 4;
        int at = -1;
        for (std::size_t i = 0; i < others.size(); ++i) {
            if (!turnOk(f, others[i])) continue;
            float dot = 0;
            const float* a = f.desc.data();
            const float* b = others[i].desc.data();
            for (int k = 0; k < kDescSide * kDescSide; ++k) dot += a[k] * b[k];
            const float d = 2 - 2 * dot;  // squared distance of unit vectors
            if (d < best) second = best, best = d, at = int(i);
            else if (d < second) second = d;
        }
        secondOut = second;
        return std::make_pair(at, best);
    };
    std::vector<int> forward(right.size(), -1);
    ParallelRows(
        std::int32_t(right.size()),
        [&](std::int32_t b, std::int32_t e) {
            for (std::int32_t i = b; i < e; ++i) {
                float second = 0;
                const auto [at, best] = nearest(right[std::size_t(i)], left, second);
                if (at >= 0 && best < kRatio * kRatio * second) forward[std::size_t(i)] = at;
            }
        },
        std::int64_t(left.size()) * 64);
    // Mutual: the left feature's best among the right ones is the same pair.
    std::vector<int> backward(right.size(), -1);
    ParallelRows(
        std::int32_t(right.size()),
        [&](std::int32_t b, std::int32_t e) {
            float second = 0;
            for (std::int32_t i = b; i < e; ++i)
                if (forward[std::size_t(i)] >= 0)
                    backward[std::size_t(i)] = nearest(left[std::size_t(forward[std::size_t(i)])], right, second).first;
        },
        std::int64_t(right.size()) * 16);
    std::vector<std::array<int, 2>> pairs;
    for (std::size_t i = 0; i < right.size(); ++i)
        if (forward[i] >= 0 && backward[i] == int(i)) pairs.push_back({forward[i], int(i)});
    return pairs;
}

// The vertical disparity of a match under (offsetY, rotation): A(pL).y - pR.y.
double Residual(const Match& m, double offsetY, double sinA, double cosA) {
    return offsetY + sinA * m.lx + cosA * m.ly - m.ry;
}

// A 3 x 3 linear system by Cramer's rule; false when singular.
bool Solve3(const double a[3][3], const double b[3], double x[3]) {
    auto det = [](const double m[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double d = det(a);
    if (!(std::fabs(d) > 1e-12)) return false;
    for (int c = 0; c < 3; ++c) {
        double m[3][3];
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k) m[r][k] = k == c ? b[r] : a[r][k];
        x[c] = det(m) / d;
    }
    return true;
}

struct RowModel {
    double offsetY = 0, angle = 0;  // radians
};

// Least squares of ry = offsetY + s lx + c ly (s, c free, so a little scale is absorbed)
// over `use`, then the angle atan2(s, c) and offsetY refined for a pure rotation by
// Gauss-Newton.
bool FitRows(const std::vector<Match>& m, const std::vector<int>& use, RowModel& model) {
    double a[3][3] = {}, b[3] = {}, x[3];
    for (int i : use) {
        const double row[3] = {1, m[std::size_t(i)].lx, m[std::size_t(i)].ly};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) a[r][c] += row[r] * row[c];
            b[r] += row[r] * m[std::size_t(i)].ry;
        }
    }
    if (use.size() < 3 || !Solve3(a, b, x)) return false;
    double offsetY = x[0], angle = std::atan2(x[1], x[2]);
    for (int iteration = 0; iteration < 5; ++iteration) {
        const double s = std::sin(angle), c = std::cos(angle);
        double jj[2][2] = {}, jr[2] = {};
        for (int i : use) {
            const Match& p = m[std::size_t(i)];
            const double r = Residual(p, offsetY, s, c);
            const double j[2] = {1, c * p.lx - s * p.ly};
            for (int u = 0; u < 2; ++u) {
                for (int v = 0; v < 2; ++v) jj[u][v] += j[u] * j[v];
                jr[u] += j[u] * r;
            }
        }
        const double det = jj[0][0] * jj[1][1] - jj[0][1] * jj[1][0];
        if (!(std::fabs(det) > 1e-12)) return false;
        offsetY -= (jj[1][1] * jr[0] - jj[0][1] * jr[1]) / det;
        angle -= (jj[0][0] * jr[1] - jj[1][0] * jr[0]) / det;
    }
    model = {offsetY, angle};
    return std::isfinite(offsetY) && std::isfinite(angle);
}

std::vector<int> Inliers(const std::vector<Match>& m, const RowModel& model, double tolerance) {
    std::vector<int> in;
    const double s = std::sin(model.angle), c = std::cos(model.angle);
    for (std::size_t i = 0; i < m.size(); ++i)
        if (std::fabs(Residual(m[i], model.offsetY, s, c)) <= tolerance) in.push_back(int(i));
    return in;
}

// RANSAC over triples of matches (a fixed sequence, so results repeat exactly).
std::vector<int> Consensus(const std::vector<Match>& m, double tolerance) {
    std::vector<int> best;
    if (m.size() < 3) return best;
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        return state;
    };
    const std::size_t n = m.size();
    for (int trial = 0; trial < 600; ++trial) {
        const std::vector<int> triple = {int(next() % n), int(next() % n), int(next() % n)};
        if (triple[0] == triple[1] || triple[0] == triple[2] || triple[1] == triple[2]) continue;
        RowModel model;
        if (!FitRows(m, triple, model) || std::fabs(model.angle) > (kMaxRotation + 1) * kDegreesToRadians) continue;
        std::vector<int> in = Inliers(m, model, tolerance);
        if (in.size() > best.size()) best = std::move(in);
    }
    return best;
}

// Moves a match's left point so that the patch around it, turned by `angle`, best fits the
// patch around its right point at pyramid level k (Lucas-Kanade on translation, with the
// brightness and contrast of each patch normalised). The right point is put on a pixel
// centre of that level, so the template is read exactly. False when the patches do not
// correlate or the point leaves the picture.
bool Refine(const GreyImage& left, const GreyImage& right, int k, double angle, double leftCx, double leftCy,
            double rightCx, double rightCy, Match& m) {
    const double scale = std::ldexp(1.0, k);
    const double s = std::sin(angle), c = std::cos(angle);
    // Right point at level k, moved to the nearest pixel centre; the left one follows.
    const double rk = (m.rx + rightCx) / scale - 0.5, rl = (m.ry + rightCy) / scale - 0.5;
    const double ri = std::round(rk), rj = std::round(rl);
    const double du = ri - rk, dv = rj - rl;
    double lx = (m.lx + leftCx) / scale - 0.5 + c * du + s * dv;
    double ly = (m.ly + leftCy) / scale - 0.5 - s * du + c * dv;
    const int R = kPatch;
    if (ri - R - 1 < 0 || rj - R - 1 < 0 || ri + R + 1 >= right.width() || rj + R + 1 >= right.height()) return false;
    constexpr int N = (2 * kPatch + 1) * (2 * kPatch + 1);
    std::array<float, N> t, gx, gy, sample;
    double h00 = 0, h01 = 0, h11 = 0, tMean = 0;
    for (int j = -R, n = 0; j <= R; ++j) {
        const std::uint8_t* row = right.row(std::int32_t(rj) + j) + std::int32_t(ri);
        const std::uint8_t* up = right.row(std::int32_t(rj) + j - 1) + std::int32_t(ri);
        const std::uint8_t* down = right.row(std::int32_t(rj) + j + 1) + std::int32_t(ri);
        for (int i = -R; i <= R; ++i, ++n) {
            t[std::size_t(n)] = row[i];
            gx[std::size_t(n)] = 0.5f * (row[i + 1] - row[i - 1]);
            gy[std::size_t(n)] = 0.5f * (down[i] - up[i]);
            tMean += row[i];
        }
    }
    tMean /= N;
    double tVar = 0;
    for (int n = 0; n < N; ++n) {
        const double g0 = gx[std::size_t(n)], g1 = gy[std::size_t(n)];
        h00 += g0 * g0, h01 += g0 * g1, h11 += g1 * g1;
        tVar += (t[std::size_t(n)] - tMean) * (t[std::size_t(n)] - tMean);
    }
    const double det = h00 * h11 - h01 * h01;
    if (!(det > 1e-6) || tVar < N * 1.0) return false;
    // The patch reaches R * sqrt(2) from its centre when turned.
    const double reach = R * 1.5 + 4;
    double tu = 0, tv = 0, ncc = 0;
    for (int iteration = 0; iteration < 12; ++iteration) {
        const double cx = lx + c * tu + s * tv, cy = ly - s * tu + c * tv;
        if (cx - reach < 0 || cy - reach < 0 || cx + reach > left.width() - 1 || cy + reach > left.height() - 1)
            return false;
        double iMean = 0;
        for (int j = -R, n = 0; j <= R; ++j)
            for (int i = -R; i <= R; ++i, ++n) {
                const float value = Bilinear(left, cx + c * i + s * j, cy - s * i + c * j);
                sample[std::size_t(n)] = value;
                iMean += value;
            }
        iMean /= N;
        double iVar = 0, cross = 0;
        for (int n = 0; n < N; ++n) {
            const double a = sample[std::size_t(n)] - iMean, b = t[std::size_t(n)] - tMean;
            iVar += a * a, cross += a * b;
        }
        if (iVar < 1e-6) return false;
        ncc = cross / std::sqrt(iVar * tVar);
        const double gain = std::sqrt(tVar / iVar);
        double b0 = 0, b1 = 0;
        for (int n = 0; n < N; ++n) {
            const double e = (sample[std::size_t(n)] - iMean) * gain - (t[std::size_t(n)] - tMean);
            b0 += gx[std::size_t(n)] * e, b1 += gy[std::size_t(n)] * e;
        }
        const double su = -(h11 * b0 - h01 * b1) / det, sv = -(h00 * b1 - h01 * b0) / det;
        tu += su, tv += sv;
        if (std::fabs(tu) > 3 || std::fabs(tv) > 3) return false;
        if (su * su + sv * sv < 1e-4) break;
    }
    if (ncc < 0.7) return false;
    lx += c * tu + s * tv;
    ly += -s * tu + c * tv;
    m.lx = (lx + 0.5) * scale - leftCx;
    m.ly = (ly + 0.5) * scale - leftCy;
    m.rx = (ri + 0.5) * scale - rightCx;
    m.ry = (rj + 0.5) * scale - rightCy;
    return true;
}

// The left eye at a pyramid level seen through `model` with offsetX 0, on the right eye's
// pixel grid of that level (`width` x `height`): the value at each right pixel centre,
// bilinear, NaN where the left eye does not reach.
FloatPlane AlignedLeft(const GreyImage& left, std::int32_t width, std::int32_t height, double scale,
                       const RowModel& model, double leftCx, double leftCy, double rightCx, double rightCy) {
    FloatPlane out(width, height);
    const double s = std::sin(model.angle), c = std::cos(model.angle);
    ParallelRows(
        height,
        [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t j = y0; j < y1; ++j) {
                // Right pixel i's point in the left level: (x, y) + i (c, -s).
                const double dx = 0.5 * scale - rightCx, dy = (j + 0.5) * scale - rightCy - model.offsetY;
                const double x0 = (leftCx + c * dx + s * dy) / scale - 0.5;
                const double y0 = (leftCy - s * dx + c * dy) / scale - 0.5;
                float* row = &out.at(0, j);
                for (std::int32_t i = 0; i < width; ++i) {
                    const double x = x0 + c * i, y = y0 - s * i;
                    row[i] = x >= 0 && y >= 0 && x <= left.width() - 1 && y <= left.height() - 1
                                 ? Bilinear(left, x, y)
                                 : std::numeric_limits<float>::quiet_NaN();
                }
            }
        },
        std::int64_t(width) * 12);
    return out;
}

// A search along a row: the best shift, its correlation, the best 2 or more shifts away,
// those one shift either side, and whether the best is at an end of the range.
struct RowSearch {
    int at = 0;
    float best = -2, second = -2, before = -2, after = -2;
    bool edge = true;
};

// Normalised correlation of `from`'s patch at pixel (x, y) with `to`'s patches at (x + d, y)
// for d in [low, high] (clipped to the picture); patches reaching NaN do not count.
RowSearch SearchRow(const FloatPlane& from, const FloatPlane& to, int x, int y, int low, int high) {
    constexpr int R = kDenseHalf, N = (2 * R + 1) * (2 * R + 1);
    RowSearch r;
    low = std::max(low, R - x), high = std::min(high, to.w - 1 - R - x);
    if (high - low < 2 || x - R < 0 || x + R >= from.w || y - R < 0 || y + R >= to.h) return r;
    std::array<float, N> t;
    double sum = 0, squares = 0;
    for (int j = -R, n = 0; j <= R; ++j)
        for (int i = -R; i <= R; ++i, ++n) sum += t[std::size_t(n)] = from.at(x + i, y + j);
    for (float& v : t) v -= float(sum / N), squares += double(v) * v;
    if (!(squares > N)) return r;  // flat, or reaching outside the eye
    for (float& v : t) v *= float(1 / std::sqrt(squares));
    // Column sums of `to` over the patch's rows, for each patch's mean and variance.
    const int x0 = x + low - R, columns = high - low + 2 * R + 1;
    std::vector<double> cs(std::size_t(columns), 0.0), cq(std::size_t(columns), 0.0);
    for (int j = -R; j <= R; ++j) {
        const float* row = &to.v[std::size_t(y + j) * to.w + x0];
        for (int i = 0; i < columns; ++i) cs[std::size_t(i)] += row[i], cq[std::size_t(i)] += double(row[i]) * row[i];
    }
    std::vector<float> score(std::size_t(high - low + 1), -2.0f);
    double ws = 0, wq = 0;
    for (int i = 0; i < 2 * R; ++i) ws += cs[std::size_t(i)], wq += cq[std::size_t(i)];
    for (int d = low; d <= high; ++d) {
        const int k = d - low;
        ws += cs[std::size_t(k + 2 * R)], wq += cq[std::size_t(k + 2 * R)];
        const double variance = wq - ws * ws / N;
        if (variance > 1e-3) {
            float cross = 0;
            for (int j = -R, n = 0; j <= R; ++j) {
                const float* row = &to.v[std::size_t(y + j) * to.w + (x + d - R)];
                for (int i = 0; i <= 2 * R; ++i, ++n) cross += t[std::size_t(n)] * row[i];
            }
            score[std::size_t(k)] = float(cross / std::sqrt(variance));
        }
        ws -= cs[std::size_t(k)], wq -= cq[std::size_t(k)];
    }
    for (int d = low; d <= high; ++d)
        if (score[std::size_t(d - low)] > r.best) r.best = score[std::size_t(d - low)], r.at = d;
    for (int d = low; d <= high; ++d)
        if (std::abs(d - r.at) >= 2) r.second = std::max(r.second, score[std::size_t(d - low)]);
    r.edge = r.at == low || r.at == high;
    if (!r.edge) r.before = score[std::size_t(r.at - 1 - low)], r.after = score[std::size_t(r.at + 1 - low)];
    return r;
}

// Parallaxes of a grid of textured places of the right eye (about kDensePlaces), each found
// along the same row of the aligned left eye within [low, high] level pixels: kept when it
// correlates at 0.85 or more, no shift 2 or more away comes within 0.1, the search back from
// the left eye lands within a pixel, and the correlation peaks inside the range; refined by a
// parabola. In the level's pixels.
std::vector<double> DenseParallax(const FloatPlane& right, const FloatPlane& left, int low, int high) {
    constexpr int R = kDenseHalf;
    const int step = std::max(4, int(std::sqrt(double(right.w) * right.h / kDensePlaces)));
    const std::int32_t rows = std::max(0, (right.h - 2 * R - 2) / step);
    std::vector<std::vector<double>> found(static_cast<std::size_t>(rows));
    ParallelRows(
        rows,
        [&](std::int32_t b, std::int32_t e) {
            for (std::int32_t n = b; n < e; ++n) {
                const int y = R + 1 + n * step;
                for (int x = R + 1; x < right.w - R - 1; x += step) {
                    // Texture both ways: the smaller eigenvalue of the patch's structure tensor.
                    double xx = 0, xy = 0, yy = 0;
                    for (int j = -R; j <= R; ++j)
                        for (int i = -R; i <= R; ++i) {
                            const double gx = 0.5 * (right.at(x + i + 1, y + j) - right.at(x + i - 1, y + j));
                            const double gy = 0.5 * (right.at(x + i, y + j + 1) - right.at(x + i, y + j - 1));
                            xx += gx * gx, xy += gx * gy, yy += gy * gy;
                        }
                    const double smaller = 0.5 * (xx + yy - std::sqrt((xx - yy) * (xx - yy) + 4 * xy * xy));
                    if (smaller < (2 * R + 1) * (2 * R + 1) * kMinTexture) continue;
                    const RowSearch there = SearchRow(right, left, x, y, low, high);
                    if (there.edge || there.best < 0.85f || there.second > there.best - 0.1f) continue;
                    const RowSearch back = SearchRow(left, right, x + there.at, y, -high, -low);
                    if (back.edge || std::abs(back.at + there.at) > 1) continue;
                    const double curvature = double(there.before) - 2.0 * there.best + there.after;
                    if (!(curvature < 0)) continue;
                    found[std::size_t(n)].push_back(
                        there.at + std::clamp(0.5 * (there.before - there.after) / curvature, -0.5, 0.5));
                }
            }
        },
        std::int64_t(right.w / step) * (high - low + 1) * 300);
    std::vector<double> all;
    for (const auto& row : found) all.insert(all.end(), row.begin(), row.end());
    return all;
}

// The q-quantile of sorted values, interpolated.
double Quantile(const std::vector<double>& sorted, double q) {
    const double at = q * double(sorted.size() - 1);
    const std::size_t below = std::size_t(at);
    const double next = sorted[std::min(below + 1, sorted.size() - 1)];
    return sorted[below] + (at - below) * (next - sorted[below]);
}

// The parallax offsetX brings to zero, from a sample of parallaxes (`values` is sorted):
// the 98th percentile, so that the nearest 2 % lie at the screen; but where the nearest
// half percent stands out further than `allowance` beyond it, the scene goes back until
// the 99.5th percentile is `allowance` in front and the 98th a little behind the screen.
double NearParallax(std::vector<double>& values, double allowance) {
    std::sort(values.begin(), values.end());
    const double near = Quantile(values, 0.98), nearest = Quantile(values, 0.995);
    return std::max(near, nearest - allowance);
}

AutoAlignResult Refuse(int matches, std::string why) {
    AutoAlignResult r;
    r.status = Status::Error(ErrorCode::NoMatch, std::move(why));
    r.matches = matches;
    return r;
}

std::string TooFew(std::size_t found) {
    return "too few points match between the two pictures (" + std::to_string(found) + ", at least " +
           std::to_string(kMinMatches) + " needed): they may not show the same scene";
}

AutoAlignResult Align(const GreyImage& left, const GreyImage& right, const ProgressFn& progress) {
    Report(progress, 0);
    int levels = 0;
    while ((std::max({left.width(), left.height(), right.width(), right.height()}) >> levels) > kCoarseSide) ++levels;
    if ((std::min({left.width(), left.height(), right.width(), right.height()}) >> levels) < 2 * kBorder + 8)
        return Refuse(0, "the pictures are too narrow to align");
    std::vector<GreyImage> leftLevels = Pyramid(left, levels), rightLevels = Pyramid(right, levels);
    if (levels > 0 && (leftLevels.empty() || rightLevels.empty()))
        return {Status::Error(ErrorCode::OutOfMemory, "not enough memory to align the pictures"), {}, 0};
    auto level = [&](const std::vector<GreyImage>& pyramid, const GreyImage& full, int k) -> const GreyImage& {
        return k == 0 ? full : pyramid[std::size_t(k - 1)];
    };
    Report(progress, 20);

    const FloatPlane leftSmooth = Smooth(level(leftLevels, left, levels));
    const FloatPlane rightSmooth = Smooth(level(rightLevels, right, levels));
    std::vector<Feature> leftFeatures = Corners(leftSmooth), rightFeatures = Corners(rightSmooth);
    if (std::min(leftFeatures.size(), rightFeatures.size()) < std::size_t(kMinMatches))
        return Refuse(0, "the pictures have too little detail to align (" +
                             std::to_string(std::min(leftFeatures.size(), rightFeatures.size())) + " corners found)");
    Describe(leftSmooth, leftFeatures);
    Describe(rightSmooth, rightFeatures);
    Report(progress, 40);

    const double leftCx = left.width() / 2.0, leftCy = left.height() / 2.0;
    const double rightCx = right.width() / 2.0, rightCy = right.height() / 2.0;
    const double coarse = std::ldexp(1.0, levels);
    std::vector<Match> matches;
    for (const auto& [l, r] : MatchFeatures(leftFeatures, rightFeatures)) {
        const Feature& a = leftFeatures[std::size_t(l)];
        const Feature& b = rightFeatures[std::size_t(r)];
        matches.push_back({(a.x + 0.5) * coarse - leftCx, (a.y + 0.5) * coarse - leftCy, (b.x + 0.5) * coarse - rightCx,
                           (b.y + 0.5) * coarse - rightCy});
    }
    Report(progress, 60);

    std::vector<int> inliers = Consensus(matches, 1.5 * coarse);
    if (inliers.size() < std::size_t(kMinMatches)) return Refuse(int(inliers.size()), TooFew(inliers.size()));
    RowModel model;
    if (!FitRows(matches, inliers, model)) return Refuse(int(inliers.size()), TooFew(0));
    std::vector<Match> refined;
    for (int i : inliers) refined.push_back(matches[std::size_t(i)]);
    Report(progress, 70);

    // Down the pyramid to full size; points that stop correlating are dropped.
    for (int k = levels; k >= 0; --k) {
        std::vector<char> kept(refined.size(), 0);
        const GreyImage& l = level(leftLevels, left, k);
        const GreyImage& r = level(rightLevels, right, k);
        ParallelRows(
            std::int32_t(refined.size()),
            [&](std::int32_t b, std::int32_t e) {
                for (std::int32_t i = b; i < e; ++i)
                    kept[std::size_t(i)] =
                        Refine(l, r, k, model.angle, leftCx, leftCy, rightCx, rightCy, refined[std::size_t(i)]);
            },
            std::int64_t(20000));
        std::size_t n = 0;
        for (std::size_t i = 0; i < refined.size(); ++i)
            if (kept[i]) refined[n++] = refined[i];
        refined.resize(n);
    }
    Report(progress, 90);

    // A robust fit: matches further off than three robust deviations (at least a quarter
    // pixel) are dropped, three times.
    std::vector<int> use(refined.size());
    for (std::size_t i = 0; i < use.size(); ++i) use[i] = int(i);
    for (int round = 0; round < 3 && use.size() >= std::size_t(kMinMatches); ++round) {
        if (!FitRows(refined, use, model)) return Refuse(0, TooFew(0));
        const double s = std::sin(model.angle), c = std::cos(model.angle);
        std::vector<double> off;
        for (int i : use) off.push_back(std::fabs(Residual(refined[std::size_t(i)], model.offsetY, s, c)));
        std::nth_element(off.begin(), off.begin() + std::ptrdiff_t(off.size() / 2), off.end());
        const double tolerance = std::max(0.25, 3 * 1.4826 * off[off.size() / 2]);
        use = Inliers(refined, model, tolerance);
    }
    if (use.size() < std::size_t(kMinMatches)) return Refuse(int(use.size()), TooFew(use.size()));
    if (!FitRows(refined, use, model)) return Refuse(0, TooFew(0));
    const double degrees = model.angle / kDegreesToRadians;
    if (std::fabs(degrees) > kMaxRotation)
        return Refuse(int(use.size()), "the pictures are turned " + std::to_string(int(std::lround(degrees))) +
                                           " degrees from each other, more than the 20 an alignment allows");

    // Parallax with offsetX = 0 of the consistent matches, then of a dense sample on the
    // matching level searched over the matches' range and a margin; offsetX brings the 98th
    // percentile of the dense one (the matches' when it is too small) to zero, or the
    // 99.5th to half a percent of the width in front where that is further back.
    const double s = std::sin(model.angle), c = std::cos(model.angle);
    std::vector<double> parallax;
    for (int i : use) {
        const Match& m = refined[std::size_t(i)];
        parallax.push_back(c * m.lx - s * m.ly - m.rx);
    }
    const auto [lowest, highest] = std::minmax_element(parallax.begin(), parallax.end());
    const GreyImage& rightLevel = level(rightLevels, right, levels);
    const FloatPlane alignedLeft = AlignedLeft(level(leftLevels, left, levels), rightLevel.width(),
                                               rightLevel.height(), coarse, model, leftCx, leftCy, rightCx, rightCy);
    FloatPlane rightPlane(rightLevel.width(), rightLevel.height());
    for (std::int32_t y = 0; y < rightPlane.h; ++y)
        std::copy(rightLevel.row(y), rightLevel.row(y) + rightPlane.w, &rightPlane.at(0, y));
    const int margin = std::max(4, rightPlane.w / 128);
    std::vector<double> dense = DenseParallax(rightPlane, alignedLeft, int(std::floor(*lowest / coarse)) - margin,
                                              int(std::ceil(*highest / coarse)) + margin);
    // Half a percent of the width in front of the screen is allowed the nearest points.
    const double allowance = 0.005 * right.width();
    const double near = dense.size() >= std::size_t(kMinDense) ? NearParallax(dense, allowance / coarse) * coarse
                                                               : NearParallax(parallax, allowance);

    AutoAlignResult result;
    result.alignment = {-near, model.offsetY, degrees};
    result.matches = int(use.size());
    Report(progress, 100);
    return result;
}

}  // namespace

AutoAlignResult AutoAlign(const GreyImage& left, const GreyImage& right, const ProgressFn& progress) {
    if (left.empty() || right.empty())
        return {Status::Error(ErrorCode::NoImage, "both pictures are needed to align them"), {}, 0};
    if (std::min({left.width(), left.height(), right.width(), right.height()}) < kMinSide)
        return {Status::Error(ErrorCode::NoImage, "the pictures are too small to align (at least " +
                                                      std::to_string(kMinSide) + " pixels a side)"),
                {}, 0};
    try {
        return Align(left, right, progress);
    } catch (const std::bad_alloc&) {
        return {Status::Error(ErrorCode::OutOfMemory, "not enough memory to align the pictures"), {}, 0};
    }
}

}  // namespace bistrope
