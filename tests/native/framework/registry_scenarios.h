#pragma once
// The settings store's scenarios, run on both backends: registry_test.cpp here on the file
// store, tests/win/framework/registry_test.cpp on the Windows registry. Both must store the
// same kinds and bytes and read the same values back. The includer defines
// RegistryBackend, a fresh empty store with:
//   std::wstring root;                           the key the scenarios write under
//   TWIG4::Registry Open(const std::wstring& r)  a Registry on key r (a new run of the program)
//   void Put(subkey, name, type, const Bytes&)   raw data, as another program would store it
//   bool Get(subkey, name, type&, Bytes&)        the raw data stored
#include <gtest/gtest.h>

#include <cwctype>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/registry.h"

namespace registry_scenarios {

using Bytes = std::vector<unsigned char>;
using TWIG4::Registry;
using TWIG4::String;
using Check = std::function<void(Registry&)>;

inline Bytes Utf16(const std::u16string& units) {
    Bytes data;
    for (char16_t u : units) data.insert(data.end(), {static_cast<unsigned char>(u & 0xFF), static_cast<unsigned char>(u >> 8)});
    return data;
}
inline Bytes Le32(std::uint32_t v) { return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}; }

// Typed reads of value "V" under subkey "S"; Reads<T>(x) checks that one finds x.
inline bool Read(Registry& r, std::uint32_t& v) { return r.ReadDword(L"S", L"V", v, 7u); }
inline bool Read(Registry& r, std::int32_t& v) { return r.ReadDword(L"S", L"V", v, 7); }
inline bool Read(Registry& r, bool& v) { return r.ReadBool(L"S", L"V", v, false); }
inline bool Read(Registry& r, float& v) { return r.ReadFloat(L"S", L"V", v, 99.0f); }
inline bool Read(Registry& r, std::wstring& v) {
    String s(L"old");
    const bool found = r.ReadString(L"S", L"V", s, L"default");
    return v = s.GetBuffer(), found;
}
template <class T>
Check Reads(T expected) {
    return [=](Registry& r) {
        T v{};
        EXPECT_TRUE(Read(r, v));
        EXPECT_EQ(v, expected);
    };
}
// Reads as missing: false and the default, as a number, a string and a float.
inline Check Missing() {
    return [](Registry& r) {
        std::uint32_t v = 0;
        std::wstring s;
        float f = 0;
        EXPECT_FALSE(Read(r, v) || Read(r, s) || Read(r, f));
        EXPECT_EQ(v, 7u);
        EXPECT_EQ(s, L"default");
        EXPECT_EQ(f, 99.0f);
    };
}

struct Written {
    const char* name;
    std::function<bool(Registry&)> write;  // of value "V" under subkey "S"
    std::uint32_t type;
    Bytes data;
    Check readBack;
};

const Written kWritten[] = {
    {"Dword", [](Registry& r) { return r.WriteDword(L"S", L"V", 1234u); }, 4, Le32(1234), Reads<std::uint32_t>(1234)},
    {"NegativeDword", [](Registry& r) { return r.WriteDword(L"S", L"V", std::int32_t{-20}); }, 4, {0xEC, 0xFF, 0xFF, 0xFF}, Reads<std::int32_t>(-20)},
    {"FlagTrue", [](Registry& r) { return r.WriteBool(L"S", L"V", true); }, 4, Le32(1), Reads(true)},
    {"FlagFalse", [](Registry& r) { return r.WriteBool(L"S", L"V", false); }, 4, Le32(0), Reads(false)},
    {"Float", [](Registry& r) { return r.WriteFloat(L"S", L"V", 0.299f); }, 1, Utf16(u"0.29899999"), Reads(0.299f)},
    {"FloatRoundedUp", [](Registry& r) { return r.WriteFloat(L"S", L"V", 0.3f); }, 1, Utf16(u"0.30000001"), Reads(0.3f)},
    {"NegativeFloat", [](Registry& r) { return r.WriteFloat(L"S", L"V", -0.5f); }, 1, Utf16(u"-0.50000000"), Reads(-0.5f)},
    {"LargeFloat", [](Registry& r) { return r.WriteFloat(L"S", L"V", 123456.75f); }, 1, Utf16(u"123456.75000000"), Reads(123456.75f)},
    {"WideString", [](Registry& r) { return r.WriteString(L"S", L"V", String(L"C:\\images \u00e9\U0001F600")); }, 1,
     Utf16(u"C:\\images \u00e9\U0001F600"), Reads(std::wstring(L"C:\\images \u00e9\U0001F600"))},
    {"EmptyString", [](Registry& r) { return r.WriteString(L"S", L"V", String()); }, 1, {}, Reads(std::wstring(L""))},
};

// Raw data of value "V" under subkey "S" and what the typed reads make of it.
struct Stored {
    const char* name;
    std::uint32_t type;
    Bytes data;
    Check check;
};

