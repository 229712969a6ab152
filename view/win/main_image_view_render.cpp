// One frame of the live anaglyph preview.
#include "framework/win/dc.h"
#include "view/preview_geometry.h"
#include "view/win/main_image_view.h"

using namespace bistrope;

void cMainImageView::DrawImageQuad(std::int32_t sourceWidth, std::int32_t sourceHeight, double depth) {
    const HalfSize half = ImageHalfSize(sourceWidth, sourceHeight);
    if (!QuadVisible(half)) return;
    glBegin(GL_QUADS);
    for (const QuadVertex& v : MakeImageQuad(half, depth)) {
        glTexCoord2d(v.s, v.t);
        glVertex3d(v.x, v.y, v.z);
    }
    glEnd();
}

void cMainImageView::DrawOutputFrame() const {
    const auto segments = OutputFrameSegments(document.GetOutputRect());
    if (!segments) return;
    auto drawSegments = [&] {
        glBegin(GL_LINES);
        for (const FrameSegment& s : *segments) {
            glVertex3d(s.x0, s.y0, kFrameDepth);
            glVertex3d(s.x1, s.y1, kFrameDepth);
        }
        glEnd();
    };
    glDisable(GL_TEXTURE_2D);
    glLineWidth(kFrameLineWidth);
    glColor3d(0.0, 0.0, 0.0);
    drawSegments();
    glColor3d(1.0, 1.0, 0.0);
    glLineStipple(kFrameStippleFactor, kFrameStipplePattern);
    glEnable(GL_LINE_STIPPLE);
    drawSegments();
    glDisable(GL_LINE_STIPPLE);
}

bool cMainImageView::Render(TWIG4::DC* dc) {
    if (!drawEnabled) return false;
    // Without a DC the frame goes to the window's own DC, which the OpenGL base holds from
    // the context's creation on.
    const HDC target = dc ? dc->GetHandle() : nullptr;

    glMatrixMode(GL_MODELVIEW);
    (void)BeginFrame(target);

    glPolygonMode(GL_FRONT, GL_FILL);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    // An eye is drawn only while it has a preview (and hence a texture).
    const ImageSize none{-1, -1};
    const ImageSize left = document.PreviewedSize(Eye::Left).value_or(none);
    const ImageSize right = document.PreviewedSize(Eye::Right).value_or(none);
    const std::int32_t wL = left.width, hL = left.height, wR = right.width, hR = right.height;
    const auto leftTransform = LeftImageTransform(document.GetAlignment()).ToColumnOrder();

    // Silhouettes: both image areas black, so each eye's channels start from zero.
    glColor3d(0.0, 0.0, 0.0);
    glPushMatrix();
    glMultMatrixd(leftTransform.data());
    DrawImageQuad(wL, hL, kLeftQuadDepth);
    glPopMatrix();
    DrawImageQuad(wR, hR, kRightQuadDepth);

    // Left eye into red (and alpha). The colour is clamped to white; with GL_DECAL the
    // texture's colour is taken as it is.
    glColor3d(255.0, 255.0, 255.0);
    glEnable(GL_TEXTURE_2D);
    glColorMask(GL_TRUE, GL_FALSE, GL_FALSE, GL_TRUE);
    glPushMatrix();
    glMultMatrixd(leftTransform.data());
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    DrawImageQuad(wL, hL, kLeftQuadDepth);
    glPopMatrix();

    // Right eye into green and blue.
    glColorMask(GL_FALSE, GL_TRUE, GL_TRUE, GL_FALSE);
    glBindTexture(GL_TEXTURE_2D, textures[1]);
    DrawImageQuad(wR, hR, kRightQuadDepth);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    DrawOutputFrame();

    (void)Present(target);
    glFinish();
    return true;
}
