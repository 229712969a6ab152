#include "app/open_plan.h"

#include <filesystem>

#include "engine/stereo_file.h"

#include <algorithm>
#include <cwctype>

namespace bistrope {

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

std::wstring FileName(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

void SortByName(std::vector<std::wstring>& paths) {
    std::stable_sort(paths.begin(), paths.end(), [](const std::wstring& a, const std::wstring& b) {
        const std::wstring na = Lower(FileName(a)), nb = Lower(FileName(b));
        return na != nb ? na < nb : a < b;
    });
}

OpenPlan PlanOpen(const std::vector<std::wstring>& files, std::optional<Eye> target, bool leftLoaded,
                  bool rightLoaded) {
    OpenPlan plan;
    if (files.empty()) return plan;
    if (files.size() > 2) {
        plan.error = L"Bistrope opens one or two images at a time, or one stereo file (.mpo, .jps, .pns).";
        return plan;
    }
    const auto stereo = std::find_if(files.begin(), files.end(),
                                     [](const std::wstring& f) { return IsStereoFileName(std::filesystem::path(f)); });
    if (stereo != files.end()) {
        plan.stereoFile = *stereo;
        return plan;
    }
    if (files.size() == 2) {
        plan.images = {{Eye::Left, files[0]}, {Eye::Right, files[1]}};
        return plan;
    }
    const Eye eye = target ? *target : (leftLoaded && !rightLoaded ? Eye::Right : Eye::Left);
    plan.images = {{eye, files[0]}};
    return plan;
}

}  // namespace bistrope
