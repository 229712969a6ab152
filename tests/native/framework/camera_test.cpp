#include "framework/camera.h"

#include <cmath>

#include <gtest/gtest.h>

namespace TWIG4 {
namespace {

void ExpectVecNear(const Vec3& v, double x, double y, double z) {
    EXPECT_TRUE(std::fabs(v.x - x) < 1e-9 && std::fabs(v.y - y) < 1e-9 && std::fabs(v.z - z) < 1e-9) << v.x << "," << v.y << "," << v.z;
}

// Plain row-by-column product, written independently of Matrix4's in-place rotations.
Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = 0;
            for (int k = 0; k < 4; ++k) r.m[i][j] += a.m[i][k] * b.m[k][j];
        }
    return r;
}

void ExpectMatrixNear(const Matrix4& a, const Matrix4& b) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.m[i][j], b.m[i][j], 1e-12) << "element " << i << "," << j;
}

TEST(Matrix4, RotationsMultiplyTheDocumentedMatricesOnTheRight) {
    const double a = 0.3, c = std::cos(a), s = std::sin(a);
    const Matrix4 rx{{{1, 0, 0, 0}, {0, c, -s, 0}, {0, s, c, 0}, {0, 0, 0, 1}}};
    const Matrix4 ry{{{c, 0, s, 0}, {0, 1, 0, 0}, {-s, 0, c, 0}, {0, 0, 0, 1}}};
    const Matrix4 rz{{{c, -s, 0, 0}, {s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    // Every element distinct, so a rotation touching the wrong columns shows.
    const Matrix4 base{{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {0, 0, 0, 1}}};
    Matrix4 x = base, y = base, z = base;
    x.RotateX(a);
    y.RotateY(a);
    z.RotateZ(a);
    ExpectMatrixNear(x, Multiply(base, rx));
    ExpectMatrixNear(y, Multiply(base, ry));
    ExpectMatrixNear(z, Multiply(base, rz));
}

TEST(Matrix4, TranslationRigidInverseAndColumnOrder) {
    Matrix4 m;
    m.RotateZ(0.7);
    m.RotateY(-0.2);
    m.RotateX(1.1);
    m.TranslateNegative({3, -4, 5});
    EXPECT_EQ(m.TransformPoint({0, 0, 0}), (Vec3{-3, 4, -5}));
    const Matrix4 inv = m.RigidInverse();
    ExpectMatrixNear(Multiply(m, inv), Matrix4::Identity());
    ExpectMatrixNear(Multiply(inv, m), Matrix4::Identity());

    Matrix4 t;
    t.TranslateNegative({10, 20, 30});
    t.m[0][1] = 2;
    const std::array<double, 16> cols = t.ToColumnOrder();
    EXPECT_EQ((std::array<double, 5>{cols[4], cols[1], cols[12], cols[14], cols[15]}),
              (std::array<double, 5>{2, 0, -10, -30, 1}));
}

TEST(Camera, InertUntilTheFirstResizeThenShowsAbout2000Units) {
    Camera cam;
    EXPECT_FALSE(cam.ApplyCamera());
    cam.FitRect(-400, -300, 800, 600);
    cam.Refit();
    EXPECT_TRUE(cam.zoom == 1.0 && cam.distance == 1000.0 && cam.orthoMax == Vec3{});

    // Before any fit the visible width is about 2000 units whatever the window size, and
    // Refit has nothing to fit.
    cam.SetViewport(1, 1, 598, 398);
    cam.Refit();
    ASSERT_TRUE(cam.ApplyCamera());
    EXPECT_EQ(cam.zoom, 1.0);
    EXPECT_NEAR(cam.orthoMax.x - cam.orthoMin.x, 2000.0, 1e-9);
    EXPECT_NEAR(cam.orthoMax.y, 1000.0 * 398 / 598, 1e-9);
}

TEST(Camera, FitRectTakesTheSmallerScaleAndRefitKeepsTheTarget) {
    Camera cam;
    cam.SetViewport(0, 0, 600, 400);
    cam.FitRect(-400, -300, 800, 600);
    EXPECT_EQ(cam.zoom, 0.6666666666666666);
    EXPECT_EQ(cam.distance, 300.00000000000006);
    // After a fit one unit covers zoom pixels both ways.
    ASSERT_TRUE(cam.ApplyCamera());
    EXPECT_NEAR(cam.orthoMax.x, 600 / (2 * cam.zoom), 1e-9);
    EXPECT_NEAR(cam.orthoMax.y, 400 / (2 * cam.zoom), 1e-9);
    EXPECT_EQ(cam.orthoMin.x, -cam.orthoMax.x);

    // Wider than the viewport: the width decides. target.z is kept.
    cam.target.z = 7;
    cam.FitRect(0, 10, 1200, 400);
    EXPECT_EQ(cam.zoom, 0.5);
    EXPECT_EQ(cam.target, (Vec3{600, 210, 7}));
    cam.FitRect(-30, -20, 60, 40);  // same shape as the viewport
    EXPECT_EQ(cam.zoom, 10.0);

    cam.SetZoom(0.25);
    cam.SetTarget({120, -45, 0});
    cam.SetViewport(1, 1, 1198, 798);
    cam.Refit();
    EXPECT_EQ(cam.zoom, 798.0 / 40);
    EXPECT_EQ(cam.GetTarget(), (Vec3{120, -45, 0}));
}

TEST(Camera, ZeroViewportOrDegenerateRectangleChangesNothing) {
    Camera cam;
    cam.SetViewport(0, 0, 600, 400);
    cam.FitRect(-400, -300, 800, 600);
    ASSERT_TRUE(cam.ApplyCamera());
    const Camera before = cam;
    for (auto [w, h] : {std::pair{0, 400}, std::pair{600, 0}}) {
        cam.SetViewport(0, 0, w, h);
        EXPECT_FALSE(cam.ApplyCamera());
        cam.FitRect(0, 0, 100, 100);
        cam.Refit();
        const Vec3 p = cam.WindowToWorld({50, -50, 0});
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
    cam.SetViewport(0, 0, 600, 400);
    cam.FitRect(0, 0, 0, 100);
    cam.FitRect(0, 0, -5, 100);
    cam.FitRect(0, 0, 100, std::nan(""));
    EXPECT_TRUE(cam.zoom == before.zoom && cam.distance == before.distance && cam.target == before.target &&
                cam.fitWidth == 800 && cam.orthoMax == before.orthoMax);
}

TEST(Camera, WindowToWorldMapsThroughTheLastBoxAndInvertsTheView) {
    Camera cam;
    cam.SetViewport(0, 0, 600, 400);
    cam.FitRect(-400, -300, 800, 600);
    cam.SetTarget({25, -10, 0});
    ASSERT_TRUE(cam.ApplyCamera());
    EXPECT_EQ(cam.WindowToWorld({300, -200, 0}), (Vec3{25, -10, 0}));
    ExpectVecNear(cam.WindowToWorld({0, 0, 0}), 25 - 450, -10 + 300, 0);
    ExpectVecNear(cam.WindowToWorld({600, -400, 0}), 25 + 450, -10 - 300, 0);
    // The box is that of the last drawn frame: a zoom change shows only after ApplyCamera.
    cam.SetZoom(2.0);
    ExpectVecNear(cam.WindowToWorld({0, 0, 0}), 25 - 450, -10 + 300, 0);
    ASSERT_TRUE(cam.ApplyCamera());
    ExpectVecNear(cam.WindowToWorld({0, 0, 0}), 25 - 150, -10 + 100, 0);

    cam.angles = {0.1, -0.4, 1.5};
    cam.SetTarget({5, 6, 7});
    ASSERT_TRUE(cam.ApplyCamera());
    Matrix4 expected;
    expected.RotateZ(1.5);
    expected.RotateY(-0.4);
    expected.RotateX(0.1);
    expected.TranslateNegative({5, 6, 7});
    EXPECT_EQ(cam.viewMatrix, expected);
    const Vec3 box = cam.viewMatrix.TransformPoint(cam.WindowToWorld({150, -100, 3}));
    ExpectVecNear(box, cam.orthoMin.x + 0.25 * (cam.orthoMax.x - cam.orthoMin.x),
                  cam.orthoMax.y - 0.25 * (cam.orthoMax.y - cam.orthoMin.y), 3);
}

}  // namespace
}  // namespace TWIG4
