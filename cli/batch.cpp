#include "cli/batch.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <chrono>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <tuple>

#include "cli/convert_pair.h"
#include "engine/parallel.h"

namespace bistrope::cli {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string Utf8(const fs::path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Quoted(const fs::path& path) { return "\"" + Utf8(path) + "\""; }

bool IsImageName(const fs::path& path) {
    static const std::set<std::string> kExtensions = {".jpg", ".jpeg", ".jpe", ".png", ".bmp",
                                                      ".gif", ".tif",  ".tiff", ".emf"};
    return kExtensions.count(Lower(Utf8(path.extension()))) != 0;
}

// The pair's name and eye from a picture's name: NAME_L / NAME_R or NAME-left / NAME-right.
struct EyeName {
    std::string name;
    char scheme;  // '_' or '-': names of different schemes never pair
    int eye;      // 0 left, 1 right
};

std::optional<EyeName> EyeFromName(const fs::path& path) {
    static const struct {
        std::string_view suffix;
        int eye;
    } kSuffixes[] = {{"_l", 0}, {"_r", 1}, {"-left", 0}, {"-right", 1}};
    const std::string stem = Utf8(path.stem());
    for (const auto& s : kSuffixes) {
        if (stem.size() <= s.suffix.size()) continue;
        const std::size_t at = stem.size() - s.suffix.size();
        if (Lower(stem.substr(at)) == s.suffix) return EyeName{stem.substr(0, at), s.suffix[0], s.eye};
    }
    return std::nullopt;
}

// The path made absolute and normal, without a trailing separator, to compare paths by.
std::string Normal(const fs::path& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    fs::path normal = (ec ? path : absolute).lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
    return Utf8(normal);
}

std::string Number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

// The length of the UTF-8 sequence at text[i], or 0 when the bytes there are not one.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) -> unsigned { return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u; };
    const unsigned c = byte(0);
    std::size_t n = 0;
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, low = c == 0xE0 ? 0xA0 : 0x80, high = c == 0xED ? 0x9F : 0xBF;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, low = c == 0xF0 ? 0x90 : 0x80, high = c == 0xF4 ? 0x8F : 0xBF;
    else return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (byte(k) < 0x80 || byte(k) > 0xBF) return 0;
    return n;
}

// The names pairs are found by, collected over all inputs before they are matched.
class Finder {
public:
    Finder(const fs::path& destination, StereoLayout layout) : destination_(destination), layout_(layout) {}

    void AddInput(const fs::path& input, Discovery& found) {
        std::error_code ec;
        const fs::file_status status = fs::status(input, ec);
        if (fs::is_directory(status)) return AddFolder(input, found);
        if (!fs::exists(status)) return AddProblem(input, "the file does not exist");
        if (!AddFile(input)) AddProblem(input, "not a stereo file (MPO, JPS, PNS), and its name names no eye "
                                               "(NAME_L, NAME_R, NAME-left, NAME-right)");
    }

    std::vector<BatchPair> Pairs() {
        for (auto& [key, group] : groups_) {
            const auto& [lefts, rights] = group.eyes;
            BatchPair pair = Pair(group.name, lefts.empty() ? rights.front() : lefts.front(),
                                  lefts.empty() || rights.empty() ? fs::path() : rights.front());
            if (lefts.empty() || rights.empty())
                pair.problem = std::string("the ") + (lefts.empty() ? "left" : "right") + " eye is missing (only " +
                               Quoted(pair.left) + " was found)";
            for (int eye = 0; eye < 2; ++eye)
                if (group.eyes[eye].size() > 1) {
                    pair.problem = std::to_string(group.eyes[eye].size()) + (eye ? " right" : " left") + " eyes:";
                    for (const fs::path& p : group.eyes[eye]) pair.problem += " " + Quoted(p);
                }
            pairs_.push_back(std::move(pair));
        }
        groups_.clear();
        return std::move(pairs_);
    }

private:
    struct Group {
        std::string name;
        std::vector<fs::path> eyes[2];
    };

