// TWIG4::Registry over the native file store: the scenarios both backends share, then what
// only the file store has (its text format, damaged files, failed writes, batches).
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "framework/native/file_store.h"
#include "framework/registry.h"
#include "temp_store.h"

namespace {
const wchar_t kRoot[] = L"Software\\BistropeTest";
std::u16string Units(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
}  // namespace

struct RegistryBackend {
    TempStore temp;
    std::wstring root = kRoot;
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
    ASSERT_TRUE(Registry(store.root.c_str(), TWIG4::Hive::LocalMachine, store.temp.File().c_str()).WriteDword(L"G", L"M", 5u));
    EXPECT_EQ(store.temp.Text(),
              "; Bistrope settings store 1\n"
              "\n[HKEY_CURRENT_USER\\Software\\BistropeTest\\General]\n"
              "\"Left image path\"=\"C:\\\\a \\\"b\\\"\"\n"
              "\"Default file view\"=dword:00000003\n"
              "\"Raw\"=hex(1):78,00,00,00\n"
              "\n[HKEY_CURRENT_USER\\Software\\BistropeTest\\Custom blending\\left matrix]\n"
              "\"M00\"=\"1.00000000\"\n"
              "\n[HKEY_LOCAL_MACHINE\\Software\\BistropeTest\\G]\n"
              "\"M\"=dword:00000005\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(store.temp.Folder()), std::filesystem::directory_iterator()), 1);  // no temporary file
}

TEST_F(RegistryFileStore, ADamagedFileGivesWhatCanBeReadAndIsKeptAtTheFirstWrite) {
    std::string damaged =
        "; Bistrope settings store 1\n[HKEY_CURRENT_USER\\Software\\BistropeTest\\S]\n\"V\"=dword:00000011\n"
        "garbage line\n\"A\"=dword:123\n\"B\"=hex(1):4,00\n\"C\"=\"C:\\\\pho\n[HKEY_NOWHERE\\Software\\BistropeTest\\S]\n"
        "\"D\"=dword:00000001\r\n";
    for (int i = 0; i < 512; ++i) damaged.push_back(static_cast<char>((i * 7919) % 256));
    damaged += "\n\"E\"=dwo";  // binary garbage, and the file ends in the middle of a line
    store.temp.Write(damaged);
    Reads<std::uint32_t>(0x11)(registry);
    for (const wchar_t* name : {L"A", L"B", L"C", L"D", L"E"}) {
        std::uint32_t value = 0;
        EXPECT_FALSE(registry.ReadDword(L"S", name, value, 77u)) << name;
    }
    EXPECT_TRUE(store.temp.Load().Corrupt());
    ASSERT_TRUE(registry.WriteDword(L"S", L"New", 1u));
    EXPECT_EQ(store.temp.Read(store.temp.File() + ".bad"), damaged);
    EXPECT_FALSE(store.temp.Load().Corrupt());
    Reads<std::uint32_t>(0x11)(registry);
}

TEST_F(RegistryFileStore, AFailedWriteLeavesTheStoreAsItWas) {
    ASSERT_TRUE(registry.WriteDword(L"S", L"V", 3u));
    const std::string before = store.temp.Text();
    const std::string blocker = store.temp.File() + ".tmp-" + std::to_string(static_cast<long>(getpid()));
    ASSERT_TRUE(std::filesystem::create_directory(blocker));  // the temporary file's name is taken
    EXPECT_FALSE(registry.WriteDword(L"S", L"V", 4u));
    std::filesystem::remove(blocker);
    EXPECT_FALSE(Registry(kRoot, TWIG4::Hive::CurrentUser, (store.temp.File() + "/below").c_str()).WriteDword(L"S", L"V", 4u));
    EXPECT_FALSE(Registry(kRoot, TWIG4::Hive::CurrentUser, store.temp.Folder().c_str()).WriteDword(L"S", L"V", 4u));
    EXPECT_FALSE(store.Open(L"").WriteDword(nullptr, L"V", 2u));  // no key to open
    EXPECT_FALSE(store.Open(L"Software\\\\x").WriteDword(L"s", L"V", 2u));
    EXPECT_EQ(store.temp.Text(), before);
    EXPECT_TRUE(std::filesystem::is_directory(store.temp.Folder()));
}

TEST_F(RegistryFileStore, ABatchWritesTheStoreOnceAtCommitOrNotAtAll) {
    ASSERT_TRUE(registry.WriteDword(L"S", L"V", 1u));
    const std::string before = store.temp.Text();
    {
        TWIG4::StoreBatch batch(registry);
        TWIG4::StoreBatch nested(registry);  // one batch at a time: this one does nothing
        ASSERT_TRUE(registry.WriteDword(L"S", L"V", 2u));
        Reads<std::uint32_t>(2)(registry);  // seen inside the batch, not yet on disk
        EXPECT_TRUE(nested.Commit());
        EXPECT_EQ(store.temp.Text(), before);
        EXPECT_TRUE(batch.Commit());
    }
    Registry next = store.Open(store.root);
    Reads<std::uint32_t>(2)(next);
    const std::string committed = store.temp.Text();
    {
        TWIG4::StoreBatch abandoned(registry);
        ASSERT_TRUE(registry.WriteDword(L"S", L"V", 3u));
    }
    EXPECT_EQ(store.temp.Text(), committed);
}

// Found by fuzz/fuzz_settings_store: "x\\" kept a trailing backslash, was written as "x\"
// and read back as another key "x".
TEST(FileStoreText, AKeyPathEndingInAnEmptyComponentIsRefusedAndWhatIsWrittenReadsBack) {
    TWIG4::FileStore text("unused"), again("unused");
    text.Parse("[HKEY_CURRENT_USER\\Software\\x\\\\]\n\"V\"=dword:00000001\n"
               "[HKEY_CURRENT_USER\\Software\\y\\]\n\"W\"=dword:00000002\n");
    EXPECT_TRUE(text.Corrupt());
    ASSERT_EQ(text.Keys().size(), 1u);
    EXPECT_TRUE(text.Keys()[0].path == u"Software\\y" && text.Keys()[0].values.size() == 1);
    for (std::u16string path : {u"a\\\\", u"\\", u"a\\\\\\"}) EXPECT_FALSE(TWIG4::FileStore::NormaliseKeyPath(path));
    again.Parse(text.Serialize());
    EXPECT_EQ(again.Serialize(), text.Serialize());
}

}  // namespace registry_scenarios
