// The artwork files: their sizes, formats and cursor hotspots, and that they are exactly what
// resources/art/make_art.py draws (so an edit of the script is never left unapplied).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The source tree is two folders above the test data folder (which need not exist).
const std::filesystem::path kArt =
    std::filesystem::path(BISTROPE_TEST_DATA_DIR).parent_path().parent_path() / "resources" / "art";

std::vector<unsigned char> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Le16(const std::vector<unsigned char>& d, size_t at) { return d[at] | d[at + 1] << 8; }
std::uint32_t Le32(const std::vector<unsigned char>& d, size_t at) { return Le16(d, at) | Le16(d, at + 2) << 16; }
std::uint32_t Be32(const std::vector<unsigned char>& d, size_t at) {
    return std::uint32_t(d[at]) << 24 | d[at + 1] << 16 | d[at + 2] << 8 | d[at + 3];
}

TEST(Artwork, ToolbarStripIsTwelveColumnsByFiveStateRowsOfRgbaCells) {
    const auto png = ReadAll(kArt / "Bistrope.dll");
    ASSERT_GE(png.size(), 33u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ(Be32(png, 16), 12u * 48u);
    EXPECT_EQ(Be32(png, 20), 5u * 48u);
    EXPECT_EQ(png[24], 8) << "8 bits per sample";
    EXPECT_EQ(png[25], 6) << "RGBA, so the buttons sit on the rebar's own background";
}

struct CursorFile {
    const char* name;
    unsigned hotX, hotY;
};

TEST(Artwork, CursorsAre32PixelsWithTheirHotspots) {
    const CursorFile cursors[] = {
        {"cur_pan_view.cur", 15, 15},      {"cur_pan_view_drag.cur", 15, 15}, {"cur_zoom_view.cur", 10, 10},
        {"cur_pan_left.cur", 16, 15},      {"cur_pan_left_drag.cur", 16, 15}, {"cur_zoom_view_drag.cur", 10, 10},
        {"cur_rotate_left.cur", 15, 15},   {"cur_rotate_left_drag.cur", 16, 15},
    };
    for (const CursorFile& c : cursors) {
        SCOPED_TRACE(c.name);
        const auto cur = ReadAll(kArt / c.name);
        ASSERT_GE(cur.size(), 22u + 40u);
        EXPECT_EQ(Le16(cur, 2), 2u) << "cursor file";
        ASSERT_EQ(Le16(cur, 4), 1u) << "one image";
        EXPECT_EQ(cur[6], 32);
        EXPECT_EQ(cur[7], 32);
        EXPECT_EQ(Le16(cur, 10), c.hotX);
        EXPECT_EQ(Le16(cur, 12), c.hotY);
        const std::uint32_t offset = Le32(cur, 18);
        ASSERT_LE(offset + 40u, cur.size());
        EXPECT_EQ(Le16(cur, offset + 14), 32u) << "32 bits per pixel with alpha";
    }
}

TEST(Artwork, IconHoldsA48PixelImageAndSmallerOnes) {
    const auto ico = ReadAll(kArt / "app.ico");
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(Le16(ico, 2), 1u) << "icon file";
    const unsigned count = Le16(ico, 4);
    ASSERT_EQ(count, 3u);
    const unsigned sizes[] = {48, 32, 16};
    for (unsigned i = 0; i < count; ++i) {
        EXPECT_EQ(ico[6 + 16 * i], sizes[i]);
        EXPECT_EQ(ico[7 + 16 * i], sizes[i]);
        EXPECT_EQ(Le16(ico, 6 + 16 * i + 6), 32u);
    }
}

TEST(Artwork, RebarBitmapsAre32By48) {
    for (const char* name : {"rebar_left.bmp", "rebar_middle.bmp", "rebar_right.bmp"}) {
        SCOPED_TRACE(name);
        const auto bmp = ReadAll(kArt / name);
        ASSERT_GE(bmp.size(), 54u);
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(Le32(bmp, 18), 32u);
        EXPECT_EQ(Le32(bmp, 22), 48u);
        EXPECT_EQ(Le16(bmp, 28), 24u);
        EXPECT_EQ(bmp.size(), 54u + 32u * 48u * 3u);
    }
}

TEST(Artwork, FilesAreWhatTheScriptDraws) {
    if (std::system("python3 --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
    const std::string command = "python3 \"" + (kArt / "make_art.py").string() + "\" --check";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace
