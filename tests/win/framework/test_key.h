#pragma once
// A test-only key under HKEY_CURRENT_USER, deleted with everything below it afterwards; its
// values set and read with plain Win32 calls, as another program would.
#include <windows.h>

#include <string>
#include <vector>

class TestKey {
public:
    TestKey() : path(L"Software\\BistropeTest\\run" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter++)) {
        RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    }
    ~TestKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\BistropeTest");  // only when empty
    }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;

    const wchar_t* Path() const { return path.c_str(); }
    std::wstring Sub(const wchar_t* subkey) const { return path + L"\\" + subkey; }
    bool Exists() const {
        HKEY key = Open(L"");
        return key && RegCloseKey(key) == ERROR_SUCCESS;
    }

    bool Put(const wchar_t* subkey, const wchar_t* name, DWORD type, const void* data, DWORD size) const {
        return RegSetKeyValueW(HKEY_CURRENT_USER, Sub(subkey).c_str(), name, type, data, size) == ERROR_SUCCESS;
    }
    bool PutDword(const wchar_t* subkey, const wchar_t* name, DWORD value) const { return Put(subkey, name, REG_DWORD, &value, 4); }
    // With its terminating null, as RegSetValueExW callers usually store text.
    bool PutTextWithNull(const wchar_t* subkey, const wchar_t* name, const std::wstring& text) const {
        return Put(subkey, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    // Without one (the registry would count a null that follows the data, so a non-null
    // unit follows it here).
    bool PutText(const wchar_t* subkey, const wchar_t* name, const std::wstring& text) const {
        const std::wstring guarded = text + L'\xFFFF';
        return Put(subkey, name, REG_SZ, guarded.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    }

    struct Value {
        std::wstring name;
        DWORD type = 0;
        std::vector<unsigned char> data;
        bool found = false;
    };
    Value Get(const wchar_t* subkey, const wchar_t* name) const {
        Value value;
        value.name = name;
        HKEY key = Open(subkey);
        DWORD size = 0;
        if (key && !RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size)) {
            value.data.resize(size);
            value.found = !RegQueryValueExW(key, name, nullptr, &value.type, value.data.data(), &size);
            value.data.resize(size);
        }
        if (key) RegCloseKey(key);
        return value;
    }
    // Every value of a subkey, in the order the registry lists them.
    std::vector<Value> List(const wchar_t* subkey) const {
        std::vector<Value> values;
        HKEY key = Open(subkey);
        wchar_t name[256];
        for (DWORD i = 0, length = 256; key && !RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr); ++i, length = 256)
            values.push_back(Get(subkey, name));
        if (key) RegCloseKey(key);
        return values;
    }

    static std::vector<unsigned char> Bytes(const std::wstring& text) {
        const auto* p = reinterpret_cast<const unsigned char*>(text.c_str());
        return std::vector<unsigned char>(p, p + text.size() * sizeof(wchar_t));
    }

private:
    HKEY Open(const wchar_t* subkey) const {
        HKEY key = nullptr;
        return RegOpenKeyExW(HKEY_CURRENT_USER, subkey[0] ? Sub(subkey).c_str() : path.c_str(), 0, KEY_READ, &key) ? nullptr : key;
    }
    std::wstring path;
    static inline int counter = 0;
};
