#include "framework/camera.h"

#include <cmath>

#include <gtest/gtest.h>

namespace TWIG4 {
namespace {

constexpr double kPi = 3.141592653589793;

void ExpectVecNear(const Vec3& v, double x, double y, double z, double tol = 1e-9) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
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

Matrix4 Rows(std::initializer_list<std::initializer_list<double>> rows) {
    Matrix4 r;
    int i = 0;
    for (auto row : rows) {
        int j = 0;
        for (double v : row) r.m[i][j++] = v;
        ++i;
    }
    return r;
}

void ExpectMatrixNear(const Matrix4& a, const Matrix4& b, double tol = 1e-12) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.m[i][j], b.m[i][j], tol) << "element " << i << "," << j;
}

TEST(Matrix4, RotationsHaveTheDocumentedRowsAndMultiplyOnTheRight) {
    const double a = 0.3, c = std::cos(a), s = std::sin(a);
    const Matrix4 rx = Rows({{1, 0, 0, 0}, {0, c, -s, 0}, {0, s, c, 0}, {0, 0, 0, 1}});
    const Matrix4 ry = Rows({{c, 0, s, 0}, {0, 1, 0, 0}, {-s, 0, c, 0}, {0, 0, 0, 1}});
    const Matrix4 rz = Rows({{c, -s, 0, 0}, {s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}});

    Matrix4 m;
    m.RotateX(a);
    EXPECT_EQ(m, rx);
    m = Matrix4::Identity();
    m.RotateY(a);
    EXPECT_EQ(m, ry);
    m = Matrix4::Identity();
    m.RotateZ(a);
    EXPECT_EQ(m, rz);

    // A matrix with every element distinct shows which columns each rotation touches.
    const Matrix4 base = Rows({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {0, 0, 0, 1}});
    Matrix4 z = base;
    z.RotateZ(a);
    ExpectMatrixNear(z, Multiply(base, rz));
    EXPECT_EQ(z.m[0][2], 3);
    EXPECT_EQ(z.m[0][3], 4);
    Matrix4 y = base;
    y.RotateY(a);
    ExpectMatrixNear(y, Multiply(base, ry));
    EXPECT_EQ(y.m[1][1], 6);
    Matrix4 x = base;
    x.RotateX(a);
    ExpectMatrixNear(x, Multiply(base, rx));
    EXPECT_EQ(x.m[2][0], 9);
}

TEST(Matrix4, TranslationRigidInverseAndColumnOrder) {
    Matrix4 m;
    m.RotateZ(0.7);
    m.RotateY(-0.2);
    m.RotateX(1.1);
    m.TranslateNegative({3, -4, 5});
    EXPECT_EQ(m.m[0][3], -3);
    EXPECT_EQ(m.m[1][3], 4);
    EXPECT_EQ(m.m[2][3], -5);

    const Matrix4 inv = m.RigidInverse();
    ExpectMatrixNear(Multiply(m, inv), Matrix4::Identity());
    ExpectMatrixNear(Multiply(inv, m), Matrix4::Identity());
    EXPECT_EQ(inv.m[3][0], 0);
    EXPECT_EQ(inv.m[3][3], 1);

    const Vec3 p{7, -8, 9};
    const Vec3 q = inv.TransformPoint(m.TransformPoint(p));
    ExpectVecNear(q, 7, -8, 9, 1e-12);

    Matrix4 t;
    t.TranslateNegative({10, 20, 30});
    EXPECT_EQ(t.TransformPoint({1, 2, 3}), (Vec3{-9, -18, -27}));
    EXPECT_EQ(t.RigidInverse().TransformPoint({0, 0, 0}), (Vec3{10, 20, 30}));

    const std::array<double, 16> cols = t.ToColumnOrder();
    EXPECT_EQ(cols[0], 1);
    EXPECT_EQ(cols[5], 1);
    EXPECT_EQ(cols[3], 0);
    EXPECT_EQ(cols[12], -10);
    EXPECT_EQ(cols[13], -20);
    EXPECT_EQ(cols[14], -30);
    EXPECT_EQ(cols[15], 1);
}

TEST(Camera, StartsWithTheDocumentedValuesAndInertUntilTheFirstResize) {
    Camera cam;
    EXPECT_EQ(cam.target, (Vec3{0, 0, 0}));
    EXPECT_EQ(cam.distance, 1000.0);
    EXPECT_EQ(cam.fieldOfView, 0.7853981633974483);
    EXPECT_EQ(cam.angles, (Vec3{0, 0, 0}));
    EXPECT_EQ(cam.zoom, 1.0);
    EXPECT_EQ(cam.viewMatrix, Matrix4::Identity());

    EXPECT_FALSE(cam.ApplyCamera());
    cam.FitRect(-400, -300, 800, 600);
    cam.Refit();
    EXPECT_EQ(cam.zoom, 1.0);
    EXPECT_EQ(cam.distance, 1000.0);
    EXPECT_EQ(cam.target, (Vec3{0, 0, 0}));
    EXPECT_EQ(cam.orthoMin, (Vec3{0, 0, 0}));
    EXPECT_EQ(cam.orthoMax, (Vec3{0, 0, 0}));

    // Before any fit the visible width is about 2000 units whatever the window size.
    cam.SetViewport(1, 1, 598, 398);
    ASSERT_TRUE(cam.ApplyCamera());
    EXPECT_NEAR(cam.orthoMax.x - cam.orthoMin.x, 2000.0, 1e-9);
    EXPECT_NEAR(cam.orthoMax.y, 1000.0 * 398 / 598, 1e-9);
    EXPECT_EQ(cam.orthoMin.z, -1000.0);
    EXPECT_EQ(cam.orthoMax.z, 1000.0);
}