const Stored kStored[] = {
    {"TerminatedText", 1, Utf16(std::u16string(u"C:\\photos") + u'\0'), Reads(std::wstring(L"C:\\photos"))},
    {"OddLengthText", 1, {'a', 0, 'b', 0, 'c'}, Reads(std::wstring(L"ab"))},
    {"TextOf512Units", 1, Utf16(std::u16string(512, u'x')), Reads(std::wstring(512, L'x'))},
    {"TerminatedTextOf1024Bytes", 1, Utf16(std::u16string(511, u'y') + u'\0'), Reads(std::wstring(511, L'y'))},
    {"TextOf513Units", 1, Utf16(std::u16string(513, u'x')), Missing()},
    {"FlagTwo", 4, Le32(2), Reads(false)},
    {"FlagOneInTheSecondByte", 4, Le32(0x101), Reads(false)},
    {"TwoByteBinary", 3, {0x34, 0x12}, Reads<std::uint32_t>(0x1234)},
    {"TextAsDword", 1, Utf16(u"A"), Reads<std::uint32_t>(0x41)},
    {"EightByteQword", 11, {1, 2, 3, 4, 5, 6, 7, 8}, [](Registry& r) {
         std::uint32_t v = 0;
         EXPECT_FALSE(r.ReadDword(L"S", L"V", v, 5u));
         EXPECT_EQ(v, 5u);
     }},
    {"TerminatedFloat", 1, Utf16(std::u16string(u"0.50000000") + u'\0'), Reads(0.5f)},
    {"FloatOfWords", 1, Utf16(u"not a number"), Reads(0.0f)},
    {"FloatWithBlanksAndExponent", 1, Utf16(u"  -2.5e1xyz"), Reads(-25.0f)},
    {"FloatWithDecimalComma", 1, Utf16(u"1,5"), Reads(1.0f)},
    {"FloatBeyondRange", 1, Utf16(u"1e39"), Reads(0.0f)},
    {"FloatNan", 1, Utf16(u"nan"), Reads(0.0f)},
    {"FloatHex", 1, Utf16(u"0x1A"), Reads(0.0f)},
    {"EmptyFloat", 1, {}, Reads(0.0f)},
};

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }
inline void PrintTo(const Written& c, std::ostream* os) { *os << c.name; }
inline void PrintTo(const Stored& c, std::ostream* os) { *os << c.name; }

template <class Param = void>
class Scenario : public std::conditional_t<std::is_void_v<Param>, ::testing::Test, ::testing::TestWithParam<Param>> {
protected:
    RegistryBackend store;
};
using RegistryWrites = Scenario<Written>;

TEST_P(RegistryWrites, StoreTheirKindAndBytesAndReadBackInTheNextRun) {
    const Written& c = GetParam();
    {
        Registry registry = store.Open(store.root);
        ASSERT_TRUE(c.write(registry));
    }
    std::uint32_t type = 0;
    Bytes data;
    ASSERT_TRUE(store.Get(L"S", L"V", type, data));
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(data, c.data);
    Registry next = store.Open(store.root);
    c.readBack(next);
}
INSTANTIATE_TEST_SUITE_P(Values, RegistryWrites, ::testing::ValuesIn(kWritten), CaseName<Written>);

using RegistryReads = Scenario<Stored>;

TEST_P(RegistryReads, TakeWhatAnotherProgramStored) {
    store.Put(L"S", L"V", GetParam().type, GetParam().data);
    Registry registry = store.Open(store.root);
    GetParam().check(registry);
}
INSTANTIATE_TEST_SUITE_P(Values, RegistryReads, ::testing::ValuesIn(kStored), CaseName<Stored>);

using RegistryKeys = Scenario<>;

TEST_F(RegistryKeys, MissingKeysAndValuesGiveTheDefault) {
    Registry registry = store.Open(store.root);
    Missing()(registry);
    ASSERT_TRUE(registry.WriteDword(L"S", L"Other", 1u));  // the key exists, the value not
    Missing()(registry);
    bool flag = true;
    EXPECT_FALSE(registry.ReadBool(L"S", L"V", flag, true));
    EXPECT_TRUE(flag);
    wchar_t buffer[8] = L"xxxxxxx";
    // ReadText never writes past its buffer: four characters need room for five.
    ASSERT_TRUE(registry.WriteText(L"S", L"Four", L"abcd"));
    EXPECT_FALSE(registry.ReadText(L"S", L"Four", buffer, 2 * 4, L"no"));
    EXPECT_EQ(std::wstring(buffer), L"no");
    EXPECT_TRUE(registry.ReadText(L"S", L"Four", buffer, 2 * 5, L"no"));
    EXPECT_EQ(std::wstring(buffer), L"abcd");
}

TEST_F(RegistryKeys, KeyPathsAreLimitedTo259Characters) {
    const std::wstring root = store.root + L"\\" + std::wstring(250 - store.root.size() - 1, L'k');
    Registry registry = store.Open(root);
    std::uint32_t value = 0;
    EXPECT_TRUE(registry.WriteDword(L"12345678", L"V", 1u));  // 259 characters
    EXPECT_TRUE(registry.ReadDword(L"12345678", L"V", value, 0u));
    EXPECT_EQ(value, 1u);
    EXPECT_FALSE(registry.WriteDword(L"123456789", L"V", 1u));
    EXPECT_FALSE(registry.ReadDword(L"123456789", L"V", value, 3u));
    EXPECT_EQ(value, 3u);
    Registry cut = store.Open(root + std::wstring(50, L'z'));
    EXPECT_EQ(std::wstring(cut.GetRootPath()).size(), 259u);
    EXPECT_TRUE(cut.WriteDword(nullptr, L"V", 2u));  // the root key itself
    EXPECT_FALSE(cut.WriteDword(L"a", L"V", 2u));
}

TEST_F(RegistryKeys, NamesAreFoundWhateverTheirCase) {
    Registry registry = store.Open(store.root);
    ASSERT_TRUE(registry.WriteDword(L"General", L"Mode", 3u));
    std::wstring upper = store.root;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
    Registry otherCase = store.Open(upper);
    std::uint32_t value = 0;
    EXPECT_TRUE(otherCase.ReadDword(L"GENERAL", L"mode", value, 0u));
    EXPECT_EQ(value, 3u);
    ASSERT_TRUE(otherCase.WriteDword(L"general", L"MODE", 4u));
    EXPECT_TRUE(registry.ReadDword(L"General", L"Mode", value, 0u));
    EXPECT_EQ(value, 4u);
}

}  // namespace registry_scenarios
