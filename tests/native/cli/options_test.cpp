// The option parser of bistrope-cli.
#include "cli/options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace bistrope::cli {
namespace {

using ::testing::HasSubstr;

ParseResult Parse(std::vector<std::string> args) { return ParseOptions(args); }

TEST(CliOptions, DefaultsAndEveryOption) {
    ParseResult r = Parse({"l.jpg", "r.jpg", "-o", "out.jpg"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.left, "l.jpg");
    EXPECT_EQ(r.options.right, "r.jpg");
    EXPECT_EQ(r.options.output, "out.jpg");
    EXPECT_EQ(r.options.mode, unsigned(FullColour));
    EXPECT_EQ(r.options.quality, 80);
    EXPECT_EQ(r.options.alignment.offsetX, 0.0);
    EXPECT_EQ(r.options.alignment.offsetY, 0.0);
    EXPECT_EQ(r.options.alignment.rotation, 0.0);
    EXPECT_FALSE(r.options.printRect);

    r = Parse({"--mode=optimised", "--quality", "95", "--rotation=-1.5", "--offset", "12.5,-7.25", "--output=o.jpg",
               "a", "b"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.mode, unsigned(OptimisedColour));
    EXPECT_EQ(r.options.quality, 95);
    EXPECT_EQ(r.options.alignment.rotation, -1.5);
    EXPECT_EQ(r.options.alignment.offsetX, 12.5);
    EXPECT_EQ(r.options.alignment.offsetY, -7.25);
    EXPECT_EQ(r.options.output, "o.jpg");
}

TEST(CliOptions, GnuConventionsForValues) {
    // Long with "=", long with a separate value, short separate, short attached; negative
    // values after a short option.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--offset=-3,4"}, {"--offset", "-3,4"}, {"-x", "-3,4"}, {"-x-3,4"}, {"--off=-3,4"}}) {
        std::vector<std::string> full = args;
        full.insert(full.end(), {"-o", "o.jpg", "a", "b"});
        const ParseResult r = Parse(full);
        ASSERT_TRUE(r.ok()) << args[0] << ": " << r.error;
        EXPECT_EQ(r.options.alignment.offsetX, -3.0) << args[0];
        EXPECT_EQ(r.options.alignment.offsetY, 4.0) << args[0];
    }
    ParseResult r = Parse({"-r", "-20", "-q0", "-m", "5", "-oout.jpg", "--", "-left.jpg", "right.jpg"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.alignment.rotation, -20.0);
    EXPECT_EQ(r.options.quality, 0);
    EXPECT_EQ(r.options.mode, unsigned(CustomColour));
    EXPECT_EQ(r.options.output, "out.jpg");
    EXPECT_EQ(r.options.left, "-left.jpg");
    r = Parse({"--print-rect", "a", "b"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.options.printRect);
    r = Parse({"-h"});
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.options.help);
    for (const char* name : {"mono", "full", "half", "optimised", "optimized", "custom"}) EXPECT_TRUE(ParseMode(name)) << name;
    EXPECT_EQ(ParseMode("1"), std::optional<unsigned>(1u));
    EXPECT_EQ(ParseMode("6"), std::nullopt);
    EXPECT_EQ(ParseMode("0"), std::nullopt);
}

TEST(CliOptions, BadOptionsSayWhatIsWrong) {
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"-o", "o", "a"}, "two images"},
        {{"-o", "o", "a", "b", "c"}, "two images"},
        {{"a", "b"}, "no output"},
        {{"-o", "o", "a", "b", "--bogus"}, "unknown option '--bogus'"},
        {{"-o", "o", "a", "b", "-z"}, "unknown option '-z'"},
        {{"-o", "o", "a", "b", "--r=1"}, "ambiguous"},
        {{"-o", "o", "a", "b", "-q"}, "needs a value"},
        {{"-o", "o", "a", "b", "-q", "101"}, "0..100"},
        {{"-o", "o", "a", "b", "-q", "8x"}, "0..100"},
        {{"-o", "o", "a", "b", "-r", "20.5"}, "-20..20"},
        {{"-o", "o", "a", "b", "-r", "nan"}, "number of degrees"},
        {{"-o", "o", "a", "b", "-x", "3"}, "X,Y"},
        {{"-o", "o", "a", "b", "-x", "3,"}, "X,Y"},
        {{"-o", "o", "a", "b", "-m", "blue"}, "unknown mode 'blue'"},
        {{"-o", "o", "a", "b", "--print-rect=1"}, "takes no value"},
        {{"-o", "o", "a", "b", "--left-matrix", "m.txt"}, "--mode custom"},
        {{"-o", "", "a", "b"}, "empty"},
    };
    for (const auto& c : cases) {
        const ParseResult r = Parse(c.args);
        EXPECT_FALSE(r.ok()) << c.says;
        EXPECT_THAT(r.error, HasSubstr(c.says));
        EXPECT_EQ(r.error.find('\n'), std::string::npos);
    }
}

TEST(CliOptions, MatrixFiles) {
    std::string error;
    const auto m = ParseMatrixText("# red from green\n0 0 0 0 0\n1, 0, 0, 0, 0\n0 0 0 0 0\n0 0 0 1 0\n0.5 0 0 0 1\n", error);
    ASSERT_TRUE(m) << error;
    EXPECT_EQ(m->at(1, 0), 1.0f);
    EXPECT_EQ(m->at(4, 0), 0.5f);
    EXPECT_EQ(m->at(3, 3), 1.0f);
    EXPECT_FALSE(ParseMatrixText("1 2 3", error));
    EXPECT_THAT(error, HasSubstr("3 numbers"));
    EXPECT_FALSE(ParseMatrixText(std::string(50, '1').insert(1, " x"), error));
    EXPECT_THAT(error, HasSubstr("not a number"));
}

}  // namespace
}  // namespace bistrope::cli
