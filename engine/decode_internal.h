#pragma once
// Between the portable file handling of decode.cpp and the format decoders. A decoder
// gets the whole file in memory and returns a Status whose message is only the reason
// ("the file is truncated"); decode.cpp puts the file's name in front.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/decode.h"

namespace bistrope::detail {

// Where a row-by-row decoder puts its rows.
class RowSink {
public:
    virtual ~RowSink() = default;
    // Asked once with the declared size by a decoder that can decode at 1/2, 1/4 or 1/8
    // scale (JPEG): the divisor wanted, 1 for full size.
    virtual int Reduction(std::int64_t /*width*/, std::int64_t /*height*/) { return 1; }
    // Called once with the size decoded (the declared one unless reduced), before any
    // row; allocates what the sink needs.
    virtual Status Begin(std::int64_t width, std::int64_t height, const DecodeLimits& limits) = 0;
    // A buffer for BGRA row y (4 * width bytes), filled by the decoder, then Commit(y).
    virtual std::uint8_t* Row(std::int32_t y) = 0;
    virtual void Commit(std::int32_t y) = 0;
    // A sink may also take opaque rows of BGR (3 * width bytes): when TakesBgr(), a decoder
    // that only makes opaque pixels may fill BgrRow(y) and call CommitBgr(y) instead.
    virtual bool TakesBgr() const { return false; }
    virtual std::uint8_t* BgrRow(std::int32_t) { return nullptr; }
    virtual void CommitBgr(std::int32_t) {}
};

// True when the platform decodes this format row by row (DecodePlatformRows).
bool CanDecodeRows(ImageFormat format);
Status DecodePlatformRows(const std::uint8_t* bytes, std::size_t size, ImageFormat format, const DecodeLimits& limits,
                          RowSink& sink);

// Decodes with the platform's decoders (libraries natively, GDI+ on Windows).
Status DecodePlatform(const std::filesystem::path& path, const std::uint8_t* bytes, std::size_t size,
                      ImageFormat format, const DecodeLimits& limits, SourceImage& out);

// JPEG with libjpeg-turbo (both builds), whole or row by row.
Status DecodeJpeg(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, SourceImage& out);
Status DecodeJpegRows(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, RowSink& sink);

// The engine's own BMP reader (used by the native build).
Status DecodeBmp(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, SourceImage& out);

// Reasons shared by the decoders.
inline Status Truncated() { return Status::Error(ErrorCode::Truncated, "the file is truncated"); }
inline Status OutOfMemory(std::int64_t w, std::int64_t h) {
    return Status::Error(ErrorCode::OutOfMemory, "not enough memory for " + std::to_string(w) + " x " +
                                                     std::to_string(h) + " pixels");
}
Status TooLarge(std::int64_t width, std::int64_t height, const DecodeLimits& limits);

// Allocates out for a declared size, or says why not.
Status AllocateSource(std::int64_t width, std::int64_t height, const DecodeLimits& limits, SourceImage& out);

}  // namespace bistrope::detail
