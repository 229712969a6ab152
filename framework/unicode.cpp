#include "framework/unicode.h"

namespace TWIG4 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Code points of UTF-16 units; lone surrogates become U+FFFD.
std::u32string DecodeUtf16(const char16_t* units, std::size_t count) {
    std::u32string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t u = units[i];
        if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
            out.push_back(0x10000 + ((u - 0xD800) << 10) + (static_cast<char32_t>(units[i + 1]) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            out.push_back(kReplacement);
        } else {
            out.push_back(u);
        }
    }
    return out;
}

void EncodeUtf16(char32_t c, std::u16string& out) {
    if (c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) c = kReplacement;
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

std::u32string WideToCodePoints(const wchar_t* text, std::size_t count) {
    if (sizeof(wchar_t) == 2) {
        std::u16string units(count, u'\0');
        for (std::size_t i = 0; i < count; ++i) units[i] = static_cast<char16_t>(text[i]);
        return DecodeUtf16(units.data(), units.size());
    }
    std::u32string out(count, U'\0');
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<char32_t>(text[i]);
    return out;
}

std::wstring CodePointsToWide(const std::u32string& points) {
    std::wstring out;
    if (sizeof(wchar_t) == 2) {
        std::u16string units;
        for (char32_t c : points) EncodeUtf16(c, units);
        out.assign(units.begin(), units.end());
    } else {
        for (char32_t c : points) {
            if (c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) c = kReplacement;
            out.push_back(static_cast<wchar_t>(c));
        }
    }
    return out;
}

std::string EncodeUtf8(const std::u32string& points) {
    std::string out;
    for (char32_t c : points) {
        if (c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) c = kReplacement;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u32string DecodeUtf8(const std::string& text) {
    std::u32string out;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t c = 0, min = 0;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, c = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, c = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, c = b & 0x07, min = 0x10000;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= n || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80) break;
            c = (c << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
        }
        if (j - i != static_cast<std::size_t>(extra) + 1 || c < min || c > 0x10FFFF || IsHighSurrogate(c) ||
            IsLowSurrogate(c)) {
            out.push_back(kReplacement);
            i = j;  // resynchronise after the bad part (j > i always)
            continue;
        }
        out.push_back(c);
        i = j;
    }
    return out;
}

}  // namespace

std::u16string WideToUtf16(const wchar_t* text, std::size_t count) {
    std::u16string out;
    for (char32_t c : WideToCodePoints(text, count)) EncodeUtf16(c, out);
    return out;
}

std::wstring Utf16ToWide(const char16_t* units, std::size_t count) {
    return CodePointsToWide(DecodeUtf16(units, count));
}

std::string WideToUtf8(const wchar_t* text, std::size_t count) { return EncodeUtf8(WideToCodePoints(text, count)); }

std::wstring Utf8ToWide(const std::string& text) { return CodePointsToWide(DecodeUtf8(text)); }

std::string Utf16ToUtf8(const std::u16string& units) { return EncodeUtf8(DecodeUtf16(units.data(), units.size())); }

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    for (char32_t c : DecodeUtf8(text)) EncodeUtf16(c, out);
    return out;
}

bool IsWellFormedUtf16(const std::u16string& units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (IsHighSurrogate(units[i])) {
            if (i + 1 >= units.size() || !IsLowSurrogate(units[i + 1])) return false;
            ++i;
        } else if (IsLowSurrogate(units[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace TWIG4
