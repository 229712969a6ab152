// The two preview textures of the stereo view.
#include <vector>

#include "view/texture_limit.h"
#include "view/win/main_image_view.h"

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
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
    // Rows are padded to 4 bytes; the unpack alignment that reproduces the real row length
    // is 1 for every width of 4 or more and 4 for a 2-pixel-wide preview.
    const int alignment = UnpackAlignmentFor(preview.width(), preview.stride(), ConvertedImage::kBytesPerPixel);
    if (alignment != 0) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, preview.width(), preview.height(), 0, GL_BGR_EXT,
                     GL_UNSIGNED_BYTE, preview.data());
    } else {
        // A layout no alignment describes: hand over tightly packed rows.
        const std::size_t row = std::size_t(preview.width()) * ConvertedImage::kBytesPerPixel;
        std::vector<std::uint8_t> packed(row * std::size_t(preview.height()));
        for (std::int32_t y = 0; y < preview.height(); ++y)
            std::copy_n(preview.row(y), row, packed.data() + row * std::size_t(y));
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, preview.width(), preview.height(), 0, GL_BGR_EXT,
                     GL_UNSIGNED_BYTE, packed.data());
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

    if (const ConvertedImage* left = document.Preview(Eye::Left)) {
        glBindTexture(GL_TEXTURE_2D, textures[0]);
        UploadPreview(*left);
    }
    Report(progress, 100);
    if (const ConvertedImage* right = document.Preview(Eye::Right)) {
        glBindTexture(GL_TEXTURE_2D, textures[1]);
        UploadPreview(*right);
    }
}
