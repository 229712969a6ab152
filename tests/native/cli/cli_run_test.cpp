// bistrope-cli run as a program: exit codes, one-line messages, the written file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "engine/convert.h"
#include "engine/decode.h"
#include "engine/jpeg_writer.h"
#include "engine/stereo_scene.h"

namespace bistrope {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct Outcome { int exitCode; std::string out, err; };

class CliRun : public ::testing::Test {
protected:
    const fs::path dir_ = fs::temp_directory_path() / ("bistrope-cli-test-" + std::to_string(::getpid()));

    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        // A 48 x 32 left and a 50 x 30 right picture, each of one colour (blue, green, red).
        WritePicture("left.jpg", 48, 32, 200);
        WritePicture("right.jpg", 50, 30, 60);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WritePicture(const std::string& name, int w, int h, int red) {
        ConvertedImage img = ConvertedImage::Create(w, h);
        const std::uint8_t bgr[3] = {std::uint8_t(255 - red), 128, std::uint8_t(red)};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) std::copy(bgr, bgr + 3, img.row(y) + 3 * x);
        ASSERT_TRUE(WriteJpegFile(dir_ / name, img, 95).ok());
    }

    // Runs the program in the scratch folder; stderr goes to a file, so it is not a terminal.
    Outcome Exec(const std::string& args) {
        const int status = std::system(
            ("cd '" + dir_.string() + "' && '" BISTROPE_CLI_PATH "' " + args + " >stdout.txt 2>stderr.txt").c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read("stdout.txt"), Read("stderr.txt")};
    }
    std::string Read(const std::string& name) {
        std::stringstream s;
        s << std::ifstream(dir_ / name).rdbuf();
        return s.str();
    }
};

TEST_F(CliRun, WritesTheAnaglyphOfTheOutputRectangleSilently) {
    Outcome r = Exec("--print-rect -x 1,2 left.jpg right.jpg");
    EXPECT_EQ(std::tuple(r.exitCode, r.out, r.err), std::tuple(0, "-23 -15 25 14\n", ""));
    r = Exec("-x 1,2 -q 90 -o out.jpg left.jpg right.jpg");
    EXPECT_EQ(std::tuple(r.exitCode, r.out, r.err), std::tuple(0, "", ""));  // no progress when stderr is not a terminal
    const DecodeResult d = DecodeImageFile(dir_ / "out.jpg");
    ASSERT_TRUE(d.ok()) << d.status.message;
    EXPECT_EQ(std::pair(d.image.width(), d.image.height()), std::pair(48, 29));
    // Full colour: red from the left (200), green and blue from the right (128, 195).
    const std::uint8_t* p = d.image.row(14) + 4 * 24;
    EXPECT_NEAR(p[2], 200, 4);
    EXPECT_NEAR(p[1], 128, 4);
    EXPECT_NEAR(p[0], 195, 4);
}

TEST_F(CliRun, OneFileHoldingBothEyesIsSplitAsItsNameOrTheOptionSays) {
    ConvertedImage img = ConvertedImage::Create(64, 32);  // red left half, blue right half
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) img.row(y)[3 * x + (x < 32 ? 2 : 0)] = 250;
    ASSERT_TRUE(WriteJpegFile(dir_ / "pair.jps", img, 95).ok());
    fs::copy_file(dir_ / "pair.jps", dir_ / "pair.jpg");
    // A JPS is cross-eyed (the right eye's view on the left): red reaches nothing of the
    // anaglyph; read parallel, the left eye's red and the right eye's blue both show.
    for (const auto& [args, red, blue] : {std::tuple{"-o out.jpg pair.jps", 0, 0},
                                          std::tuple{"-o out.jpg --side-by-side parallel pair.jpg", 250, 250}}) {
        const Outcome r = Exec(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const DecodeResult d = DecodeImageFile(dir_ / "out.jpg");
        ASSERT_EQ(std::pair(d.image.width(), d.image.height()), std::pair(32, 32));
        EXPECT_NEAR(d.image.row(16)[4 * 16 + 2], red, 6) << args;
        EXPECT_NEAR(d.image.row(16)[4 * 16], blue, 6) << args;
    }
}

