#include "framework/format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "framework/unicode.h"

namespace TWIG4 {

namespace {

enum class Length { None, Char, Short, Long, LongLong, IntMax, Size, PtrDiff, LongDouble, Int32, Int64 };

// Runs snprintf with a narrow conversion spec and one value; appends the result widened.
template <typename V>
void AppendNumber(std::wstring& out, const std::string& spec, V value) {
    char small[128];
    int needed = std::snprintf(small, sizeof small, spec.c_str(), value);
    if (needed < 0) return;
    if (static_cast<std::size_t>(needed) < sizeof small) {
        for (int i = 0; i < needed; ++i) out.push_back(static_cast<unsigned char>(small[i]));
        return;
    }
    std::string large(static_cast<std::size_t>(needed) + 1, '\0');
    std::snprintf(&large[0], large.size(), spec.c_str(), value);
    for (int i = 0; i < needed; ++i) out.push_back(static_cast<unsigned char>(large[static_cast<std::size_t>(i)]));
}

// Pads text to width with spaces, on the left unless leftAlign.
void AppendPadded(std::wstring& out, const std::wstring& text, int width, bool leftAlign) {
    const std::size_t pad = width > 0 && static_cast<std::size_t>(width) > text.size()
                                ? static_cast<std::size_t>(width) - text.size()
                                : 0;
    if (!leftAlign) out.append(pad, L' ');
    out += text;
    if (leftAlign) out.append(pad, L' ');
}

}  // namespace

std::wstring FormatWide(const wchar_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::wstring text = FormatWide(format, args);
    va_end(args);
    return text;
}

std::wstring FormatWide(const wchar_t* format, std::va_list args) {
    std::wstring out;
    if (!format) return out;
    std::va_list ap;
    va_copy(ap, args);

    for (const wchar_t* p = format; *p;) {
        if (*p != L'%') {
            out.push_back(*p++);
            continue;
        }
        const wchar_t* start = p++;
        if (*p == L'%') {
            out.push_back(L'%');
            ++p;
            continue;
        }

        // Flags.
        std::string flags;
        bool leftAlign = false;
        while (*p && std::wcschr(L"-+ #0", *p)) {
            if (*p == L'-') leftAlign = true;
            if (flags.find(static_cast<char>(*p)) == std::string::npos) flags.push_back(static_cast<char>(*p));
            ++p;
        }
        // Width.
        int width = -1;
        if (*p == L'*') {
            width = va_arg(ap, int);
            if (width < 0) {
                leftAlign = true;
                if (flags.find('-') == std::string::npos) flags.push_back('-');
                width = width == INT32_MIN ? 0 : -width;
            }
            ++p;
        } else if (*p >= L'0' && *p <= L'9') {
            width = 0;
            while (*p >= L'0' && *p <= L'9') {
                if (width < 100000) width = width * 10 + (*p - L'0');
                ++p;
            }
        }
        // Precision.
        int precision = -1;
        if (*p == L'.') {
            ++p;
            precision = 0;
            if (*p == L'*') {
                precision = va_arg(ap, int);
                ++p;
            } else {
                while (*p >= L'0' && *p <= L'9') {
                    if (precision < 100000) precision = precision * 10 + (*p - L'0');
                    ++p;
                }
            }
        }
        // Length modifier.
        Length length = Length::None;
        bool narrowText = false, wideText = false;
        switch (*p) {
            case L'h':
                ++p;
                if (*p == L'h') ++p, length = Length::Char;
                else length = Length::Short;
                narrowText = true;
                break;
            case L'l':
                ++p;
                if (*p == L'l') ++p, length = Length::LongLong;
                else length = Length::Long;
                wideText = true;
                break;
            case L'w': ++p, wideText = true; break;
            case L'L': ++p, length = Length::LongDouble; break;
            case L'j': ++p, length = Length::IntMax; break;
            case L'z': ++p, length = Length::Size; break;
            case L't': ++p, length = Length::PtrDiff; break;
            case L'q': ++p, length = Length::LongLong; break;
            case L'I':
                if (p[1] == L'6' && p[2] == L'4') p += 3, length = Length::Int64;
                else if (p[1] == L'3' && p[2] == L'2') p += 3, length = Length::Int32;
                else ++p, length = Length::Size;
                break;
            default: break;
        }

        const wchar_t conversion = *p;
        if (!conversion) {  // a lone '%' spec at the end: copy it
            out.append(start, p);
            break;
        }
        ++p;

        std::string spec = "%" + flags;
        if (width >= 0) spec += std::to_string(width);
        if (precision >= 0) spec += "." + std::to_string(precision);

        switch (conversion) {
            case L'd':
            case L'i': {
                long long v;
                switch (length) {
                    case Length::Char: v = static_cast<signed char>(va_arg(ap, int)); break;
                    case Length::Short: v = static_cast<short>(va_arg(ap, int)); break;
                    case Length::Long: v = va_arg(ap, long); break;
                    case Length::LongLong: v = va_arg(ap, long long); break;
                    case Length::IntMax: v = static_cast<long long>(va_arg(ap, std::intmax_t)); break;
                    case Length::Size: v = static_cast<long long>(va_arg(ap, std::ptrdiff_t)); break;
                    case Length::PtrDiff: v = static_cast<long long>(va_arg(ap, std::ptrdiff_t)); break;
                    case Length::Int64: v = static_cast<long long>(va_arg(ap, std::int64_t)); break;
                    case Length::Int32: v = static_cast<std::int32_t>(va_arg(ap, int)); break;
                    default: v = va_arg(ap, int); break;
                }
                AppendNumber(out, spec + "lld", v);
                break;
            }
            case L'u':
            case L'o':
            case L'x':
            case L'X': {
                unsigned long long v;
                switch (length) {
                    case Length::Char: v = static_cast<unsigned char>(va_arg(ap, unsigned)); break;
                    case Length::Short: v = static_cast<unsigned short>(va_arg(ap, unsigned)); break;
                    case Length::Long: v = va_arg(ap, unsigned long); break;
                    case Length::LongLong: v = va_arg(ap, unsigned long long); break;
                    case Length::IntMax: v = static_cast<unsigned long long>(va_arg(ap, std::uintmax_t)); break;
                    case Length::Size: v = static_cast<unsigned long long>(va_arg(ap, std::size_t)); break;
                    case Length::PtrDiff: v = static_cast<unsigned long long>(va_arg(ap, std::size_t)); break;
                    case Length::Int64: v = static_cast<unsigned long long>(va_arg(ap, std::uint64_t)); break;
                    case Length::Int32: v = static_cast<std::uint32_t>(va_arg(ap, unsigned)); break;
                    default: v = va_arg(ap, unsigned); break;
                }
                AppendNumber(out, spec + "ll" + static_cast<char>(conversion), v);
                break;
            }
            case L'f':
            case L'F':
            case L'e':
            case L'E':
            case L'g':
            case L'G':
            case L'a':
            case L'A': {
                if (length == Length::LongDouble) {
                    // Formatted as double: long double printing differs between the C libraries.
                    const double v = static_cast<double>(va_arg(ap, long double));
                    AppendNumber(out, spec + static_cast<char>(conversion), v);
                } else {
                    AppendNumber(out, spec + static_cast<char>(conversion), va_arg(ap, double));
                }
                break;
            }
            case L'p': AppendNumber(out, spec + "p", va_arg(ap, void*)); break;
            case L's':
            case L'S': {
                std::wstring text;
                const bool narrow = narrowText || (conversion == L'S' && !wideText);
                if (narrow) {
                    const char* s = va_arg(ap, const char*);
                    if (!s) s = "(null)";
                    std::size_t n = 0;
                    while (s[n] && (precision < 0 || n < static_cast<std::size_t>(precision))) ++n;
                    text = Utf8ToWide(std::string(s, n));
                } else {
                    const wchar_t* s = va_arg(ap, const wchar_t*);
                    if (!s) s = L"(null)";
                    std::size_t n = 0;
                    while (s[n] && (precision < 0 || n < static_cast<std::size_t>(precision))) ++n;
                    text.assign(s, n);
                }
                AppendPadded(out, text, width, leftAlign);
                break;
            }
            case L'c':
            case L'C': {
                const bool narrow = narrowText || (conversion == L'C' && !wideText);
                const int c = va_arg(ap, int);
                std::wstring text(1, narrow ? static_cast<wchar_t>(static_cast<unsigned char>(c))
                                            : static_cast<wchar_t>(c));
                AppendPadded(out, text, width, leftAlign);
                break;
            }
            case L'n': (void)va_arg(ap, void*); break;
            default: out.append(start, p); break;  // unknown: copied as written
        }
    }
    va_end(ap);
    return out;
}

}  // namespace TWIG4
