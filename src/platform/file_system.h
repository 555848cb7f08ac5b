#pragma once
// The file-system operations the program relies on, in Windows terms over the drive map.
// Every path is a CP932 Windows path; a relative one is taken from the current directory.
// Failures are results, never exceptions or crashes.

#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/drive_map.h"
#include "platform/win_error.h"

namespace tamvel {

class FileSystem {
  public:
    /// Starts with the current directory "C:\" (the process's real one is not touched).
    explicit FileSystem(const DriveMap& drives);

    const DriveMap& Drives() const { return m_drives; }

    /// A path made full: drive-relative ("C:x.tsp"), root-relative ("\x.tsp") and relative
    /// ("x.tsp") paths are joined to the current directory as Windows does, and "." and ".."
    /// are folded. Pure string work. A path that cannot be made full (a network path) comes
    /// back as it is; empty stays empty.
    std::string FullPath(std::string_view path) const;

    /// The host path of a (possibly relative) Windows path, or nullopt.
    std::optional<std::filesystem::path> ToHost(std::string_view path) const;

    /// Existence test: true for an existing file or folder.
    bool Exists(std::string_view path) const;

    /// Looks for `name` in `folder` only. The full Windows path (folder, '\', name as given)
    /// when a file of that name exists there, matched without regard to case; else nullopt.
    std::optional<std::string> SearchPath(std::string_view folder, std::string_view name) const;

    /// The current directory in Windows form ("C:\temp").
    const std::string& CurrentDirectory() const { return m_currentDirectory; }

    /// Makes an existing folder current, in Windows form and for the process too.
    WinError SetCurrentDirectory(std::string_view path);

    /// Makes the root of a drive current (as _chdrive): fails unless the drive is mapped and
    /// its folder readable.
    WinError SetCurrentDrive(char letter);

    /// Creates one folder; its parent must exist. kErrorAlreadyExists when it does.
    WinError CreateDirectory(std::string_view path);

    /// Copies a file into a folder under its own name, replacing a file of that name without
    /// asking. 0 on success; a failure gives a value of 32 or more, as the shell's copy does
    /// (a missing source too, so that "below 32" always means copied). The copy is written
    /// beside the old file and renamed over it, so a failed copy leaves the old one whole.
    int CopyFileInto(std::string_view source, std::string_view destinationFolder);

    /// The Windows folder: "C:\WINDOWS".
    std::string WindowsDirectory() const;

    /// The content of a regular file (at most its first `maxBytes` bytes), or nullopt when it
    /// cannot be read. Never blocks: a FIFO or device at the path is unreadable.
    std::optional<std::string> ReadFile(
        std::string_view path,
        std::size_t maxBytes = std::numeric_limits<std::size_t>::max()) const;

    /// Replaces a file's content as a whole: written to a temporary file in the same folder
    /// and renamed over the old one, so a failure never leaves a truncated file.
    WinError WriteFileReplacing(std::string_view path, std::string_view bytes);

  private:
    /// The host path of a (possibly relative) Windows path, or why there is none.
    HostPath Resolve(std::string_view path) const;

    /// The drive letter of the current directory.
    char CurrentDrive() const { return m_currentDirectory.front(); }

    const DriveMap& m_drives;
    std::string m_currentDirectory;
};

}  // namespace tamvel
