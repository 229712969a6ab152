#pragma once
// The native build's format decoders (see engine/decode_internal.h for the contract).

#include "engine/decode_internal.h"

namespace bistrope::detail {

Status DecodePng(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, SourceImage& out);
Status DecodeGif(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, SourceImage& out);
Status DecodeTiff(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits, SourceImage& out);

}  // namespace bistrope::detail
