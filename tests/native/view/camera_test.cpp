// Zoom All and the fits the stereo view makes for its images.
#include "view/zoom_all.h"

#include <cmath>

#include <gtest/gtest.h>

namespace bistrope {
namespace {

using TWIG4::Camera;
using TWIG4::Vec3;

constexpr ImageSize k800x600{800, 600};
constexpr ImageSize k4000x3000{4000, 3000};

Camera CameraWithViewport(int w, int h) {
    Camera cam;
    cam.SetViewport(0, 0, w, h);
    return cam;
}

TEST(ZoomAll, OneImageIsFittedAroundTheOriginFromEitherSlot) {
    for (bool leftSlot : {true, false}) {
        Camera cam = CameraWithViewport(600, 400);
        cam.SetTarget({50, 60, 0});
        std::optional<ImageSize> image = k800x600;
        ZoomAll(cam, leftSlot ? image : std::nullopt, leftSlot ? std::nullopt : image, {30, 40, 15});
        EXPECT_EQ(cam.zoom, 0.6666666666666666);
        EXPECT_EQ(cam.distance, 300.00000000000006);
        EXPECT_EQ(cam.target, (Vec3{0, 0, 0}));
    }
}

TEST(ZoomAll, LargeImageIsHeldAtTheLowerLimitUntilARefit) {
    Camera cam = CameraWithViewport(600, 400);
    cam.FitRect(-2000, -1500, 4000, 3000);
    EXPECT_EQ(cam.zoom, 0.13333333333333333);

    ZoomAll(cam, k4000x3000, std::nullopt, {});
    EXPECT_EQ(cam.zoom, 0.25);
    EXPECT_EQ(cam.target, (Vec3{0, 0, 0}));

    // A resize refits without the limits.
    cam.Refit();
    EXPECT_EQ(cam.zoom, 0.13333333333333333);
}

TEST(ZoomAll, SmallImageIsHeldAtTheUpperLimit) {
    Camera cam = CameraWithViewport(600, 400);
    ZoomAll(cam, std::nullopt, ImageSize{4, 4}, {});
    EXPECT_EQ(cam.zoom, 32.0);
    EXPECT_EQ(cam.fitWidth, 4);
}

TEST(ZoomAll, TwoImagesFitTheUnionOfTheRightImageAndTheTurnedLeftImage) {
    for (double rotation : {10.0, -10.0}) {
        Camera cam = CameraWithViewport(600, 400);
        ZoomAll(cam, k800x600, k800x600, {100, 50, rotation});

        // Left bounds x -346.0176 to 546.0176, y -414.9016 to 314.9016; the right image
        // adds x -400.
        const double c = std::cos(10 * kDegreesToRadians), s = std::sin(10 * kDegreesToRadians);
        EXPECT_NEAR(cam.fitWidth, 946.0176, 1e-4);
        EXPECT_NEAR(cam.fitHeight, 729.8032, 1e-4);
        EXPECT_NEAR(cam.fitWidth, 500 + 400 * c + 300 * s, 1e-9);
        EXPECT_NEAR(cam.fitHeight, 600 * c + 800 * s, 1e-9);

        EXPECT_EQ(cam.zoom, 0.5480929698869053);
        EXPECT_NEAR(cam.target.x, 73.0088, 1e-4);
        EXPECT_NEAR(cam.target.x, (100 + 400 * c + 300 * s - 400) / 2, 1e-9);
        EXPECT_NEAR(cam.target.y, -50.0, 1e-9);

        // After one drawn frame the viewport centre is the target and the top-left corner
        // lies 300 and 200 pixels away.
        ASSERT_TRUE(cam.ApplyCamera());
        const Vec3 centre = cam.WindowToWorld({300, -200, 0});
        EXPECT_NEAR(centre.x, cam.target.x, 1e-9);
        EXPECT_NEAR(centre.y, cam.target.y, 1e-9);
        const Vec3 corner = cam.WindowToWorld({0, 0, 0});
        EXPECT_NEAR(corner.x, cam.target.x - 300 / cam.zoom, 1e-9);
        EXPECT_NEAR(corner.y, cam.target.y + 200 / cam.zoom, 1e-9);
        EXPECT_EQ(corner.z, 0);
    }
}

TEST(ZoomAll, LargerLeftImageWidensTheFit) {
    Camera cam = CameraWithViewport(600, 400);
    ZoomAll(cam, ImageSize{1000, 1000}, k800x600, {});
    EXPECT_EQ(cam.fitWidth, 1000);
    EXPECT_EQ(cam.fitHeight, 1000);
    EXPECT_EQ(cam.zoom, 0.4);
    EXPECT_EQ(cam.target, (Vec3{0, 0, 0}));
}

TEST(ZoomAll, WithoutImagesOrViewportOnlyTheLimitsApply) {
    Camera cam = CameraWithViewport(600, 400);
    ZoomAll(cam, std::nullopt, std::nullopt, {});
    EXPECT_EQ(cam.zoom, 1.0);
    EXPECT_EQ(cam.distance, 1000.0);

    cam.SetZoom(40);
    cam.SetTarget({1, 2, 3});
    ZoomAll(cam, std::nullopt, std::nullopt, {});
    EXPECT_EQ(cam.zoom, 32.0);
    cam.SetZoom(0.1);
    ZoomAll(cam, std::nullopt, std::nullopt, {});
    EXPECT_EQ(cam.zoom, 0.25);
    EXPECT_EQ(cam.target, (Vec3{1, 2, 3}));

    Camera unsized;  // before the first resize
    unsized.SetZoom(0.5);
    ZoomAll(unsized, k800x600, k800x600, {});
    EXPECT_EQ(unsized.zoom, 0.5);
    EXPECT_EQ(unsized.distance, 1000.0);
    EXPECT_EQ(unsized.target, (Vec3{0, 0, 0}));
}

}  // namespace
}  // namespace bistrope
