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

// Decodes with the platform's decoders (libraries natively, GDI+ on Windows).
Status DecodePlatform(const std::filesystem::path& path, const std::uint8_t* bytes, std::size_t size,
                      ImageFormat format, const DecodeLimits& limits, SourceImage& out);

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
