// GIF decoding with giflib: the first frame, drawn onto the logical screen; pixels the
// frame does not cover and the transparent colour are transparent black.
#include <cstring>
#include <vector>

#include <gif_lib.h>

#include "engine/native/native_decoders.h"

namespace bistrope::detail {
namespace {

struct GifReader {
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t pos;
    bool hitEnd;
};

int OnGifRead(GifFileType* gif, GifByteType* data, int length) {
    auto* r = static_cast<GifReader*>(gif->UserData);
    std::size_t n = std::size_t(length < 0 ? 0 : length);
    if (n > r->size - r->pos) {
        n = r->size - r->pos;
        r->hitEnd = true;
    }
    std::memcpy(data, r->bytes + r->pos, n);
    r->pos += n;
    return int(n);
}

Status GifFailure(const GifReader& r, int code) {
    if (r.hitEnd || code == D_GIF_ERR_READ_FAILED || code == D_GIF_ERR_EOF_TOO_SOON) return Truncated();
    const char* text = GifErrorString(code);
    return Status::Error(ErrorCode::Corrupt, std::string("the GIF data is damaged (") + (text ? text : "?") + ")");
}

Status Decode(GifFileType* gif, GifReader& reader, const DecodeLimits& limits, SourceImage& out) {
    int transparent = -1;
    while (true) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return GifFailure(reader, gif->Error);
        if (type == TERMINATE_RECORD_TYPE) return Status::Error(ErrorCode::Corrupt, "the GIF file holds no image");
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) return GifFailure(reader, gif->Error);
            bool first = true;
            while (ext) {
                if (first && code == GRAPHICS_EXT_FUNC_CODE && ext[0] >= 4) {
                    GraphicsControlBlock gcb;
                    if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
                }
                first = false;
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) return GifFailure(reader, gif->Error);
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR) return GifFailure(reader, gif->Error);
        const GifImageDesc& d = gif->Image;
        std::int64_t screenW = gif->SWidth, screenH = gif->SHeight;
        if (screenW <= 0 || screenH <= 0) {
            screenW = std::int64_t(d.Left) + d.Width;
            screenH = std::int64_t(d.Top) + d.Height;
        }
        if (d.Width <= 0 || d.Height <= 0) return Status::Error(ErrorCode::Corrupt, "the GIF frame has no pixels");
        if (!limits.Allows(d.Width, d.Height)) return TooLarge(d.Width, d.Height, limits);
        Status st = AllocateSource(screenW, screenH, limits, out);
        if (!st.ok()) return st;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        if (!map) return Status::Error(ErrorCode::Corrupt, "the GIF file has no colour table");
        std::vector<GifPixelType> line(std::size_t(d.Width));
        // Interlaced frames store rows in four passes.
        static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        std::vector<int> order;
        order.reserve(std::size_t(d.Height));
        if (d.Interlace) {
            for (int p = 0; p < 4; ++p)
                for (int y = kStart[p]; y < d.Height; y += kStep[p]) order.push_back(y);
        } else {
            for (int y = 0; y < d.Height; ++y) order.push_back(y);
        }
        for (int fy : order) {
            if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR) return GifFailure(reader, gif->Error);
            const std::int64_t y = std::int64_t(d.Top) + fy;
            if (y < 0 || y >= out.height()) continue;
            std::uint8_t* row = out.row(std::int32_t(y));
            for (int fx = 0; fx < d.Width; ++fx) {
                const std::int64_t x = std::int64_t(d.Left) + fx;
                if (x < 0 || x >= out.width()) continue;
                const int index = line[std::size_t(fx)];
                if (index == transparent || index >= map->ColorCount) continue;
                const GifColorType& c = map->Colors[index];
                std::uint8_t* px = row + x * 4;
                px[0] = c.Blue;
                px[1] = c.Green;
                px[2] = c.Red;
                px[3] = 255;
            }
        }
        return Status::Ok();
    }
}

}  // namespace

Status DecodeGif(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, SourceImage& out) {
    GifReader reader{bytes, size, 0, false};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, OnGifRead, &error);
    if (!gif) return GifFailure(reader, error);
    const Status st = Decode(gif, reader, limits, out);
    DGifCloseFile(gif, &error);
    return st;
}

}  // namespace bistrope::detail
