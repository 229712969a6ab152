// bistrope-cli run as a program: exit codes, one-line messages, the written file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "engine/convert.h"
#include "engine/decode.h"
#include "engine/jpeg_writer.h"

namespace bistrope {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

class CliRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("bistrope-cli-test-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        // A 48 x 32 left and 50 x 30 right image, written with the engine's own writer.
        WritePicture("left.jpg", 48, 32, 200);
        WritePicture("right.jpg", 50, 30, 60);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WritePicture(const std::string& name, int w, int h, int red) {
        ConvertedImage img = ConvertedImage::Create(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint8_t* p = img.row(y) + 3 * x;
                p[0] = std::uint8_t(255 - red), p[1] = 128, p[2] = std::uint8_t(red);
            }
        ASSERT_TRUE(WriteJpegFile(dir_ / name, img, 95).ok());
    }

    // Runs the program in the scratch folder; stderr goes to a file, so it is not a terminal.
    Outcome Exec(const std::string& args) {
        const std::string cmd = "cd '" + dir_.string() + "' && '" BISTROPE_CLI_PATH "' " + args + " 2>stderr.txt";
        Outcome r;
        FILE* p = popen(cmd.c_str(), "r");
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
        const int status = pclose(p);
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream e(dir_ / "stderr.txt");
        std::stringstream s;
        s << e.rdbuf();
        r.err = s.str();
        return r;
    }

    fs::path dir_;
};

int Lines(const std::string& s) { return int(std::count(s.begin(), s.end(), '\n')); }

TEST_F(CliRun, WritesTheAnaglyphOfTheOutputRectangleSilently) {
    Outcome r = Exec("--print-rect -x 1,2 left.jpg right.jpg");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "-23 -15 25 14\n");
    r = Exec("-x 1,2 -q 90 -o out.jpg left.jpg right.jpg");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");  // no progress when stderr is not a terminal
    EXPECT_EQ(r.out, "");
    const DecodeResult d = DecodeImageFile(dir_ / "out.jpg");
    ASSERT_TRUE(d.ok()) << d.status.message;
    EXPECT_EQ(d.image.width(), 48);
    EXPECT_EQ(d.image.height(), 29);
    // Full colour: red from the left (200), green and blue from the right (128, 195).
    const std::uint8_t* p = d.image.row(14) + 4 * 24;
    EXPECT_NEAR(p[2], 200, 4);
    EXPECT_NEAR(p[1], 128, 4);
    EXPECT_NEAR(p[0], 195, 4);
    // Mono: grey levels from both eyes; custom with a matrix file.
    r = Exec("-m mono -o mono.jpg left.jpg right.jpg");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::ofstream(dir_ / "m.txt") << "0 0 0 0 0\n0 0 0 0 0\n0 0 0 0 0\n0 0 0 1 0\n1 0 0 0 1\n";
    r = Exec("-m custom --left-matrix m.txt -o custom.jpg left.jpg right.jpg");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const DecodeResult c = DecodeImageFile(dir_ / "custom.jpg");
    ASSERT_TRUE(c.ok());
    EXPECT_NEAR(c.image.row(10)[4 * 10 + 2], 255, 2);  // the constant row's red
}

TEST_F(CliRun, PrintRectPrintsAnEmptyRectangleToo) {
    const Outcome r = Exec("--print-rect --offset=-200,0 left.jpg right.jpg");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "-25 -15 -25 15\n");
}

TEST_F(CliRun, EveryFailureIsOneLineOnStderrAndNonZero) {
    std::ofstream(dir_ / "text.png") << "not a picture\n";
    std::ofstream(dir_ / "bad.txt") << "1 2 3\n";
    const struct {
        std::string args;
        const char* says;
    } cases[] = {
        {"--bogus left.jpg right.jpg", "unknown option"},
        {"-o o.jpg left.jpg", "two images"},
        {"-o o.jpg missing.jpg right.jpg", "missing.jpg"},
        {"-o o.jpg text.png right.jpg", "not an image"},
        {"-o o.jpg -x 500,0 left.jpg right.jpg", "output rectangle is empty"},
        {"-o nofolder/o.jpg left.jpg right.jpg", "folder does not exist"},
        {"-m custom --left-matrix bad.txt -o o.jpg left.jpg right.jpg", "25"},
        {"-m custom --left-matrix none.txt -o o.jpg left.jpg right.jpg", "cannot read the matrix file"},
        {"--print-rect left.jpg text.png", "not an image"},
    };
    for (const auto& c : cases) {
        const Outcome r = Exec(c.args);
        EXPECT_NE(r.exitCode, 0) << c.args;
        EXPECT_EQ(Lines(r.err), 1) << c.args << ": " << r.err;
        EXPECT_THAT(r.err, StartsWith("bistrope-cli: ")) << c.args;
        EXPECT_THAT(r.err, HasSubstr(c.says)) << c.args;
        EXPECT_FALSE(fs::exists(dir_ / "o.jpg")) << c.args;
    }
    // Unwritable output: a read-only file stays as it was.
    std::ofstream(dir_ / "ro.jpg") << "old";
    fs::permissions(dir_ / "ro.jpg", fs::perms::owner_read);
    const Outcome r = Exec("-o ro.jpg left.jpg right.jpg");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, HasSubstr("read-only"));
    std::ifstream in(dir_ / "ro.jpg");
    std::string content;
    in >> content;
    EXPECT_EQ(content, "old");
    fs::permissions(dir_ / "ro.jpg", fs::perms::owner_all);
}

TEST_F(CliRun, HelpListsTheOptions) {
    const Outcome r = Exec("--help");
    EXPECT_EQ(r.exitCode, 0);
    for (const char* o : {"--output", "--mode", "--offset", "--rotation", "--quality", "--left-matrix", "--right-matrix",
                          "--print-rect", "--help"})
        EXPECT_THAT(r.out, HasSubstr(o));
}

}  // namespace
}  // namespace bistrope
