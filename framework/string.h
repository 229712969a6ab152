#pragma once
// TWIG4::String: an owned, null-terminated wide-character text.
//
// Conventions:
//   * The buffer is always present; a default String holds the empty text.
//   * Lengths and indices count wchar_t units (UTF-16 units on Windows, code points on
//     Linux). Where text is stored as bytes (the settings store) it is converted explicitly
//     to UTF-16 with ToUtf16 / FromUtf16, so both builds store the same bytes.
//   * Paths are Windows paths: the separator is the backslash only.
//   * Format is printf-style and gives the same text in both builds: %s (and %ls) take a
//     wide string, %hs and %S a narrow one, %c a wide character; integers, %f/%e/%g/%a
//     and %p follow C, with exact decimal rounding (%.0f of 2.5 is "2"). %n writes nothing.

#include <cstdarg>
#include <cstddef>
#include <string>

namespace TWIG4 {

class String {
public:
    String();
    String(const wchar_t* text);  // NOLINT: implicit on purpose, String s = L"..."
    String(const wchar_t* text, int count);
    String(const String& other);
    String(String&& other) noexcept;
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    String& operator=(const wchar_t* text);
    virtual ~String();

    // Replaces the text with a copy (a null text gives the empty text).
    void Assign(const wchar_t* text);
    void Assign(const String& other);

    // Replaces the text with the printf-style formatted text (see the conventions above).
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, std::va_list args);

    const wchar_t* GetBuffer() const { return buffer; }
    int Length() const;
    bool IsEmpty() const { return buffer[0] == L'\0'; }

    // Index of the first / last occurrence of c, or -1.
    int Find(wchar_t c) const;
    int ReverseFind(wchar_t c) const;

    // The first / last n characters; the whole text when n >= Length, empty when n <= 0.
    String Left(int n) const;
    String Right(int n) const;

    // The text before the last backslash (empty when there is none).
    String PathDirectory() const;
    // The text after the last backslash (the whole text when there is none).
    String PathFileName() const;
    // The text after the last dot of the file name; empty when the file name has no dot
    // (a dot in a folder name, as in C:\my.photos\left, is not an extension).
    String PathExtension() const;

    // Explicit encodings for storage and for narrow interfaces.
    std::u16string ToUtf16() const;
    static String FromUtf16(const char16_t* units, std::size_t count);  // stops at a null unit
    std::string ToUtf8() const;
    static String FromUtf8(const char* text);

    friend bool operator==(const String& a, const String& b);
    friend bool operator!=(const String& a, const String& b) { return !(a == b); }

private:
    wchar_t* buffer;
    void Replace(const wchar_t* text, std::size_t count);
};

}  // namespace TWIG4
