// bistrope-cli: the anaglyph engine on the command line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#else
#include <unistd.h>
#endif

#include "cli/batch.h"
#include "cli/convert_pair.h"
#include "cli/options.h"
#include "document/stereo_document.h"
#include "engine/decode.h"
#include "engine/output_rect.h"

namespace {

using namespace bistrope;

int Fail(const std::string& message, int code = 1) {
    std::fprintf(stderr, "bistrope-cli: %s\n", message.c_str());
    return code;
}

bool StderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

std::filesystem::path Path(const std::string& utf8) { return std::filesystem::u8path(utf8); }

std::vector<std::string> Arguments(int argc, char** argv) {
    std::vector<std::string> args;
#ifdef _WIN32
    // The wide command line, so that any file name survives.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide) {
        for (int i = 1; i < count; ++i) {
            const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
            std::string s(std::size_t(n > 0 ? n - 1 : 0), '\0');
            if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, s.data(), n, nullptr, nullptr);
            args.push_back(s);
        }
        LocalFree(wide);
        return args;
    }
#endif
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
}

bool LoadMatrix(const std::string& file, ColorMatrix& matrix, std::string& error) {
    std::ifstream in(Path(file), std::ios::binary);
    if (!in) {
        error = "cannot read the matrix file \"" + file + "\"";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string why;
    const auto parsed = cli::ParseMatrixText(text.str(), why);
    if (!parsed) {
        error = "the matrix file \"" + file + "\" is not usable: " + why;
        return false;
    }
    matrix = *parsed;
    return true;
}

class ProgressLine {
public:
    explicit ProgressLine(bool enabled) : enabled_(enabled) {}
    ~ProgressLine() { Done(); }
    void Show(const char* what, int percent) {
        if (!enabled_) return;
        std::fprintf(stderr, "\r%-12s %3d%%", what, percent);
        std::fflush(stderr);
        shown_ = true;
    }
    void Done() {
        if (shown_) std::fprintf(stderr, "\r%20s\r", "");
        shown_ = false;
    }

private:
    bool enabled_;
    bool shown_ = false;
};

int PrintRect(const cli::Options& o) {
    if (!o.pair.empty()) {  // the sizes of both eyes are known only once the file is read
        StereoDocument document({}, StereoDocument::Previews::None);
        const Status st = document.LoadStereoFile(Path(o.pair), o.layout);
        if (!st.ok()) return Fail(st.message);
        document.SetAlignment(o.alignment);
        const OutputRect r = document.GetOutputRect();
        std::printf("%d %d %d %d\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    const ProbeResult left = ProbeImageFile(Path(o.left));
    if (!left.ok()) return Fail(left.status.message);
    const ProbeResult right = ProbeImageFile(Path(o.right));
    if (!right.ok()) return Fail(right.status.message);
    const OutputRect r = ComputeOutputRect(ImageSize{left.width, left.height}, ImageSize{right.width, right.height},
                                           o.alignment);
    std::printf("%d %d %d %d\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

// The mode and the matrices every conversion of this run uses.
bool LoadSettings(const cli::Options& o, ConversionSettings& settings, std::string& error) {
    settings.mode = o.mode;
    return (o.leftMatrixFile.empty() || LoadMatrix(o.leftMatrixFile, settings.custom.left, error)) &&
           (o.rightMatrixFile.empty() || LoadMatrix(o.rightMatrixFile, settings.custom.right, error));
}

cli::PairFiles FilesOf(const cli::Options& o) {
    return o.pair.empty() ? cli::PairFiles{Path(o.left), Path(o.right)} : cli::PairFiles{Path(o.pair), {}};
}

// --auto-align --print-alignment: the alignment found, as -x and -r take it.
int PrintAlignment(const cli::Options& o) {
    StereoDocument document({}, StereoDocument::Previews::None);
    const cli::PairOutcome found = cli::LoadAndAlign(o, FilesOf(o), document);
    if (!found.status.ok()) return Fail(found.status.message);
    std::printf("%s\n", cli::FormatAlignment(found.alignment).c_str());
    return 0;
}

int Run(const cli::Options& o) {
    std::string error;
    ConversionSettings conversion;
    if (!LoadSettings(o, conversion, error)) return Fail(error);
    if (o.printAlignment) return PrintAlignment(o);

    // Fail early, before the work, when the output cannot be written at all.
    const std::filesystem::path output = Path(o.output);
    std::error_code ec;
    const auto folder = output.has_parent_path() ? output.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::is_directory(folder, ec))
        return Fail("Cannot write \"" + o.output + "\": the folder does not exist");

    ProgressLine progress(StderrIsTerminal());
    progress.Show("Reading", 0);
    const cli::PairOutcome done = cli::ConvertPair(
        o, conversion, FilesOf(o), output, [&](int p) { progress.Show(p < 100 ? "Rendering" : "Writing", p < 100 ? p : 0); });
    progress.Done();
    if (!done.status.ok()) return Fail(done.status.message);
    return 0;
}

int RunBatch(const cli::Options& o) {
    std::string error;
    ConversionSettings conversion;
    if (!LoadSettings(o, conversion, error)) return Fail(error);
    return cli::RunBatch(o, conversion, StderrIsTerminal());
}

}  // namespace

int main(int argc, char** argv) {
    const cli::ParseResult parsed = cli::ParseOptions(Arguments(argc, argv));
    if (!parsed.ok()) return Fail(parsed.error + " (see --help)", 2);
    if (parsed.options.help) {
        std::fputs(cli::UsageText(), stdout);
        return 0;
    }
    if (parsed.options.printRect) return PrintRect(parsed.options);
    if (parsed.options.batch) return RunBatch(parsed.options);
    return Run(parsed.options);
}
