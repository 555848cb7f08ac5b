#include "platform/drive_map.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "platform/bundled_engine.h"
#include "platform/default_editor.h"
#include "platform/host_file.h"
#include "platform/text.h"
#include "platform/windows_path.h"
#include "platform/xdg_dirs.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool EntryExists(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

// The name in `folder` that stands for `cp932Name`: the exact name when it exists, else the
// first (in byte order) whose CP932 form matches without regard to ASCII case.
std::optional<std::string> FindEntry(const fs::path& folder, std::string_view cp932Name,
                                     const std::string& utf8Name) {
    if (EntryExists(folder / utf8Name)) return utf8Name;
    std::error_code ec;
    fs::directory_iterator entries(folder, ec);
    if (ec) return std::nullopt;
    std::optional<std::string> best;
    for (auto end = fs::directory_iterator(); entries != end; entries.increment(ec)) {
        if (ec) break;
        std::string hostName = entries->path().filename().string();
        std::optional<std::string> entryName = Utf8ToCp932(hostName);
        if (!entryName || !EqualsNoCase(*entryName, cp932Name)) continue;
        if (!best || hostName < *best) best = std::move(hostName);
    }
    return best;
}

// The number of leading components of `path` that are `root`, or nullopt when `root` is not
// a leading part of it.
std::optional<std::size_t> RootDepth(const fs::path& root, const fs::path& path) {
    auto [rootEnd, pathEnd] = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
    if (rootEnd != root.end()) return std::nullopt;
    return static_cast<std::size_t>(std::distance(root.begin(), root.end()));
}

// A host path made absolute and free of "." and "..", with the links of its folder resolved
// (the last name stays as it is, so a link to a file keeps its own name).
fs::path CanonicalFolderOf(const fs::path& hostPath) {
    std::error_code ec;
    fs::path path = fs::absolute(hostPath, ec).lexically_normal();
    if (!path.has_filename() && path != path.root_path()) path = path.parent_path();
    if (path == path.root_path()) return path;
    fs::path folder = fs::weakly_canonical(path.parent_path(), ec);
    if (ec) folder = path.parent_path();
    return folder / path.filename();
}

}  // namespace

DriveMap::DriveMap(fs::path prefix) : m_prefix(std::move(prefix)) {}

fs::path DriveMap::DefaultPrefix() {
    if (const char* prefix = std::getenv("TAMVEL_PREFIX"); prefix && *prefix) return prefix;
    const fs::path dataHome = DataHome();
    return dataHome.empty() ? dataHome : dataHome / "tamvel";
}

bool DriveMap::EnsurePrefix() const {
    if (m_prefix.empty()) return false;  // no home folder to hold it
    // A prefix with its dosdevices folder has been made: what its owner has changed or
    // removed since (a drive link, Notepad) stays so.
    std::error_code ec;
    if (!fs::is_directory(m_prefix / "dosdevices", ec) && !MakePrefix()) return false;
    // Also in a prefix that a Tamvel without the engine made; once, see OfferBundledEngine.
    OfferBundledEngine(*this);
    return true;
}

bool DriveMap::MakePrefix() const {
    const fs::path windows = m_prefix / "drive_c" / "windows";
    std::error_code ec;
    for (const fs::path& folder : {m_prefix / "drive_c" / "temp", windows}) {
        fs::create_directories(folder, ec);
        if (ec) return false;
    }
    const fs::path editor = windows / "notepad.exe";
    if (!EntryExists(editor) &&
        ReplaceHostFile(editor, DefaultEditorScript(), 0755) != kErrorSuccess) {
        return false;
    }
    // The drive links last, in a folder moved into place whole: a prefix whose making was
    // cut short is made again at the next start.
    const fs::path dosdevices = m_prefix / "dosdevices";
    const fs::path incoming = m_prefix / ".dosdevices-new";
    fs::remove_all(incoming, ec);
    fs::create_directory(incoming, ec);
    if (!ec) fs::create_directory_symlink("../drive_c", incoming / "c:", ec);
    if (!ec) fs::create_directory_symlink("/", incoming / "z:", ec);
    if (!ec) fs::rename(incoming, dosdevices, ec);
    if (ec) fs::remove_all(incoming, ec);
    return fs::is_directory(dosdevices, ec);
}

std::optional<fs::path> DriveMap::DriveRoot(char letter) const {
    if (!IsAsciiLetter(letter)) return std::nullopt;
    const char lower = static_cast<char>(letter | 0x20);
    const char upper = static_cast<char>(lower - 'a' + 'A');
    for (char name : {lower, upper}) {
        const fs::path link = m_prefix / "dosdevices" / std::string{name, ':'};
        if (!EntryExists(link)) continue;
        std::error_code ec;
        if (!fs::is_directory(link, ec) || ::access(link.c_str(), R_OK | X_OK) != 0) {
            return std::nullopt;
        }
        fs::path root = fs::canonical(link, ec);
        if (ec) return std::nullopt;
        return root;
    }
    return std::nullopt;
}

std::optional<fs::path> DriveMap::ToHost(std::string_view windowsPath) const {
    HostPath host = Resolve(windowsPath);
    if (host.error != kErrorSuccess) return std::nullopt;
    return std::move(host.path);
}

HostPath DriveMap::Resolve(std::string_view windowsPath) const {
    std::optional<WindowsPath> parsed = ParseFullWindowsPath(windowsPath);
    if (!parsed) return {{}, kErrorInvalidName};
    std::optional<fs::path> root = DriveRoot(parsed->drive);
    if (!root) return {{}, kErrorNotReady};

    fs::path host = std::move(*root);
    bool inExistingFolder = true;  // below a missing folder nothing is looked up any more
    for (const std::string& name : parsed->names) {
        std::optional<std::string> utf8Name;
        if (IsValidWindowsName(name)) utf8Name = Cp932ToUtf8(name);
        if (!utf8Name || utf8Name->find('\0') != std::string::npos) {
            return {{}, kErrorInvalidName};
        }
        if (inExistingFolder) {
            if (std::optional<std::string> found = FindEntry(host, name, *utf8Name)) {
                host /= *found;
                continue;
            }
            inExistingFolder = false;
        }
        host /= *utf8Name;
    }
    return {std::move(host), kErrorSuccess};
}

std::optional<std::string> DriveMap::ToWindows(const fs::path& hostPath) const {
    const fs::path path = CanonicalFolderOf(hostPath);
    WindowsPath windows{'Z', {}};
    fs::path root = "/";
    std::size_t bestDepth = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        std::optional<fs::path> driveRoot = DriveRoot(letter);
        if (!driveRoot) continue;
        std::optional<std::size_t> depth = RootDepth(*driveRoot, path);
        if (depth && *depth > bestDepth) {
            bestDepth = *depth;
            windows.drive = letter;
            root = std::move(*driveRoot);
        }
    }
    for (const fs::path& name : path.lexically_relative(root)) {
        if (name == ".") continue;
        // A host name that Windows cannot hold ("a\b", "a:b") would lead back to another file.
        std::optional<std::string> cp932Name = Utf8ToCp932(name.string());
        if (!cp932Name || !IsValidWindowsName(*cp932Name)) return std::nullopt;
        windows.names.push_back(std::move(*cp932Name));
    }
    return FormatWindowsPath(windows);
}

}  // namespace tamvel
