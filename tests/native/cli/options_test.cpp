// The option parser of bistrope-cli.
#include "cli/options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace bistrope::cli {
namespace {

using ::testing::HasSubstr;

// The parsed options in one line: images, output, mode, quality, offset, rotation, flags.
std::string Parsed(const std::vector<std::string>& args) {
    const ParseResult r = ParseOptions(args);
    const Options& o = r.options;
    std::ostringstream s;
    s << o.left << ' ' << o.right << ' ' << o.output << " m" << o.mode << " q" << o.quality << ' ' << o.alignment.offsetX
      << ',' << o.alignment.offsetY << " r" << o.alignment.rotation << (o.printRect ? " rect" : "") << (o.help ? " help" : "");
    return r.ok() ? s.str() : r.error;
}

TEST(CliOptions, DefaultsTheGnuSpellingsOfEveryOptionAndThePrintedAlignment) {
    EXPECT_EQ(Parsed({"l.jpg", "r.jpg", "-o", "out.jpg"}), "l.jpg r.jpg out.jpg m2 q80 0,0 r0");
    // Long with "=" or a separate value, abbreviated, short attached (also negative), "--".
    EXPECT_EQ(Parsed({"--mode=optimised", "--qual", "95", "--rotation=-1.5", "-x-3,4", "--output=o.jpg", "--", "-a", "b"}),
              "-a b o.jpg m4 q95 -3,4 r-1.5");
    EXPECT_EQ(Parsed({"-r", "-20", "-q0", "-m", "5", "--print-rect", "--offset", "12.5,-7.25", "a", "b"}),  // no -o needed
              "a b  m5 q0 12.5,-7.25 r-20 rect");
    EXPECT_EQ(Parsed({"-h"}), "   m2 q80 0,0 r0 help");
    // A batch takes any number of inputs and options of its own.
    const ParseResult r = ParseOptions({"--batch", "-Oout", "a", "-j", "3", "--shard=2/5", "--report", "r.json", "--force",
                                        "-m", "half", "b", "c"});
    const Options& o = r.options;
    EXPECT_EQ(std::tuple(r.error, o.inputs, o.destination, o.jobs, o.shard, o.shards, o.report, o.force, o.mode),
              std::tuple("", std::vector<std::string>{"a", "b", "c"}, "out", 3, 2, 5, "r.json", true, 3u));
    // What --auto-align --print-alignment prints, -x and -r take back.
    EXPECT_EQ(FormatAlignment({3.5, -7.125, 17.25}) + " " + FormatAlignment({-12.346, 0.004, -0.0004}),
              "3.50,-7.13 17.250 -12.35,0.00 0.000");
    EXPECT_EQ(Parsed({"-o", "o", "-x", "3.50,-7.13", "-r", "17.250", "a", "b"}), "a b o m2 q80 3.5,-7.13 r17.25");
}

TEST(CliOptions, BadOptionsSayWhatIsWrongInOneLine) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"-o", "o", "a", "b", "c"}, "two images"},
        {{"-o", "o", "--side-by-side", "cross", "a", "b"}, "one file"},
        {{"-o", "o", "--side-by-side", "up", "a"}, "parallel or cross"},
        {{"a", "b"}, "no output"},
        {{"-o", "o", "a", "b", "--bogus"}, "unknown option '--bogus'"},
        {{"-o", "o", "a", "b", "-z"}, "unknown option '-z'"},
        {{"-o", "o", "a", "b", "--r=1"}, "ambiguous"},
        {{"-o", "o", "a", "b", "-q"}, "needs a value"},
        {{"-o", "o", "a", "b", "-q", "101"}, "0..100"},
        {{"-o", "o", "a", "b", "-q", "8x"}, "0..100"},
        {{"-o", "o", "a", "b", "-r", "20.5"}, "-20..20"},
        {{"-o", "o", "a", "b", "-r", "nan"}, "number of degrees"},
        {{"-o", "o", "a", "b", "-x", "3,"}, "X,Y"},
        {{"-o", "o", "a", "b", "-m", "6"}, "unknown mode '6'"},
        {{"-o", "o", "a", "b", "-m", "0"}, "unknown mode '0'"},
        {{"-o", "o", "a", "b", "--print-rect=1"}, "takes no value"},
        {{"-o", "o", "a", "b", "--left-matrix", "m.txt"}, "--mode custom"},
        {{"-o", "", "a", "b"}, "empty"},
        {{"-o", "o", "--auto-align", "-x", "0,0", "a", "b"}, "cannot be given with --auto-align"},
        {{"-r", "1", "--auto-align", "--print-alignment", "a", "b"}, "cannot be given with --auto-align"},
        {{"--print-alignment", "a", "b"}, "needs --auto-align"},
        {{"--auto-align", "--print-rect", "a", "b"}, "cannot be combined"},
        {{"--batch", "-O", "o", "--shard", "0/3", "a"}, "1 <= K <= N"},
        {{"--batch", "-O", "o", "--shard", "4/3", "a"}, "1 <= K <= N"},
        {{"--batch", "-O", "o", "--shard", "3", "a"}, "1 <= K <= N"},
        {{"--batch", "-O", "o", "--jobs", "0", "a"}, "1..256"},
        {{"--batch", "a"}, "-O FOLDER"},
        {{"--batch", "-O", "o"}, "at least one"},
        {{"--batch", "-O", "o", "-o", "x.jpg", "a"}, "for one pair"},
        {{"-O", "o", "-o", "x.jpg", "a", "b"}, "only to --batch"},
        {{"--force", "-o", "x.jpg", "a", "b"}, "only to --batch"},
        {{"--batch", "-O", "o", "--auto-align", "--print-alignment", "a"}, "for one pair"},
    };
    for (const auto& [args, says] : cases)
        EXPECT_THAT(ParseOptions(args).error, AllOf(HasSubstr(says), ::testing::Not(HasSubstr("\n"))));
}

TEST(CliOptions, MatrixFilesHoldExactly25NumbersRowByRow) {
    std::string error;
    const auto m = ParseMatrixText("# red from green\n0 0 0 0 0\n1, 0, 0, 0, 0\n0 0 0 0 0\n0 0 0 1 0\n0.5 0 0 0 1\n", error);
    ASSERT_TRUE(m) << error;
    EXPECT_EQ(std::tuple(m->at(1, 0), m->at(4, 0), m->at(3, 3)), std::tuple(1.0f, 0.5f, 1.0f));
    for (auto [text, says] : {std::pair("1 2 3", "3 numbers"), std::pair("1 x", "'x' is not a number"),
                              std::pair("1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "26 numbers")})
        EXPECT_THAT(ParseMatrixText(text, error) ? "parsed" : error, HasSubstr(says));
}

}  // namespace
}  // namespace bistrope::cli
