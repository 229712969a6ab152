// The two preview textures: names, contents, parameters, the upload layout and the
// implementation's texture limit.
#include <gtest/gtest.h>

#include <vector>

#include "preview_test_support.h"
#include "view/win/main_image_view.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

using namespace preview_test;

namespace {

// A view on an implementation that reports a chosen texture limit.
class LimitedView : public cMainImageView {
public:
    LimitedView(FakeSlot& l, FakeSlot& r, FakeStatus& s, cRegData& settings, GLint limit)
        : cMainImageView(l, r, s, settings), limit(limit) {}
    GLint limit;

protected:
    GLint QueryImplementationTextureSize() override { return limit; }
};

GLint TextureWidth(GLuint name) {
    GLint width = -1;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width;
}

class TextureFixture : public ::testing::Test {
protected:
    FakeSlot left, right;
    FakeStatus status;
    HostWindow host;
    std::unique_ptr<cMainImageView> view;
    cRegData& settings = Settings();
    std::uint32_t savedMax = 0, savedHardware = 0;

    void SetUp() override {
        PrepareApp();
        savedMax = settings.maxTexSize;
        savedHardware = settings.hardwareMaxTexSize;
        ASSERT_TRUE(host.Open(202, 152));
    }
    void TearDown() override {
        view.reset();
        host.Destroy();
        settings.maxTexSize = savedMax;
        settings.hardwareMaxTexSize = savedHardware;
    }
    void Open(GLint limit = 0) {
        if (limit)
            view = std::make_unique<LimitedView>(left, right, status, settings, limit);
        else
            view = std::make_unique<cMainImageView>(left, right, status, settings);
        ASSERT_TRUE(view->Create(&host, 0, 0, 202, 152));
    }
};

TEST_F(TextureFixture, ImplementationLimitLowersALargerMaxTexSizeAtCreation) {
    settings.maxTexSize = 4096;
    Open(2048);
    EXPECT_EQ(settings.maxTexSize, 2048u);
    EXPECT_EQ(settings.hardwareMaxTexSize, 2048u);
}

TEST_F(TextureFixture, SmallerMaxTexSizeStaysAsItIs) {
    settings.maxTexSize = 1000;
    Open(2048);
    EXPECT_EQ(settings.maxTexSize, 1000u);
    EXPECT_EQ(settings.hardwareMaxTexSize, 2048u);
}

TEST_F(TextureFixture, NegativeMaxTexSizeIsHeldToTheImplementation) {
    settings.maxTexSize = static_cast<std::uint32_t>(-5);
    Open(8192);
    EXPECT_EQ(settings.maxTexSize, 8192u);
}

TEST_F(TextureFixture, RealImplementationLimitIsRecorded) {
    settings.maxTexSize = 0xFFFFFFFFu;
    Open();
    GLint real = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &real);
    ASSERT_GT(real, 0);
    EXPECT_EQ(settings.hardwareMaxTexSize, static_cast<std::uint32_t>(real));
    EXPECT_EQ(settings.maxTexSize, static_cast<std::uint32_t>(real));
}

TEST_F(TextureFixture, CreationMakesTwoEmptyNamesAndDestructionDeletesThem) {
    Open();
    const GLuint a = view->GetTexture(0), b = view->GetTexture(1);
    EXPECT_NE(a, 0u);
    EXPECT_NE(b, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(view->GetTexture(2), 0u);
    left.SetSolid(8, 8, 1, 2, 3);
    view->RebuildTextures();
    const GLuint filled = view->GetTexture(0);
    ASSERT_TRUE(glIsTexture(filled));
    view->Destroy();
    EXPECT_FALSE(glIsTexture(filled));
}

TEST_F(TextureFixture, LoadingOnlyTheLeftImageFillsOnlyTextureZero) {
    Open();
    left.SetSolid(300, 100, 10, 20, 30);
    left.preview = bistrope::ConvertedImage::Create(8, 4);
    view->RebuildTextures();
    EXPECT_EQ(TextureWidth(view->GetTexture(0)), 8);
    EXPECT_EQ(TextureWidth(view->GetTexture(1)), 0) << "the right name has no content";
    // The output rectangle is the left image's extent.
    EXPECT_EQ(view->GetOutputRect(), (bistrope::OutputRect{-150, -50, 150, 50}));
}

TEST_F(TextureFixture, RebuildReplacesBothNamesFillsBothAndRecomputesTheOutputRect) {
    Open();
    left.SetSolid(400, 300, 200, 0, 0, 16);
    right.SetSolid(400, 300, 0, 100, 100, 8);
    view->RebuildTextures();
    const GLuint oldLeft = view->GetTexture(0), oldRight = view->GetTexture(1);
    // The alignment changes without the rectangle being recomputed ...
    view->SetAlignment({30.0, -10.0, 0.0});
    view->RebuildTextures();
    const GLuint newLeft = view->GetTexture(0), newRight = view->GetTexture(1);
    EXPECT_NE(newLeft, oldLeft);
    EXPECT_NE(newLeft, oldRight);
    EXPECT_NE(newRight, oldLeft);
    EXPECT_NE(newRight, oldRight);
    EXPECT_FALSE(glIsTexture(oldLeft));
    EXPECT_FALSE(glIsTexture(oldRight));
    EXPECT_EQ(TextureWidth(newLeft), 16);
    EXPECT_EQ(TextureWidth(newRight), 8);
    // ... and the rebuild ends with it: x from 30 - 200 to 200, y from 10 - 150 to 150.
    EXPECT_EQ(view->GetOutputRect(), (bistrope::OutputRect{-170, -140, 200, 150}));
}

TEST_F(TextureFixture, ProgressIsReportedBeforeTheUploadsAndAfterTheLeftTexture) {
    Open();
    left.SetSolid(40, 40, 1, 1, 1, 8);
    right.SetSolid(40, 40, 2, 2, 2, 8);
    struct Seen {
        int percent;
        GLint leftWidth, rightWidth;
    };
    std::vector<Seen> seen;
    const GLuint before = view->GetTexture(0);
    view->RebuildTextures([&](int percent) {
        seen.push_back({percent, TextureWidth(view->GetTexture(0)), TextureWidth(view->GetTexture(1))});
    });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].percent, 50);
    EXPECT_EQ(view->GetTexture(0) != before, true);
    EXPECT_EQ(seen[0].leftWidth, 0) << "no texture work before 50";
    EXPECT_EQ(seen[1].percent, 100);
    EXPECT_EQ(seen[1].leftWidth, 8);
    EXPECT_EQ(seen[1].rightWidth, 0) << "100 comes before the right texture";
    EXPECT_EQ(TextureWidth(view->GetTexture(1)), 8);
}

