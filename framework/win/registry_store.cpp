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
    static const BYTE kNothing = 0;
    const LONG status = RegSetValueExW(key, name, 0, type, size ? data : &kNothing, static_cast<DWORD>(size));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

}  // namespace TWIG4
