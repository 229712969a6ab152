// The live preview read back from OpenGL: where each eye lands, which channels it writes,
// the left image's offset and rotation, the output frame and suspended drawing.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/convert.h"
#include "preview_test_support.h"
#include "view/win/main_image_view.h"

using namespace preview_test;
using bistrope::Alignment;

namespace {

const Rgb kBackground{254, 252, 242};
const Rgb kBlack{0, 0, 0};
const Rgb kYellow{255, 255, 0};

// A view of a given client size over two fake slots. The viewport is the client area less
// one pixel on every side; after Frame(zoom) the alignment frame's origin sits at the
// viewport's centre with `zoom` pixels per unit.
class RenderFixture : public ::testing::Test {
protected:
    FakeSlot left, right;
    FakeStatus status;
    HostWindow host;
    std::unique_ptr<cMainImageView> view;
    int width = 402, height = 302;

    void SetUp() override { PrepareApp(); }
    void TearDown() override {
        view.reset();
        host.Destroy();
    }

    void Open(int w, int h) {
        width = w;
        height = h;
        ASSERT_TRUE(host.Open(w, h));
        view = std::make_unique<cMainImageView>(left, right, status, Settings());
        ASSERT_TRUE(view->Create(&host, 0, 0, w, h));
    }

    // Textures, image change (which fits the view), then the camera the test wants.
    void Load(double zoom, TWIG4::Vec3 target = {0, 0, 0}) {
        view->RebuildTextures();
        view->OnImagesChanged();
        view->SetZoom(zoom);
        view->SetTarget(target);
    }

    FrontBuffer Draw() {
        EXPECT_TRUE(view->Render());
        FrontBuffer fb;
        fb.Read(*view, width, height);
        return fb;
    }

    // OpenGL window pixel of an alignment-frame point (target at the origin).
    int Gx(double x, double zoom) const { return static_cast<int>(std::floor(1 + (width - 2) / 2.0 + x * zoom)); }
    int Gy(double y, double zoom) const { return static_cast<int>(std::floor(1 + (height - 2) / 2.0 + y * zoom)); }
};

#define EXPECT_RGB(actual, expected, tolerance) \
    EXPECT_TRUE(Near(actual, expected, tolerance)) << ToString(actual) << " expected " << ToString(expected)

TEST_F(RenderFixture, LeftImageOnlyIsRedOnBlackInsideItsAreaWithTheFrameAroundIt) {
    // Preview rows 0-31 red 240, rows 32-63 red 90: the top of the image must be the bright one.
    left.SetSolid(200, 150, 240, 10, 20);
    left.PaintRed(0, 32, 64, 64, 90);
    Open(402, 302);
    Load(1.0);
    const FrontBuffer fb = Draw();

    // The image covers x 101..300 and y 76..225 (OpenGL rows grow upwards).
    EXPECT_RGB(fb.At(200, 215), (Rgb{240, 0, 0}), 2);  // near the top: texture row 0
    EXPECT_RGB(fb.At(150, 86), (Rgb{90, 0, 0}), 2);    // near the bottom: texture row 3
    EXPECT_RGB(fb.At(250, 200), (Rgb{240, 0, 0}), 2);
    // Around it the background, and the one-pixel black border of the viewport.
    EXPECT_RGB(fb.At(50, 150), kBackground, 1);
    EXPECT_RGB(fb.At(350, 250), kBackground, 1);
    EXPECT_RGB(fb.At(200, 30), kBackground, 1);
    EXPECT_RGB(fb.At(0, 150), kBlack, 0);
    EXPECT_RGB(fb.At(401, 150), kBlack, 0);
    EXPECT_RGB(fb.At(200, 0), kBlack, 0);
    EXPECT_RGB(fb.At(200, 301), kBlack, 0);

    // The frame around (-100, -75, 100, 75): along the left edge (x = 101) only black and
    // yellow pixels, in dashes of both.
    int yellow = 0, black = 0;
    for (int y = 90; y < 210; ++y) {
        const Rgb c = fb.At(101, y);
        if (Near(c, kYellow, 2)) {
            ++yellow;
        } else if (Near(c, kBlack, 2)) {
            ++black;
        } else {
            ADD_FAILURE() << "frame pixel at y " << y << " is " << ToString(c);
        }
    }
    EXPECT_GT(yellow, 40);
    EXPECT_GT(black, 40);
    // Top edge (y = 225.. at the top of the rectangle) carries the frame too.
    int topFrame = 0;
    for (int x = 120; x < 280; ++x)
        if (Near(fb.At(x, 226), kYellow, 2) || Near(fb.At(x, 226), kBlack, 2)) ++topFrame;
    EXPECT_EQ(topFrame, 160);
    // The frame is three pixels wide: not at five pixels from the edge.
    EXPECT_GT(fb.At(106, 150).r, 80);  // inside: the image's red
    EXPECT_EQ(fb.At(106, 150).g, 0);
    EXPECT_RGB(fb.At(96, 150), kBackground, 1);
}

// Both images for every blending mode: red from the left preview, green and blue from the
// right one. The left image is shifted 100 units right, so there are three zones.
TEST_F(RenderFixture, RedComesFromTheLeftTextureGreenAndBlueFromTheRightInEveryMode) {
    Open(402, 302);
    bistrope::SourceImage leftSource = bistrope::SourceImage::Create(200, 150);
    bistrope::SourceImage rightSource = bistrope::SourceImage::Create(200, 150);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            std::uint8_t* l = leftSource.row(y) + 4 * x;
            l[0] = 50, l[1] = 100, l[2] = 200, l[3] = 255;
            std::uint8_t* r = rightSource.row(y) + 4 * x;
            r[0] = 220, r[1] = 150, r[2] = 30, r[3] = 255;
        }
    // The custom matrices: the left eye writes its red light into red and green.
    bistrope::CustomMatrices custom{bistrope::FullColourMatrix(bistrope::Eye::Left),
                                    bistrope::FullColourMatrix(bistrope::Eye::Right)};
    custom.left.at(0, 1) = 1.0f;