TEST(Camera, FitRectTakesTheSmallerScaleAndCentresTheRectangle) {
    Camera cam;
    cam.SetViewport(0, 0, 600, 400);
    cam.FitRect(-400, -300, 800, 600);
    EXPECT_EQ(cam.zoom, 0.6666666666666666);
    EXPECT_EQ(cam.distance, 300.00000000000006);
    EXPECT_EQ(cam.target, (Vec3{0, 0, 0}));
    EXPECT_EQ(cam.fitWidth, 800);
    EXPECT_EQ(cam.fitHeight, 600);

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

    // Same shape as the viewport: the height decides.
    cam.FitRect(-30, -20, 60, 40);
    EXPECT_EQ(cam.zoom, 10.0);
}

TEST(Camera, RefitKeepsTargetAndFitSizeButDropsTheZoom) {
    Camera cam;
    cam.SetViewport(0, 0, 600, 400);
    cam.FitRect(-2000, -1500, 4000, 3000);
    EXPECT_EQ(cam.zoom, 0.13333333333333333);
    cam.SetZoom(0.25);
    cam.SetTarget({120, -45, 0});
    cam.SetViewport(1, 1, 1198, 798);
    cam.Refit();
    EXPECT_EQ(cam.zoom, 798.0 / 3000);
    EXPECT_EQ(cam.GetTarget(), (Vec3{120, -45, 0}));
    EXPECT_EQ(cam.fitWidth, 4000);
    EXPECT_EQ(cam.fitHeight, 3000);
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
        EXPECT_EQ(cam.zoom, before.zoom);
        EXPECT_EQ(cam.distance, before.distance);
        EXPECT_EQ(cam.target, before.target);
        EXPECT_EQ(cam.orthoMin, before.orthoMin);
        EXPECT_EQ(cam.orthoMax, before.orthoMax);
        EXPECT_EQ(cam.viewMatrix, before.viewMatrix);
        // Mapping still gives finite points.
        const Vec3 p = cam.WindowToWorld({50, -50, 0});
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }

    cam.SetViewport(0, 0, 600, 400);
    cam.FitRect(0, 0, 0, 100);
    cam.FitRect(0, 0, -5, 100);
    cam.FitRect(0, 0, 100, std::nan(""));
    EXPECT_EQ(cam.zoom, before.zoom);
    EXPECT_EQ(cam.fitWidth, 800);
}

TEST(Camera, WindowToWorldMapsCentreAndCornerThroughTheLastBox) {
    Camera cam;
    cam.SetViewport(0, 0, 600, 400);
    cam.FitRect(-400, -300, 800, 600);
    cam.SetTarget({25, -10, 0});
    ASSERT_TRUE(cam.ApplyCamera());
    EXPECT_EQ(cam.WindowToWorld({300, -200, 0}), (Vec3{25, -10, 0}));
    ExpectVecNear(cam.WindowToWorld({0, 0, 0}), 25 - 300 / cam.zoom, -10 + 200 / cam.zoom, 0);
    ExpectVecNear(cam.WindowToWorld({600, -400, 0}), 25 + 300 / cam.zoom, -10 - 200 / cam.zoom, 0);

    // The box is that of the last drawn frame: a zoom change shows only after ApplyCamera.
    cam.SetZoom(2.0);
    ExpectVecNear(cam.WindowToWorld({0, 0, 0}), 25 - 450, -10 + 300, 0);
    ASSERT_TRUE(cam.ApplyCamera());
    ExpectVecNear(cam.WindowToWorld({0, 0, 0}), 25 - 150, -10 + 100, 0);
}

TEST(Camera, ViewMatrixRotatesThenTranslatesAndWindowToWorldInvertsIt) {
    Camera cam;
    cam.SetViewport(0, 0, 600, 400);
    cam.FitRect(-300, -200, 600, 400);
    cam.angles = {0.1, -0.4, kPi / 2};
    cam.SetTarget({5, 6, 7});
    ASSERT_TRUE(cam.ApplyCamera());

    Matrix4 expected;
    expected.RotateZ(kPi / 2);
    expected.RotateY(-0.4);
    expected.RotateX(0.1);
    expected.TranslateNegative({5, 6, 7});
    EXPECT_EQ(cam.viewMatrix, expected);

    // WindowToWorld is the inverse of the view matrix applied to the box point.
    const Vec3 world = cam.WindowToWorld({150, -100, 3});
    const Vec3 box = cam.viewMatrix.TransformPoint(world);
    ExpectVecNear(box, cam.orthoMin.x + 0.25 * (cam.orthoMax.x - cam.orthoMin.x),
                  cam.orthoMax.y - 0.25 * (cam.orthoMax.y - cam.orthoMin.y), 3);
}

}  // namespace
}  // namespace TWIG4
