#pragma once
// TWIG4::Registry: typed values under one key of the settings store.
//
// The store is the current user's (or local machine's) registry in the Windows build and a
// plain-text file in the native build (framework/native/file_store.h); both address a value
// by (hive, key path, value name) and keep the same value kinds and encodings:
//
//   integer  DWORD (type 4)   4 bytes little-endian, two's complement for negative values
//   flag     DWORD (type 4)   1 for true, 0 for false; on reading only exactly 1 is true
//   float    string (type 1)  "%.8f" text with a '.' point (0.3f is stored as 0.30000001);
//                             read back from the leading decimal number (none: 0)
//   string   string (type 1)  UTF-16 text, exactly two bytes per unit, no terminator; a
//                             terminator stored by another program ends the text
//
// A value's key is rootPath, a backslash and the subkey (rootPath alone for an empty
// subkey); a key path longer than 259 characters cannot be opened or created. Each call
// opens or creates its key, does one value operation and closes it again. Every read
// returns true only when the value was found and read, and otherwise leaves the default in
// its out value; every write returns true only when the value was set.

#include <cstdint>
#include <string>

#include "framework/string.h"

namespace TWIG4 {

// The predefined hives (the numbers are the platform's handle values).
enum class Hive : std::uint32_t { CurrentUser = 0x80000001u, LocalMachine = 0x80000002u };

class Registry {
public:
    static constexpr int kMaxKeyPath = 259;            // characters, without the terminator
    static constexpr unsigned kReadBufferBytes = 1024;  // strings and floats: 512 UTF-16 units

    // keyPath is cut at 259 characters. storeFile chooses the native build's store file
    // (UTF-8 path; null or empty: the default, see FileStore::DefaultPath); the Windows
    // build keeps everything in the registry and ignores it.
    explicit Registry(const wchar_t* keyPath, Hive hive = Hive::CurrentUser, const char* storeFile = nullptr);
    virtual ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // A value of at most 4 bytes of any type is read as its raw little-endian bytes
    // (zero-extended when shorter); a longer one reads as missing.
    bool ReadDword(const wchar_t* subkey, const wchar_t* name, std::uint32_t& value, std::uint32_t def);
    bool ReadDword(const wchar_t* subkey, const wchar_t* name, std::int32_t& value, std::int32_t def);
    bool WriteDword(const wchar_t* subkey, const wchar_t* name, std::uint32_t value);
    bool WriteDword(const wchar_t* subkey, const wchar_t* name, std::int32_t value);

    // Reads a string value into buffer, which holds capacityBytes / 2 wide characters.
    // Accepted is data of at most capacityBytes bytes whose text, with a terminator, fits
    // the buffer; otherwise (and when missing) the buffer gets def (cut to fit, null: the
    // empty text) and the result is false. The text in buffer is always terminated.
    bool ReadText(const wchar_t* subkey, const wchar_t* name, wchar_t* buffer, unsigned capacityBytes,
                  const wchar_t* def);
    bool WriteText(const wchar_t* subkey, const wchar_t* name, const wchar_t* text);

    bool ReadBool(const wchar_t* subkey, const wchar_t* name, bool& flag, bool def);
    bool WriteBool(const wchar_t* subkey, const wchar_t* name, bool flag);

    // The read gives a finite value: text that is not a number reads as 0 (and succeeds);
    // a number beyond the float range also reads as 0.
    bool ReadFloat(const wchar_t* subkey, const wchar_t* name, float& value, float def);
    bool WriteFloat(const wchar_t* subkey, const wchar_t* name, float value);

    // Strings of up to 512 UTF-16 units (1024 bytes) are read; longer ones read as missing.
    bool ReadString(const wchar_t* subkey, const wchar_t* name, String& value, const wchar_t* def);
    bool WriteString(const wchar_t* subkey, const wchar_t* name, const String& value);

    const wchar_t* GetRootPath() const { return rootPath; }
    const std::string& GetStoreFile() const { return storeFile; }
    Hive GetHive() const { return rootKey; }

    // The full key path of subkey, or false when it would exceed kMaxKeyPath.
    bool KeyPath(const wchar_t* subkey, std::wstring& path) const;

private:
    wchar_t rootPath[kMaxKeyPath + 1];
    Hive rootKey;
    std::string storeFile;

    // Raw string data (UTF-16 units, a trailing terminator removed) of at most maxBytes.
    bool QueryText(const wchar_t* subkey, const wchar_t* name, unsigned maxBytes, std::u16string& units);
};

// Groups the operations of one Load or Save under one Registry: while a batch is open the
// native file store is read once and written once at Commit (one atomic replacement instead
// of one per value); the Windows registry sets each value as it comes. A batch that is not
// committed writes nothing. One batch at a time per thread.
class StoreBatch {
public:
    explicit StoreBatch(const Registry& registry);
    ~StoreBatch();
    StoreBatch(const StoreBatch&) = delete;
    StoreBatch& operator=(const StoreBatch&) = delete;

    // Writes what the batch changed; true when there was nothing to write or it was written.
    bool Commit();

private:
    bool open;
};

// The text "%.8f" makes of value widened to double, with a '.' point whatever the locale.
std::string FormatStoredFloat(float value);
// The leading decimal number of text as double: optional blanks, sign, digits, point,
// digits, exponent; 0 when text does not start with a number or the number is beyond
// the range of a double.
double ParseLeadingNumber(const wchar_t* text);

}  // namespace TWIG4
