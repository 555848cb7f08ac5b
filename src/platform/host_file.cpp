#include "platform/host_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace tamvel {
namespace {

namespace fs = std::filesystem;

// A file descriptor closed when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    /// Closes now and reports whether the close succeeded (errno set when it did not).
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

  private:
    int m_fd;
};

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
    return ".tamvel-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

// Opens a new temporary file in `folder`; its path goes to `tempPath`.
FileDescriptor CreateTemporaryFile(const fs::path& folder, mode_t mode, fs::path& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder / TemporaryName();
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return FileDescriptor(fd);
    }
    return FileDescriptor(-1);
}

void SyncFolder(const fs::path& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.IsOpen()) ::fsync(fd.Get());
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

std::optional<std::string> ReadHostFile(const fs::path& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsOpen()) return std::nullopt;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    return content;
}

WinError ReplaceHostFile(const fs::path& path, std::string_view bytes, std::optional<mode_t> mode) {
    fs::path target = path;
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;  // a dangling link is replaced itself
    }
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode)) return kErrorAccessDenied;

    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0) return kErrorPathNotFound;
    if (!S_ISDIR(folderInfo.st_mode)) return kErrorPathNotFound;

    fs::path tempPath;
    FileDescriptor fd = CreateTemporaryFile(folder, mode ? *mode : existed ? 0600 : 0666, tempPath);
    if (!fd.IsOpen()) return WinErrorFromErrno(errno);

    int error = WriteAll(fd.Get(), bytes) ? 0 : errno;
    if (error == 0 && existed && !mode) {
        // Best effort: the new content keeps the old file's owner and permissions.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] int ignored = ::fchown(fd.Get(), old.st_uid, old.st_gid);
        }
        ::fchmod(fd.Get(), old.st_mode & 07777);
    }
    if (error == 0 && ::fsync(fd.Get()) != 0) error = errno;
    if (!fd.Close() && error == 0) error = errno;
    if (error == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(tempPath.c_str());
        return WinErrorFromErrno(error);
    }
    SyncFolder(folder);
    return kErrorSuccess;
}

}  // namespace tamvel
