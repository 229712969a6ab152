#include "framework/string.h"

#include <cwchar>
#include <utility>

#include "framework/format.h"
#include "framework/unicode.h"

namespace TWIG4 {

namespace {

wchar_t* NewBuffer(const wchar_t* text, std::size_t count) {
    wchar_t* buffer = new wchar_t[count + 1];
    if (count) std::wmemcpy(buffer, text, count);
    buffer[count] = L'\0';
    return buffer;
}

std::size_t TextLength(const wchar_t* text) { return text ? std::wcslen(text) : 0; }

}  // namespace

String::String() : buffer(NewBuffer(nullptr, 0)) {}
String::String(const wchar_t* text) : buffer(NewBuffer(text, TextLength(text))) {}
String::String(const wchar_t* text, int count)
    : buffer(NewBuffer(text, text && count > 0 ? static_cast<std::size_t>(count) : 0)) {}
String::String(const String& other) : buffer(NewBuffer(other.buffer, TextLength(other.buffer))) {}
String::String(String&& other) noexcept : buffer(other.buffer) { other.buffer = NewBuffer(nullptr, 0); }

String& String::operator=(const String& other) {
    Assign(other);
    return *this;
}

String& String::operator=(String&& other) noexcept {
    std::swap(buffer, other.buffer);
    return *this;
}

String& String::operator=(const wchar_t* text) {
    Assign(text);
    return *this;
}

String::~String() { delete[] buffer; }

void String::Replace(const wchar_t* text, std::size_t count) {
    wchar_t* fresh = NewBuffer(text, count);  // first copy: text may point into buffer
    delete[] buffer;
    buffer = fresh;
}

void String::Assign(const wchar_t* text) { Replace(text, TextLength(text)); }
void String::Assign(const String& other) {
    if (&other != this) Replace(other.buffer, TextLength(other.buffer));
}

int String::Length() const { return static_cast<int>(std::wcslen(buffer)); }

int String::Find(wchar_t c) const {
    for (int i = 0; buffer[i]; ++i)
        if (buffer[i] == c) return i;
    return -1;
}

int String::ReverseFind(wchar_t c) const {
    int found = -1;
    for (int i = 0; buffer[i]; ++i)
        if (buffer[i] == c) found = i;
    return found;
}

String String::Left(int n) const {
    const int length = Length();
    if (n >= length) return *this;
    return String(buffer, n);
}

String String::Right(int n) const {
    const int length = Length();
    if (n >= length) return *this;
    if (n <= 0) return String();
    return String(buffer + (length - n), n);
}

String String::PathDirectory() const {
    const int slash = ReverseFind(L'\\');
    return slash < 0 ? String() : String(buffer, slash);
}

String String::PathFileName() const {
    const int slash = ReverseFind(L'\\');
    return slash < 0 ? *this : String(buffer + slash + 1);
}

String String::PathExtension() const {
    const int dot = ReverseFind(L'.');
    if (dot < 0 || dot < ReverseFind(L'\\')) return String();
    return String(buffer + dot + 1);
}

std::u16string String::ToUtf16() const { return WideToUtf16(buffer, TextLength(buffer)); }

String String::FromUtf16(const char16_t* units, std::size_t count) {
    std::size_t used = 0;
    while (units && used < count && units[used] != 0) ++used;
    const std::wstring wide = Utf16ToWide(units, used);
    return String(wide.c_str(), static_cast<int>(wide.size()));
}

std::string String::ToUtf8() const { return WideToUtf8(buffer, TextLength(buffer)); }

String String::FromUtf8(const char* text) {
    const std::wstring wide = Utf8ToWide(text ? text : "");
    return String(wide.c_str(), static_cast<int>(wide.size()));
}

bool operator==(const String& a, const String& b) { return std::wcscmp(a.buffer, b.buffer) == 0; }

void String::Format(const wchar_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void String::FormatV(const wchar_t* format, std::va_list args) {
    const std::wstring text = FormatWide(format, args);
    Replace(text.c_str(), text.size());  // exactly the needed length plus the terminator
}

}  // namespace TWIG4
