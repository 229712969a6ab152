// POSIX: open(O_EXCL) a temporary name beside the target, write, fsync, close, rename.
#include "engine/file_replace.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bistrope::detail {
namespace {

Status FromErrno(int e, const char* doing) {
    switch (e) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return Status::Error(ErrorCode::DiskFull, "the disk is full");
        case EACCES:
        case EPERM:
        case EROFS: return Status::Error(ErrorCode::ReadOnly, "the folder cannot be written (no permission or read-only)");
        case ENOENT:
        case ENOTDIR: return Status::Error(ErrorCode::NotFound, "the folder does not exist");
        default: return Status::Error(ErrorCode::WriteFailed, std::string(doing) + " failed (" + std::strerror(e) + ")");
    }
}

}  // namespace

Status ReplaceFileContents(const std::filesystem::path& target, const std::uint8_t* data, std::size_t size) {
    std::error_code ec;
    if (target.filename().empty()) return Status::Error(ErrorCode::InvalidArgument, "the path names no file");
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::is_directory(folder, ec)) return Status::Error(ErrorCode::NotFound, "the folder does not exist");
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return Status::Error(ErrorCode::InvalidArgument, "a folder of that name exists");
        // rename() would replace a read-only file; a read-only file must stay as it is. A file
        // without any write permission counts as read-only even for the superuser.
        if (::access(target.c_str(), W_OK) != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return Status::Error(ErrorCode::ReadOnly, "the file is read-only");
    }

    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "-" +
                         std::to_string(counter++) + ".tmp");
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return FromErrno(errno, "creating the file");
    }
    if (fd < 0) return Status::Error(ErrorCode::WriteFailed, "no temporary file name was free");

    auto fail = [&](int e, const char* doing) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        return FromErrno(e, doing);
    };
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno, "writing");
        }
        if (n == 0) return fail(ENOSPC, "writing");
        done += std::size_t(n);
    }
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) return fail(errno, "flushing");
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail(errno, "closing");
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno, "renaming");
    return Status::Ok();
}

}  // namespace bistrope::detail