    void AddFolder(const fs::path& folder, Discovery& found) {
        if (!seen_.insert(Normal(folder)).second) return;  // given twice
        std::error_code ec;
        fs::directory_iterator it(folder, ec);
        const std::size_t before = pairs_.size() + files_;
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const fs::path file = folder / it->path().filename();
            const std::string name = Utf8(file.filename());
            std::error_code typeError;
            if (name.empty() || name[0] == '.' || !fs::is_regular_file(file, typeError)) continue;
            if (IsStereoFileName(file) || IsImageName(file)) AddFile(file);
        }
        if (ec) return AddProblem(folder, "the folder cannot be read (" + ec.message() + ")");
        if (pairs_.size() + files_ == before) found.warnings.push_back("no stereo pairs in the folder " + Quoted(folder));
    }

    // Takes a file as a pair of its own or as one eye; false when it is neither.
    bool AddFile(const fs::path& file) {
        if (!seen_.insert(Normal(file)).second) return true;  // given twice
        if (IsStereoFileName(file) || layout_ != StereoLayout::Auto) {
            pairs_.push_back(Pair(Utf8(file.stem()), file, {}));
            return true;
        }
        const auto eye = EyeFromName(file);
        if (!eye) return false;
        Group& group = groups_[Utf8(file.parent_path()) + '\0' + eye->name + '\0' + eye->scheme];
        group.name = eye->name;
        group.eyes[eye->eye].push_back(file);
        ++files_;
        return true;
    }

    void AddProblem(const fs::path& input, std::string problem) {
        BatchPair pair = Pair(Utf8(input.stem()), input, {});
        pair.problem = std::move(problem);
        pairs_.push_back(std::move(pair));
    }

    BatchPair Pair(const std::string& name, const fs::path& left, const fs::path& right) const {
        return BatchPair{name, left, right, destination_ / fs::u8path(name + ".jpg"), {}};
    }

    fs::path destination_;
    StereoLayout layout_;
    std::set<std::string> seen_;
    std::map<std::string, Group> groups_;
    std::size_t files_ = 0;
    std::vector<BatchPair> pairs_;
};

// Pairs whose outputs would replace an input or each other are refused, all of them.
void RefuseClashes(std::vector<BatchPair>& pairs) {
    std::set<std::string> inputs;
    for (const BatchPair& pair : pairs)
        for (const fs::path& input : pair.Inputs()) inputs.insert(Normal(input));
    std::map<std::string, std::vector<BatchPair*>> byOutput;
    for (BatchPair& pair : pairs)
        if (pair.problem.empty()) byOutput[Lower(Normal(pair.output))].push_back(&pair);
    for (auto& [output, sharing] : byOutput) {
        for (BatchPair* pair : sharing) {
            if (inputs.count(Normal(pair->output))) {
                pair->problem = "the output " + Quoted(pair->output) + " would replace an input";
                continue;
            }
            if (sharing.size() < 2) continue;
            pair->problem = "other inputs make the same output " + Quoted(pair->output) + ":";
            for (const BatchPair* other : sharing)
                if (other != pair)
                    for (const fs::path& input : other->Inputs()) pair->problem += " " + Quoted(input);
        }
    }
}

