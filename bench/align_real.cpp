// Accuracy of the aligner on a real stereo pair (bench/align_real.sh).
//
// Known alignment. The pair's own alignment A0 is found first; for a rectified pair it is
// offsetY 0 and rotation 0 up to the rectification's error. The left eye is then warped by
// known W (offsets up to 5 % of the height, rotations up to 10 degrees): pixel p of the new
// left image shows the old left image's point
//     W(p) = cL0 + (wx, wy) + Rot(wr) (p - cL),
// the mapping of an alignment (engine/auto_align.h), cL0 and cL the two images' centres. The
// new left image is a centred part (the fraction `crop` of each side) small enough that no
// pixel comes from outside the old one. The correct alignment of the warped pair is A0 after W:
//     A0(W(p)) = cR + o0 + Rot(r0) (wx, wy) + Rot(r0 + wr) (p - cL),
// offsets o0 + Rot(r0) (wx, wy) and rotation r0 + wr. The errors of offsetY and rotation
// are printed against that (and, for the unwarped pair, A0 against offsetY 0, rotation 0).
//
// Independent check. After each alignment, a matcher of its own (not the aligner's matches)
// measures the vertical disparity and the stereo window: for a grid of textured points of
// the right eye (smaller eigenvalue of the 11 x 11 structure tensor at least 25 per pixel)
// it finds the left eye's point, seen through the alignment, by normalised cross-correlation
// of 11 x 11 patches over parallaxes -25 % to +5 % of the width and vertical shifts of +-3
// pixels. A match is kept when it correlates at 0.9 or more, no other parallax (2 pixels or
// more away) comes within 0.1 of it, it is not on the edge of the search and the search back
// from the left eye lands within a pixel of where it started. It is then refined to a fraction
// of a pixel by parabolas through the correlations one pixel either side in x and in y, the
// left patch resampled (bicubic) at the estimate, three times, so that the fit does not pull
// towards whole pixels. Printed: the median |vertical disparity| and where the nearest 2 % of
// the matches (the largest parallaxes, positive in front of the screen) lie, in % of the width.
//
// Ground truth. Given the left eye's disparity map (a rectified pair's: the right eye sees left
// pixel (x, y) at (x - d, y)), it also prints where the nearest 2 % of the pixels of known
// disparity that land inside the right eye lie under A0 (the stereo window over the whole
// scene rather than over matched points), and how many of the independent matcher's matches
// under A0 agree with the map within a pixel. The map is an image whose grey level is d
// (0: unknown) or, named *.f32, raw 32-bit floats of the left eye's size (not finite: unknown).
//
// Usage: align_real LEFT RIGHT [NAME [DISPARITY]]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "engine/auto_align.h"
#include "engine/convert.h"
#include "engine/decode.h"

using namespace bistrope;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kHalf = 5;  // patches of 11 x 11
constexpr int kVerticalSearch = 3;

// `from`'s continuous point (x, y) mapped by `a` about the centres cFrom and cTo.
void Map(const Alignment& a, double cfx, double cfy, double ctx, double cty, double x, double y, double& qx, double& qy) {
    const double t = a.rotation * kDegreesToRadians, c = std::cos(t), s = std::sin(t);
    qx = ctx + a.offsetX + c * (x - cfx) - s * (y - cfy);
    qy = cty + a.offsetY + s * (x - cfx) + c * (y - cfy);
}

