// TWIG4::Registry against the real registry, under a test-only key that is removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/registry.h"
#include "test_key.h"

using TWIG4::Hive;
using TWIG4::Registry;
using TWIG4::String;

TEST(Registry, ValuesHaveTheirKindsAndExactBytes) {
    TestKey key;
    {
        Registry registry(key.Path());
        ASSERT_TRUE(registry.WriteDword(L"Numbers", L"Width", 1234u));
        ASSERT_TRUE(registry.WriteDword(L"Numbers", L"Left", std::int32_t{-20}));
        ASSERT_TRUE(registry.WriteBool(L"Numbers", L"Flag", true));
        ASSERT_TRUE(registry.WriteFloat(L"Floats", L"A", 0.299f));
        ASSERT_TRUE(registry.WriteFloat(L"Floats", L"B", 1.0f));
        ASSERT_TRUE(registry.WriteFloat(L"Floats", L"C", 0.3f));
        ASSERT_TRUE(registry.WriteString(L"Texts", L"Path", String(L"C:\\images \u00e9\U0001F600")));
        ASSERT_TRUE(registry.WriteString(L"Texts", L"Empty", String()));
    }
    const TestKey::Value left = key.Get(L"Numbers", L"Left");
    EXPECT_EQ(left.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(left.data, (std::vector<unsigned char>{0xEC, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(key.Get(L"Numbers", L"Flag").data, (std::vector<unsigned char>{1, 0, 0, 0}));
    const TestKey::Value a = key.Get(L"Floats", L"A");
    EXPECT_EQ(a.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(a.data, TestKey::Bytes(L"0.29899999"));  // no terminator
    EXPECT_EQ(key.Get(L"Floats", L"B").data, TestKey::Bytes(L"1.00000000"));
    EXPECT_EQ(key.Get(L"Floats", L"C").data, TestKey::Bytes(L"0.30000001"));
    EXPECT_EQ(key.Get(L"Texts", L"Path").data, TestKey::Bytes(L"C:\\images \u00e9\U0001F600"));
    const TestKey::Value empty = key.Get(L"Texts", L"Empty");
    EXPECT_TRUE(empty.found);
    EXPECT_EQ(empty.type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(empty.data.empty());

    Registry next(key.Path());  // another run
    std::uint32_t width = 0;
    std::int32_t leftValue = 0;
    bool flag = false;
    float weight = 0;
    String text(L"x");
    EXPECT_TRUE(next.ReadDword(L"Numbers", L"Width", width, 0u));
    EXPECT_EQ(width, 1234u);
    EXPECT_TRUE(next.ReadDword(L"Numbers", L"Left", leftValue, 0));
    EXPECT_EQ(leftValue, -20);
    EXPECT_TRUE(next.ReadBool(L"Numbers", L"Flag", flag, false));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(next.ReadFloat(L"Floats", L"A", weight, 0.0f));
    EXPECT_EQ(weight, 0.299f);
    EXPECT_TRUE(next.ReadString(L"Texts", L"Path", text, L""));
    EXPECT_STREQ(text.GetBuffer(), L"C:\\images \u00e9\U0001F600");
    EXPECT_TRUE(next.ReadString(L"Texts", L"Empty", text, L"default"));
    EXPECT_STREQ(text.GetBuffer(), L"");
}

TEST(Registry, ValuesOfOtherProgramsReadAsTheEncodingsSay) {
    TestKey key;
    Registry registry(key.Path());
    ASSERT_TRUE(key.PutTextWithNull(L"S", L"Terminated", L"C:\\photos"));
    String text;
    EXPECT_TRUE(registry.ReadString(L"S", L"Terminated", text, L"default"));
    EXPECT_STREQ(text.GetBuffer(), L"C:\\photos");
    wchar_t buffer[16];
    EXPECT_TRUE(registry.ReadText(L"S", L"Terminated", buffer, sizeof buffer, L"default"));
    EXPECT_STREQ(buffer, L"C:\\photos");

    ASSERT_TRUE(key.PutDword(L"S", L"Two", 2));
    bool flag = true;
    EXPECT_TRUE(registry.ReadBool(L"S", L"Two", flag, true));
    EXPECT_FALSE(flag);

    float value = 9;
    ASSERT_TRUE(key.PutTextWithNull(L"S", L"Half", L"0.50000000"));
    EXPECT_TRUE(registry.ReadFloat(L"S", L"Half", value, 9.0f));
    EXPECT_EQ(value, 0.5f);
    ASSERT_TRUE(key.PutText(L"S", L"Words", L"not a number"));
    EXPECT_TRUE(registry.ReadFloat(L"S", L"Words", value, 9.0f));
    EXPECT_EQ(value, 0.0f);

    ASSERT_TRUE(key.PutText(L"S", L"Fits", std::wstring(512, L'x')));
    EXPECT_TRUE(registry.ReadString(L"S", L"Fits", text, L"default"));
    EXPECT_EQ(text.Length(), 512);
    ASSERT_TRUE(key.PutText(L"S", L"TooLong", std::wstring(513, L'x')));
    EXPECT_FALSE(registry.ReadString(L"S", L"TooLong", text, L"default"));
    EXPECT_STREQ(text.GetBuffer(), L"default");

    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(key.Put(L"S", L"Qword", REG_QWORD, eight, 8));
    std::uint32_t number = 0;
    EXPECT_FALSE(registry.ReadDword(L"S", L"Qword", number, 5u));
    EXPECT_EQ(number, 5u);
    const unsigned char two[2] = {0x34, 0x12};
    ASSERT_TRUE(key.Put(L"S", L"Short", REG_BINARY, two, 2));
    EXPECT_TRUE(registry.ReadDword(L"S", L"Short", number, 5u));
    EXPECT_EQ(number, 0x1234u);

    EXPECT_FALSE(registry.ReadDword(L"Missing", L"V", number, 6u));
    EXPECT_EQ(number, 6u);
}

TEST(Registry, KeyPathsAreLimitedTo259Characters) {
    TestKey key;
    const std::wstring base = key.Path();
    const std::wstring root = base + L"\\" + std::wstring(250 - base.size() - 1, L'k');  // 250 characters
    ASSERT_EQ(root.size(), 250u);
    Registry registry(root.c_str());
    std::uint32_t value = 0;
    EXPECT_TRUE(registry.WriteDword(L"12345678", L"V", 1u));  // 259 characters
    EXPECT_TRUE(registry.ReadDword(L"12345678", L"V", value, 0u));
    EXPECT_FALSE(registry.WriteDword(L"123456789", L"V", 1u));
    EXPECT_FALSE(registry.ReadDword(L"123456789", L"V", value, 3u));
    EXPECT_EQ(value, 3u);
    const std::wstring longer = root + std::wstring(100, L'z');
    EXPECT_EQ(std::wstring(Registry(longer.c_str()).GetRootPath()).size(), 259u);
}

TEST(Registry, TheTestKeyIsRemovedAfterwards) {
    std::wstring path;
    {
        TestKey key;
        path = key.Path();
        Registry registry(key.Path());
        ASSERT_TRUE(registry.WriteDword(L"a\\b", L"V", 1u));
        EXPECT_TRUE(key.Exists());
    }
    HKEY opened = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
}