    for (unsigned mode = 1; mode <= 5; ++mode) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        bistrope::ConversionParams lp{mode, bistrope::Eye::Left, custom};
        bistrope::ConversionParams rp{mode, bistrope::Eye::Right, custom};
        ASSERT_TRUE(bistrope::MakePreviewImage(leftSource, lp, 4096, left.preview).ok());
        ASSERT_TRUE(bistrope::MakePreviewImage(rightSource, rp, 4096, right.preview).ok());
        left.sourceWidth = right.sourceWidth = 200;
        left.sourceHeight = right.sourceHeight = 150;
        const std::uint8_t* lp0 = left.preview.row(10) + 30;
        const std::uint8_t* rp0 = right.preview.row(10) + 30;
        const Rgb leftColour{lp0[2], lp0[1], lp0[0]}, rightColour{rp0[2], rp0[1], rp0[0]};
        if (mode == 5) {
            ASSERT_GT(leftColour.g, 150) << "the custom left matrix writes green";
        }

        Load(1.0);
        view->SetAlignment({100.0, 0.0, 0.0});
        view->UpdateOutputRect();
        const FrontBuffer fb = Draw();
        // Right only: x -100..0; both: 0..100; left only: 100..200 (clipped at 199).
        EXPECT_RGB(fb.At(Gx(-50, 1), Gy(20, 1)), (Rgb{0, rightColour.g, rightColour.b}), 2);
        EXPECT_RGB(fb.At(Gx(50, 1), Gy(-20, 1)), (Rgb{leftColour.r, rightColour.g, rightColour.b}), 2);
        EXPECT_RGB(fb.At(Gx(150, 1), Gy(30, 1)), (Rgb{leftColour.r, 0, 0}), 2);
    }
}

TEST_F(RenderFixture, OffsetAndTenDegreesTurnTheLeftImageClockwiseAboutItsCentre) {
    left.SetSolid(200, 100, 200, 0, 0);
    Open(402, 302);
    Load(1.0);
    view->SetAlignment({50.0, 0.0, 10.0});
    const FrontBuffer fb = Draw();
    // Points near the ends of the image, 5 units beyond its unrotated top and bottom edges:
    // turned clockwise, the right end dips and the left end rises. Each point lies at least
    // 9 units inside or 18 units outside the turned image.
    const Rgb red{200, 0, 0};
    EXPECT_RGB(fb.At(Gx(50 + 80, 1), Gy(-55, 1)), red, 2);
    EXPECT_RGB(fb.At(Gx(50 - 80, 1), Gy(55, 1)), red, 2);
    EXPECT_RGB(fb.At(Gx(50 - 80, 1), Gy(-55, 1)), kBackground, 1);
    EXPECT_RGB(fb.At(Gx(50 + 80, 1), Gy(55, 1)), kBackground, 1);
    // The centre moved 50 units right: left of x = -50 + 10 nothing red on the axis.
    EXPECT_RGB(fb.At(Gx(-60, 1), Gy(0, 1)), kBackground, 1);
    EXPECT_RGB(fb.At(Gx(140, 1), Gy(0, 1)), red, 2);
}