TEST_F(TextureFixture, TextureFormatAndSamplingParameters) {
    Open();
    left.SetSolid(16, 16, 1, 2, 3);
    view->RebuildTextures();
    glBindTexture(GL_TEXTURE_2D, view->GetTexture(0));
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_DECAL);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    EXPECT_EQ(value, GL_RGB8);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 0) << "no mipmaps";
}

// Reads level 0 of a texture back as tightly packed blue-green-red rows.
std::vector<std::uint8_t> ReadTexture(GLuint name, int width, int height) {
    std::vector<std::uint8_t> out(std::size_t(width) * std::size_t(height) * 3, 0xEE);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, out.data());
    return out;
}

TEST_F(TextureFixture, TwoPixelWidePreviewIsUploadedWithItsRealRowLength) {
    Open();
    left.sourceWidth = 2;
    left.sourceHeight = 2;
    left.preview = bistrope::ConvertedImage::Create(2, 2);
    ASSERT_EQ(left.preview.stride(), 8u);  // 6 bytes of pixels, 2 of padding
    const std::uint8_t rows[2][6] = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    for (int y = 0; y < 2; ++y) {
        std::copy(rows[y], rows[y] + 6, left.preview.row(y));
        left.preview.row(y)[6] = 0xAA;  // padding that must not be read as pixels
        left.preview.row(y)[7] = 0xBB;
    }
    view->RebuildTextures();
    const auto texels = ReadTexture(view->GetTexture(0), 2, 2);
    const std::vector<std::uint8_t> expected{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(texels, expected);
}

TEST_F(TextureFixture, WidePreviewRowsArriveTopRowFirst) {
    Open();
    left.sourceWidth = 64;
    left.sourceHeight = 4;
    left.preview = bistrope::ConvertedImage::Create(64, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x) {
            std::uint8_t* p = left.preview.row(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y * 10);
            p[2] = static_cast<std::uint8_t>(x + y);
        }
    view->RebuildTextures();
    const auto texels = ReadTexture(view->GetTexture(0), 64, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint8_t* t = &texels[(std::size_t(y) * 64 + std::size_t(x)) * 3];
            ASSERT_EQ(t[0], x) << x << "," << y;
            ASSERT_EQ(t[1], y * 10) << x << "," << y;
            ASSERT_EQ(t[2], x + y) << x << "," << y;
        }
}

}  // namespace

namespace {

TEST_F(TextureFixture, CreationWritesTheStatusOfAnEmptyViewAndImageChangesPickTheMode) {
    Open();
    EXPECT_EQ(status.panes[1], L" Zoom: 100%");
    EXPECT_EQ(status.panes[2], L"  No output image");
    EXPECT_EQ(status.panes[3], L" offset: 0.00,0.00");
    EXPECT_EQ(status.panes[4], L" rotation: 0.00");
    EXPECT_EQ(status.panes[0], L"");
    EXPECT_EQ(view->GetInteractionMode(), bistrope::InteractionMode::None);

    right.SetSolid(400, 300, 0, 1, 1);
    view->RebuildTextures();
    view->OnImagesChanged();
    EXPECT_EQ(view->GetInteractionMode(), bistrope::InteractionMode::PanView);
    EXPECT_EQ(status.panes[0], L"Left click and drag to pan image");
    EXPECT_EQ(status.panes[2], L" Output image 400x300");

    left.SetSolid(400, 300, 1, 0, 0);
    view->SetAlignment({12.0, 3.0, 5.0});
    view->RebuildTextures();
    view->OnImagesChanged();
    EXPECT_EQ(view->GetInteractionMode(), bistrope::InteractionMode::PanLeft);
    EXPECT_EQ(view->GetAlignment().offsetX, 0.0);
    EXPECT_EQ(view->GetAlignment().offsetY, 0.0);
    EXPECT_EQ(view->GetAlignment().rotation, 0.0);
    EXPECT_EQ(status.panes[0], L"Left click and drag to pan left image");
    EXPECT_EQ(status.panes[3], L" offset: 0.00,0.00");
}

}  // namespace
