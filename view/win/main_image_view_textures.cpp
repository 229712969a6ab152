// The two preview textures of the stereo view.
#include <algorithm>
#include <vector>

#include "engine/parallel.h"
#include "view/texture_limit.h"
#include "view/win/main_image_view.h"

#ifndef GL_BGRA_EXT
#define GL_BGRA_EXT 0x80E1
#endif
#ifndef GL_UNSIGNED_INT_8_8_8_8_REV
#define GL_UNSIGNED_INT_8_8_8_8_REV 0x8367
#endif

using namespace bistrope;

GLint cMainImageView::QueryImplementationTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

void cMainImageView::UploadPreview(const ConvertedImage& preview) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    // Opaque BGRA rows as 8-8-8-8-reversed words are the texel layout Mesa keeps, so they go
    // in without a per-texel conversion: a 4096 x 4096 preview took 270 ms as BGR bytes and
    // 120-220 ms as BGRA bytes under Wine, 80-90 ms this way. They are widened a band at a
    // time, so the extra memory stays about 8 MB. Alpha is 255, so GL_DECAL still shows the
    // texture's colour as it is. A band is widened on all cores.
    const std::int32_t width = preview.width(), height = preview.height();
    const std::size_t row = std::size_t(width) * 4;
    const std::int32_t band = std::int32_t(std::clamp<std::size_t>((std::size_t(8) << 20) / row, 1, std::size_t(height)));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA_EXT, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    std::vector<std::uint8_t> rows(row * std::size_t(band));
    for (std::int32_t y0 = 0; y0 < height; y0 += band) {
        const std::int32_t n = std::min(band, height - y0);
        ParallelRows(
            n,
            [&](std::int32_t a, std::int32_t b) {
                for (std::int32_t y = a; y < b; ++y)
                    WidenRowToBgra(preview.row(y0 + y), width, rows.data() + row * std::size_t(y));
            },
            width);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y0, width, n, GL_BGRA_EXT, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
    }
}

void cMainImageView::RebuildTextures(const ProgressFn& progress) {
    Report(progress, 50);
    // New names first, then the old ones go: the two new names are then certainly
    // different from the ones they replace.
    GLuint fresh[2] = {0, 0};
    glGenTextures(2, fresh);
    glDeleteTextures(2, textures);
    textures[0] = fresh[0];
    textures[1] = fresh[1];

    UploadEye(Eye::Left);
    Report(progress, 100);
    UploadEye(Eye::Right);
}

void cMainImageView::UploadEye(Eye eye) {
    if (const ConvertedImage* preview = document.Preview(eye)) {
        glBindTexture(GL_TEXTURE_2D, textures[eye == Eye::Left ? 0 : 1]);
        UploadPreview(*preview);
    }
}
