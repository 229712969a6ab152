#pragma once
// Shortening a path to a width for the slot's caption: the middle of the path gives way to
// an ellipsis so that the start (drive, first folders) and the file name stay readable.

#include <cstdint>
#include <functional>
#include <string>

namespace bistrope {

// Width of a text in pixels (the caption's font); widths grow with the text.
using TextMeasure = std::function<std::int32_t(const std::wstring& text)>;

constexpr const wchar_t* kEllipsis = L"...";

// `path` itself when it fits `maxWidth`. Otherwise, with T the path from its last backslash
// on (the file name with the backslash before it), the longest start S of the path before
// that backslash such that S + "..." + T fits. When even "..." + T is too wide, that text
// is cut at its end instead: the longest start of it followed by "..." that fits (the file
// name itself then loses its end). A path without a backslash is cut at its end only.
// The result is empty only when not even "..." fits.
[[nodiscard]] std::wstring ShortenPathMiddle(const std::wstring& path, std::int32_t maxWidth,
                                             const TextMeasure& measure);

}  // namespace bistrope
