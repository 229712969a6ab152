// TWIG4::Registry over the native file store: encodings, limits, restarts and damaged files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/native/file_store.h"
#include "framework/persistent_data.h"
#include "framework/registry.h"
#include "temp_store.h"

using TWIG4::FileStore;
using TWIG4::Hive;
using TWIG4::Registry;
using TWIG4::String;

namespace {

const wchar_t kRoot[] = L"Software\\BistropeTest";

std::vector<unsigned char> Utf16Data(const std::u16string& units) {
    std::vector<unsigned char> data;
    for (char16_t u : units) {
        data.push_back(static_cast<unsigned char>(u & 0xFF));
        data.push_back(static_cast<unsigned char>(u >> 8));
    }
    return data;
}

class RegistryStore : public ::testing::Test {
protected:
    TempStore temp;
    Registry registry{kRoot, Hive::CurrentUser, temp.File().c_str()};

    // Stores raw data the way another program could, bypassing the encodings.
    void PutRaw(const char16_t* subkey, const char16_t* name, std::uint32_t type,
                const std::vector<unsigned char>& data) {
        FileStore store(temp.File());
        ASSERT_TRUE(store.Load());
        ASSERT_TRUE(store.SetValue(Hive::CurrentUser, std::u16string(u"Software\\BistropeTest\\") + subkey, name,
                                   type, data.data(), data.size()));
        ASSERT_TRUE(store.Save());
    }
    void PutText(const char16_t* subkey, const char16_t* name, const std::u16string& text) {
        PutRaw(subkey, name, 1, Utf16Data(text));
    }
    const TWIG4::StoredValue* Stored(const FileStore& store, const char16_t* subkey, const char16_t* name) {
        return store.FindValue(Hive::CurrentUser, std::u16string(u"Software\\BistropeTest\\") + subkey, name);
    }
};

}  // namespace

TEST_F(RegistryStore, ValuesSurviveARestartWithTheirKindsAndBytes) {
    ASSERT_TRUE(registry.WriteDword(L"Numbers", L"Width", 1234u));
    ASSERT_TRUE(registry.WriteDword(L"Numbers", L"Left", std::int32_t{-20}));
    ASSERT_TRUE(registry.WriteBool(L"Numbers", L"Flag", true));
    ASSERT_TRUE(registry.WriteFloat(L"Numbers", L"Weight", 0.299f));
    ASSERT_TRUE(registry.WriteString(L"Texts", L"Path", String(L"C:\\images \u00e9\U0001F600")));
    ASSERT_TRUE(registry.WriteString(L"Texts", L"Empty", String()));

    Registry next(kRoot, Hive::CurrentUser, temp.File().c_str());  // the next run
    std::uint32_t width = 0;
    std::int32_t left = 0;
    bool flag = false;
    float weight = 0;
    String path, empty(L"not yet");
    EXPECT_TRUE(next.ReadDword(L"Numbers", L"Width", width, 7u));
    EXPECT_EQ(width, 1234u);
    EXPECT_TRUE(next.ReadDword(L"Numbers", L"Left", left, 7));
    EXPECT_EQ(left, -20);
    EXPECT_TRUE(next.ReadBool(L"Numbers", L"Flag", flag, false));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(next.ReadFloat(L"Numbers", L"Weight", weight, 1.0f));
    EXPECT_EQ(weight, 0.299f);
    EXPECT_TRUE(next.ReadString(L"Texts", L"Path", path, L"default"));
    EXPECT_STREQ(path.GetBuffer(), L"C:\\images \u00e9\U0001F600");
    EXPECT_TRUE(next.ReadString(L"Texts", L"Empty", empty, L"default"));
    EXPECT_STREQ(empty.GetBuffer(), L"");

    const FileStore store = temp.Load();
    EXPECT_FALSE(store.Corrupt());
    const auto* leftValue = Stored(store, u"Numbers", u"Left");
    ASSERT_NE(leftValue, nullptr);
    EXPECT_EQ(leftValue->type, 4u);
    EXPECT_EQ(leftValue->data, (std::vector<unsigned char>{0xEC, 0xFF, 0xFF, 0xFF}));
    const auto* flagValue = Stored(store, u"Numbers", u"Flag");
    ASSERT_NE(flagValue, nullptr);
    EXPECT_EQ(flagValue->data, (std::vector<unsigned char>{1, 0, 0, 0}));
    const auto* pathValue = Stored(store, u"Texts", u"Path");
    ASSERT_NE(pathValue, nullptr);
    EXPECT_EQ(pathValue->type, 1u);
    EXPECT_EQ(pathValue->data, Utf16Data(u"C:\\images \u00e9\U0001F600"));  // no terminator, 2 bytes a unit
    const auto* emptyValue = Stored(store, u"Texts", u"Empty");
    ASSERT_NE(emptyValue, nullptr);
    EXPECT_EQ(emptyValue->type, 1u);
    EXPECT_TRUE(emptyValue->data.empty());
}

