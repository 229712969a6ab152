// The settings store's scenarios (tests/native/framework/registry_scenarios.h) on the
// Windows registry, under a test-only key removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/registry.h"

struct RegistryBackend {
    std::wstring root = L"Software\\BistropeTest\\run" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter++);
    static inline int counter = 0;
    RegistryBackend() { RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str()); }
    ~RegistryBackend() {
        RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\BistropeTest");  // only when empty
    }
    TWIG4::Registry Open(const std::wstring& r) { return TWIG4::Registry(r.c_str()); }
    void Put(const wchar_t* subkey, const wchar_t* name, std::uint32_t type, std::vector<unsigned char> data) {
        const DWORD size = static_cast<DWORD>(data.size());
        data.insert(data.end(), {0xFF, 0xFF});  // a string's length stays as given: no null follows it
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (root + L"\\" + subkey).c_str(), name, type, data.data(), size), 0);
    }
    bool Get(const wchar_t* subkey, const wchar_t* name, std::uint32_t& type, std::vector<unsigned char>& data) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, (root + L"\\" + subkey).c_str(), 0, KEY_READ, &key)) return false;
        DWORD kind = 0, size = 0;
        const bool found = !RegQueryValueExW(key, name, nullptr, &kind, nullptr, &size) &&
                           (data.resize(size), !RegQueryValueExW(key, name, nullptr, &kind, data.data(), &size));
        RegCloseKey(key);
        data.resize(size);
        type = kind;
        return found;
    }
};

#include "../../native/framework/registry_scenarios.h"
