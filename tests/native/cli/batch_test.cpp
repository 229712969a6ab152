// The parts of bistrope-cli --batch: finding pairs, shards, resuming, the report line.
#include "cli/batch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace bistrope::cli {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class Batch : public ::testing::Test {
protected:
    const fs::path dir_ = fs::temp_directory_path() / ("bistrope-batch-test-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir_ / "in"); }
    void TearDown() override { fs::remove_all(dir_); }
    void Touch(std::initializer_list<const char*> names) { for (const char* n : names) std::ofstream(dir_ / n) << "x"; }
    // Each pair as "name: inputs [the problem's first two words]", paths relative to the scratch folder.
    std::vector<std::string> Found(const std::vector<fs::path>& inputs, StereoLayout layout = StereoLayout::Auto) {
        std::vector<std::string> lines;
        for (const BatchPair& p : FindPairs(inputs, dir_, layout).pairs) {
            EXPECT_EQ(p.output, dir_ / (p.name + ".jpg"));
            std::string line = p.name + ":";
            for (const fs::path& input : p.Inputs()) line += " " + input.lexically_relative(dir_).string();
            const std::string said = p.problem.substr(0, p.problem.find(' ', p.problem.find(' ') + 1));
            lines.push_back(line + (p.problem.empty() ? "" : " [" + said + "]"));
        }
        return lines;
    }
};

TEST_F(Batch, PairsAreFoundByNameOrAsStereoFilesAndEveryUnmakeablePairSaysWhy) {
    Touch({"in/a_L.jpg", "in/a_R.PNG", "in/B-Left.tif", "in/B-RIGHT.jpeg", "in/c_l.bmp", "in/c_r.gif", "in/d_L.jpg",
           "in/e.MPO", "in/e_L.jpg", "in/e_R.jpg", "in/f.jps", "in/m_L.jpg", "in/m_l.png", "in/m_R.jpg", "in/n_L.jpg",
           "in/n-right.jpg", "in/plain.jpg", "in/x_L.txt", "in/.h_L.jpg", "in/.h_R.jpg", "plain.png"});
    const std::vector<std::string> expected = {
        "B: in/B-Left.tif in/B-RIGHT.jpeg",
        "a: in/a_L.jpg in/a_R.PNG",
        "c: in/c_l.bmp in/c_r.gif",
        "d: in/d_L.jpg [the right]",
        "e: in/e.MPO [other inputs]",
        "e: in/e_L.jpg in/e_R.jpg [other inputs]",
        "f: in/f.jps",
        "m: in/m_L.jpg in/m_R.jpg [2 left]",
        "n: in/n-right.jpg [the left]",
        "n: in/n_L.jpg [the right]",
        "none: none.mpo [the file]",
        "plain: plain.png [not a]",
    };
    // The folder given twice and a file of it given again count once.
    EXPECT_EQ(Found({dir_ / "in", dir_ / "none.mpo", dir_ / "plain.png", dir_ / "in/", dir_ / "in/f.jps"}), expected);
    fs::create_directories(dir_ / "sbs");  // only a folder without pairs warns
    EXPECT_EQ(FindPairs({dir_ / "in", dir_ / "sbs", dir_ / "in/"}, dir_, StereoLayout::Auto).warnings,
              std::vector<std::string>{"no stereo pairs in the folder \"" + (dir_ / "sbs").string() + "\""});
    // Split side by side, every picture is a pair of its own; one would replace its input.
    Touch({"sbs/p.png", "sbs/q_L.jpg", "o.jpg"});
    EXPECT_EQ(Found({dir_ / "sbs", dir_ / "o.jpg"}, StereoLayout::Cross),
              (std::vector<std::string>{"o: o.jpg [the output]", "p: sbs/p.png", "q_L: sbs/q_L.jpg"}));
}

TEST(BatchShards, TheShardsPartitionTheSortedListInOrder) {
    std::vector<BatchPair> all;
    for (int i = 0; i < 7; ++i) all.push_back(BatchPair{std::to_string(i), {}, {}, {}, {}});
    for (int shards = 1; shards <= 8; ++shards) {
        std::vector<std::string> seen(7);
        for (int k = 1; k <= shards; ++k)
            for (const BatchPair& p : TakeShard(all, k, shards)) seen[std::stoul(p.name)] += std::to_string(k);
        for (int i = 0; i < 7; ++i) EXPECT_EQ(seen[i], std::to_string(i % shards + 1)) << i << " of " << shards;
    }
}

TEST_F(Batch, AnOutputNewerThanEveryInputIsUpToDate) {
    Touch({"in/a_L.jpg", "in/a_R.jpg", "a.jpg"});
    const BatchPair pair{"a", dir_ / "in/a_L.jpg", dir_ / "in/a_R.jpg", dir_ / "a.jpg", {}};
    const auto now = fs::last_write_time(dir_ / "a.jpg");
    // The same time as an input's is not newer.
    for (auto [left, right, upToDate] :
         {std::tuple(-10s, -5s, true), std::tuple(-10s, 0s, false), std::tuple(1s, -5s, false)}) {
        fs::last_write_time(dir_ / "in/a_L.jpg", now + left);
        fs::last_write_time(dir_ / "in/a_R.jpg", now + right);
        EXPECT_EQ(IsUpToDate(pair), upToDate) << left.count() << " " << right.count();
    }
    fs::remove(dir_ / "a.jpg");
    EXPECT_FALSE(IsUpToDate(pair));
}

TEST(BatchReport, OneJsonLineWithOddNamesEscaped) {
    const BatchPair pair{"q", "d/we\"ird\\ \xc3\xa9\x01\n.mpo", {}, "o/\xff\xc3.jpg", {}};
    EXPECT_EQ(ReportLine(pair, PairResult{PairState::Written, "", Alignment{1.5, -2, 0.25}, 1.23456}),
              "{\"inputs\":[\"d/we\\\"ird\\\\ \xc3\xa9\\u0001\\n.mpo\"],\"output\":\"o/\\udcff\\udcc3.jpg\","
              "\"status\":\"written\",\"reason\":null,\"alignment\":{\"x\":1.5,\"y\":-2,\"rotation\":0.25},"
              "\"seconds\":1.235}");
    EXPECT_EQ(ReportLine(BatchPair{"a", "l", "r", "a.jpg", {}}, PairResult{PairState::Failed, "bad \"x\"\t", {}, 0}),
              "{\"inputs\":[\"l\",\"r\"],\"output\":\"a.jpg\",\"status\":\"failed\",\"reason\":\"bad \\\"x\\\"\\t\","
              "\"alignment\":null,\"seconds\":0.000}");
    // Overlong, surrogate and cut-off sequences are not UTF-8.
    EXPECT_EQ(JsonString("\xc0\xaf\xed\xa0\x80\xe2\x82"), "\"\\udcc0\\udcaf\\udced\\udca0\\udc80\\udce2\\udc82\"");
    EXPECT_EQ(JsonString("\xf0\x9f\x98\x80\x7f"), "\"\xf0\x9f\x98\x80\x7f\"");
}

}  // namespace
}  // namespace bistrope::cli
