#include "platform/host_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <string>

#include "platform/unique_fd.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemporaryPrefix = ".tamvel-";
constexpr std::string_view kTemporarySuffix = ".tmp";
/// Flags of every open for reading: never waits for a FIFO's writer, never takes a terminal.
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
/// Permission bits of a file that someone may write; none set is a read-only file.
constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A name for a temporary file that no other writer in this process picks at the same time.
std::string TemporaryName() {
    static std::atomic<unsigned> counter{0};
    return std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + std::string(kTemporarySuffix);
}

// The process id in a temporary file's name ".tamvel-PID-N.tmp", or 0 for any other name.
pid_t TemporaryFileOwner(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) return 0;
    name.remove_prefix(kTemporaryPrefix.size());
    name.remove_suffix(kTemporarySuffix.size());
    pid_t pid = 0;
    auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || pid <= 0 || end == name.data() + name.size() || *end != '-') {
        return 0;
    }
    unsigned counter = 0;
    const char* last = name.data() + name.size();
    auto [counterEnd, counterError] = std::from_chars(end + 1, last, counter);
    return counterError == std::errc() && counterEnd == last && end + 1 != last ? pid : 0;
}

bool ProcessIsGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

// Opens a new temporary file in `folder`; its path goes to `tempPath`.
UniqueFd CreateTemporaryFile(const fs::path& folder, mode_t mode, fs::path& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder / TemporaryName();
        const int fd =
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return UniqueFd(fd);
    }
    return UniqueFd();
}

void SyncFolder(const fs::path& folder) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.Get());
}

// Writes `bytes` over the start of an open file, cuts it there and syncs it: the way to
// update a file whose folder takes no new file.
WinError RewriteInPlace(UniqueFd& file, std::string_view bytes) {
    int error = 0;
    if (::lseek(file.Get(), 0, SEEK_SET) != 0 || !WriteAll(file.Get(), bytes) ||
        ::ftruncate(file.Get(), static_cast<off_t>(bytes.size())) != 0 ||
        ::fsync(file.Get()) != 0) {
        error = errno;
    }
    if (!file.Close() && error == 0) error = errno;
    return WinErrorFromErrno(error);
}

}  // namespace

WinError WinErrorFromErrno(int error) {
    switch (error) {
        case 0:
            return kErrorSuccess;
        case ENOENT:
            return kErrorFileNotFound;
        case ENOTDIR:
            return kErrorPathNotFound;
        case EACCES:
        case EPERM:
        case EISDIR:
        case ETXTBSY:
        case ELOOP:
        case ENXIO:
            return kErrorAccessDenied;
        case EROFS:
            return kErrorWriteProtect;
        case ENOMEDIUM:
            return kErrorNotReady;
        case EEXIST:
        case ENOTEMPTY:
            return kErrorAlreadyExists;
        case ENOSPC:
        case EDQUOT:
            return kErrorDiskFull;
        case EFBIG:
            return kErrorFileTooLarge;
        case ENAMETOOLONG:
            return kErrorFilenameExcedRange;
        case EILSEQ:
            return kErrorInvalidName;
        default:
            return kErrorGenFailure;
    }
}

std::optional<std::string> ReadHostFile(const fs::path& path, std::size_t maxBytes) {
    UniqueFd fd(::open(path.c_str(), kReadFlags));
    if (!fd) return std::nullopt;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    std::string content;
    // Sized once from the file's length; a file that grows meanwhile grows the string.
    content.reserve(std::min(static_cast<std::size_t>(info.st_size), maxBytes));
    char buffer[65536];
    while (content.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - content.size());
        const ssize_t got = ::read(fd.Get(), buffer, want);
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    return content;
}

bool IsReadableHostFile(const fs::path& path) {
    UniqueFd fd(::open(path.c_str(), kReadFlags));
    struct stat info {};
    return fd && ::fstat(fd.Get(), &info) == 0 && S_ISREG(info.st_mode);
}

int RemoveStaleTemporaryFiles(const fs::path& folder) {
    DIR* entries = ::opendir(folder.c_str());
    if (entries == nullptr) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(entries)) {
        const pid_t owner = TemporaryFileOwner(entry->d_name);
        if (owner == 0 || owner == ::getpid() || !ProcessIsGone(owner)) continue;
        struct stat info {};
        if (::fstatat(::dirfd(entries), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && ::unlinkat(::dirfd(entries), entry->d_name, 0) == 0) {
            ++removed;
        }
    }
    ::closedir(entries);
    return removed;
}

WinError ReplaceHostFile(const fs::path& path, std::string_view bytes, std::optional<mode_t> mode) {
    // What stands at the path itself, links not followed: a link is replaced in its place.
    struct stat old {};
    const bool existed = ::lstat(path.c_str(), &old) == 0;
    if (!existed && errno != ENOENT) return WinErrorFromErrno(errno);
    const bool regular = existed && S_ISREG(old.st_mode);
    if (existed && !regular && !S_ISLNK(old.st_mode)) return kErrorAccessDenied;

    // An existing file must be writable, as an open for writing would find it; a file
    // without any write bit counts as read-only for root too, and is left alone.
    UniqueFd current;
    if (regular) {
        if ((old.st_mode & kAnyWriteBit) == 0) return kErrorAccessDenied;
        current.Reset(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!current) return WinErrorFromErrno(errno);
    }

    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode)) {
        return kErrorPathNotFound;
    }
    RemoveStaleTemporaryFiles(folder);

    fs::path tempPath;
    UniqueFd fd = CreateTemporaryFile(folder, mode ? *mode : regular ? 0600 : 0666, tempPath);
    if (!fd) {
        const int error = errno;
        if (current && (error == EACCES || error == EPERM)) return RewriteInPlace(current, bytes);
        return WinErrorFromErrno(error);
    }
    current.Close();

    int error = WriteAll(fd.Get(), bytes) ? 0 : errno;
    if (error == 0 && regular && !mode) {
        // Best effort: the new content keeps the old file's owner and permissions.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] int ignored = ::fchown(fd.Get(), old.st_uid, old.st_gid);
        }
        ::fchmod(fd.Get(), old.st_mode & 07777);
    }
    if (error == 0 && ::fsync(fd.Get()) != 0) error = errno;
    if (!fd.Close() && error == 0) error = errno;
    if (error == 0 && ::rename(tempPath.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(tempPath.c_str());
        return WinErrorFromErrno(error);
    }
    SyncFolder(folder);
    return kErrorSuccess;
}

}  // namespace tamvel
