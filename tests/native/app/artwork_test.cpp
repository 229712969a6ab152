// The committed artwork is exactly what resources/art/make_art.py draws, so an edit of the
// script is never left unapplied (sizes, hotspots and states are checked on the compiled
// resources by the Windows resource test).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

TEST(Artwork, FilesAreWhatTheScriptDraws) {
    if (std::system("python3 --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
    // The source tree is two folders above the test data folder (which need not exist).
    const std::filesystem::path script = std::filesystem::path(BISTROPE_TEST_DATA_DIR).parent_path().parent_path() /
                                         "resources" / "art" / "make_art.py";
    const std::string command = "python3 \"" + script.string() + "\" --check";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace
