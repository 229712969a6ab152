#pragma once
// The native build's settings store: one UTF-8 text file holding keys and values addressed
// like the registry (hive, key path, value name; names compared without regard to ASCII
// case), with the registry's value types and raw data.
//
// File format (line based, similar to a .reg export):
//
//   ; Bistrope settings store 1
//   [HKEY_CURRENT_USER\Software\Bistrope1.2.1\General]
//   "Left image path"="C:\\images"          string: UTF-16 data shown as text, \\ and \" escaped
//   "Default file view"=dword:00000000      4-byte DWORD, hexadecimal
//   "Other"=hex(1):41,00,00,00              any other data: type and bytes
//
// Loading reads every line it understands and skips the rest (a corrupt or truncated file
// gives what could be read; Corrupt() tells). Saving writes a temporary file in the same
// folder, flushes it to disk and renames it over the store, so the store on disk is always
// either the old or the new one; when the loaded file was corrupt, it is first kept as
// "<file>.bad" so that nothing of it is lost.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/registry.h"

namespace TWIG4 {

struct StoredValue {
    std::u16string name;
    std::uint32_t type = 0;
    std::vector<unsigned char> data;
};

struct StoredKey {
    Hive hive = Hive::CurrentUser;
    std::u16string path;  // below the hive, components separated by single backslashes
    std::vector<StoredValue> values;
};

class FileStore {
public:
    explicit FileStore(std::string path) : path(std::move(path)) {}

    // $XDG_CONFIG_HOME/bistrope/settings.store, else $HOME/.config/bistrope/settings.store,
    // else settings.store in the working folder.
    static std::string DefaultPath();

    // Reads the file. A missing file is an empty store (true); false when it exists but
    // cannot be read.
    bool Load();
    // Writes the store atomically, creating its folder; false when that fails.
    bool Save() const;

    const std::string& Path() const { return path; }
    bool Corrupt() const { return corrupt; }
    const std::vector<StoredKey>& Keys() const { return keys; }

    const StoredKey* FindKey(Hive hive, const std::u16string& keyPath) const;
    const StoredValue* FindValue(Hive hive, const std::u16string& keyPath, const std::u16string& name) const;
    // Creates the key (and nothing else) when missing; false for a malformed key path.
    bool SetValue(Hive hive, const std::u16string& keyPath, const std::u16string& name, std::uint32_t type,
                  const unsigned char* data, std::size_t size);

    // The file's text, and the reverse (for Load, Save and tests).
    std::string Serialize() const;
    void Parse(const std::string& text);

    // A key path is usable when it has no empty component, no control character, and is
    // not empty; a single trailing backslash is dropped.
    static bool NormaliseKeyPath(std::u16string& keyPath);

private:
    std::string path;
    std::vector<StoredKey> keys;
    bool corrupt = false;
    bool loadedExisting = false;
};

}  // namespace TWIG4
