#include "platform/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/host_file.h"
#include "platform/text.h"
#include "platform/windows_path.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

// Results of the shell's file copy for its failures; all are 32 or more.
constexpr int kCopySameFile = 0x71;               ///< source and destination are one file
constexpr int kCopyAccessDenied = 0x78;           ///< the source cannot be read
constexpr int kCopyUnknownError = 0x402;          ///< typically a missing or invalid path
constexpr int kCopyErrorOnDestination = 0x10000;  ///< added when the destination failed

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Why a host path that does not exist is missing, as Windows tells it: the last name alone
// (file not found) or a folder on the way (path not found).
WinError MissingError(const fs::path& host) {
    std::error_code ec;
    return fs::is_directory(host.parent_path(), ec) ? kErrorFileNotFound : kErrorPathNotFound;
}

}  // namespace

FileSystem::FileSystem(const DriveMap& drives) : m_drives(drives), m_currentDirectory("C:\\") {}

std::string FileSystem::FullPath(std::string_view path) const {
    if (path.empty()) return {};
    std::string full;
    if (StartsWithDrive(path)) {
        const char drive = ToUpperAscii(path[0]);
        if (path.size() > 2 && IsSeparator(path[2])) {
            full = path;
        } else {
            // "C:x.tsp": relative to the current directory when that is on drive C, else to
            // the drive's root.
            full = drive == CurrentDrive() ? m_currentDirectory : std::string{drive, ':'};
            full += '\\';
            full += path.substr(2);
        }
    } else if (IsSeparator(path[0])) {
        if (path.size() > 1 && IsSeparator(path[1])) return std::string(path);  // \\server\share
        full = std::string{CurrentDrive(), ':'};
        full += path;
    } else {
        full = m_currentDirectory + '\\';
        full += path;
    }
    std::optional<WindowsPath> parsed = ParseFullWindowsPath(full);
    return parsed ? FormatWindowsPath(*parsed) : full;
}

HostPath FileSystem::Resolve(std::string_view path) const {
    return m_drives.Resolve(FullPath(path));
}

std::optional<fs::path> FileSystem::ToHost(std::string_view path) const {
    HostPath host = Resolve(path);
    if (host.error != kErrorSuccess) return std::nullopt;
    return std::move(host.path);
}

bool FileSystem::Exists(std::string_view path) const {
    HostPath host = Resolve(path);
    std::error_code ec;
    return host.error == kErrorSuccess && fs::exists(host.path, ec);
}

std::optional<std::string> FileSystem::SearchPath(std::string_view folder,
                                                  std::string_view name) const {
    if (name.empty()) return std::nullopt;
    std::string candidate;
    if (StartsWithDrive(name) || IsSeparator(name.front())) {
        candidate = FullPath(name);
    } else {
        candidate = FullPath(FullPath(folder) + '\\' + std::string(name));
    }
    HostPath host = Resolve(candidate);
    std::error_code ec;
    if (host.error != kErrorSuccess || !fs::exists(host.path, ec) ||
        fs::is_directory(host.path, ec)) {
        return std::nullopt;
    }
    return candidate;
}

WinError FileSystem::SetCurrentDirectory(std::string_view path) {
    const std::string full = FullPath(path);
    HostPath host = Resolve(full);
    if (host.error != kErrorSuccess) return host.error;
    struct stat info {};
    if (::stat(host.path.c_str(), &info) != 0) {
        return errno == ENOENT ? MissingError(host.path) : WinErrorFromErrno(errno);
    }
    if (!S_ISDIR(info.st_mode)) return kErrorDirectory;
    if (::chdir(host.path.c_str()) != 0) return WinErrorFromErrno(errno);
    m_currentDirectory = full;
    return kErrorSuccess;
}

WinError FileSystem::SetCurrentDrive(char letter) {
    const char drive = ToUpperAscii(letter);
    if (drive < 'A' || drive > 'Z') return kErrorInvalidDrive;
    if (!m_drives.DriveRoot(drive)) return kErrorNotReady;
    const std::string root{drive, ':', '\\'};
    // As _chdrive: the current drive keeps its current folder while that is still there.
    if (drive == CurrentDrive() && SetCurrentDirectory(m_currentDirectory) == kErrorSuccess) {
        return kErrorSuccess;
    }
    return SetCurrentDirectory(root);
}

WinError FileSystem::CreateDirectory(std::string_view path) {
    HostPath host = Resolve(path);
    if (host.error != kErrorSuccess) return host.error;
    std::error_code ec;
    if (fs::symlink_status(host.path, ec).type() != fs::file_type::not_found) {
        return kErrorAlreadyExists;
    }
    if (!fs::is_directory(host.path.parent_path(), ec)) return kErrorPathNotFound;
    if (::mkdir(host.path.c_str(), 0777) != 0) return WinErrorFromErrno(errno);
    return kErrorSuccess;
}

int FileSystem::CopyFileInto(std::string_view source, std::string_view destinationFolder) {
    HostPath sourceHost = Resolve(source);
    struct stat sourceInfo {};
    if (sourceHost.error != kErrorSuccess || ::stat(sourceHost.path.c_str(), &sourceInfo) != 0 ||
        !S_ISREG(sourceInfo.st_mode)) {
        return kCopyUnknownError;
    }
    std::optional<std::string> content = ReadHostFile(sourceHost.path);
    if (!content) return kCopyAccessDenied;

    // The copy keeps the source's name as it stands on the disk; an existing file of that
    // name in any case is the one replaced.
    const std::string folder = FullPath(destinationFolder);
    HostPath folderHost = Resolve(folder);
    std::error_code ec;
    std::optional<std::string> name = Utf8ToCp932(sourceHost.path.filename().string());
    if (folderHost.error != kErrorSuccess || !fs::is_directory(folderHost.path, ec) || !name) {
        return kCopyErrorOnDestination | kCopyUnknownError;
    }
    HostPath destination = Resolve(folder + '\\' + *name);
    if (destination.error != kErrorSuccess) return kCopyErrorOnDestination | kCopyUnknownError;
    struct stat destinationInfo {};
    // A link at the destination is replaced in its place, so only the entry itself counts.
    if (::lstat(destination.path.c_str(), &destinationInfo) == 0 &&
        destinationInfo.st_dev == sourceInfo.st_dev &&
        destinationInfo.st_ino == sourceInfo.st_ino) {
        return kCopySameFile;
    }
    const WinError written =
        ReplaceHostFile(destination.path, *content, sourceInfo.st_mode & 07777);
    if (written == kErrorSuccess) return 0;
    return kCopyErrorOnDestination |
           (written == kErrorAccessDenied ? kCopyAccessDenied : kCopyUnknownError);
}

std::string FileSystem::WindowsDirectory() const { return "C:\\WINDOWS"; }

std::optional<std::string> FileSystem::ReadFile(std::string_view path, std::size_t maxBytes) const {
    HostPath host = Resolve(path);
    if (host.error != kErrorSuccess) return std::nullopt;
    return ReadHostFile(host.path, maxBytes);
}

WinError FileSystem::WriteFileReplacing(std::string_view path, std::string_view bytes) {
    HostPath host = Resolve(path);
    if (host.error != kErrorSuccess) return host.error;
    return ReplaceHostFile(host.path, bytes);
}

}  // namespace tamvel
