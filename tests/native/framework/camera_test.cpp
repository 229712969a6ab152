#include "framework/camera.h"

#include <cmath>

#include <gtest/gtest.h>

namespace TWIG4 {
namespace {

void ExpectVecNear(const Vec3& v, double x, double y, double z) {
    EXPECT_TRUE(std::fabs(v.x - x) < 1e-9 && std::fabs(v.y - y) < 1e-9 && std::fabs(v.z - z) < 1e-9) << v.x << "," << v.y << "," << v.z;
}

// got == a * b, by a plain row-by-column product written independently of Matrix4's
// in-place rotations.
void ExpectProduct(const Matrix4& got, const Matrix4& a, const Matrix4& b) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
            EXPECT_NEAR(got.m[i][j], sum, 1e-12) << "element " << i << "," << j;
        }
}

TEST(Matrix4, RotationsMultiplyTheDocumentedMatricesOnTheRight) {
    const double a = 0.3, c = std::cos(a), s = std::sin(a);
    // Every element distinct, so a rotation touching the wrong columns shows.
    const Matrix4 base{{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {0, 0, 0, 1}}};
    Matrix4 x = base, y = base, z = base;
    x.RotateX(a), y.RotateY(a), z.RotateZ(a);
    ExpectProduct(x, base, {{{1, 0, 0, 0}, {0, c, -s, 0}, {0, s, c, 0}, {0, 0, 0, 1}}});
    ExpectProduct(y, base, {{{c, 0, s, 0}, {0, 1, 0, 0}, {-s, 0, c, 0}, {0, 0, 0, 1}}});
    ExpectProduct(z, base, {{{c, -s, 0, 0}, {s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});
}

TEST(Matrix4, TranslationRigidInverseAndColumnOrder) {
    Matrix4 m;
    m.RotateZ(0.7), m.RotateY(-0.2), m.RotateX(1.1), m.TranslateNegative({3, -4, 5});
    EXPECT_EQ(m.TransformPoint({0, 0, 0}), (Vec3{-3, 4, -5}));
    ExpectProduct(Matrix4::Identity(), m, m.RigidInverse());  // for square matrices also a left inverse

    const Matrix4 t{{{1, 2, 0, -10}, {0, 1, 0, -20}, {0, 0, 1, -30}, {0, 0, 0, 1}}};
    EXPECT_EQ(t.ToColumnOrder(), (std::array<double, 16>{1, 0, 0, 0, 2, 1, 0, 0, 0, 0, 1, 0, -10, -20, -30, 1}));
}

TEST(Camera, ZeroViewportOrDegenerateRectangleChangesNothingAndUnfittedItShowsAbout2000Units) {
    Camera cam;
    for (auto [w, h] : {std::pair{0, 400}, std::pair{600, 0}}) {
        cam.SetViewport(0, 0, w, h);
        EXPECT_FALSE(cam.ApplyCamera());
        cam.FitRect(0, 0, 100, 100);
        cam.Refit();
        const Vec3 p = cam.WindowToWorld({50, -50, 0});
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
    cam.SetViewport(1, 1, 598, 398);
    for (double w : {0.0, -5.0}) cam.FitRect(0, 0, w, 100);
    cam.FitRect(0, 0, 100, std::nan(""));
    cam.Refit();  // nothing was fitted
    ASSERT_TRUE(cam.ApplyCamera());
    EXPECT_TRUE(cam.zoom == 1.0 && cam.target == Vec3{} && cam.fitWidth == 0.0);
    EXPECT_NEAR(cam.orthoMax.x - cam.orthoMin.x, 2000.0, 1e-9);
    EXPECT_NEAR(cam.orthoMax.y, 1000.0 * 398 / 598, 1e-9);
}

TEST(Camera, FitRectTakesTheSmallerScaleAndWindowToWorldMapsThroughTheLastBox) {
    Camera cam;
    cam.SetViewport(0, 0, 600, 400);
    cam.FitRect(-400, -300, 800, 600);  // taller than the viewport: the height decides
    EXPECT_EQ(cam.zoom, 400.0 / 600);
    cam.SetTarget({25, -10, 0});
    ASSERT_TRUE(cam.ApplyCamera());
    // After a fit one unit covers zoom pixels both ways: the corner is 300 / zoom, 200 / zoom away.
    ExpectVecNear(cam.WindowToWorld({0, 0, 0}), 25 - 450, -10 + 300, 0);
    cam.SetZoom(2.0);  // shows only after ApplyCamera: the box is that of the last drawn frame
    ExpectVecNear(cam.WindowToWorld({0, 0, 0}), 25 - 450, -10 + 300, 0);
    ASSERT_TRUE(cam.ApplyCamera());
    ExpectVecNear(cam.WindowToWorld({0, 0, 0}), 25 - 150, -10 + 100, 0);

    cam.angles = {0.1, -0.4, 1.5};
    cam.SetTarget({5, 6, 7});
    ASSERT_TRUE(cam.ApplyCamera());
    Matrix4 expected;
    expected.RotateZ(1.5), expected.RotateY(-0.4), expected.RotateX(0.1), expected.TranslateNegative({5, 6, 7});
    EXPECT_EQ(cam.viewMatrix, expected);
    const Vec3 box = cam.viewMatrix.TransformPoint(cam.WindowToWorld({150, -100, 3}));
    ExpectVecNear(box, cam.orthoMin.x + 0.25 * (cam.orthoMax.x - cam.orthoMin.x),
                  cam.orthoMax.y - 0.25 * (cam.orthoMax.y - cam.orthoMin.y), 3);

    cam.target.z = 7;
    cam.FitRect(0, 10, 1200, 400);  // wider: the width decides; target.z is kept
    EXPECT_EQ(std::pair(cam.zoom, cam.target), std::pair(0.5, Vec3{600, 210, 7}));
    cam.SetTarget({120, -45, 0});
    cam.SetViewport(1, 1, 1198, 798);
    cam.Refit();
    EXPECT_EQ(std::pair(cam.zoom, cam.GetTarget()), std::pair(1198.0 / 1200, Vec3{120, -45, 0}));
}

}  // namespace
}  // namespace TWIG4
