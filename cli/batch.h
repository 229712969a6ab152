#pragma once
// bistrope-cli --batch: many stereo pairs made into anaglyphs in one run.
//
// Finding pairs: each input is a file or a folder (read without its subfolders; hidden
// files are left out). Two pictures make a pair by name: NAME_L and NAME_R, or NAME-left
// and NAME-right, the suffix in any case, each with any image extension. Every MPO, JPS or
// PNS file is a pair of its own, and with a side-by-side layout every picture is. A pair
// is written to DESTINATION/NAME.jpg.
//
// A pair that cannot be made keeps its place in the list with a `problem`: an eye missing
// or given twice, an input that does not exist, an output name another pair also makes
// (compared without case, as Windows does; none of them is written), an output that would
// replace an input. The list is sorted by output name, then inputs, so every machine
// running the same command sees the same list and --shard K/N splits it the same way.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "document/stereo_document.h"

namespace bistrope::cli {

struct BatchPair {
    std::string name;                    // the output's name without ".jpg" (UTF-8)
    std::filesystem::path left, right;   // `right` empty: `left` holds both eyes
    std::filesystem::path output;
    std::string problem;                 // why the pair cannot be made; empty when it can

    [[nodiscard]] std::vector<std::filesystem::path> Inputs() const;
};

struct Discovery {
    std::vector<BatchPair> pairs;        // sorted
    std::vector<std::string> warnings;   // e.g. a folder without pairs
};

[[nodiscard]] Discovery FindPairs(const std::vector<std::filesystem::path>& inputs,
                                  const std::filesystem::path& destination, StereoLayout layout);

// The pairs at 0-based positions shard-1, shard-1+shards, ... (shard is 1-based).
[[nodiscard]] std::vector<BatchPair> TakeShard(std::vector<BatchPair> pairs, int shard, int shards);

// Whether the output exists and was written after every input was last changed.
[[nodiscard]] bool IsUpToDate(const BatchPair& pair);

// Removes temporary files an interrupted run left for these pairs' outputs (the writer's
// NAME.jpg.PID-N.tmp, hidden with a leading dot natively). Returns how many went.
int RemoveLeftoverTemporaries(const std::filesystem::path& destination, const std::vector<BatchPair>& pairs);

enum class PairState { Written, Skipped, Failed };

struct PairResult {
    PairState state = PairState::Failed;
    std::string reason;         // why it failed or was skipped
    std::optional<Alignment> alignment;  // the alignment used, for a written pair
    double seconds = 0;
};

// A JSON string literal of UTF-8 text. Bytes that are not UTF-8 (file names may hold any)
// become \udcXX, the lone surrogates Python's surrogateescape reads back as those bytes.
[[nodiscard]] std::string JsonString(std::string_view text);

// One line of the report, without its newline:
// {"inputs":[...],"output":...,"status":"written|skipped|failed","reason":...,
//  "alignment":{"x":..,"y":..,"rotation":..} or null,"seconds":..}
[[nodiscard]] std::string ReportLine(const BatchPair& pair, const PairResult& result);

// The whole run: finds the pairs, takes the shard, makes each pair on `options.jobs`
// threads with ConvertPair and tells of each on stderr (a progress bar on a terminal,
// plain lines otherwise). Returns the exit status: 0 when no pair failed, 1 otherwise.
[[nodiscard]] int RunBatch(const Options& options, const ConversionSettings& settings, bool terminal);

}  // namespace bistrope::cli