TEST_F(RegistryStore, MissingValuesGiveTheDefaultAndFalse) {
    std::uint32_t number = 1;
    bool flag = false;
    float weight = 0;
    String text(L"old");
    wchar_t buffer[8] = L"xxxxxxx";
    EXPECT_FALSE(registry.ReadDword(L"None", L"Number", number, 42u));
    EXPECT_EQ(number, 42u);
    EXPECT_FALSE(registry.ReadBool(L"None", L"Flag", flag, true));
    EXPECT_TRUE(flag);
    EXPECT_FALSE(registry.ReadFloat(L"None", L"Weight", weight, 0.25f));
    EXPECT_EQ(weight, 0.25f);
    EXPECT_FALSE(registry.ReadString(L"None", L"Text", text, L"fallback"));
    EXPECT_STREQ(text.GetBuffer(), L"fallback");
    EXPECT_FALSE(registry.ReadText(L"None", L"Text", buffer, sizeof(char16_t) * 8, L"a default too long"));
    EXPECT_STREQ(buffer, L"a defau");  // cut to the buffer, terminated
    EXPECT_FALSE(registry.ReadText(L"None", L"Text", buffer, sizeof(char16_t) * 8, nullptr));
    EXPECT_STREQ(buffer, L"");

    // The key exists but not the value.
    ASSERT_TRUE(registry.WriteDword(L"Some", L"Other", 1u));
    EXPECT_FALSE(registry.ReadDword(L"Some", L"Number", number, 9u));
    EXPECT_EQ(number, 9u);
}

TEST_F(RegistryStore, FlagsAreTrueOnlyForExactlyOne) {
    const std::uint32_t cases[] = {0, 1, 2, 0xFFFFFFFFu, 0x101};
    const bool expected[] = {false, true, false, false, false};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(registry.WriteDword(L"Flags", L"F", cases[i]));
        bool flag = !expected[i];
        EXPECT_TRUE(registry.ReadBool(L"Flags", L"F", flag, !expected[i]));
        EXPECT_EQ(flag, expected[i]) << cases[i];
    }
    ASSERT_TRUE(registry.WriteBool(L"Flags", L"F", false));
    std::uint32_t raw = 7;
    EXPECT_TRUE(registry.ReadDword(L"Flags", L"F", raw, 7u));
    EXPECT_EQ(raw, 0u);
}

TEST_F(RegistryStore, FloatsAreStoredWithEightDecimals) {
    struct Case {
        float value;
        const char16_t* text;
    } cases[] = {{0.299f, u"0.29899999"}, {1.0f, u"1.00000000"}, {0.3f, u"0.30000001"},
                 {-0.5f, u"-0.50000000"}, {0.0f, u"0.00000000"}, {123456.75f, u"123456.75000000"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(registry.WriteFloat(L"F", L"V", c.value));
        const FileStore store = temp.Load();
        const auto* value = Stored(store, u"F", u"V");
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, 1u);
        EXPECT_EQ(value->data, Utf16Data(c.text)) << c.value;
    }
    EXPECT_EQ(TWIG4::FormatStoredFloat(0.114f), "0.11400000");
    EXPECT_EQ(TWIG4::FormatStoredFloat(0.7f), "0.69999999");
}

