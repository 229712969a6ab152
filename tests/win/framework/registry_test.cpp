// The settings store's scenarios (tests/native/framework/registry_scenarios.h) on the
// Windows registry, under a test-only key removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/registry.h"
#include "test_key.h"

struct RegistryBackend {
    TestKey key;
    std::wstring root = key.Path();
    TWIG4::Registry Open(const std::wstring& r) { return TWIG4::Registry(r.c_str()); }
    void Put(const wchar_t* subkey, const wchar_t* name, std::uint32_t type, std::vector<unsigned char> data) {
        const DWORD size = static_cast<DWORD>(data.size());
        data.insert(data.end(), {0xFF, 0xFF});  // a string's length stays as given: no null follows it
        ASSERT_TRUE(key.Put(subkey, name, type, data.data(), size));
    }
    bool Get(const wchar_t* subkey, const wchar_t* name, std::uint32_t& type, std::vector<unsigned char>& data) {
        const TestKey::Value v = key.Get(subkey, name);
        type = v.type;
        data = v.data;
        return v.found;
    }
};

#include "../../native/framework/registry_scenarios.h"
