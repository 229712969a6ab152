#pragma once
// Command-line options of bistrope-cli, parsed GNU-style: long options with "=" or a
// separate value, unambiguous prefixes of long options, short options with the value
// attached or separate (a separate value may start with "-": "-x -3,4"), "--" ends the
// options.

#include <optional>
#include <string>
#include <vector>

#include "engine/color_matrix.h"
#include "engine/output_rect.h"
#include "engine/stereo_file.h"

namespace bistrope::cli {

struct Options {
    std::string left, right;   // UTF-8 paths
    std::string pair;          // UTF-8 path of one file holding both eyes (instead of LEFT RIGHT)
    StereoLayout layout = StereoLayout::Auto;  // --side-by-side: how that file holds them
    std::string output;        // UTF-8 path; required unless printRect, printAlignment or help
    unsigned mode = FullColour;
    Alignment alignment;
    int quality = 80;
    std::string leftMatrixFile, rightMatrixFile;
    bool printRect = false;
    bool autoAlign = false;       // find the alignment instead of taking -x and -r
    bool printAlignment = false;  // with autoAlign: print "X,Y R" instead of writing a file
    bool help = false;

    // --batch: every pair found in `inputs` made into destination/NAME.jpg (cli/batch.h).
    bool batch = false;
    std::vector<std::string> inputs;  // UTF-8 paths of files and folders
    std::string destination;          // -O: the output folder
    int jobs = 0;                     // pairs in flight; 0: one per core
    int shard = 1, shards = 1;        // --shard K/N: every N-th pair from the K-th (1-based)
    std::string report;               // a file to append one JSON line per pair to
    bool force = false;               // remake outputs that are newer than their inputs
};

struct ParseResult {
    Options options;
    std::string error;  // one line; empty on success
    [[nodiscard]] bool ok() const { return error.empty(); }
};

[[nodiscard]] ParseResult ParseOptions(const std::vector<std::string>& args);  // args without the program name

// "mono", "full", "half", "optimised" (or "optimized"), "custom", or 1..5.
[[nodiscard]] std::optional<unsigned> ParseMode(const std::string& text);

// 25 numbers, row by row, separated by white space, commas or semicolons; "#" starts a
// comment that runs to the end of the line. The error says what is wrong.
[[nodiscard]] std::optional<ColorMatrix> ParseMatrixText(const std::string& text, std::string& error);

// "X,Y R": the offset and rotation as -x and -r take them, offsets to 1/100 pixel and the
// rotation to 1/1000 degree.
[[nodiscard]] std::string FormatAlignment(const Alignment& alignment);

const char* UsageText();

}  // namespace bistrope::cli
