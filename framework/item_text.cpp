#include "framework/item_text.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <cwctype>

namespace TWIG4 {

std::wstring FormatItemInt(int value) {
    char buffer[kItemTextBufferSize];
    const int length = std::snprintf(buffer, sizeof(buffer), "%d", value);
    return std::wstring(buffer, buffer + (length > 0 ? length : 0));
}

bool FormatItemDouble(double value, int decimals, std::wstring& text) {
    if (decimals < 0) decimals = 0;
    if (decimals > 50) decimals = 50;
    // std::to_chars is locale independent, unlike printf.
    char buffer[kItemTextBufferSize];
    const auto result = std::to_chars(buffer, buffer + kItemTextBufferSize - 1, value, std::chars_format::fixed,
                                      decimals);
    if (result.ec != std::errc()) return false;
    text.assign(buffer, result.ptr);
    return true;
}

namespace {

// Copies the leading run of characters a number can be made of into `out` (ASCII only),
// after skipping white space and a '+'. Returns the length copied.
size_t LeadingNumberChars(const wchar_t* text, char* out, size_t capacity) {
    if (!text) return 0;
    while (*text && std::iswspace(static_cast<wint_t>(*text))) ++text;
    size_t n = 0;
    if (*text == L'+') {
        ++text;
    } else if (*text == L'-') {
        out[n++] = '-';
        ++text;
    }
    while (*text && n + 1 < capacity) {
        const wchar_t c = *text;
        const bool numberChar = (c >= L'0' && c <= L'9') || c == L'.' || c == L'e' || c == L'E' || c == L'+' ||
                                c == L'-';
        if (!numberChar) break;
        out[n++] = static_cast<char>(c);
        ++text;
    }
    out[n] = '\0';
    return n;
}

}  // namespace

int ParseLeadingInt(const wchar_t* text) {
    if (!text) return 0;
    while (*text && std::iswspace(static_cast<wint_t>(*text))) ++text;
    bool negative = false;
    if (*text == L'+' || *text == L'-') {
        negative = *text == L'-';
        ++text;
    }
    long long value = 0;
    while (*text >= L'0' && *text <= L'9') {
        value = value * 10 + (*text - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
        ++text;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double ParseLeadingDouble(const wchar_t* text) {
    char buffer[512];
    const size_t length = LeadingNumberChars(text, buffer, sizeof(buffer));
    if (length == 0) return 0.0;
    double value = 0.0;
    // from_chars takes the longest valid prefix, so "1.5e" reads 1.5 and "12abc" reads 12.
    const auto result = std::from_chars(buffer, buffer + length, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument) return 0.0;
    return value;
}

}  // namespace TWIG4
