// The version has one home, project(VERSION) in the top CMakeLists.txt; the code and the
// resource scripts take it from the generated base/version.h, the scripts from
// bistrope_version (scripts/lib.sh), the packages from CMake. A version written out again
// anywhere else would be left behind by the next release.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "base/version.h"

namespace fs = std::filesystem;

namespace {

TEST(Version, IsWrittenOnlyInTheTopCMakeLists) {
    const fs::path root = BISTROPE_SOURCE_DIR;
    const auto text = [](const fs::path& file) {
        std::ostringstream s;
        s << std::ifstream(file, std::ios::binary).rdbuf();
        return s.str();
    };
    EXPECT_NE(text(root / "CMakeLists.txt").find("project(Bistrope VERSION " BISTROPE_VERSION " "), std::string::npos);

    // The version as text or as a pattern (dots escaped). The settings keys' names
    // (app/reg_data.h, app/frame_layout.h) are fixed and do not follow it.
    const std::string dotted = std::regex_replace(BISTROPE_VERSION, std::regex("\\."), "\\\\?\\.");
    const std::regex written("(Bistrope)?" + dotted + "($|[^0-9])");
    const std::set<std::string> kinds = {".h", ".cpp", ".rc", ".in", ".nsi", ".sh", ".cmake", ".py", ".txt"};
    int files = 0;
    for (const char* folder : {"app", "base", "cli", "cmake", "document", "engine", "framework", "view",
                               "resources", "packaging", "scripts", "tests"})
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            if (!kinds.count(entry.path().extension().string())) continue;
            ++files;
            const std::string source = text(entry.path());
            for (std::sregex_iterator it(source.begin(), source.end(), written), end; it != end; ++it)
                EXPECT_TRUE((*it)[1].matched) << fs::relative(entry.path(), root).string() << " writes the version "
                                              << (*it)[0].str();
        }
    EXPECT_GT(files, 150);  // the walk found the tree
}

}  // namespace
