// The settings file's addressing: names compare without regard to ASCII case only.
#include <gtest/gtest.h>

#include "framework/native/file_store.h"

using namespace TWIG4;

TEST(FileStoreNames, FoldTheWholeAsciiAlphabetAndNothingElse) {
    FileStore store("unused");
    const unsigned char one[4] = {1, 0, 0, 0};
    ASSERT_TRUE(store.SetValue(Hive::CurrentUser, u"Software\\Zyx", u"az\u00e0", 4, one, 4));
    EXPECT_NE(store.FindValue(Hive::CurrentUser, u"SOFTWARE\\zYX\\", u"AZ\u00e0"), nullptr);
    EXPECT_EQ(store.FindValue(Hive::CurrentUser, u"Software\\Zyx", u"az\u00c0"), nullptr);
    EXPECT_EQ(store.FindValue(Hive::LocalMachine, u"Software\\Zyx", u"az\u00e0"), nullptr);
}

TEST(FileStoreParse, CommentsAreSkippedAndDwordsOfOtherLengthsRefused) {
    FileStore store("unused");
    store.Parse("[HKEY_CURRENT_USER\\K]\n# \"a\"=dword:00000001\n\"c\"=dword:00000002\n");
    EXPECT_FALSE(store.Corrupt());
    EXPECT_EQ(store.FindValue(Hive::CurrentUser, u"K", u"a"), nullptr);
    store.Parse("[HKEY_CURRENT_USER\\K]\n\"b\"=dword:000000001\n\"c\"=dword:00000002\n");
    EXPECT_TRUE(store.Corrupt());
    EXPECT_EQ(store.FindValue(Hive::CurrentUser, u"K", u"b"), nullptr);
    EXPECT_NE(store.FindValue(Hive::CurrentUser, u"K", u"c"), nullptr);
}
