#pragma once
// Explicit conversions between wchar_t text (UTF-16 on Windows, UTF-32 on Linux), UTF-16
// and UTF-8. Malformed input (a lone surrogate, a bad UTF-8 sequence) becomes U+FFFD.

#include <cstddef>
#include <string>

namespace TWIG4 {

std::u16string WideToUtf16(const wchar_t* text, std::size_t count);
std::wstring Utf16ToWide(const char16_t* units, std::size_t count);
std::string WideToUtf8(const wchar_t* text, std::size_t count);
std::wstring Utf8ToWide(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& units);
std::u16string Utf8ToUtf16(const std::string& text);

// True when units is well-formed UTF-16 (every surrogate paired).
bool IsWellFormedUtf16(const std::u16string& units);

}  // namespace TWIG4
