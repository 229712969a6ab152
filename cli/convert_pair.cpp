#include "cli/convert_pair.h"

#include <string>

namespace bistrope::cli {

PairOutcome LoadAndAlign(const Options& options, const PairFiles& files, StereoDocument& document) {
    PairOutcome outcome;
    // Two files are decoded straight into the output images (with their luma for the
    // aligner); one file holding both eyes is read whole and split.
    outcome.status = files.right.empty() ? document.LoadStereoFile(files.left, options.layout)
                                         : document.LoadPairForOutput(files.left, files.right, options.autoAlign);
    if (!outcome.status.ok()) return outcome;
    if (options.autoAlign) {
        const AutoAlignResult found = document.AutoAlign();
        if (!found.ok()) {
            outcome.status = Status::Error(found.status.code, "cannot align the pictures: " + found.status.message);
            return outcome;
        }
    } else {
        document.SetAlignment(options.alignment);
    }
    outcome.alignment = document.GetAlignment();
    return outcome;
}

PairOutcome ConvertPair(const Options& options, const ConversionSettings& settings, const PairFiles& files,
                        const std::filesystem::path& output, const ProgressFn& progress) {
    StereoDocument document([&settings] { return settings; }, StereoDocument::Previews::None);
    PairOutcome outcome = LoadAndAlign(options, files, document);
    if (!outcome.status.ok()) return outcome;

    const OutputRect rect = document.GetOutputRect();
    if (rect.IsEmpty()) {
        outcome.status = Status::Error(
            ErrorCode::EmptyOutput, "the output rectangle is empty (" + std::to_string(rect.left) + " " +
                                        std::to_string(rect.top) + " " + std::to_string(rect.right) + " " +
                                        std::to_string(rect.bottom) + "): the aligned images do not overlap");
        return outcome;
    }
    outcome.status = document.SaveAnaglyph(output, options.quality, progress);
    return outcome;
}

}  // namespace bistrope::cli
