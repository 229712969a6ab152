// The layers depend one way: app -> view -> document -> engine -> base, with the framework
// beside engine and document (view and app use it), and bistrope-cli on the document. A
// source file that includes a header of a layer above its own, or a library below the
// application that links it, fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kRoot = BISTROPE_SOURCE_DIR;

// The folders each layer's sources may include from (its own among them).
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"base", {"base"}},
    {"engine", {"base", "engine"}},
    {"framework", {"base", "framework"}},
    {"document", {"base", "engine", "document"}},
    {"view", {"base", "engine", "framework", "document", "view", "resources"}},
    {"app", {"base", "engine", "framework", "document", "view", "app", "resources"}},
    {"cli", {"base", "engine", "document", "cli"}},
};

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Layers, NoSourceIncludesALayerAboveItsOwn) {
    const std::regex include(R"re(#\s*include\s*"([a-z_]+)/)re");
    int files = 0;
    for (const auto& [layer, allowed] : kAllowed) {
        for (const auto& entry : fs::recursive_directory_iterator(kRoot / layer)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            ++files;
            const std::string text = Read(entry.path());
            for (std::sregex_iterator it(text.begin(), text.end(), include), end; it != end; ++it)
                EXPECT_TRUE(allowed.count((*it)[1].str()))
                    << fs::relative(entry.path(), kRoot).string() << " includes " << (*it)[0].str();
        }
    }
    EXPECT_GT(files, 100);  // the walk found the tree
}

TEST(Layers, OnlyTheApplicationLinksTheApplication) {
    for (const char* layer : {"base", "engine", "framework", "document", "view", "cli"}) {
        const std::string cmake = Read(kRoot / layer / "CMakeLists.txt");
        EXPECT_FALSE(cmake.empty()) << layer;
        EXPECT_EQ(cmake.find("bistrope_app"), std::string::npos) << layer << "/CMakeLists.txt links the application";
        if (std::string(layer) != "view")
            EXPECT_EQ(cmake.find("bistrope_view"), std::string::npos) << layer << "/CMakeLists.txt links the view";
    }
}

TEST(Layers, PortableHeadersKeepWindowsOut) {
    const std::regex windows(R"re(#\s*include\s*<(windows|gdiplus|GL/gl)\.h>)re");
    for (const auto& [layer, allowed] : kAllowed)
        for (const auto& entry : fs::recursive_directory_iterator(kRoot / layer)) {
            if (entry.path().extension() != ".h" || entry.path().parent_path().filename() == "win") continue;
            EXPECT_FALSE(std::regex_search(Read(entry.path()), windows))
                << fs::relative(entry.path(), kRoot).string() << " is portable but includes a Windows header";
        }
}

}  // namespace