TEST_F(RegistryStore, FloatsAreReadFromTheLeadingNumber) {
    struct Case {
        const char16_t* text;
        float value;
    } cases[] = {{u"0.50000000", 0.5f},  {u"abc", 0.0f},        {u"", 0.0f},         {u"  -2.5e1xyz", -25.0f},
                 {u"+.25", 0.25f},       {u"7.", 7.0f},         {u"1e", 1.0f},       {u"1e+", 1.0f},
                 {u".", 0.0f},           {u"-", 0.0f},          {u"nan", 0.0f},      {u"inf", 0.0f},
                 {u"0x1A", 0.0f},        {u"1,5", 1.0f},        {u"1e999", 0.0f},    {u"1e39", 0.0f},
                 {u"0.29899999", 0.299f}, {u"3 apples", 3.0f}};
    for (const Case& c : cases) {
        PutText(u"F", u"V", c.text);
        float value = 99.0f;
        EXPECT_TRUE(registry.ReadFloat(L"F", L"V", value, 99.0f)) << String::FromUtf16(c.text, 64).ToUtf8();
        EXPECT_EQ(value, c.value) << String::FromUtf16(c.text, 64).ToUtf8();
    }
    EXPECT_EQ(TWIG4::ParseLeadingNumber(L"1e999"), 0.0);
    EXPECT_EQ(TWIG4::ParseLeadingNumber(nullptr), 0.0);
}

TEST_F(RegistryStore, StringsStoredWithATerminatorOrOddLengthReadBackTheText) {
    PutRaw(u"S", u"Terminated", 1, Utf16Data(std::u16string(u"C:\\photos") + u'\0'));
    String text;
    EXPECT_TRUE(registry.ReadString(L"S", L"Terminated", text, L"default"));
    EXPECT_STREQ(text.GetBuffer(), L"C:\\photos");

    std::vector<unsigned char> odd = Utf16Data(u"ab");
    odd.push_back('c');
    PutRaw(u"S", u"Odd", 1, odd);
    EXPECT_TRUE(registry.ReadString(L"S", L"Odd", text, L"default"));
    EXPECT_STREQ(text.GetBuffer(), L"ab");

    wchar_t buffer[16];
    EXPECT_TRUE(registry.ReadText(L"S", L"Terminated", buffer, sizeof(char16_t) * 16, L"default"));
    EXPECT_STREQ(buffer, L"C:\\photos");
}

TEST_F(RegistryStore, StringsLargerThanTheReadBufferReadAsMissing) {
    const std::wstring fits(512, L'x');
    ASSERT_TRUE(registry.WriteString(L"S", L"Fits", String(fits.c_str())));
    String text;
    EXPECT_TRUE(registry.ReadString(L"S", L"Fits", text, L"default"));
    EXPECT_EQ(text.Length(), 512);

    const std::wstring tooLong(513, L'x');
    ASSERT_TRUE(registry.WriteString(L"S", L"TooLong", String(tooLong.c_str())));
    EXPECT_FALSE(registry.ReadString(L"S", L"TooLong", text, L"default"));
    EXPECT_STREQ(text.GetBuffer(), L"default");
    float value = 0;
    EXPECT_FALSE(registry.ReadFloat(L"S", L"TooLong", value, 0.75f));
    EXPECT_EQ(value, 0.75f);

    // 511 units plus a stored terminator is 1024 bytes: still read.
    PutRaw(u"S", u"Exact", 1, Utf16Data(std::u16string(511, u'y') + u'\0'));
    EXPECT_TRUE(registry.ReadString(L"S", L"Exact", text, L"default"));
    EXPECT_EQ(text.Length(), 511);

    // ReadText never writes past its buffer: 4 characters need a buffer of 5.
    wchar_t buffer[5] = L"????";
    ASSERT_TRUE(registry.WriteText(L"S", L"Four", L"abcd"));
    EXPECT_FALSE(registry.ReadText(L"S", L"Four", buffer, sizeof(char16_t) * 4, L"no"));
    EXPECT_STREQ(buffer, L"no");
    EXPECT_TRUE(registry.ReadText(L"S", L"Four", buffer, sizeof(char16_t) * 5, L"no"));
    EXPECT_STREQ(buffer, L"abcd");
}

