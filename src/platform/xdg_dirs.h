#pragma once
// The user's base folders by the freedesktop rules: an XDG variable counts only when it
// holds an absolute path (a relative one is ignored, as if unset); otherwise the documented
// default under the home folder. No folder is ever guessed (no fallback to /tmp): an empty
// path means there is none, and the caller does without.

#include <filesystem>
#include <string_view>
#include <vector>

namespace tamvel {

/// $HOME when absolute, else the password database's home folder; empty when neither.
std::filesystem::path HomeFolder();
/// $XDG_DATA_HOME, else ~/.local/share; empty without a home folder.
std::filesystem::path DataHome();
/// $XDG_CONFIG_HOME, else ~/.config; empty without a home folder.
std::filesystem::path ConfigHome();
/// $XDG_RUNTIME_DIR; empty when unset or relative (there is no default).
std::filesystem::path RuntimeDir();
/// The absolute folders of $XDG_DATA_DIRS, else /usr/local/share and /usr/share.
std::vector<std::filesystem::path> DataDirs();
/// The absolute folders of $XDG_CONFIG_DIRS, else /etc/xdg.
std::vector<std::filesystem::path> ConfigDirs();

/// The entries of a colon-separated list of folders, empty entries left out.
std::vector<std::filesystem::path> SplitFolderList(std::string_view list);

}  // namespace tamvel
