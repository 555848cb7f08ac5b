#pragma once
// The recent-file list: the documents opened last, newest first, kept in the user's
// configuration as the section "[Recent File List]" with keys File1, File2, ... of the file
// $XDG_CONFIG_HOME/<registry key>/<application>.conf. Paths are host paths.

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <vector>

namespace tamvel {

/// The configuration key under which the recent-file list is kept.
inline constexpr std::string_view kRegistryKey = "Local AppWizard-Generated Applications";

class RecentFileList {
  public:
    static constexpr std::size_t kMaxEntries = 4;

    /// A list kept in `configFile`, holding up to `maxEntries` paths. Nothing is read yet.
    explicit RecentFileList(std::filesystem::path configFile, std::size_t maxEntries = kMaxEntries);

    /// $XDG_CONFIG_HOME (else ~/.config), then the registry key, then "<application>.conf".
    static std::filesystem::path DefaultFile(std::string_view application);

    /// Replaces the entries with those of the file; a missing or unreadable file gives none.
    void Load();

    /// Writes the whole file anew (folder created when missing). False when it cannot.
    bool Save() const;

    /// Puts `file` (made absolute) first; an equal entry moves up, the oldest beyond the
    /// limit drop off.
    void Add(const std::filesystem::path& file);

    /// Load, Add and Save in one step, so that copies running side by side lose nothing.
    bool Record(const std::filesystem::path& file);

    const std::vector<std::filesystem::path>& Entries() const { return m_entries; }
    const std::filesystem::path& ConfigFile() const { return m_configFile; }

  private:
    std::filesystem::path m_configFile;
    std::size_t m_maxEntries;
    std::vector<std::filesystem::path> m_entries;
};

}  // namespace tamvel
