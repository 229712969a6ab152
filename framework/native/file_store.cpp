#include "framework/native/file_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "framework/unicode.h"

namespace TWIG4 {

namespace {

constexpr std::size_t kMaxFileBytes = 64u << 20;  // a larger file is read only this far
const char kHeader[] = "; Bistrope settings store 1\n";

struct HiveName {
    Hive hive;
    const char* name;
};
const HiveName kHives[] = {{Hive::CurrentUser, "HKEY_CURRENT_USER"}, {Hive::LocalMachine, "HKEY_LOCAL_MACHINE"}};

char16_t FoldCase(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameName(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

bool HasControl(const std::u16string& units) {
    for (char16_t u : units)
        if (u < 0x20 || u == 0x7F) return true;
    return false;
}

bool SameAscii(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

std::u16string UnitsOf(const std::vector<unsigned char>& data) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return units;
}

std::vector<unsigned char> BytesOf(const std::u16string& units) {
    std::vector<unsigned char> data;
    for (char16_t u : units) {
        data.push_back(static_cast<unsigned char>(u & 0xFF));
        data.push_back(static_cast<unsigned char>(u >> 8));
    }
    return data;
}

// UTF-8 text of units for a quoted field, or false when units cannot be shown as text.
bool Quote(const std::u16string& units, std::string& out) {
    if (HasControl(units) || !IsWellFormedUtf16(units)) return false;
    out = "\"";
    for (char c : Utf16ToUtf8(units)) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return true;
}

// Reads a quoted field at line[pos] (which is '"'); on success pos is past the closing quote.
bool Unquote(const std::string& line, std::size_t& pos, std::string& text) {
    if (pos >= line.size() || line[pos] != '"') return false;
    text.clear();
    for (std::size_t i = pos + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            pos = i + 1;
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= line.size() || (line[i + 1] != '\\' && line[i + 1] != '"')) return false;
            text.push_back(line[++i]);
        } else {
            text.push_back(c);
        }
    }
    return false;  // no closing quote: the line was cut
}

// UTF-16 of UTF-8 text; valid is cleared when the text was not clean UTF-8.
std::u16string DecodeField(const std::string& text, bool& valid) {
    std::u16string units = Utf8ToUtf16(text);
    if (Utf16ToUtf8(units) != text) valid = false;
    return units;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseHexBytes(const std::string& text, std::vector<unsigned char>& data) {
    data.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        if (i + 2 > text.size()) return false;
        const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        data.push_back(static_cast<unsigned char>(hi * 16 + lo));
        i += 2;
        if (i == text.size()) break;
        if (text[i] != ',') return false;
        ++i;
        if (i == text.size()) return false;  // a trailing comma: cut short
    }
    return true;
}

// The value part of a line (after '='), or false when it is malformed.
bool ParseData(const std::string& text, std::uint32_t& type, std::vector<unsigned char>& data, bool& clean) {
    if (!text.empty() && text[0] == '"') {
        std::size_t pos = 0;
        std::string field;
        if (!Unquote(text, pos, field) || pos != text.size()) return false;
        type = 1;
        data = BytesOf(DecodeField(field, clean));
        return true;
    }
    if (text.compare(0, 6, "dword:") == 0) {
        if (text.size() != 14) return false;
        std::uint32_t v = 0;
        for (std::size_t i = 6; i < 14; ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0) return false;
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        type = 4;
        data = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v >> 16),
                static_cast<unsigned char>(v >> 24)};
        return true;
    }
    if (text.compare(0, 4, "hex(") == 0) {
        const std::size_t close = text.find("):", 4);
        if (close == std::string::npos || close == 4 || close > 12) return false;
        std::uint32_t t = 0;
        for (std::size_t i = 4; i < close; ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0) return false;
            t = t * 16 + static_cast<std::uint32_t>(d);
        }
        type = t;
        return ParseHexBytes(text.substr(close + 2), data);
    }
    return false;
}

}  // namespace

std::string FileStore::DefaultPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return std::string(xdg) + "/bistrope/settings.store";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config/bistrope/settings.store";
    return "settings.store";
}

bool FileStore::NormaliseKeyPath(std::u16string& keyPath) {
    if (!keyPath.empty() && keyPath.back() == u'\\') keyPath.pop_back();
    if (keyPath.empty() || HasControl(keyPath) || !IsWellFormedUtf16(keyPath)) return false;
    // "a\\" has an empty last component even once its trailing backslash is dropped.
    if (keyPath.front() == u'\\' || keyPath.back() == u'\\' || keyPath.find(u"\\\\") != std::u16string::npos)
        return false;
    return true;
}

const StoredKey* FileStore::FindKey(Hive hive, const std::u16string& keyPath) const {
    std::u16string wanted = keyPath;
    if (!NormaliseKeyPath(wanted)) return nullptr;
    for (const StoredKey& key : keys)
        if (key.hive == hive && SameName(key.path, wanted)) return &key;
    return nullptr;
}

const StoredValue* FileStore::FindValue(Hive hive, const std::u16string& keyPath, const std::u16string& name) const {
    const StoredKey* key = FindKey(hive, keyPath);
    if (!key) return nullptr;
    for (const StoredValue& value : key->values)
        if (SameName(value.name, name)) return &value;
    return nullptr;
}

