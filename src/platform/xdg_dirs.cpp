#include "platform/xdg_dirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace tamvel {
namespace {

/// The variable's value when it is an absolute path, else empty.
std::filesystem::path AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value != '/') return {};
    return value;
}

std::filesystem::path UnderHome(const char* relative) {
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / relative;
}

std::vector<std::filesystem::path> AbsoluteFolders(const char* name, std::string_view fallback) {
    std::vector<std::filesystem::path> folders;
    const char* value = std::getenv(name);
    for (std::filesystem::path& folder : SplitFolderList(value != nullptr ? value : "")) {
        if (folder.is_absolute()) folders.push_back(std::move(folder));
    }
    return folders.empty() ? SplitFolderList(fallback) : folders;
}

}  // namespace

std::filesystem::path HomeFolder() {
    if (std::filesystem::path home = AbsoluteVariable("HOME"); !home.empty()) return home;
    const passwd* user = ::getpwuid(::getuid());
    if (user != nullptr && user->pw_dir != nullptr && *user->pw_dir == '/') return user->pw_dir;
    return {};
}

std::filesystem::path DataHome() {
    std::filesystem::path data = AbsoluteVariable("XDG_DATA_HOME");
    return data.empty() ? UnderHome(".local/share") : data;
}

std::filesystem::path ConfigHome() {
    std::filesystem::path config = AbsoluteVariable("XDG_CONFIG_HOME");
    return config.empty() ? UnderHome(".config") : config;
}

std::filesystem::path RuntimeDir() { return AbsoluteVariable("XDG_RUNTIME_DIR"); }

std::vector<std::filesystem::path> DataDirs() {
    return AbsoluteFolders("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
}

std::vector<std::filesystem::path> ConfigDirs() {
    return AbsoluteFolders("XDG_CONFIG_DIRS", "/etc/xdg");
}

std::vector<std::filesystem::path> SplitFolderList(std::string_view list) {
    std::vector<std::filesystem::path> folders;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string_view::npos) end = list.size();
        if (end > start) folders.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

}  // namespace tamvel
