#include "cli/options.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bistrope::cli {
namespace {

enum class Id {
    Output, Mode, Offset, Rotation, Quality, LeftMatrix, RightMatrix, PrintRect, SideBySide, AutoAlign, PrintAlignment,
    Help, Batch, Destination, Jobs, Shard, Report, Force
};

struct Spec {
    const char* longName;
    char shortName;  // 0: long only
    bool takesValue;
    Id id;
};

const Spec kSpecs[] = {
    {"output", 'o', true, Id::Output},          {"mode", 'm', true, Id::Mode},
    {"offset", 'x', true, Id::Offset},          {"rotation", 'r', true, Id::Rotation},
    {"quality", 'q', true, Id::Quality},        {"left-matrix", 0, true, Id::LeftMatrix},
    {"right-matrix", 0, true, Id::RightMatrix}, {"print-rect", 0, false, Id::PrintRect},
    {"side-by-side", 0, true, Id::SideBySide},  {"auto-align", 0, false, Id::AutoAlign},
    {"print-alignment", 0, false, Id::PrintAlignment},
    {"help", 'h', false, Id::Help},
    {"batch", 0, false, Id::Batch},             {"destination", 'O', true, Id::Destination},
    {"jobs", 'j', true, Id::Jobs},              {"shard", 0, true, Id::Shard},
    {"report", 0, true, Id::Report},            {"force", 0, false, Id::Force},
};

bool ParseDouble(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && errno == 0 && std::isfinite(value);
}

bool ParseInt(const std::string& text, long& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() + text.size() && errno == 0;
}

// Applies one option's value; returns an error text or "".
std::string Apply(const Spec& spec, const std::string& value, Options& o, bool& alignmentGiven) {
    switch (spec.id) {
        case Id::Output:
            if (value.empty()) return "the output file name is empty";
            o.output = value;
            return "";
        case Id::Mode: {
            const auto mode = ParseMode(value);
            if (!mode) return "unknown mode '" + value + "' (use mono, full, half, optimised, custom or 1..5)";
            o.mode = *mode;
            return "";
        }
        case Id::Offset: {
            const auto comma = value.find(',');
            double x = 0, y = 0;
            if (comma == std::string::npos || !ParseDouble(value.substr(0, comma), x) ||
                !ParseDouble(value.substr(comma + 1), y))
                return "the offset must be two numbers X,Y, not '" + value + "'";
            if (std::fabs(x) > 1e6 || std::fabs(y) > 1e6) return "the offset '" + value + "' is out of range";
            o.alignment.offsetX = x;
            o.alignment.offsetY = y;
            alignmentGiven = true;
            return "";
        }
        case Id::Rotation: {
            double r = 0;
            if (!ParseDouble(value, r)) return "the rotation must be a number of degrees, not '" + value + "'";
            if (r < -20.0 || r > 20.0) return "the rotation must be within -20..20 degrees, not " + value;
            o.alignment.rotation = r;
            alignmentGiven = true;
            return "";
        }
        case Id::Quality: {
            long q = 0;
            if (!ParseInt(value, q) || q < 0 || q > 100) return "the quality must be a whole number 0..100, not '" + value + "'";
            o.quality = int(q);
            return "";
        }
        case Id::LeftMatrix:
            o.leftMatrixFile = value;
            return "";
        case Id::RightMatrix:
            o.rightMatrixFile = value;
            return "";
        case Id::PrintRect:
            o.printRect = true;
            return "";
        case Id::SideBySide:
            if (value == "parallel") o.layout = StereoLayout::Parallel;
            else if (value == "cross") o.layout = StereoLayout::Cross;
            else return "unknown side-by-side layout '" + value + "' (use parallel or cross)";
            return "";
        case Id::AutoAlign:
            o.autoAlign = true;
            return "";
        case Id::PrintAlignment:
            o.printAlignment = true;
            return "";
        case Id::Help:
            o.help = true;
            return "";
        case Id::Batch:
            o.batch = true;
            return "";
        case Id::Destination:
            if (value.empty()) return "the output folder name is empty";
            o.destination = value;
            return "";
        case Id::Jobs: {
            long n = 0;
            if (!ParseInt(value, n) || n < 1 || n > 256) return "--jobs must be a whole number 1..256, not '" + value + "'";
            o.jobs = int(n);
            return "";
        }
        case Id::Shard: {
            const auto slash = value.find('/');
            long k = 0, n = 0;
            if (slash == std::string::npos || !ParseInt(value.substr(0, slash), k) ||
                !ParseInt(value.substr(slash + 1), n) || n < 1 || n > 1000000 || k < 1 || k > n)
                return "--shard must be K/N with 1 <= K <= N, not '" + value + "'";
            o.shard = int(k);
            o.shards = int(n);
            return "";
        }
        case Id::Report:
            if (value.empty()) return "the report file name is empty";
            o.report = value;
            return "";
        case Id::Force:
            o.force = true;
            return "";
    }
    return "";
}

}  // namespace