TEST_F(CliRun, EveryFailureIsOneLineOnStderrAndAnExitCode) {
    std::ofstream(dir_ / "text.png") << "not a picture\n";
    std::ofstream(dir_ / "bad.txt") << "1 2 3\n";
    std::ofstream(dir_ / "ro.jpg") << "old";
    fs::permissions(dir_ / "ro.jpg", fs::perms::owner_read);
    const struct {
        std::string args;
        const char* says;
        int exitCode;
    } cases[] = {
        {"--bogus left.jpg right.jpg", "unknown option", 2},
        {"-o o.jpg text.png right.jpg", "not an image", 1},
        {"-o o.jpg left.jpg", "holds one picture", 1},
        {"-o o.jpg -x 500,0 left.jpg right.jpg", "output rectangle is empty (", 1},
        {"-o nofolder/o.jpg left.jpg right.jpg", "folder does not exist", 1},
        {"-m custom --left-matrix bad.txt -o o.jpg left.jpg right.jpg", "25", 1},
        {"-m custom --left-matrix none.txt -o o.jpg left.jpg right.jpg", "cannot read the matrix file", 1},
        {"-o ro.jpg left.jpg right.jpg", "read-only", 1},
        {"--auto-align -o o.jpg left.jpg right.jpg", "cannot align the pictures: ", 1},
    };
    for (const auto& c : cases) {
        const Outcome r = Exec(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args;
        EXPECT_THAT(r.err, AllOf(::testing::MatchesRegex("bistrope-cli: [^\n]*\n"), ::testing::HasSubstr(c.says))) << c.args;
        EXPECT_FALSE(fs::exists(dir_ / "o.jpg")) << c.args;
    }
    EXPECT_EQ(Read("ro.jpg"), "old");  // the read-only file stays as it was
}

// JPEG files of a synthetic pair whose alignment is known (engine/stereo_scene.h).
void WriteScene(const fs::path& dir, const test::SceneParams& scene) {
    const auto [left, right] = test::StereoScene(scene);
    for (const auto& [source, name] : {std::pair(&left, "sl.jpg"), std::pair(&right, "sr.jpg")}) {
        const ConvertedImage img = ConvertImage(*source, std::nullopt, source->width(), source->height());
        ASSERT_TRUE(WriteJpegFile(dir / name, img, 95).ok());
    }
}

TEST_F(CliRun, AutoAlignPrintsOrRendersTheAlignmentItFindsAndABatchAlignsTheSameWay) {
    test::SceneParams scene;
    scene.truth = {-5.0, 6.5, -4.0};
    WriteScene(dir_, scene);
    Outcome r = Exec("--auto-align --print-alignment sl.jpg sr.jpg");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    double x = 0, y = 0, rotation = 0;
    ASSERT_EQ(std::sscanf(r.out.c_str(), "%lf,%lf %lf", &x, &y, &rotation), 3);
    EXPECT_NEAR(x, scene.truth.offsetX - scene.nearShift, 0.15);
    EXPECT_NEAR(y, scene.truth.offsetY, 0.1);
    EXPECT_NEAR(rotation, scene.truth.rotation, 0.02);

    r = Exec("--auto-align -o o.jpg sl.jpg sr.jpg");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const DecodeResult written = DecodeImageFile(dir_ / "o.jpg");  // no picture: width 0
    const OutputRect rect = ComputeOutputRect(ImageSize{320, 240}, ImageSize{320, 240}, {x, y, rotation});
    EXPECT_NEAR(written.image.width(), rect.Width(), 1);
    // A batch aligns each pair the same way.
    fs::create_directories(dir_ / "in");
    fs::copy_file(dir_ / "sl.jpg", dir_ / "in/s_L.jpg");
    fs::copy_file(dir_ / "sr.jpg", dir_ / "in/s_R.jpg");
    EXPECT_EQ(Exec("--batch --auto-align -O out in").exitCode, 0);
    EXPECT_EQ(Read("out/s.jpg"), Read("o.jpg"));
}

TEST_F(CliRun, ABatchMakesEveryPairItCanNamesTheOthersAndResumes) {
    fs::create_directories(dir_ / "in");
    for (const char* eye : {"a_L.jpg", "b-left.jpg"}) fs::copy_file(dir_ / "left.jpg", dir_ / "in" / eye);
    for (const char* eye : {"a_R.jpg", "b-right.jpg", "c_R.jpg"}) fs::copy_file(dir_ / "right.jpg", dir_ / "in" / eye);
    std::ofstream(dir_ / "in/c_L.jpg") << "not a picture";
    const std::string batch = "--batch -O out/new -x 1,2 -q 90 --report r.jsonl in";
    Outcome r = Exec(batch);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, HasSubstr("c.jpg (from \"in/c_L.jpg\", \"in/c_R.jpg\") failed: Cannot read \"in/c_L.jpg\""));
    // The other pairs are written as single runs write them; nothing else is left.
    ASSERT_EQ(Exec("-x 1,2 -q 90 -o single.jpg left.jpg right.jpg").exitCode, 0);
    EXPECT_EQ(Read("out/new/a.jpg"), Read("single.jpg"));
    EXPECT_EQ(Read("out/new/b.jpg"), Read("single.jpg"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "out/new"), fs::directory_iterator()), 2);
    // The next run keeps a.jpg, remakes b.jpg (an input changed since) and removes what an
    // interrupted run left; --force remakes all.
    std::ofstream(dir_ / "out/new/.a.jpg.99-0.tmp") << "partial";
    fs::last_write_time(dir_ / "in/b-right.jpg", fs::last_write_time(dir_ / "out/new/b.jpg") + std::chrono::seconds(1));
    r = Exec(batch);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, AllOf(HasSubstr("a.jpg up to date, skipped"), HasSubstr("b.jpg written"),
                             HasSubstr("3 pairs: 1 written, 1 skipped, 1 failed")));
    EXPECT_FALSE(fs::exists(dir_ / "out/new/.a.jpg.99-0.tmp"));
    EXPECT_THAT(Exec(batch + " --force").err, HasSubstr("3 pairs: 2 written, 0 skipped, 1 failed"));
    // One JSON line per pair and run, appended.
    const std::string report = Read("r.jsonl");
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 9);
    EXPECT_THAT(report, HasSubstr("{\"inputs\":[\"in/a_L.jpg\",\"in/a_R.jpg\"],\"output\":\"out/new/a.jpg\","
                                  "\"status\":\"written\",\"reason\":null,\"alignment\":{\"x\":1,\"y\":2,\"rotation\":0},"));
}

}  // namespace
}  // namespace bistrope