TEST_F(RegistryStore, DwordsTakeRawBytesOfAtMostFourBytes) {
    PutRaw(u"D", u"Short", 3, {0x34, 0x12});
    std::uint32_t value = 0;
    EXPECT_TRUE(registry.ReadDword(L"D", L"Short", value, 5u));
    EXPECT_EQ(value, 0x1234u);  // zero-extended

    PutRaw(u"D", u"Text", 1, Utf16Data(u"A"));
    EXPECT_TRUE(registry.ReadDword(L"D", L"Text", value, 5u));
    EXPECT_EQ(value, 0x41u);  // the type is not checked

    PutRaw(u"D", u"Long", 11, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_FALSE(registry.ReadDword(L"D", L"Long", value, 5u));
    EXPECT_EQ(value, 5u);
}

TEST_F(RegistryStore, KeyPathsAreLimitedTo259Characters) {
    // Root of 250 characters: "\\" + 8 characters reach exactly 259.
    const std::wstring root250 = L"Software\\" + std::wstring(241, L'k');
    Registry longRoot(root250.c_str(), Hive::CurrentUser, temp.File().c_str());
    std::uint32_t value = 0;
    EXPECT_TRUE(longRoot.WriteDword(L"12345678", L"V", 1u));
    EXPECT_TRUE(longRoot.ReadDword(L"12345678", L"V", value, 0u));
    EXPECT_FALSE(longRoot.WriteDword(L"123456789", L"V", 1u));
    EXPECT_FALSE(longRoot.ReadDword(L"123456789", L"V", value, 3u));
    EXPECT_EQ(value, 3u);

    const std::wstring root300 = L"Software\\" + std::wstring(291, L'k');
    Registry cut(root300.c_str(), Hive::CurrentUser, temp.File().c_str());
    EXPECT_EQ(std::wstring(cut.GetRootPath()).size(), 259u);
    EXPECT_TRUE(cut.WriteDword(nullptr, L"V", 2u));  // the root key itself
    EXPECT_FALSE(cut.WriteDword(L"a", L"V", 2u));

    Registry empty(L"", Hive::CurrentUser, temp.File().c_str());  // no key: nothing to open
    EXPECT_FALSE(empty.WriteDword(nullptr, L"V", 2u));
    Registry doubled(L"Software\\\\x", Hive::CurrentUser, temp.File().c_str());
    EXPECT_FALSE(doubled.WriteDword(L"s", L"V", 2u));
}

TEST_F(RegistryStore, AddressingIgnoresCaseAndSeparatesHives) {
    ASSERT_TRUE(registry.WriteDword(L"General", L"Mode", 3u));
    Registry otherCase(L"SOFTWARE\\bistropetest", Hive::CurrentUser, temp.File().c_str());
    std::uint32_t value = 0;
    EXPECT_TRUE(otherCase.ReadDword(L"GENERAL", L"mode", value, 0u));
    EXPECT_EQ(value, 3u);
    ASSERT_TRUE(otherCase.WriteDword(L"general", L"MODE", 4u));
    EXPECT_EQ(temp.Load().Keys().size(), 1u);
    EXPECT_EQ(temp.Load().Keys()[0].values.size(), 1u);

    Registry machine(kRoot, Hive::LocalMachine, temp.File().c_str());
    EXPECT_FALSE(machine.ReadDword(L"General", L"Mode", value, 0u));
    ASSERT_TRUE(machine.WriteDword(L"General", L"Mode", 5u));
    EXPECT_TRUE(registry.ReadDword(L"General", L"Mode", value, 0u));
    EXPECT_EQ(value, 4u);
}

TEST_F(RegistryStore, TheFileIsPlainTextInOneFormat) {
    ASSERT_TRUE(registry.WriteString(L"General", L"Left image path", String(L"C:\\a \"b\"")));
    ASSERT_TRUE(registry.WriteDword(L"General", L"Default file view", 3u));
    ASSERT_TRUE(registry.WriteFloat(L"Custom blending\\left matrix", L"M00", 1.0f));
    PutRaw(u"General", u"Raw", 1, Utf16Data(std::u16string(u"x") + u'\0'));
    EXPECT_EQ(temp.Text(),
              "; Bistrope settings store 1\n"
              "\n[HKEY_CURRENT_USER\\Software\\BistropeTest\\General]\n"
              "\"Left image path\"=\"C:\\\\a \\\"b\\\"\"\n"
              "\"Default file view\"=dword:00000003\n"
              "\"Raw\"=hex(1):78,00,00,00\n"
              "\n[HKEY_CURRENT_USER\\Software\\BistropeTest\\Custom blending\\left matrix]\n"
              "\"M00\"=\"1.00000000\"\n");
    // No temporary file is left behind.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(temp.Folder())) (void)entry, ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(RegistryStore, ADamagedFileGivesWhatCanBeReadAndIsKept) {
    const std::string damaged =
        "; Bistrope settings store 1\n"
        "[HKEY_CURRENT_USER\\Software\\BistropeTest\\General]\n"
        "\"Good\"=dword:00000011\n"
        "garbage line\n"
        "\"BadDword\"=dword:123\n"
        "\"BadHex\"=hex(1):4,00\n"
        "\"Unclosed\"=\"C:\\\\pho\n"
        "[HKEY_NOWHERE\\Software\\BistropeTest\\General]\n"
        "\"Lost\"=dword:00000001\n"
        "[HKEY_CURRENT_USER\\Software\\BistropeTest\\Texts]\r\n"
        "\"Text\"=\"kept\"\r\n"
        "\"Cut\"=dwo";  // the file ends in the middle of a line
    temp.Write(damaged);

    std::uint32_t value = 0;
    EXPECT_TRUE(registry.ReadDword(L"General", L"Good", value, 0u));
    EXPECT_EQ(value, 0x11u);
    String text;
    EXPECT_TRUE(registry.ReadString(L"Texts", L"Text", text, L""));
    EXPECT_STREQ(text.GetBuffer(), L"kept");
    for (const wchar_t* name : {L"BadDword", L"BadHex", L"Unclosed", L"Lost"}) {
        EXPECT_FALSE(registry.ReadDword(L"General", name, value, 77u)) << name;
        EXPECT_EQ(value, 77u);
    }
    EXPECT_FALSE(registry.ReadDword(L"Texts", L"Cut", value, 77u));
    EXPECT_TRUE(temp.Load().Corrupt());

    // The first write keeps the damaged file beside the store, then writes a clean store.
    ASSERT_TRUE(registry.WriteDword(L"General", L"New", 1u));
    EXPECT_EQ(temp.Read(temp.File() + ".bad"), damaged);
    const FileStore clean = temp.Load();
    EXPECT_FALSE(clean.Corrupt());
    EXPECT_NE(Stored(clean, u"General", u"Good"), nullptr);
    EXPECT_NE(Stored(clean, u"Texts", u"Text"), nullptr);
    EXPECT_NE(Stored(clean, u"General", u"New"), nullptr);
}

TEST_F(RegistryStore, BinaryGarbageAndEmptyFilesDoNotCrash) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
    garbage += "\n[HKEY_CURRENT_USER\\Software\\BistropeTest\\General]\n\"Mode\"=dword:00000009\n";
    garbage += std::string("\"Z\"=\"\0\xff\"\n", 9);
    temp.Write(garbage);
    std::uint32_t value = 0;
    EXPECT_TRUE(registry.ReadDword(L"General", L"Mode", value, 0u));
    EXPECT_EQ(value, 9u);
    String text;
    registry.ReadString(L"General", L"Z", text, L"");  // whatever it reads, it reads safely

    temp.Write("");
    EXPECT_FALSE(registry.ReadDword(L"General", L"Mode", value, 2u));
    EXPECT_EQ(value, 2u);
    EXPECT_FALSE(temp.Load().Corrupt());
}

