#pragma once
// Vectors and 4 x 4 matrices for the OpenGL camera.
//
// Conventions:
//   * Vec3 is three doubles x, y, z.
//   * Matrix4 is sixteen doubles in rows, m[r][c], acting on column vectors: p' = M p.
//     The translation lives in the fourth column (m[0][3], m[1][3], m[2][3]).
//   * Angles are in radians; c = cos a, s = sin a. The rotations, row by row:
//       about x (1, 0, 0), (0, c, -s), (0, s, c)
//       about y (c, 0, s), (0, 1, 0), (-s, 0, c)
//       about z (c, -s, 0), (s, c, 0), (0, 0, 1)
//     and RotateX/Y/Z multiply them on the right: M = M * R.
//   * OpenGL loads matrices column by column; ToColumnOrder gives that element order.

#include <array>

namespace TWIG4 {

struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend Vec3 operator-(const Vec3& a) { return {-a.x, -a.y, -a.z}; }
    friend Vec3 operator*(const Vec3& a, double k) { return {a.x * k, a.y * k, a.z * k}; }
    friend bool operator==(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
    friend bool operator!=(const Vec3& a, const Vec3& b) { return !(a == b); }
};

[[nodiscard]] inline double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct Matrix4 {
    double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};  // identity

    [[nodiscard]] static Matrix4 Identity() { return {}; }

    // M = M * Rx(a): only columns 1 and 2 change.
    void RotateX(double a);
    // M = M * Ry(a): only columns 0 and 2 change.
    void RotateY(double a);
    // M = M * Rz(a): only columns 0 and 1 change.
    void RotateZ(double a);
    // Subtracts v from the translation column.
    void TranslateNegative(const Vec3& v);

    // Inverse of a rigid matrix (rotation R, translation t): rotation R^T, translation -R^T t,
    // last row (0, 0, 0, 1). Only meaningful for rotations and translations.
    [[nodiscard]] Matrix4 RigidInverse() const;
    // Rows 0 to 2 applied to (p.x, p.y, p.z, 1).
    [[nodiscard]] Vec3 TransformPoint(const Vec3& p) const;
    // The sixteen elements column by column (the transpose), as OpenGL loads them.
    [[nodiscard]] std::array<double, 16> ToColumnOrder() const;

    friend bool operator==(const Matrix4& a, const Matrix4& b);
    friend bool operator!=(const Matrix4& a, const Matrix4& b) { return !(a == b); }
};

}  // namespace TWIG4
