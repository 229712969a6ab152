#include "framework/matrix4.h"

#include <cmath>

namespace TWIG4 {
namespace {

// Replaces columns i and j of m by m * R, where R mixes only those two axes:
// new column i = c * col_i + s * col_j, new column j = -s * col_i + c * col_j.
void MixColumns(double (&m)[4][4], int i, int j, double c, double s) {
    for (auto& row : m) {
        const double a = row[i], b = row[j];
        row[i] = a * c + b * s;
        row[j] = -a * s + b * c;
    }
}

}  // namespace

void Matrix4::RotateX(double a) {
    // Rx columns: 1 = (0, c, s), 2 = (0, -s, c).
    MixColumns(m, 1, 2, std::cos(a), std::sin(a));
}

void Matrix4::RotateY(double a) {
    // Ry columns: 0 = (c, 0, -s), 2 = (s, 0, c).
    MixColumns(m, 0, 2, std::cos(a), -std::sin(a));
}

void Matrix4::RotateZ(double a) {
    // Rz columns: 0 = (c, s, 0), 1 = (-s, c, 0).
    MixColumns(m, 0, 1, std::cos(a), std::sin(a));
}

void Matrix4::TranslateNegative(const Vec3& v) {
    m[0][3] -= v.x;
    m[1][3] -= v.y;
    m[2][3] -= v.z;
}

Matrix4 Matrix4::RigidInverse() const {
    const Vec3 t{m[0][3], m[1][3], m[2][3]};
    Matrix4 r;
    for (int i = 0; i < 3; ++i) {
        const Vec3 column{m[0][i], m[1][i], m[2][i]};
        r.m[i][0] = column.x;
        r.m[i][1] = column.y;
        r.m[i][2] = column.z;
        r.m[i][3] = -Dot(column, t);
    }
    r.m[3][0] = r.m[3][1] = r.m[3][2] = 0.0;
    r.m[3][3] = 1.0;
    return r;
}

Vec3 Matrix4::TransformPoint(const Vec3& p) const {
    auto row = [&](int r) { return m[r][0] * p.x + m[r][1] * p.y + m[r][2] * p.z + m[r][3]; };
    return {row(0), row(1), row(2)};
}

std::array<double, 16> Matrix4::ToColumnOrder() const {
    std::array<double, 16> out{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) out[static_cast<size_t>(4 * c + r)] = m[r][c];
    return out;
}

bool operator==(const Matrix4& a, const Matrix4& b) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (a.m[r][c] != b.m[r][c]) return false;
    return true;
}

}  // namespace TWIG4