TEST_F(RenderFixture, NoFrameForAnEmptyOutputRectangle) {
    // Two 300 x 100 images at rotation 20 leave no inscribed rectangle.
    left.SetSolid(300, 100, 200, 0, 0);
    right.SetSolid(300, 100, 0, 100, 100);
    Open(402, 302);
    Load(1.0);
    auto countYellow = [&](const FrontBuffer& fb) {
        int n = 0;
        for (int y = 1; y < height - 1; ++y)
            for (int x = 1; x < width - 1; ++x)
                if (Near(fb.At(x, y), kYellow, 30)) ++n;
        return n;
    };
    EXPECT_GT(countYellow(Draw()), 100) << "the frame shows without rotation";
    view->SetAlignment({0.0, 0.0, 20.0});
    view->UpdateOutputRect();
    ASSERT_TRUE(view->GetOutputRect().IsEmpty());
    EXPECT_EQ(countYellow(Draw()), 0);
}

TEST_F(RenderFixture, NothingIsDrawnWhileSuspended) {
    left.SetSolid(200, 150, 200, 0, 0);
    Open(402, 302);
    Load(1.0);
    FrontBuffer before = Draw();
    EXPECT_RGB(before.At(201, 151), (Rgb{200, 0, 0}), 2);

    view->SuspendDrawing();
    EXPECT_FALSE(view->IsDrawingEnabled());
    view->SetAlignment({1000.0, 0.0, 0.0});  // the image would leave the window
    EXPECT_FALSE(view->Render());
    // A paint request leaves the old content too.
    view->Invalidate(nullptr, FALSE);
    view->Update();
    FrontBuffer during;
    during.Read(*view, width, height);
    EXPECT_RGB(during.At(201, 151), (Rgb{200, 0, 0}), 2);

    view->ResumeDrawing();
    EXPECT_TRUE(view->IsDrawingEnabled());
    const FrontBuffer after = Draw();
    EXPECT_RGB(after.At(201, 151), kBackground, 1);
}

TEST_F(RenderFixture, OddImageIsDrawnOnAnEvenQuadWithTheTextureStretchedOverIt) {
    // 801 x 601 left image over a small right one (the output frame then lies far from the
    // left image's edges). The preview's top-right quarter is marked.
    left.SetSolid(801, 601, 100, 0, 0);
    left.PaintRed(32, 0, 64, 32, 250);
    right.SetSolid(101, 101, 0, 80, 80);
    Open(402, 302);
    // The image's pixels: the silhouette leaves green and blue at 0, unlike the background.
    auto isImage = [](Rgb c) { return c.g == 0 && c.b == 0 && c.r > 0; };
    // Zoom 4 around the top-right corner (400, 300) of an 800 x 600 quad (an 801-unit quad
    // would reach two pixels further).
    Load(4.0, {400, 300, 0});
    const FrontBuffer fb = Draw();
    EXPECT_TRUE(isImage(fb.At(200, 150))) << ToString(fb.At(200, 150));
    EXPECT_RGB(fb.At(201, 150), kBackground, 1);
    EXPECT_RGB(fb.At(200, 151), kBackground, 1);
    EXPECT_RGB(fb.At(202, 140), kBackground, 1);
    // The texture is stretched over the whole quad: its top-right texel shows at that
    // corner, 40 pixels (10 units, 0.8 texels) inside.
    EXPECT_RGB(fb.At(160, 110), (Rgb{250, 0, 0}), 2);
    // The bottom-left corner by the same rule, with the unmarked texels.
    Load(4.0, {-400, -300, 0});
    const FrontBuffer bl = Draw();
    EXPECT_TRUE(isImage(bl.At(201, 151))) << ToString(bl.At(201, 151));
    EXPECT_RGB(bl.At(200, 151), kBackground, 1);
    EXPECT_RGB(bl.At(201, 150), kBackground, 1);
    EXPECT_RGB(bl.At(241, 191), (Rgb{100, 0, 0}), 2);
}

TEST_F(RenderFixture, RenderWithoutAnyImageShowsOnlyTheBackground) {
    Open(402, 302);
    view->RebuildTextures();
    const FrontBuffer fb = Draw();
    EXPECT_RGB(fb.At(201, 151), kBackground, 1);
    EXPECT_RGB(fb.At(5, 5), kBackground, 1);
    EXPECT_RGB(fb.At(0, 0), kBlack, 0);
    EXPECT_TRUE(view->GetOutputRect().IsEmpty());
}

}  // namespace