std::optional<unsigned> ParseMode(const std::string& text) {
    static const struct {
        const char* name;
        unsigned mode;
    } kNames[] = {{"mono", Monochromatic},      {"monochromatic", Monochromatic}, {"full", FullColour},
                  {"half", HalfColour},         {"optimised", OptimisedColour},  {"optimized", OptimisedColour},
                  {"custom", CustomColour}};
    for (const auto& n : kNames)
        if (text == n.name) return n.mode;
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '5') return unsigned(text[0] - '0');
    return std::nullopt;
}

std::optional<ColorMatrix> ParseMatrixText(const std::string& text, std::string& error) {
    ColorMatrix m;
    std::size_t count = 0, i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c)) || c == ',' || c == ';') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && !std::isspace(static_cast<unsigned char>(text[j])) && text[j] != ',' &&
               text[j] != ';' && text[j] != '#')
            ++j;
        const std::string token = text.substr(i, j - i);
        double v = 0;
        if (!ParseDouble(token, v)) {
            error = "'" + token + "' is not a number";
            return std::nullopt;
        }
        if (count < 25) m.m[count] = float(v);
        ++count;
        i = j;
    }
    if (count != 25) {
        error = "it holds " + std::to_string(count) + " numbers; a matrix needs 25, row by row";
        return std::nullopt;
    }
    return m;
}

ParseResult ParseOptions(const std::vector<std::string>& args) {
    ParseResult r;
    Options& o = r.options;
    std::vector<std::string> positional;
    bool alignmentGiven = false;  // -x or -r
    auto fail = [&](std::string message) {
        r.error = std::move(message);
        return r;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            positional.insert(positional.end(), args.begin() + std::ptrdiff_t(i) + 1, args.end());
            break;
        }
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            const auto eq = a.find('=');
            const std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
            const Spec* found = nullptr;
            int matches = 0;
            for (const Spec& s : kSpecs) {
                if (name == s.longName) {
                    found = &s;
                    matches = 1;
                    break;
                }
                if (std::strncmp(s.longName, name.c_str(), name.size()) == 0) {
                    found = &s;
                    ++matches;
                }
            }
            if (matches == 0) return fail("unknown option '--" + name + "'");
            if (matches > 1) return fail("option '--" + name + "' is ambiguous");
            std::string value;
            if (found->takesValue) {
                if (eq != std::string::npos) {
                    value = a.substr(eq + 1);
                } else if (i + 1 < args.size()) {
                    value = args[++i];
                } else {
                    return fail(std::string("option '--") + found->longName + "' needs a value");
                }
            } else if (eq != std::string::npos) {
                return fail(std::string("option '--") + found->longName + "' takes no value");
            }
            if (std::string e = Apply(*found, value, o, alignmentGiven); !e.empty()) return fail(e);
            continue;
        }
        if (a.size() > 1 && a[0] == '-') {
            // A cluster of short options; one that takes a value takes the rest of the cluster
            // or the next argument.
            for (std::size_t k = 1; k < a.size(); ++k) {
                const Spec* found = nullptr;
                for (const Spec& s : kSpecs)
                    if (s.shortName && s.shortName == a[k]) found = &s;
                if (!found) return fail(std::string("unknown option '-") + a[k] + "'");
                std::string value;
                if (found->takesValue) {
                    if (k + 1 < a.size()) {
                        value = a.substr(k + 1);
                    } else if (i + 1 < args.size()) {
                        value = args[++i];
                    } else {
                        return fail(std::string("option '-") + a[k] + "' needs a value");
                    }
                    k = a.size();
                }
                if (std::string e = Apply(*found, value, o, alignmentGiven); !e.empty()) return fail(e);
            }
            continue;
        }
        positional.push_back(a);
    }
    if (o.help) return r;
    const bool batchOnly = !o.destination.empty() || o.jobs || o.shards > 1 || !o.report.empty() || o.force;
    if (o.batch) {
        if (positional.empty()) return fail("--batch needs at least one file or folder");
        if (o.destination.empty()) return fail("no output folder: use -O FOLDER with --batch");
        if (!o.output.empty() || o.printRect) return fail("--batch writes into -O FOLDER; -o and --print-rect are for one pair");
        o.inputs = std::move(positional);
    } else if (batchOnly) {
        return fail("-O, --jobs, --shard, --report and --force apply only to --batch");
    } else if (positional.size() == 1) {
        o.pair = positional[0];
    } else if (positional.size() == 2) {
        if (o.layout != StereoLayout::Auto) return fail("--side-by-side splits one picture: give one file, not two");
        o.left = positional[0];
        o.right = positional[1];
    } else {
        return fail("expected two images, LEFT and RIGHT, or one stereo file, but got " +
                    std::to_string(positional.size()));
    }
    if (o.autoAlign && alignmentGiven) return fail("--offset and --rotation cannot be given with --auto-align");
    if (o.printAlignment && !o.autoAlign) return fail("--print-alignment needs --auto-align");
    if (o.printRect && o.autoAlign) return fail("--print-rect cannot be combined with --auto-align");
    if (o.printAlignment && o.batch) return fail("--print-alignment is for one pair; --report holds a batch's alignments");
    if (o.output.empty() && !o.printRect && !o.printAlignment && !o.batch) return fail("no output file: use -o FILE");
    if ((!o.leftMatrixFile.empty() || !o.rightMatrixFile.empty()) && o.mode != CustomColour)
        return fail("--left-matrix and --right-matrix apply only to --mode custom");
    return r;
}