TEST_F(RegistryStore, AFailedWriteLeavesTheStoreAsItWas) {
    ASSERT_TRUE(registry.WriteDword(L"General", L"Mode", 3u));
    const std::string before = temp.Text();
    // Something occupies the temporary file's name: the write fails, the store is untouched.
    const std::string blocker = temp.File() + ".tmp-" + std::to_string(static_cast<long>(getpid()));
    ASSERT_TRUE(std::filesystem::create_directory(blocker));
    EXPECT_FALSE(registry.WriteDword(L"General", L"Mode", 4u));
    EXPECT_EQ(temp.Text(), before);
    std::filesystem::remove(blocker);

    // A store path that cannot be a file: reads give defaults, writes fail.
    Registry inFile(kRoot, Hive::CurrentUser, (temp.File() + "/below-a-file.store").c_str());
    std::uint32_t value = 0;
    EXPECT_FALSE(inFile.ReadDword(L"General", L"Mode", value, 2u));
    EXPECT_EQ(value, 2u);
    EXPECT_FALSE(inFile.WriteDword(L"General", L"Mode", 4u));
    EXPECT_EQ(temp.Text(), before);

    // A folder where the store should be is not a store and is not replaced.
    const std::string folderStore = temp.Folder() + "/folder.store";
    std::filesystem::create_directory(folderStore);
    Registry onFolder(kRoot, Hive::CurrentUser, folderStore.c_str());
    EXPECT_FALSE(onFolder.WriteDword(L"General", L"Mode", 4u));
    EXPECT_TRUE(std::filesystem::is_directory(folderStore));
}

