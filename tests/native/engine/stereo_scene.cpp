#include "engine/stereo_scene.h"

#include <cmath>

namespace bistrope::test {
namespace {

double Lattice(std::int64_t i, std::int64_t j, unsigned seed) {
    std::uint64_t h = std::uint64_t(i) * 0x9E3779B97F4A7C15ull ^ std::uint64_t(j) * 0xC2B2AE3D27D4EB4Full ^ seed;
    h ^= h >> 29, h *= 0xBF58476D1CE4E5B9ull, h ^= h >> 32;
    return double(h & 0xffff) / 0xffff;
}

// Value noise with a smooth (C1) blend between lattice points `period` apart.
double Noise(double x, double y, double period, unsigned seed) {
    const double u = x / period, v = y / period;
    const double fi = std::floor(u), fj = std::floor(v);
    const double fx = u - fi, fy = v - fj;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const auto i = std::int64_t(fi), j = std::int64_t(fj);
    const double top = Lattice(i, j, seed) + sx * (Lattice(i + 1, j, seed) - Lattice(i, j, seed));
    const double bottom = Lattice(i, j + 1, seed) + sx * (Lattice(i + 1, j + 1, seed) - Lattice(i, j + 1, seed));
    return top + sy * (bottom - top);
}

}  // namespace

double SceneTexture(double x, double y, unsigned seed) {
    return 255 * (0.65 * Noise(x, y, 9, seed) + 0.35 * Noise(x, y, 4, seed + 7));
}

std::pair<SourceImage, SourceImage> StereoScene(const SceneParams& p) {
    const double w = p.width, h = p.height;
    const int leftW = p.leftWidth ? p.leftWidth : p.width, leftH = p.leftHeight ? p.leftHeight : p.height;
    // The near box in the right image's pixels.
    const auto inBox = [&](double x, double y) { return x > 0.3 * w && x < 0.65 * w && y > 0.3 * h && y < 0.7 * h; };
    auto grey = [](SourceImage& img, int x, int y, double value) {
        const auto v = std::uint8_t(std::lround(std::fmin(255, std::fmax(0, value))));
        std::uint8_t* px = img.row(y) + 4 * x;
        px[0] = px[1] = px[2] = v;
        px[3] = 255;
    };
    SourceImage left = SourceImage::Create(leftW, leftH), right = SourceImage::Create(p.width, p.height);
    const double t = p.truth.rotation * kDegreesToRadians, c = std::cos(t), s = std::sin(t);
    const auto texture = [&](double x, double y, bool near) {
        return SceneTexture(x, near && p.nearPeriod ? std::fmod(y, p.nearPeriod) : y, p.seed);
    };
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) grey(right, x, y, texture(x + 0.5, y + 0.5, inBox(x + 0.5, y + 0.5)));
    for (int y = 0; y < leftH; ++y)
        for (int x = 0; x < leftW; ++x) {
            // Where the left pixel lands on the right image: A(pL) = cR + o + Rot (pL - cL).
            const double dx = x + 0.5 - leftW / 2.0, dy = y + 0.5 - leftH / 2.0;
            const double qx = w / 2 + p.truth.offsetX + c * dx - s * dy;
            const double qy = h / 2 + p.truth.offsetY + s * dx + c * dy;
            // The near box is seen nearShift further right by the left eye.
            const bool near = inBox(qx - p.nearShift, qy);
            grey(left, x, y, texture(near ? qx - p.nearShift : qx, qy, near));
        }
    return {std::move(left), std::move(right)};
}

}  // namespace bistrope::test
