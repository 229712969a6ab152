// Decoding with GDI+ (no colour management) for every format but JPEG: raster files through
// GdipCreateBitmapFromFile and a 32-bit ARGB lock, EMF through GdipLoadImageFromFile and
// a draw into a transparent bitmap of its size (GdipCreateBitmapFromFile refuses
// metafiles under Wine). Bytes without a file (DecodeImageBytes) go through an IStream.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include "engine/decode_internal.h"
#include "engine/win/gdiplus_session.h"

namespace bistrope::detail {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

Status Failure(ImageFormat format, GpStatus st) {
    switch (st) {
        case FileNotFound: return Status::Error(ErrorCode::NotFound, "the file does not exist");
        case Win32Error: return Status::Error(ErrorCode::ReadFailed, "the file cannot be read");
        case UnknownImageFormat:
            return Status::Error(ErrorCode::Unsupported, std::string("this ") + ImageFormatName(format) + " variant is not supported");
        default:
            // GDI+ reports damaged data as OutOfMemory, InvalidParameter or GenericError.
            return Status::Error(ErrorCode::Corrupt, std::string("the ") + ImageFormatName(format) +
                                                         " data is damaged or uses a variant that cannot be read (GDI+ status " +
                                                         std::to_string(int(st)) + ")");
    }
}

struct ImageHandle {
    GpImage* image = nullptr;
    ~ImageHandle() {
        if (image) GdipDisposeImage(image);
    }
};

Status DecodeMetafile(const std::filesystem::path& path, const DecodeLimits& limits, SourceImage& out) {
    ImageHandle picture;
    GpStatus st = GdipLoadImageFromFile(path.c_str(), &picture.image);
    if (st != Ok) return Failure(ImageFormat::Emf, st);
    UINT w = 0, h = 0;
    GdipGetImageWidth(picture.image, &w);
    GdipGetImageHeight(picture.image, &h);
    Status s = AllocateSource(w, h, limits, out);
    if (!s.ok()) return s;
    // GDI+ draws straight into the engine's buffer through a bitmap over it.
    GpBitmap* target = nullptr;
    st = GdipCreateBitmapFromScan0(INT(w), INT(h), INT(out.stride()), PixelFormat32bppARGB, out.data(), &target);
    if (st != Ok) return Failure(ImageFormat::Emf, st);
    GpGraphics* g = nullptr;
    st = GdipGetImageGraphicsContext(target, &g);
    if (st == Ok) {
        GdipSetSmoothingMode(g, SmoothingModeHighQuality);
        st = GdipDrawImageRectI(g, picture.image, 0, 0, INT(w), INT(h));
        GdipDeleteGraphics(g);
    }
    GdipDisposeImage(target);
    if (st != Ok) return Failure(ImageFormat::Emf, st);
    return Status::Ok();
}

// A read-only stream over a copy of bytes in memory, released with the object.
struct MemoryStream {
    IStream* stream = nullptr;
    MemoryStream(const std::uint8_t* bytes, std::size_t size) {
        if (!bytes) return;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        if (!memory) return;
        if (void* p = GlobalLock(memory)) {
            std::memcpy(p, bytes, size);
            GlobalUnlock(memory);
            if (CreateStreamOnHGlobal(memory, TRUE, &stream) == S_OK) return;
        }
        stream = nullptr;
        GlobalFree(memory);
    }
    ~MemoryStream() {
        if (stream) stream->Release();
    }
};

Status DecodeRaster(const std::filesystem::path& path, const std::uint8_t* bytes, std::size_t size,
                    ImageFormat format, const DecodeLimits& limits, SourceImage& out) {
    GpBitmap* bitmap = nullptr;
    MemoryStream memory(path.empty() ? bytes : nullptr, path.empty() ? size : 0);
    if (path.empty() && !memory.stream) return OutOfMemory(0, 0);
    // The stream must outlive the bitmap: declared before the bitmap's owner.
    GpStatus st = path.empty() ? GdipCreateBitmapFromStream(memory.stream, &bitmap)
                               : GdipCreateBitmapFromFile(path.c_str(), &bitmap);
    if (st != Ok || !bitmap) return Failure(format, st);
    ImageHandle owner;
    owner.image = bitmap;
    UINT w = 0, h = 0;
    GdipGetImageWidth(bitmap, &w);
    GdipGetImageHeight(bitmap, &h);
    Status s = AllocateSource(w, h, limits, out);
    if (!s.ok()) return s;
    BitmapData data{};
    GpRect rect(0, 0, INT(w), INT(h));
    st = GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead, PixelFormat32bppARGB, &data);
    if (st != Ok) return Failure(format, st);
    // 32-bit ARGB is stored as blue, green, red, alpha: the engine's layout.
    for (UINT y = 0; y < h; ++y)
        std::memcpy(out.row(INT(y)), static_cast<const std::uint8_t*>(data.Scan0) + std::ptrdiff_t(y) * data.Stride,
                    std::size_t(w) * 4);
    GdipBitmapUnlockBits(bitmap, &data);
    return Status::Ok();
}

}  // namespace

// JPEG goes to libjpeg-turbo, as in the native build; GDI+ reads the other formats.
bool CanDecodeRows(ImageFormat format) { return format == ImageFormat::Jpeg; }

Status DecodePlatformRows(const std::uint8_t* bytes, std::size_t size, ImageFormat format, const DecodeLimits& limits,
                          RowSink& sink) {
    if (format == ImageFormat::Jpeg) return DecodeJpegRows(bytes, size, limits, sink);
    return Status::Error(ErrorCode::Unsupported, "no row decoder for this format");
}

bool EnsureGdiplus() {
    static const bool started = [] {
        GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return GdiplusStartup(&token, &input, nullptr) == Ok;
    }();
    return started;
}

Status DecodePlatform(const std::filesystem::path& path, const std::uint8_t* bytes, std::size_t size,
                      ImageFormat format, const DecodeLimits& limits, SourceImage& out) {
    if (format == ImageFormat::Jpeg) return DecodeJpeg(bytes, size, limits, out);
    if (!EnsureGdiplus()) return Status::Error(ErrorCode::Unsupported, "the image library (GDI+) cannot be started");
    if (format == ImageFormat::Emf) return DecodeMetafile(path, limits, out);
    return DecodeRaster(path, bytes, size, format, limits, out);
}

}  // namespace bistrope::detail
