#pragma once
// Helpers of the Windows engine tests: sample paths and a scratch folder.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace bistrope::wintest {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// The test data folder; a Linux path is reached through Wine's Z: drive.
inline fs::path DataPath(const char* name) {
    std::string dir = BISTROPE_TEST_DATA_DIR;
    if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
    return fs::path(dir) / name;
}

inline Bytes ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const fs::path& p, const Bytes& b) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

class ScratchDir {
public:
    ScratchDir() {
        static int n = 0;
        path_ = fs::temp_directory_path() / (L"bistrope-wintest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                             std::to_wstring(n++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        for (auto& e : fs::recursive_directory_iterator(path_, ec)) SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::wstring& name) const { return path_ / name; }

private:
    fs::path path_;
};

}  // namespace bistrope::wintest
