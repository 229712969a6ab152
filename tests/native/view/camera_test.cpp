// Zoom All and the fits the stereo view makes for its images.
#include "view/zoom_all.h"

#include <cmath>

#include <gtest/gtest.h>

namespace bistrope {
namespace {

using TWIG4::Camera;
using TWIG4::Vec3;

constexpr ImageSize k800x600{800, 600};

Camera CameraWithViewport(int w, int h) {
    Camera cam;
    cam.SetViewport(0, 0, w, h);
    return cam;
}

TEST(ZoomAll, OneImageIsFittedAroundTheOriginFromEitherSlotWithinTheZoomLimits) {
    for (bool leftSlot : {true, false}) {
        Camera cam = CameraWithViewport(600, 400);
        cam.SetTarget({50, 60, 0});
        ZoomAll(cam, leftSlot ? std::optional(k800x600) : std::nullopt, leftSlot ? std::nullopt : std::optional(k800x600),
                {30, 40, 15});
        EXPECT_EQ(std::tuple(cam.zoom, cam.distance, cam.target), std::tuple(0.6666666666666666, 300.00000000000006, Vec3{}));
    }
    Camera cam = CameraWithViewport(600, 400);
    ZoomAll(cam, ImageSize{4000, 3000}, std::nullopt, {});
    EXPECT_EQ(cam.zoom, 0.25);  // 0.1333 fits
    cam.Refit();                // a resize refits without the limits
    EXPECT_EQ(cam.zoom, 0.13333333333333333);
    ZoomAll(cam, std::nullopt, ImageSize{4, 4}, {});
    EXPECT_EQ(std::tuple(cam.zoom, cam.fitWidth), std::tuple(32.0, 4.0));
    ZoomAll(cam, ImageSize{1000, 1000}, k800x600, {});  // a larger left image widens the fit
    EXPECT_EQ(std::tuple(cam.fitWidth, cam.fitHeight, cam.zoom, cam.target), std::tuple(1000.0, 1000.0, 0.4, Vec3{}));
}

TEST(ZoomAll, TwoImagesFitTheUnionOfTheRightImageAndTheTurnedLeftImage) {
    for (double rotation : {10.0, -10.0}) {
        Camera cam = CameraWithViewport(600, 400);
        ZoomAll(cam, k800x600, k800x600, {100, 50, rotation});
        // Left bounds x -346.0176 to 546.0176, y -414.9016 to 314.9016; the right image
        // adds x -400.
        const double c = std::cos(10 * kDegreesToRadians), s = std::sin(10 * kDegreesToRadians);
        EXPECT_NEAR(cam.fitWidth, 500 + 400 * c + 300 * s, 1e-9);
        EXPECT_NEAR(cam.fitHeight, 600 * c + 800 * s, 1e-9);
        EXPECT_EQ(cam.zoom, 0.5480929698869053);
        EXPECT_NEAR(cam.target.x, (100 + 400 * c + 300 * s - 400) / 2, 1e-9);
        EXPECT_NEAR(cam.target.y, -50.0, 1e-9);
    }
}

TEST(ZoomAll, WithoutImagesOrViewportOnlyTheLimitsApply) {
    Camera cam = CameraWithViewport(600, 400);
    ZoomAll(cam, std::nullopt, std::nullopt, {});
    EXPECT_EQ(std::tuple(cam.zoom, cam.distance), std::tuple(1.0, 1000.0));
    cam.SetTarget({1, 2, 3});
    for (auto [zoom, held] : {std::pair(40.0, 32.0), std::pair(0.1, 0.25)}) {
        cam.SetZoom(zoom);
        ZoomAll(cam, std::nullopt, std::nullopt, {});
        EXPECT_EQ(cam.zoom, held);
    }
    EXPECT_EQ(cam.target, (Vec3{1, 2, 3}));

    Camera unsized;  // before the first resize
    unsized.SetZoom(0.5);
    ZoomAll(unsized, k800x600, k800x600, {});
    EXPECT_EQ(std::tuple(unsized.zoom, unsized.distance, unsized.target), std::tuple(0.5, 1000.0, Vec3{}));
}

}  // namespace
}  // namespace bistrope