std::string FormatAlignment(const Alignment& a) {
    // Rounded first, so that a value that rounds to zero prints without a minus sign.
    auto fixed = [](double value, int digits) {
        const double scale = std::pow(10.0, digits);
        const double rounded = std::round(value * scale) / scale;
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", digits, rounded == 0 ? 0.0 : rounded);
        return std::string(text);
    };
    return fixed(a.offsetX, 2) + "," + fixed(a.offsetY, 2) + " " + fixed(a.rotation, 3);
}

const char* UsageText() {
    return "Usage: bistrope-cli [options] LEFT RIGHT\n"
           "       bistrope-cli [options] PAIR\n"
           "Makes a red-cyan anaglyph JPEG from a stereo pair: red from LEFT, green and blue from RIGHT.\n"
           "PAIR is one file holding both eyes: an MPO from a stereo camera (frames 1 and 2), or a\n"
           "JPS or PNS side-by-side picture (cross-eyed: the right eye's view on the left).\n"
           "\n"
           "  -o, --output FILE      write the anaglyph JPEG here\n"
           "  -m, --mode MODE        mono | full | half | optimised | custom, or 1..5 (default full)\n"
           "  -x, --offset X,Y       offset of the left image in source pixels, Y positive downwards (default 0,0)\n"
           "  -r, --rotation DEG     rotation of the left image in degrees, positive clockwise, -20..20 (default 0)\n"
           "  -q, --quality Q        JPEG quality 0..100 (default 80)\n"
           "      --left-matrix FILE, --right-matrix FILE\n"
           "                         custom matrices for mode custom: 25 numbers, row by row\n"
           "                         (default: the full-colour ones)\n"
           "      --auto-align       find the offset and rotation that put every point at the same height\n"
           "                         in both eyes and the nearest part of the scene at the screen; not\n"
           "                         with -x or -r. Exit 1 with the reason when the pair cannot be aligned\n"
           "      --print-alignment  with --auto-align: print the alignment found as \"X,Y R\" (the\n"
           "                         values -x and -r take) and exit, without -o\n"
           "      --print-rect       print the output rectangle as \"left top right bottom\" and exit\n"
           "      --side-by-side parallel|cross\n"
           "                         split the one picture PAIR into two halves: parallel puts the\n"
           "                         left eye on the left, cross on the right\n"
           "  -h, --help             show this help and exit\n"
           "\n"
           "Many pairs: bistrope-cli --batch -O FOLDER [options] INPUT...\n"
           "Each INPUT is a file or a folder. A folder's pairs are found by name (NAME_L and NAME_R,\n"
           "NAME-left and NAME-right, in any case and with any image extension), and every MPO, JPS\n"
           "or PNS file is a pair of its own (with --side-by-side: every picture). Each pair is written\n"
           "to FOLDER/NAME.jpg with the options above; an output newer than its inputs is kept.\n"
           "  -O, --destination FOLDER  write the anaglyphs here (made if missing)\n"
           "  -j, --jobs N           pairs in flight at once (default: one per core)\n"
           "      --shard K/N        only every N-th pair of the sorted list, from the K-th\n"
           "      --report FILE      append one JSON line per pair to FILE\n"
           "      --force            remake outputs that are newer than their inputs\n"
           "\n"
           "Exit status: 0 on success, 1 when an image cannot be read, rendered or written (in a batch:\n"
           "when any pair failed), 2 for bad options.\n";
}

}  // namespace bistrope::cli