TEST_F(RegistryStore, TheDefaultStoreFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedValue = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", temp.Folder().c_str(), 1);
    EXPECT_EQ(FileStore::DefaultPath(), temp.Folder() + "/bistrope/settings.store");
    {
        Registry byDefault(kRoot);
        EXPECT_TRUE(byDefault.WriteDword(L"General", L"Mode", 5u));
    }
    EXPECT_TRUE(std::filesystem::exists(temp.Folder() + "/bistrope/settings.store"));
    setenv("XDG_CONFIG_HOME", "relative/not/allowed", 1);
    EXPECT_NE(FileStore::DefaultPath().rfind("relative", 0), 0u);
    if (saved) setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}

TEST(PersistentData, TheBaseLoadsAndSavesNothing) {
    TempStore temp;
    TWIG4::PersistentData data(kRoot, temp.File().c_str());
    EXPECT_FALSE(data.Load());
    EXPECT_FALSE(data.Save());
    EXPECT_FALSE(std::filesystem::exists(temp.File()));
}

TEST_F(RegistryStore, ABatchWritesTheStoreOnceAtCommit) {
    ASSERT_TRUE(registry.WriteDword(L"General", L"Mode", 1u));
    const std::string before = temp.Text();
    std::uint32_t value = 0;
    {
        TWIG4::StoreBatch batch(registry);
        TWIG4::StoreBatch nested(registry);  // one batch at a time: this one does nothing
        ASSERT_TRUE(registry.WriteDword(L"General", L"Mode", 2u));
        ASSERT_TRUE(registry.WriteString(L"General", L"Path", String(L"p")));
        EXPECT_TRUE(registry.ReadDword(L"General", L"Mode", value, 0u));  // seen inside the batch
        EXPECT_EQ(value, 2u);
        EXPECT_EQ(temp.Text(), before);  // not yet on disk
        EXPECT_TRUE(nested.Commit());
        EXPECT_EQ(temp.Text(), before);
        EXPECT_TRUE(batch.Commit());
        EXPECT_NE(temp.Text(), before);
    }
    Registry next(kRoot, Hive::CurrentUser, temp.File().c_str());
    EXPECT_TRUE(next.ReadDword(L"General", L"Mode", value, 0u));
    EXPECT_EQ(value, 2u);

    const std::string committed = temp.Text();
    {
        TWIG4::StoreBatch abandoned(registry);
        ASSERT_TRUE(registry.WriteDword(L"General", L"Mode", 3u));
    }
    EXPECT_EQ(temp.Text(), committed);  // a batch that is not committed writes nothing

    // A batch on a store that cannot be read fails its writes and leaves it alone.
    Registry onFolder(kRoot, Hive::CurrentUser, temp.Folder().c_str());
    TWIG4::StoreBatch batch(onFolder);
    EXPECT_FALSE(onFolder.WriteDword(L"General", L"Mode", 4u));
    EXPECT_FALSE(batch.Commit());
    EXPECT_TRUE(std::filesystem::is_directory(temp.Folder()));
}