// Keys' cubic (a = -0.5) at a continuous point (pixel centres at +0.5); NaN where its 4 x 4
// pixels are not all inside the image.
double Bicubic(const GreyImage& g, double x, double y) {
    const double u = x - 0.5, v = y - 0.5, fu = std::floor(u), fv = std::floor(v);
    const int i = int(fu) - 1, j = int(fv) - 1;
    if (!(u >= 1 && v >= 1) || i + 3 >= g.width() || j + 3 >= g.height()) return kNaN;
    const auto weights = [](double t, double w[4]) {
        const double t2 = t * t, t3 = t2 * t;
        w[0] = -0.5 * t3 + t2 - 0.5 * t;
        w[1] = 1.5 * t3 - 2.5 * t2 + 1;
        w[2] = -1.5 * t3 + 2 * t2 + 0.5 * t;
        w[3] = 0.5 * t3 - 0.5 * t2;
    };
    double wx[4], wy[4], sum = 0;
    weights(u - fu, wx);
    weights(v - fv, wy);
    for (int b = 0; b < 4; ++b) {
        const std::uint8_t* row = g.row(j + b) + i;
        sum += wy[b] * (wx[0] * row[0] + wx[1] * row[1] + wx[2] * row[2] + wx[3] * row[3]);
    }
    return sum;
}

// The left eye warped by `w`: a width x height image whose pixel p shows left's point W(p).
GreyImage Warp(const GreyImage& left, const Alignment& w, int width, int height) {
    GreyImage out = GreyImage::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double qx, qy;
            Map(w, width / 2.0, height / 2.0, left.width() / 2.0, left.height() / 2.0, x + 0.5, y + 0.5, qx, qy);
            out.row(y)[x] = std::uint8_t(std::lround(std::clamp(Bicubic(left, qx, qy), 0.0, 255.0)));
        }
    return out;
}

// The left eye seen through alignment `a` on the right image's pixels: value at a continuous
// right-image point (NaN where the left eye does not reach).
struct AlignedLeft {
    const GreyImage& left;
    Alignment inverse;  // right -> left
    double cRx, cRy;
    AlignedLeft(const GreyImage& l, const Alignment& a, double width, double height) : left(l), cRx(width / 2), cRy(height / 2) {
        const double t = -a.rotation * kDegreesToRadians;
        inverse = {-(std::cos(t) * a.offsetX - std::sin(t) * a.offsetY), -(std::sin(t) * a.offsetX + std::cos(t) * a.offsetY),
                   -a.rotation};
    }
    double operator()(double x, double y) const {
        double qx, qy;
        Map(inverse, cRx, cRy, left.width() / 2.0, left.height() / 2.0, x, y, qx, qy);
        return Bicubic(left, qx, qy);
    }
};

// An image's pixel values, NaN outside it and where unknown.
struct Plane {
    int width = 0, height = 0;
    std::vector<double> v;
    double at(int x, int y) const { return x < 0 || y < 0 || x >= width || y >= height ? kNaN : v[std::size_t(y) * width + x]; }
};

// A patch less its mean, scaled to unit length; empty when flat or partly unknown.
template <class Value>
std::vector<double> Patch(const Value& value, double x, double y) {
    std::vector<double> p;
    double sum = 0, squares = 0;
    for (int j = -kHalf; j <= kHalf; ++j)
        for (int i = -kHalf; i <= kHalf; ++i) {
            const double s = value(x + i, y + j);
            if (std::isnan(s)) return {};
            p.push_back(s), sum += s;
        }
    const double mean = sum / double(p.size());
    for (double& s : p) s -= mean, squares += s * s;
    if (squares < 1e-6) return {};
    for (double& s : p) s /= std::sqrt(squares);
    return p;
}

double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.empty() || b.empty()) return -2;
    double sum = 0;
    for (std::size_t k = 0; k < a.size(); ++k) sum += a[k] * b[k];
    return sum;
}

struct Found {
    int dx = 0, dy = 0;
    bool ok = false;
};

