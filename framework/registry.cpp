#include "framework/registry.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "framework/registry_store.h"
#include "framework/unicode.h"

namespace TWIG4 {

namespace {

std::vector<unsigned char> Utf16Bytes(const std::u16string& units) {
    std::vector<unsigned char> bytes(units.size() * 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        bytes[2 * i] = static_cast<unsigned char>(units[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
    }
    return bytes;
}

// Copies text (null: empty) into buffer of capacity wide characters, cut and terminated.
void CopyCut(wchar_t* buffer, std::size_t capacity, const wchar_t* text) {
    if (!buffer || capacity == 0) return;
    std::size_t n = 0;
    if (text)
        while (n + 1 < capacity && text[n]) ++n;
    for (std::size_t i = 0; i < n; ++i) buffer[i] = text[i];
    buffer[n] = L'\0';
}

}  // namespace

Registry::Registry(const wchar_t* keyPath, Hive hive, const char* storeFile)
    : rootKey(hive), storeFile(storeFile ? storeFile : "") {
    CopyCut(rootPath, kMaxKeyPath + 1, keyPath);
}

Registry::~Registry() = default;

bool Registry::KeyPath(const wchar_t* subkey, std::wstring& path) const {
    path = rootPath;
    if (subkey && *subkey) {
        path += L'\\';
        path += subkey;
    }
    // Counted in UTF-16 units, as the registry counts.
    return WideToUtf16(path.c_str(), path.size()).size() <= static_cast<std::size_t>(kMaxKeyPath);
}

bool Registry::ReadDword(const wchar_t* subkey, const wchar_t* name, std::uint32_t& value, std::uint32_t def) {
    std::wstring path;
    std::vector<unsigned char> data;
    if (!KeyPath(subkey, path) || StoreQuery({rootKey, storeFile}, path, name, 4, data) != QueryResult::Ok) {
        value = def;
        return false;
    }
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < data.size() && i < 4; ++i) raw |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    value = raw;
    return true;
}

bool Registry::ReadDword(const wchar_t* subkey, const wchar_t* name, std::int32_t& value, std::int32_t def) {
    std::uint32_t raw = 0;
    const bool found = ReadDword(subkey, name, raw, static_cast<std::uint32_t>(def));
    value = static_cast<std::int32_t>(raw);
    return found;
}

bool Registry::WriteDword(const wchar_t* subkey, const wchar_t* name, std::uint32_t value) {
    std::wstring path;
    if (!KeyPath(subkey, path)) return false;
    const unsigned char bytes[4] = {static_cast<unsigned char>(value & 0xFF), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return StoreSet({rootKey, storeFile}, path, name, kTypeDword, bytes, 4);
}

bool Registry::WriteDword(const wchar_t* subkey, const wchar_t* name, std::int32_t value) {
    return WriteDword(subkey, name, static_cast<std::uint32_t>(value));
}

bool Registry::QueryText(const wchar_t* subkey, const wchar_t* name, unsigned maxBytes, std::u16string& units) {
    std::wstring path;
    std::vector<unsigned char> data;
    if (!KeyPath(subkey, path) || StoreQuery({rootKey, storeFile}, path, name, maxBytes, data) != QueryResult::Ok)
        return false;
    units.clear();
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {  // an odd last byte is no unit
        const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0) break;  // the text ends at a terminator stored by another program
        units.push_back(unit);
    }
    return true;
}

bool Registry::ReadText(const wchar_t* subkey, const wchar_t* name, wchar_t* buffer, unsigned capacityBytes,
                        const wchar_t* def) {
    const std::size_t capacity = capacityBytes / 2;  // wide characters in buffer
    std::u16string units;
    if (buffer && capacity > 0 && QueryText(subkey, name, capacityBytes, units)) {
        const std::wstring text = Utf16ToWide(units.data(), units.size());
        if (text.size() + 1 <= capacity) {
            CopyCut(buffer, capacity, text.c_str());
            return true;
        }
    }
    CopyCut(buffer, capacity, def);
    return false;
}

bool Registry::WriteText(const wchar_t* subkey, const wchar_t* name, const wchar_t* text) {
    std::wstring path;
    if (!KeyPath(subkey, path)) return false;
    const std::u16string units = WideToUtf16(text ? text : L"", text ? std::wcslen(text) : 0);
    const std::vector<unsigned char> bytes = Utf16Bytes(units);
    return StoreSet({rootKey, storeFile}, path, name, kTypeString, bytes.data(), bytes.size());
}

bool Registry::ReadBool(const wchar_t* subkey, const wchar_t* name, bool& flag, bool def) {
    std::uint32_t raw = 0;
    if (!ReadDword(subkey, name, raw, 0u)) {
        flag = def;
        return false;
    }
    flag = raw == 1;
    return true;
}

bool Registry::WriteBool(const wchar_t* subkey, const wchar_t* name, bool flag) {
    return WriteDword(subkey, name, flag ? 1u : 0u);
}

bool Registry::ReadFloat(const wchar_t* subkey, const wchar_t* name, float& value, float def) {
    std::u16string units;
    if (!QueryText(subkey, name, kReadBufferBytes, units)) {
        value = def;
        return false;
    }
    const std::wstring text = Utf16ToWide(units.data(), units.size());
    const double number = ParseLeadingNumber(text.c_str());
    const float narrowed = static_cast<float>(number);
    value = std::isfinite(narrowed) ? narrowed : 0.0f;
    return true;
}

bool Registry::WriteFloat(const wchar_t* subkey, const wchar_t* name, float value) {
    const std::string text = FormatStoredFloat(value);
    const std::wstring wide(text.begin(), text.end());
    return WriteText(subkey, name, wide.c_str());
}

bool Registry::ReadString(const wchar_t* subkey, const wchar_t* name, String& value, const wchar_t* def) {
    std::u16string units;
    if (!QueryText(subkey, name, kReadBufferBytes, units)) {
        value.Assign(def);
        return false;
    }
    value = String::FromUtf16(units.data(), units.size());
    return true;
}

bool Registry::WriteString(const wchar_t* subkey, const wchar_t* name, const String& value) {
    return WriteText(subkey, name, value.GetBuffer());
}

StoreBatch::StoreBatch(const Registry& registry)
    : open(StoreBeginBatch({registry.GetHive(), registry.GetStoreFile()})) {}

StoreBatch::~StoreBatch() {
    if (open) StoreEndBatch();
}

bool StoreBatch::Commit() { return open ? StoreCommitBatch() : true; }

std::string FormatStoredFloat(float value) {
    char text[512];  // "%.8f" of the largest float needs 48 characters
    const int n = std::snprintf(text, sizeof text, "%.8f", static_cast<double>(value));
    if (n < 0) return "0.00000000";
    std::string out(text, static_cast<std::size_t>(n) < sizeof text ? static_cast<std::size_t>(n) : sizeof text - 1);
    const char point = std::localeconv()->decimal_point[0];
    if (point != '.' && point != '\0')
        for (char& c : out)
            if (c == point) c = '.';
    return out;
}

double ParseLeadingNumber(const wchar_t* text) {
    if (!text) return 0.0;
    const wchar_t* p = text;
    while (*p == L' ' || *p == L'\t' || *p == L'\n' || *p == L'\r' || *p == L'\v' || *p == L'\f') ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') negative = *p++ == L'-';

    std::string digits;  // the number without its sign, in ASCII
    std::size_t mantissaDigits = 0;
    while (*p >= L'0' && *p <= L'9') digits.push_back(static_cast<char>(*p++)), ++mantissaDigits;
    if (*p == L'.') {
        digits.push_back('.');
        ++p;
        while (*p >= L'0' && *p <= L'9') digits.push_back(static_cast<char>(*p++)), ++mantissaDigits;
    }
    if (mantissaDigits == 0) return 0.0;
    if (*p == L'e' || *p == L'E') {
        const wchar_t* q = p + 1;
        std::string exponent = "e";
        if (*q == L'+' || *q == L'-') exponent.push_back(static_cast<char>(*q++));
        if (*q >= L'0' && *q <= L'9') {
            while (*q >= L'0' && *q <= L'9') exponent.push_back(static_cast<char>(*q++));
            digits += exponent;
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc()) value = 0.0;  // beyond the range of a double
    return negative ? -value : value;
}

}  // namespace TWIG4
