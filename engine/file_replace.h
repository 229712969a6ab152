#pragma once
// Writing a file so that its target is replaced only by a complete copy: the bytes go to
// a new temporary file in the same folder, which is flushed, closed and renamed over the
// target. Messages are reasons only ("the folder does not exist"); callers name the file.

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "engine/status.h"

namespace bistrope::detail {

Status ReplaceFileContents(const std::filesystem::path& target, const std::uint8_t* data, std::size_t size);

}  // namespace bistrope::detail