// The best whole-pixel shift of `a`'s patch at (x, y) within `b`, when it is confident and
// unambiguous.
Found Search(const Plane& a, const Plane& b, int x, int y, int dxLow, int dxHigh) {
    const auto av = [&](double u, double v) { return a.at(int(u), int(v)); };
    const auto bv = [&](double u, double v) { return b.at(int(u), int(v)); };
    const std::vector<double> p = Patch(av, x, y);
    if (p.empty()) return {};
    std::vector<double> byColumn(std::size_t(dxHigh - dxLow + 1), -2);
    Found best;
    double bestScore = -2;
    for (int dy = -kVerticalSearch; dy <= kVerticalSearch; ++dy)
        for (int dx = dxLow; dx <= dxHigh; ++dx) {
            const double s = Correlation(p, Patch(bv, x + dx, y + dy));
            double& column = byColumn[std::size_t(dx - dxLow)];
            column = std::max(column, s);
            if (s > bestScore) bestScore = s, best = {dx, dy, true};
        }
    double second = -2;
    for (int dx = dxLow; dx <= dxHigh; ++dx)
        if (std::abs(dx - best.dx) >= 2) second = std::max(second, byColumn[std::size_t(dx - dxLow)]);
    best.ok = bestScore >= 0.9 && second <= bestScore - 0.1 && best.dx > dxLow && best.dx < dxHigh &&
              std::abs(best.dy) < kVerticalSearch;
    return best;
}

struct Check {
    int matches = 0;
    double medianVertical = kNaN, nearLow = kNaN, nearHigh = kNaN;  // px; % of the width
    std::vector<double> leftX, leftY, rightX;                        // each match's points
};

Check Independent(const GreyImage& left, const GreyImage& right, const Alignment& alignment) {
    const int w = right.width(), h = right.height();
    const AlignedLeft aligned(left, alignment, w, h);
    Plane r{w, h, {}}, l{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            r.v.push_back(right.row(y)[x]);
            l.v.push_back(aligned(x + 0.5, y + 0.5));
        }
    const int dxLow = -w / 4, dxHigh = w / 20;
    const int step = std::max(6, int(std::sqrt(double(w) * h / 4000)));
    std::vector<double> vertical, parallax;
    Check c;
    for (int y = kHalf + 1; y < h - kHalf - 1; y += step)
        for (int x = kHalf + 1; x < w - kHalf - 1; x += step) {
            double gxx = 0, gyy = 0, gxy = 0;
            for (int j = -kHalf; j <= kHalf; ++j)
                for (int i = -kHalf; i <= kHalf; ++i) {
                    const double gx = (r.at(x + i + 1, y + j) - r.at(x + i - 1, y + j)) / 2;
                    const double gy = (r.at(x + i, y + j + 1) - r.at(x + i, y + j - 1)) / 2;
                    gxx += gx * gx, gyy += gy * gy, gxy += gx * gy;
                }
            const double n = (2 * kHalf + 1) * (2 * kHalf + 1);
            const double smaller = (gxx + gyy) / 2 - std::sqrt((gxx - gyy) * (gxx - gyy) / 4 + gxy * gxy);
            if (smaller / n < 25) continue;
            const Found there = Search(r, l, x, y, dxLow, dxHigh);
            if (!there.ok) continue;
            const Found back = Search(l, r, x + there.dx, y + there.dy, -dxHigh, -dxLow);
            if (!back.ok || std::abs(back.dx + there.dx) > 1 || std::abs(back.dy + there.dy) > 1) continue;
            // Sub-pixel: parabolas about the estimate, the left patch resampled there.
            const std::vector<double> p = Patch([&](double u, double v) { return r.at(int(u), int(v)); }, x, y);
            const auto score = [&](double dx, double dy) {
                return Correlation(p, Patch([&](double u, double v) { return aligned(u + 0.5, v + 0.5); }, x + dx, y + dy));
            };
            double dx = there.dx, dy = there.dy;
            bool ok = true;
            for (int round = 0; round < 3 && ok; ++round)
                for (double* d : {&dx, &dy}) {
                    const double centre = score(dx, dy);
                    *d -= 1;
                    const double before = score(dx, dy);
                    *d += 2;
                    const double after = score(dx, dy);
                    *d -= 1;
                    const double curvature = before - 2 * centre + after;
                    if (before < -1 || after < -1 || curvature >= 0) ok = false;
                    else *d += std::clamp(0.5 * (before - after) / curvature, -0.5, 0.5);
                }
            if (!ok) continue;
            vertical.push_back(std::fabs(dy));
            parallax.push_back(dx);
            double lx, ly;
            Map(aligned.inverse, aligned.cRx, aligned.cRy, left.width() / 2.0, left.height() / 2.0, x + 0.5 + dx, y + 0.5 + dy,
                lx, ly);
            c.leftX.push_back(lx), c.leftY.push_back(ly), c.rightX.push_back(x + 0.5);
        }
    c.matches = int(vertical.size());
    if (vertical.empty()) return c;
    std::sort(vertical.begin(), vertical.end());
    std::sort(parallax.begin(), parallax.end());
    c.medianVertical = vertical[vertical.size() / 2];
    c.nearLow = 100 * parallax[parallax.size() - parallax.size() / 50 - 1] / w;
    c.nearHigh = 100 * parallax.back() / w;
    return c;
}