PairResult MakePair(const Options& options, const ConversionSettings& settings, const BatchPair& pair) {
    const auto start = Clock::now();
    PairResult result;
    if (!pair.problem.empty()) {
        result.reason = pair.problem;
    } else if (!options.force && IsUpToDate(pair)) {
        result.state = PairState::Skipped;
        result.reason = "the output is newer than its inputs";
    } else {
        const PairOutcome made = ConvertPair(options, settings, PairFiles{pair.left, pair.right}, pair.output);
        if (made.status.ok()) {
            result.state = PairState::Written;
            result.alignment = made.alignment;
        } else {
            result.reason = made.status.message;
        }
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

// What a run tells on stderr: on a terminal a bar redrawn after each pair, with failures
// printed above it; otherwise one plain line per pair.
class Progress {
public:
    Progress(std::size_t total, bool terminal) : total_(total), terminal_(terminal) {
        if (terminal_) Bar(0);
        std::fflush(stderr);
    }

    void Tell(const BatchPair& pair, const PairResult& result) {
        ++count_[int(result.state)];
        const std::size_t done = count_[0] + count_[1] + count_[2];
        const std::string output = Utf8(pair.output.filename());
        if (terminal_) std::fputs("\r\033[K", stderr);
        if (result.state == PairState::Failed) {
            std::string from;
            for (const fs::path& input : pair.Inputs()) from += (from.empty() ? "" : ", ") + Quoted(input);
            std::fprintf(stderr, "bistrope-cli: %s (from %s) failed: %s\n", output.c_str(), from.c_str(),
                         result.reason.c_str());
        } else if (!terminal_) {
            std::fprintf(stderr, "[%zu/%zu] %s %s (%.2f s)\n", done, total_, output.c_str(),
                         result.state == PairState::Written ? "written" : "up to date, skipped", result.seconds);
        }
        if (terminal_) Bar(done);
        std::fflush(stderr);
    }

    // The closing line; true when no pair failed.
    bool Finish() {
        if (terminal_) std::fputs("\r\033[K", stderr);
        std::fprintf(stderr, "%zu pairs: %zu written, %zu skipped, %zu failed in %.1f s\n", total_, count_[0],
                     count_[1], count_[2], Elapsed());
        return count_[int(PairState::Failed)] == 0;
    }

private:
    double Elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

    void Bar(std::size_t done) {
        constexpr std::size_t kWidth = 30;
        const std::size_t filled = kWidth * done / total_;
        const double rate = done / std::max(Elapsed(), 1e-3);
        std::fprintf(stderr, "[%s%s] %zu/%zu pairs", std::string(filled, '#').c_str(),
                     std::string(kWidth - filled, '.').c_str(), done, total_);
        if (done == 0) return;
        const long left = long((total_ - done) / rate + 0.5);
        std::fprintf(stderr, ", %.2f pairs/s, %ld:%02ld left", rate, left / 60, left % 60);
    }

    std::size_t total_;
    bool terminal_;
    std::size_t count_[3] = {0, 0, 0};
    Clock::time_point start_ = Clock::now();
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "bistrope-cli: %s\n", message.c_str());
    return 1;
}

// Creates the folder if needed and checks that a file can be made in it.
std::string PrepareDestination(const fs::path& destination) {
    std::error_code ec;
    fs::create_directories(destination, ec);
    if (!fs::is_directory(destination))
        return "cannot make the output folder " + Quoted(destination) + (ec ? " (" + ec.message() + ")" : "");
    const fs::path probe = destination / fs::u8path(".bistrope-write-test.tmp");
    const bool writable = static_cast<bool>(std::ofstream(probe, std::ios::binary | std::ios::app));
    fs::remove(probe, ec);
    return writable ? "" : "cannot write into the output folder " + Quoted(destination);
}

}  // namespace

std::vector<fs::path> BatchPair::Inputs() const {
    if (right.empty()) return {left};
    return {left, right};
}

Discovery FindPairs(const std::vector<fs::path>& inputs, const fs::path& destination, StereoLayout layout) {
    Discovery found;
    Finder finder(destination, layout);
    for (const fs::path& input : inputs) finder.AddInput(input, found);
    found.pairs = finder.Pairs();
    RefuseClashes(found.pairs);
    std::sort(found.pairs.begin(), found.pairs.end(), [](const BatchPair& a, const BatchPair& b) {
        return std::tuple(a.name, Utf8(a.left), Utf8(a.right)) < std::tuple(b.name, Utf8(b.left), Utf8(b.right));
    });
    return found;
}

std::vector<BatchPair> TakeShard(std::vector<BatchPair> pairs, int shard, int shards) {
    std::vector<BatchPair> taken;
    for (std::size_t i = std::size_t(shard - 1); i < pairs.size(); i += std::size_t(shards))
        taken.push_back(std::move(pairs[i]));
    return taken;
}

bool IsUpToDate(const BatchPair& pair) {
    std::error_code ec;
    if (!fs::is_regular_file(pair.output, ec)) return false;
    const auto written = fs::last_write_time(pair.output, ec);
    if (ec) return false;
    for (const fs::path& input : pair.Inputs()) {
        const auto changed = fs::last_write_time(input, ec);
        if (ec || changed >= written) return false;
    }
    return true;
}

int RemoveLeftoverTemporaries(const fs::path& destination, const std::vector<BatchPair>& pairs) {
    std::set<std::string> outputs;
    for (const BatchPair& pair : pairs) outputs.insert(Utf8(pair.output.filename()));
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(destination, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = Utf8(it->path().filename());
        if (!name.empty() && name[0] == '.') name.erase(0, 1);
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".tmp") != 0) continue;
        name.resize(name.size() - 4);
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos) continue;
        const std::string tag = name.substr(dot + 1);  // PID-N
        const std::size_t dash = tag.find('-');
        const bool digits = dash != std::string::npos && dash > 0 && dash + 1 < tag.size() &&
                            std::all_of(tag.begin(), tag.end(), [](char c) { return c == '-' || std::isdigit(static_cast<unsigned char>(c)); }) &&
                            tag.find('-', dash + 1) == std::string::npos;
        std::error_code removeError;
        if (digits && outputs.count(name.substr(0, dot)) && fs::remove(it->path(), removeError)) ++removed;
    }
    return removed;
}

