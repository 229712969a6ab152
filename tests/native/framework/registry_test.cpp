// TWIG4::Registry over the native file store: the scenarios both backends share, then what
// only the file store has (its text format, damaged files, failed writes, batches).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/native/file_store.h"
#include "framework/registry.h"
#include "temp_store.h"

namespace {
std::u16string Units(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
}  // namespace

struct RegistryBackend {
    TempStore temp;
    std::wstring root = L"Software\\BistropeTest";
    TWIG4::Registry Open(const std::wstring& r) { return TWIG4::Registry(r.c_str(), TWIG4::Hive::CurrentUser, temp.File().c_str()); }
    void Put(const wchar_t* subkey, const wchar_t* name, std::uint32_t type, const std::vector<unsigned char>& data) {
        TWIG4::FileStore store(temp.File());
        store.Load();
        ASSERT_TRUE(store.SetValue(TWIG4::Hive::CurrentUser, Units(root + L"\\" + subkey), Units(name), type, data.data(), data.size()));
        ASSERT_TRUE(store.Save());
    }
    bool Get(const wchar_t* subkey, const wchar_t* name, std::uint32_t& type, std::vector<unsigned char>& data) {
        const TWIG4::FileStore store = temp.Load();
        const TWIG4::StoredValue* v = store.FindValue(TWIG4::Hive::CurrentUser, Units(root + L"\\" + subkey), Units(name));
        if (!v) return false;
        type = v->type;
        data = v->data;
        return true;
    }
};

#include "registry_scenarios.h"

namespace registry_scenarios {

class RegistryFileStore : public RegistryKeys {
protected:
    Registry registry = store.Open(store.root);
};

TEST_F(RegistryFileStore, IsPlainTextInOneFormatAndKeepsHivesApart) {
    ASSERT_TRUE(registry.WriteString(L"General", L"Left image path", String(L"C:\\a \"b\"")));
    ASSERT_TRUE(registry.WriteDword(L"General", L"Default file view", 3u));
    ASSERT_TRUE(registry.WriteFloat(L"Custom blending\\left matrix", L"M00", 1.0f));
    store.Put(L"General", L"Raw", 1, Utf16(std::u16string(u"x") + u'\0'));
    EXPECT_EQ(store.temp.Text(),
              "; Bistrope settings store 1\n"
              "\n[HKEY_CURRENT_USER\\Software\\BistropeTest\\General]\n"
              "\"Left image path\"=\"C:\\\\a \\\"b\\\"\"\n"
              "\"Default file view\"=dword:00000003\n"
              "\"Raw\"=hex(1):78,00,00,00\n"
              "\n[HKEY_CURRENT_USER\\Software\\BistropeTest\\Custom blending\\left matrix]\n"
              "\"M00\"=\"1.00000000\"\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(store.temp.Folder()), std::filesystem::directory_iterator()), 1);  // no temporary file

    Registry machine(L"Software\\BistropeTest", TWIG4::Hive::LocalMachine, store.temp.File().c_str());
    std::uint32_t value = 0;
    EXPECT_FALSE(machine.ReadDword(L"General", L"Default file view", value, 0u));
    ASSERT_TRUE(machine.WriteDword(L"General", L"Default file view", 5u));
    EXPECT_TRUE(registry.ReadDword(L"General", L"Default file view", value, 0u));
    EXPECT_EQ(value, 3u);
}

TEST_F(RegistryFileStore, ADamagedFileGivesWhatCanBeReadAndIsKeptAtTheFirstWrite) {
    std::string damaged =
        "; Bistrope settings store 1\n[HKEY_CURRENT_USER\\Software\\BistropeTest\\General]\n"
        "\"Good\"=dword:00000011\ngarbage line\n\"BadDword\"=dword:123\n\"BadHex\"=hex(1):4,00\n"
        "\"Unclosed\"=\"C:\\\\pho\n[HKEY_NOWHERE\\Software\\BistropeTest\\General]\n\"Lost\"=dword:00000001\n"
        "[HKEY_CURRENT_USER\\Software\\BistropeTest\\Texts]\r\n\"Text\"=\"kept\"\r\n";
    for (int i = 0; i < 512; ++i) damaged.push_back(static_cast<char>((i * 7919) % 256));
    damaged += "\n\"Cut\"=dwo";  // binary garbage, and the file ends in the middle of a line
    store.temp.Write(damaged);
    std::uint32_t value = 0;
    EXPECT_TRUE(registry.ReadDword(L"General", L"Good", value, 0u));
    EXPECT_EQ(value, 0x11u);
    String text;
    EXPECT_TRUE(registry.ReadString(L"Texts", L"Text", text, L""));
    EXPECT_STREQ(text.GetBuffer(), L"kept");
    for (const wchar_t* name : {L"BadDword", L"BadHex", L"Unclosed", L"Lost", L"Cut"}) {
        EXPECT_FALSE(registry.ReadDword(L"General", name, value, 77u)) << name;
        EXPECT_EQ(value, 77u);
    }
    EXPECT_TRUE(store.temp.Load().Corrupt());
    ASSERT_TRUE(registry.WriteDword(L"General", L"New", 1u));
    EXPECT_EQ(store.temp.Read(store.temp.File() + ".bad"), damaged);
    const TWIG4::FileStore clean = store.temp.Load();
    EXPECT_FALSE(clean.Corrupt());
    EXPECT_NE(clean.FindValue(TWIG4::Hive::CurrentUser, u"Software\\BistropeTest\\Texts", u"Text"), nullptr);
}

TEST_F(RegistryFileStore, AFailedWriteLeavesTheStoreAsItWas) {
    ASSERT_TRUE(registry.WriteDword(L"General", L"Mode", 3u));
    const std::string before = store.temp.Text();
    const std::string blocker = store.temp.File() + ".tmp-" + std::to_string(static_cast<long>(getpid()));
    ASSERT_TRUE(std::filesystem::create_directory(blocker));  // the temporary file's name is taken
    EXPECT_FALSE(registry.WriteDword(L"General", L"Mode", 4u));
    EXPECT_EQ(store.temp.Text(), before);
    std::filesystem::remove(blocker);

    Registry inFile(L"Software\\BistropeTest", TWIG4::Hive::CurrentUser, (store.temp.File() + "/below").c_str());
    std::uint32_t value = 0;
    EXPECT_FALSE(inFile.ReadDword(L"General", L"Mode", value, 2u));
    EXPECT_EQ(value, 2u);
    EXPECT_FALSE(inFile.WriteDword(L"General", L"Mode", 4u));
    Registry onFolder(L"Software\\BistropeTest", TWIG4::Hive::CurrentUser, store.temp.Folder().c_str());
    EXPECT_FALSE(onFolder.WriteDword(L"General", L"Mode", 4u));
    EXPECT_TRUE(std::filesystem::is_directory(store.temp.Folder()));
    EXPECT_FALSE(store.Open(L"").WriteDword(nullptr, L"V", 2u));  // no key to open
    EXPECT_FALSE(store.Open(L"Software\\\\x").WriteDword(L"s", L"V", 2u));
    EXPECT_EQ(store.temp.Text(), before);
}

TEST_F(RegistryFileStore, ABatchWritesTheStoreOnceAtCommit) {
    ASSERT_TRUE(registry.WriteDword(L"General", L"Mode", 1u));
    const std::string before = store.temp.Text();
    std::uint32_t value = 0;
    {
        TWIG4::StoreBatch batch(registry);
        TWIG4::StoreBatch nested(registry);  // one batch at a time: this one does nothing
        ASSERT_TRUE(registry.WriteDword(L"General", L"Mode", 2u));
        EXPECT_TRUE(registry.ReadDword(L"General", L"Mode", value, 0u));
        EXPECT_EQ(value, 2u);  // seen inside the batch, not yet on disk
        EXPECT_TRUE(nested.Commit());
        EXPECT_EQ(store.temp.Text(), before);
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_TRUE(store.Open(store.root).ReadDword(L"General", L"Mode", value, 0u));
    EXPECT_EQ(value, 2u);
    const std::string committed = store.temp.Text();
    {
        TWIG4::StoreBatch abandoned(registry);
        ASSERT_TRUE(registry.WriteDword(L"General", L"Mode", 3u));
    }
    EXPECT_EQ(store.temp.Text(), committed);
}

TEST_F(RegistryFileStore, TheDefaultStoreFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedValue = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", store.temp.Folder().c_str(), 1);
    EXPECT_TRUE(Registry(L"Software\\BistropeTest").WriteDword(L"General", L"Mode", 5u));
    EXPECT_TRUE(std::filesystem::exists(store.temp.Folder() + "/bistrope/settings.store"));
    setenv("XDG_CONFIG_HOME", "relative/not/allowed", 1);
    EXPECT_NE(TWIG4::FileStore::DefaultPath().rfind("relative", 0), 0u);
    if (saved) setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace registry_scenarios
