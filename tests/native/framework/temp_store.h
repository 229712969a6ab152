#pragma once
// A private folder for one test's settings store, removed with everything in it afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/native/file_store.h"

class TempStore {
public:
    TempStore() {
        std::string pattern = (std::filesystem::temp_directory_path() / "bistrope-store-XXXXXX").string();
        if (mkdtemp(&pattern[0])) folder = pattern;
    }
    ~TempStore() {
        std::error_code error;
        if (!folder.empty()) std::filesystem::remove_all(folder, error);
    }
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    const std::string& Folder() const { return folder; }
    std::string File() const { return folder + "/settings.store"; }

    std::string Read(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string Text() const { return Read(File()); }
    void Write(const std::string& text) const {
        std::ofstream out(File(), std::ios::binary | std::ios::trunc);
        out << text;
    }

    // The store as the next run would read it.
    TWIG4::FileStore Load() const {
        TWIG4::FileStore store(File());
        store.Load();
        return store;
    }

private:
    std::string folder;
};