std::string JsonString(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t n = Utf8Length(text, i);
            if (n) out.append(text.substr(i, n));
            else out += std::string("\\udc") + kHex[c >> 4] + kHex[c & 15];
            i += n ? n : 1;
            continue;
        }
        if (c == '"' || c == '\\') out += {'\\', char(c)};
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (c < 0x20) out += std::string("\\u00") + kHex[c >> 4] + kHex[c & 15];
        else out += char(c);
        ++i;
    }
    return out + "\"";
}

std::string ReportLine(const BatchPair& pair, const PairResult& result) {
    static const char* const kStates[] = {"written", "skipped", "failed"};
    std::string line = "{\"inputs\":[";
    for (const fs::path& input : pair.Inputs()) line += (line.back() == '[' ? "" : ",") + JsonString(Utf8(input));
    line += "],\"output\":" + JsonString(Utf8(pair.output)) + ",\"status\":\"" + kStates[int(result.state)] + "\"";
    line += ",\"reason\":" + (result.reason.empty() ? std::string("null") : JsonString(result.reason));
    line += ",\"alignment\":";
    if (const auto& a = result.alignment)
        line += "{\"x\":" + Number(a->offsetX) + ",\"y\":" + Number(a->offsetY) + ",\"rotation\":" + Number(a->rotation) + "}";
    else
        line += "null";
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", result.seconds);
    return line + ",\"seconds\":" + seconds + "}";
}

int RunBatch(const Options& options, const ConversionSettings& settings, bool terminal) {
    std::vector<fs::path> inputs;
    for (const std::string& input : options.inputs) inputs.push_back(fs::u8path(input));
    const fs::path destination = fs::u8path(options.destination);
    Discovery found = FindPairs(inputs, destination, options.layout);
    for (const std::string& warning : found.warnings) std::fprintf(stderr, "bistrope-cli: warning: %s\n", warning.c_str());
    const std::size_t all = found.pairs.size();
    if (all == 0) return Fail("no stereo pairs were found");
    const std::vector<BatchPair> pairs = TakeShard(std::move(found.pairs), options.shard, options.shards);
    if (pairs.empty()) {
        std::fprintf(stderr, "bistrope-cli: shard %d/%d holds none of the %zu pairs\n", options.shard, options.shards, all);
        return 0;
    }
    if (const std::string why = PrepareDestination(destination); !why.empty()) return Fail(why);
    RemoveLeftoverTemporaries(destination, pairs);
    std::ofstream report;
    if (!options.report.empty()) {
        report.open(fs::u8path(options.report), std::ios::binary | std::ios::app);
        if (!report) return Fail("cannot write the report file \"" + options.report + "\"");
    }

    Progress progress(pairs.size(), terminal);
    std::mutex telling;
    std::atomic<std::size_t> next{0};
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t jobs = std::min(options.jobs > 0 ? std::size_t(options.jobs) : cores, pairs.size());
    const auto work = [&] {
        // The cores are shared between the pairs in flight rather than each taking them all.
        LimitWorkers(int(std::max<std::size_t>(1, cores / jobs)));
        for (std::size_t i; (i = next++) < pairs.size();) {
            const PairResult result = MakePair(options, settings, pairs[i]);
            const std::lock_guard<std::mutex> lock(telling);
            progress.Tell(pairs[i], result);
            if (report.is_open()) report << ReportLine(pairs[i], result) << '\n' << std::flush;
        }
    };
    std::vector<std::thread> workers;
    try {
        while (workers.size() + 1 < jobs) workers.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer threads than asked for: the ones that started share the pairs.
    }
    work();
    for (std::thread& worker : workers) worker.join();
    const bool allMade = progress.Finish();
    if (report.is_open() && !report) return Fail("the report file \"" + options.report + "\" could not be written");
    return allMade ? 0 : 1;
}

}  // namespace bistrope::cli
