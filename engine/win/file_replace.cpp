// Windows: CreateFileW(CREATE_NEW) a temporary name beside the target, write, flush,
// close, MoveFileExW(MOVEFILE_REPLACE_EXISTING). Wide paths throughout.
#include "engine/file_replace.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace bistrope::detail {
namespace {

Status FromError(DWORD e, const char* doing) {
    switch (e) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return Status::Error(ErrorCode::DiskFull, "the disk is full");
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_SHARING_VIOLATION:
            return Status::Error(ErrorCode::ReadOnly, "the file or folder cannot be written (read-only or in use)");
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_INVALID_DRIVE: return Status::Error(ErrorCode::NotFound, "the folder does not exist");
        default:
            return Status::Error(ErrorCode::WriteFailed, std::string(doing) + " failed (Windows error " + std::to_string(e) + ")");
    }
}

}  // namespace

Status ReplaceFileContents(const std::filesystem::path& target, const std::uint8_t* data, std::size_t size) {
    std::error_code ec;
    if (target.filename().empty()) return Status::Error(ErrorCode::InvalidArgument, "the path names no file");
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(L".");
    if (!std::filesystem::is_directory(folder, ec)) return Status::Error(ErrorCode::NotFound, "the folder does not exist");
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Status::Error(ErrorCode::InvalidArgument, "a folder of that name exists");
        if (attributes & FILE_ATTRIBUTE_READONLY) return Status::Error(ErrorCode::ReadOnly, "the file is read-only");
    }

    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temp = folder / (target.filename().wstring() + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                         std::to_wstring(counter++) + L".tmp");
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return FromError(GetLastError(), "creating the file");
    }
    if (file == INVALID_HANDLE_VALUE) return Status::Error(ErrorCode::WriteFailed, "no temporary file name was free");

    auto fail = [&](DWORD e, const char* doing) {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        DeleteFileW(temp.c_str());
        return FromError(e, doing);
    };
    std::size_t done = 0;
    while (done < size) {
        const DWORD chunk = DWORD(std::min<std::size_t>(size - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, data + done, chunk, &written, nullptr)) return fail(GetLastError(), "writing");
        if (written == 0) return fail(ERROR_DISK_FULL, "writing");
        done += written;
    }
    if (!FlushFileBuffers(file)) return fail(GetLastError(), "flushing");
    const BOOL closed = CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    if (!closed) return fail(GetLastError(), "closing");
    SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(GetLastError(), "renaming");
    return Status::Ok();
}

}  // namespace bistrope::detail
