// TIFF decoding with libtiff's RGBA interface (every photometric variant libtiff knows),
// the first directory only, read from memory.
#include <cstring>
#include <mutex>

#include <tiffio.h>

#include "engine/exif.h"
#include "engine/native/native_decoders.h"

namespace bistrope::detail {
namespace {

struct TiffReader {
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t pos;
    bool hitEnd;
};

tmsize_t OnRead(thandle_t h, void* data, tmsize_t n) {
    auto* r = static_cast<TiffReader*>(h);
    if (n < 0) return -1;
    std::size_t want = std::size_t(n);
    if (r->pos >= r->size) {
        r->hitEnd = true;
        return 0;
    }
    if (want > r->size - r->pos) {
        want = r->size - r->pos;
        r->hitEnd = true;
    }
    std::memcpy(data, r->bytes + r->pos, want);
    r->pos += want;
    return tmsize_t(want);
}
tmsize_t OnWrite(thandle_t, void*, tmsize_t) { return -1; }
toff_t OnSeek(thandle_t h, toff_t off, int whence) {
    auto* r = static_cast<TiffReader*>(h);
    std::uint64_t base = whence == SEEK_CUR ? r->pos : whence == SEEK_END ? r->size : 0;
    const std::uint64_t to = base + off;
    r->pos = std::size_t(to > r->size ? r->size : to);
    return to;
}
int OnClose(thandle_t) { return 0; }
toff_t OnSize(thandle_t h) { return static_cast<TiffReader*>(h)->size; }
int OnMap(thandle_t, void**, toff_t*) { return 0; }
void OnUnmap(thandle_t, void*, toff_t) {}

int SilentHandler(TIFF*, void*, const char*, const char*, va_list) { return 1; }

Status Damaged(const TiffReader& r) {
    if (r.hitEnd) return Truncated();
    return Status::Error(ErrorCode::Corrupt, "the TIFF data is damaged or uses a variant that cannot be read");
}

}  // namespace

Status DecodeTiff(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, SourceImage& out) {
    TiffReader reader{bytes, size, 0, false};
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return OutOfMemory(0, 0);
    TIFFOpenOptionsSetErrorHandlerExtR(options, SilentHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, SilentHandler, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(limits.maxPixels) * 4 + 4096);
    TIFF* tif = TIFFClientOpenExt("memory", "rm", &reader, OnRead, OnWrite, OnSeek, OnClose, OnSize, OnMap, OnUnmap,
                                  options);
    TIFFOpenOptionsFree(options);
    if (!tif) return Damaged(reader);
    std::uint32_t w = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    Status st = AllocateSource(w, h, limits, out);
    char why[1024] = {};
    if (st.ok() && !TIFFRGBAImageOK(tif, why)) st = Status::Error(ErrorCode::Unsupported, std::string("this TIFF variant is not supported (") + why + ")");
    if (st.ok()) {
        // libtiff packs R, G, B, A from the lowest byte up; the buffer is exactly w*h*4 bytes.
        auto* raster = reinterpret_cast<std::uint32_t*>(out.data());
        // The rows in stored order: asking for the orientation the file gives keeps libtiff
        // from flipping them (it would flip, but not transpose), and decode.cpp turns the
        // image by the same value (exif.h's reading, which libtiff agrees with for every
        // well-formed tag).
        if (!TIFFReadRGBAImageOriented(tif, w, h, raster, ReadTiffOrientation(bytes, size), 0)) {
            st = Damaged(reader);
        } else {
            std::uint8_t* p = out.data();
            for (std::size_t i = 0, n = std::size_t(w) * h; i < n; ++i, p += 4) std::swap(p[0], p[2]);
        }
    }
    TIFFClose(tif);
    return st;
}

}  // namespace bistrope::detail