// The left eye's disparities, row by row (NaN where unknown); empty when unreadable.
std::vector<float> LoadDisparity(const std::string& path, std::size_t pixels) {
    std::vector<float> d(pixels);
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".f32") == 0) {
        std::ifstream in(path, std::ios::binary);
        if (!in.read(reinterpret_cast<char*>(d.data()), std::streamsize(pixels * sizeof(float)))) return {};
        for (float& v : d)
            if (!std::isfinite(v)) v = float(kNaN);
        return d;
    }
    DecodeResult decoded = DecodeImageFile(path);
    if (!decoded.ok()) return {};
    const GreyImage g = MakeGreyImage(decoded.image);
    if (std::size_t(g.width()) * std::size_t(g.height()) != pixels) return {};
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x) d[std::size_t(y) * g.width() + x] = g.row(y)[x] ? g.row(y)[x] : float(kNaN);
    return d;
}

GreyImage Load(const char* path) {
    DecodeResult decoded = DecodeImageFile(path);
    if (!decoded.ok()) {
        std::fprintf(stderr, "%s: %s\n", path, decoded.status.message.c_str());
        std::exit(1);
    }
    return MakeGreyImage(decoded.image);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: align_real LEFT RIGHT [NAME [DISPARITY]]\n");
        return 2;
    }
    const GreyImage left = Load(argv[1]), right = Load(argv[2]);
    const double W = left.width(), H = left.height();
    const Alignment warps[] = {{8.0, 0.05 * H, 10.0},   {-20.0, -0.05 * H, -10.0}, {3.3, 0.021 * H, 2.5},
                               {-7.5, -0.033 * H, -6.0}, {0.0, 0.0, 0.0},            {15.0, 0.04 * H, -1.2}};
    // The largest centred part of the left image that every warp keeps inside it.
    double crop = 0.8;
    for (const Alignment& w : warps) {
        const double t = w.rotation * kDegreesToRadians, c = std::fabs(std::cos(t)), s = std::fabs(std::sin(t));
        crop = std::min({crop, (W - 2 * std::fabs(w.offsetX) - 8) / (W * c + H * s),
                         (H - 2 * std::fabs(w.offsetY) - 8) / (W * s + H * c)});
    }
    std::printf("%s: %d x %d, warped left eyes %.0f %% of each side\n", argc > 3 ? argv[3] : argv[1], right.width(),
                right.height(), 100 * crop);
    std::printf("%-22s %7s %26s %8s %8s | %7s %8s %15s %7s\n", "warp (x, y, degrees)", "matches", "found (x, y, degrees)",
                "dy err", "rot err", "checked", "med |vd|", "near 2% (% W)", "status");
    int worst = 0;
    Alignment a0;
    Check c0;
    for (int k = -1; k < int(std::size(warps)); ++k) {
        const bool own = k < 0;
        const GreyImage warped = own ? GreyImage() : Warp(left, warps[k], int(W * crop), int(H * crop));
        const GreyImage& l = own ? left : warped;
        const AutoAlignResult r = AutoAlign(l, right);
        char name[64];
        if (own) std::snprintf(name, sizeof name, "none (A0)");
        else std::snprintf(name, sizeof name, "%.1f, %.1f, %.1f", warps[k].offsetX, warps[k].offsetY, warps[k].rotation);
        if (!r.ok()) {
            std::printf("%-22s %7d refused: %s\n", name, r.matches, r.status.message.c_str());
            worst = 1;
            if (own) return worst;
            continue;
        }
        if (own) a0 = r.alignment;
        // The truth: A0 after W (offsetY 0 and rotation 0 for the unwarped pair).
        double truthY = 0, truthRotation = 0;
        if (!own) {
            const double t = a0.rotation * kDegreesToRadians;
            truthY = a0.offsetY + std::sin(t) * warps[k].offsetX + std::cos(t) * warps[k].offsetY;
            truthRotation = a0.rotation + warps[k].rotation;
        }
        const double dy = r.alignment.offsetY - truthY, rot = r.alignment.rotation - truthRotation;
        const Check c = Independent(l, right, r.alignment);
        if (own) c0 = c;
        const bool met = std::fabs(dy) <= 0.25 && std::fabs(rot) <= 0.02 && c.medianVertical <= 0.3 && c.nearLow >= -1 &&
                         c.nearHigh <= 0.5;
        if (!met) worst = 1;
        char found[64];
        std::snprintf(found, sizeof found, "%.2f, %.2f, %.4f", r.alignment.offsetX, r.alignment.offsetY, r.alignment.rotation);
        std::printf("%-22s %7d %26s %8.3f %8.4f | %7d %8.3f %7.2f..%-6.2f %7s\n", name, r.matches, found, dy, rot, c.matches,
                    c.medianVertical, c.nearLow, c.nearHigh, met ? "met" : "MISSED");
    }
    if (argc > 4) {
        const std::vector<float> d = LoadDisparity(argv[4], std::size_t(left.width()) * std::size_t(left.height()));
        if (d.empty()) {
            std::fprintf(stderr, "%s: not a disparity map of the left eye's size\n", argv[4]);
            return 1;
        }
        std::vector<double> parallax;
        for (int y = 0; y < left.height(); ++y)
            for (int x = 0; x < left.width(); ++x) {
                const double disparity = d[std::size_t(y) * left.width() + x];
                if (std::isnan(disparity) || x + 0.5 - disparity < 0 || x + 0.5 - disparity >= right.width()) continue;
                double qx, qy;
                Map(a0, W / 2, H / 2, right.width() / 2.0, right.height() / 2.0, x + 0.5, y + 0.5, qx, qy);
                parallax.push_back(qx - (x + 0.5 - disparity));
            }
        if (parallax.empty()) {
            std::fprintf(stderr, "%s: no pixel of known disparity lands inside the right eye\n", argv[4]);
            return 1;
        }
        std::sort(parallax.begin(), parallax.end());
        const double low = 100 * parallax[parallax.size() - parallax.size() / 50 - 1] / right.width();
        std::printf("ground truth under A0: the nearest 2 %% of %zu pixels of known disparity at %.2f..%.2f %% W\n",
                    parallax.size(), low, 100 * parallax.back() / right.width());
        int known = 0, agree = 0;
        for (std::size_t k = 0; k < c0.leftX.size(); ++k) {
            const double disparity = d[std::size_t(c0.leftY[k]) * left.width() + std::size_t(c0.leftX[k])];
            if (std::isnan(disparity)) continue;
            ++known;
            if (std::fabs(c0.leftX[k] - c0.rightX[k] - disparity) <= 1) ++agree;
        }
        std::printf("independent matches of A0 within a pixel of the ground truth: %d of %d\n", agree, known);
    }
    return worst;
}
