#pragma once
// Drive letters mapped to host folders through a Wine-style prefix:
//   $TAMVEL_PREFIX/dosdevices/c: -> ../drive_c, z: -> /, a: -> the student's medium, ...
// Windows paths here are CP932 bytes; host paths are UTF-8.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win_error.h"

namespace tamvel {

/// A host path, or the Windows error that kept a Windows path from having one.
struct HostPath {
    std::filesystem::path path;
    WinError error = kErrorSuccess;
};

class DriveMap {
  public:
    /// A map over the prefix folder `prefix` (not created here; see EnsurePrefix).
    explicit DriveMap(std::filesystem::path prefix);

    /// $TAMVEL_PREFIX, else $XDG_DATA_HOME/tamvel, else ~/.local/share/tamvel.
    static std::filesystem::path DefaultPrefix();

    /// Makes a prefix that has not been made yet (it has no dosdevices folder): drive_c/temp,
    /// drive_c/windows, the default editor drive_c/windows/notepad.exe, then dosdevices/c:
    /// and z:. A prefix made before is left as it is, also where its owner removed a part.
    /// Then, once per prefix, the TSP engine that ships beside this program is linked where
    /// start-up looks for TSP, unless a file is there (OfferBundledEngine). False when the
    /// prefix cannot be made.
    bool EnsurePrefix() const;

    const std::filesystem::path& Prefix() const { return m_prefix; }

    /// Host folder of a drive letter (any case) when its link resolves to a readable folder;
    /// the folder is given with every link resolved.
    std::optional<std::filesystem::path> DriveRoot(char letter) const;

    /// A full Windows path ("C:\temp\x.tsp") to its host path, resolving one component at a
    /// time: an exact name first, else the one name that matches without regard to ASCII case.
    /// Components that do not exist are kept as given, so a file about to be created has a
    /// host path too. "." and ".." are folded as Windows does (never above the drive root);
    /// doubled backslashes count as one. nullopt: not a full path, unmapped drive, or a name
    /// that cannot be represented on the host.
    std::optional<std::filesystem::path> ToHost(std::string_view windowsPath) const;

    /// As ToHost, with the reason of a failure: kErrorInvalidName (not a full path, or a name
    /// Windows or the host cannot hold) or kErrorNotReady (drive unmapped or unreadable).
    HostPath Resolve(std::string_view windowsPath) const;

    /// A host path to the Windows path of the mapped drive with the longest matching root
    /// (else Z:). nullopt when a name cannot be represented in CP932 or is no valid Windows
    /// name (it holds '\', ':', ...).
    std::optional<std::string> ToWindows(const std::filesystem::path& hostPath) const;

  private:
    /// The folders, Notepad and the drive links of a new prefix.
    bool MakePrefix() const;

    std::filesystem::path m_prefix;
};

}  // namespace tamvel