bool FileStore::SetValue(Hive hive, const std::u16string& keyPath, const std::u16string& name, std::uint32_t type,
                         const unsigned char* data, std::size_t size) {
    std::u16string path = keyPath;
    if (!NormaliseKeyPath(path) || HasControl(name) || !IsWellFormedUtf16(name)) return false;
    StoredKey* key = const_cast<StoredKey*>(FindKey(hive, path));
    if (!key) {
        keys.push_back(StoredKey{hive, path, {}});
        key = &keys.back();
    }
    StoredValue* value = nullptr;
    for (StoredValue& v : key->values)
        if (SameName(v.name, name)) value = &v;
    if (!value) {
        key->values.push_back(StoredValue{name, 0, {}});
        value = &key->values.back();
    }
    value->type = type;
    value->data.assign(data, data + size);
    return true;
}

std::string FileStore::Serialize() const {
    std::string out = kHeader;
    for (const StoredKey& key : keys) {
        const char* hiveName = key.hive == Hive::LocalMachine ? kHives[1].name : kHives[0].name;
        out += "\n[";
        out += hiveName;
        out += "\\";
        out += Utf16ToUtf8(key.path);
        out += "]\n";
        for (const StoredValue& value : key.values) {
            std::string line;
            if (!Quote(value.name, line)) continue;  // SetValue never stores such a name
            line += "=";
            std::string text;
            if (value.type == 4 && value.data.size() == 4) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "dword:%08x",
                              static_cast<unsigned>(value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                                    (static_cast<unsigned>(value.data[3]) << 24)));
                line += hex;
            } else if (value.type == 1 && value.data.size() % 2 == 0 && Quote(UnitsOf(value.data), text)) {
                line += text;
            } else {
                char head[24];
                std::snprintf(head, sizeof head, "hex(%x):", static_cast<unsigned>(value.type));
                line += head;
                for (std::size_t i = 0; i < value.data.size(); ++i) {
                    char byte[4];
                    std::snprintf(byte, sizeof byte, i ? ",%02x" : "%02x", value.data[i]);
                    line += byte;
                }
            }
            out += line;
            out += "\n";
        }
    }
    return out;
}

void FileStore::Parse(const std::string& text) {
    keys.clear();
    corrupt = false;
    StoredKey* current = nullptr;
    std::size_t start = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
        std::size_t first = 0;
        while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
        line.erase(0, first);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;

        if (line[0] == '[') {
            current = nullptr;
            const std::size_t slash = line.find('\\');
            if (line.back() != ']' || slash == std::string::npos) {
                corrupt = true;
                continue;
            }
            const std::string hiveName = line.substr(1, slash - 1);
            const HiveName* hive = nullptr;
            for (const HiveName& h : kHives)
                if (SameAscii(hiveName, h.name)) hive = &h;
            bool clean = true;
            std::u16string path = DecodeField(line.substr(slash + 1, line.size() - slash - 2), clean);
            if (!hive || !clean || !NormaliseKeyPath(path)) {
                corrupt = true;
                continue;
            }
            current = const_cast<StoredKey*>(FindKey(hive->hive, path));
            if (!current) {
                keys.push_back(StoredKey{hive->hive, path, {}});
                current = &keys.back();
            }
            continue;
        }

        std::size_t pos = 0;
        std::string name;
        std::uint32_t type = 0;
        std::vector<unsigned char> data;
        bool clean = true;
        if (!current || !Unquote(line, pos, name) || pos >= line.size() || line[pos] != '=' ||
            !ParseData(line.substr(pos + 1), type, data, clean)) {
            corrupt = true;
            continue;
        }
        const std::u16string valueName = DecodeField(name, clean);
        if (!clean) corrupt = true;
        if (HasControl(valueName)) {
            corrupt = true;
            continue;
        }
        // Keys never move while parsing a key's lines: pointers into keys are refreshed.
        const Hive hive = current->hive;
        const std::u16string path = current->path;
        SetValue(hive, path, valueName, type, data.data(), data.size());
        current = const_cast<StoredKey*>(FindKey(hive, path));
    }
}

bool FileStore::Load() {
    keys.clear();
    corrupt = false;
    loadedExisting = false;
    std::error_code error;
    const std::filesystem::path file(path);
    if (!std::filesystem::exists(file, error)) return !error;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string text;
    char chunk[65536];
    while (in && text.size() < kMaxFileBytes) {
        in.read(chunk, sizeof chunk);
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return false;
    loadedExisting = true;
    const bool cut = text.size() >= kMaxFileBytes && in.peek() != std::ifstream::traits_type::eof();
    if (text.size() > kMaxFileBytes) text.resize(kMaxFileBytes);
    Parse(text);
    if (cut) corrupt = true;
    return true;
}

bool FileStore::Save() const {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file(path);
    if (file.has_parent_path()) fs::create_directories(file.parent_path(), error);

    if (corrupt && loadedExisting) {
        // Keep what could not be read before the store is rewritten without it.
        fs::copy_file(file, fs::path(path + ".bad"), fs::copy_options::overwrite_existing, error);
        if (error) return false;
    }

    const std::string temp = path + ".tmp-" + std::to_string(static_cast<long>(getpid()));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const std::string text = Serialize();
    std::size_t written = 0;
    bool ok = true;
    while (ok && written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n > 0) written += static_cast<std::size_t>(n);
        else ok = false;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace TWIG4
