// The settings store of the Windows build: the registry, one key opened per operation.
#include <windows.h>

#include "framework/registry_store.h"

namespace TWIG4 {

namespace {

HKEY RootKey(Hive hive) { return hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

}  // namespace

QueryResult StoreQuery(const StoreTarget& target, const std::wstring& keyPath, const wchar_t* name,
                       std::size_t maxBytes, std::vector<unsigned char>& data) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(RootKey(target.hive), keyPath.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return QueryResult::NoKey;
    data.assign(maxBytes, 0);
    DWORD size = static_cast<DWORD>(maxBytes);
    const LONG status = RegQueryValueExW(key, name, nullptr, nullptr, data.empty() ? nullptr : data.data(), &size);
    RegCloseKey(key);
    if (status == ERROR_MORE_DATA) return QueryResult::TooLarge;
    if (status != ERROR_SUCCESS) return QueryResult::NoValue;
    data.resize(size <= maxBytes ? size : maxBytes);
    return QueryResult::Ok;
}

bool StoreSet(const StoreTarget& target, const std::wstring& keyPath, const wchar_t* name, std::uint32_t type,
              const unsigned char* data, std::size_t size) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(RootKey(target.hive), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    // For a string type the registry also stores the unit after the data when that unit is
    // a null (it takes it for a forgotten terminator); a non-null guard unit after a copy of
    // the data keeps the stored length exactly as given.
    std::vector<unsigned char> guarded(data, data + size);
    guarded.push_back(0xFF);
    guarded.push_back(0xFF);
    const LONG status = RegSetValueExW(key, name, 0, type, guarded.data(), static_cast<DWORD>(size));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Each registry operation stands on its own; a batch changes nothing.
bool StoreBeginBatch(const StoreTarget&) { return false; }
bool StoreCommitBatch() { return true; }
void StoreEndBatch() {}

}  // namespace TWIG4
