#pragma once
// One stereo pair made into one anaglyph JPEG with the command line's options: the step a
// single run takes once and a batch (cli/batch.h) takes for each of its pairs.

#include <filesystem>

#include "cli/options.h"
#include "document/stereo_document.h"

namespace bistrope::cli {

// Two files, one per eye; or, with `right` empty, one file holding both (read with the
// options' side-by-side layout).
struct PairFiles {
    std::filesystem::path left, right;
};

struct PairOutcome {
    Status status;
    Alignment alignment;  // the alignment the anaglyph was made with
};

// Loads the pair into `document` and sets its alignment: the options' own, or with
// --auto-align the one the aligner finds (a refusal is an error "cannot align the
// pictures: ..."). The outcome carries the alignment set.
[[nodiscard]] PairOutcome LoadAndAlign(const Options& options, const PairFiles& files, StereoDocument& document);

// Loads the pair, aligns it, and writes `output` through a temporary file, so that on any
// failure the target is untouched. The status's message is one line naming the file.
[[nodiscard]] PairOutcome ConvertPair(const Options& options, const ConversionSettings& settings, const PairFiles& files,
                                      const std::filesystem::path& output, const ProgressFn& progress = {});

}  // namespace bistrope::cli
