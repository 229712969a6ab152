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
