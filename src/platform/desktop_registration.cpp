#include "platform/desktop_registration.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "desktop_files.h"  // generated from resources/: kDesktopEntryTemplate, kMimePackage
#include "platform/host_file.h"

extern char** environ;

namespace tamvel {
namespace {

constexpr std::string_view kExecPlaceholder = "@TAMVEL_EXEC@";
constexpr std::string_view kWrittenForUserMark =
    "# Written by Tamvel for this user; it rewrites this file when the program moves.\n";

/// The program path as one argument of an Exec line, quoted and escaped where needed.
std::optional<std::string> ExecArgument(const std::string& program) {
    if (program.find_first_of("\n\r") != std::string::npos) return std::nullopt;
    const bool plain =
        program.find_first_not_of(
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/._+-,=:@") ==
        std::string::npos;
    std::string quoted;
    if (plain) {
        quoted = program;
    } else {
        quoted = "\"";
        for (char ch : program) {
            if (ch == '"' || ch == '`' || ch == '$' || ch == '\\') quoted += '\\';
            quoted += ch;
            if (ch == '%') quoted += '%';
        }
        quoted += '"';
    }
    std::string escaped;  // the value is itself a string whose backslashes are escaped
    for (char ch : quoted) {
        escaped += ch;
        if (ch == '\\') escaped += '\\';
    }
    return escaped;
}

// Writes a whole file, making its folders; a failure leaves an older file as it was.
bool WriteText(const std::filesystem::path& file, std::string_view text) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    return ReplaceHostFile(file, text) == kErrorSuccess;
}

bool FoundInAny(std::string_view dataDirs, const std::filesystem::path& relative) {
    std::error_code error;
    std::size_t start = 0;
    while (start <= dataDirs.size()) {
        std::size_t end = dataDirs.find(':', start);
        if (end == std::string_view::npos) end = dataDirs.size();
        const std::string_view folder = dataDirs.substr(start, end - start);
        if (!folder.empty() &&
            std::filesystem::exists(std::filesystem::path(folder) / relative, error)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

/// Runs a tool without waiting: a thread reaps it when it ends.
void StartDetached(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int result = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) return;
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

std::string DesktopEntryText(const std::filesystem::path& program) {
    const std::optional<std::string> exec = ExecArgument(program.string());
    if (!exec) return {};
    std::string text(kDesktopEntryTemplate);
    const std::size_t at = text.find(kExecPlaceholder);
    if (at != std::string::npos) text.replace(at, kExecPlaceholder.size(), *exec);
    return text;
}

std::string_view MimePackageText() { return kMimePackage; }

FileTypeRegistration RegisterFileTypeForUser(const std::filesystem::path& program,
                                             const std::filesystem::path& dataHome,
                                             std::string_view dataDirs) {
    FileTypeRegistration registration;
    if (dataHome.empty()) return registration;

    const std::filesystem::path mimeRelative =
        std::filesystem::path("mime/packages") / kMimePackageName;
    if (!FoundInAny(dataHome.native(), mimeRelative) && !FoundInAny(dataDirs, mimeRelative)) {
        registration.wroteMimePackage = WriteText(dataHome / mimeRelative, MimePackageText());
    }

    const std::filesystem::path entryRelative =
        std::filesystem::path("applications") / kDesktopEntryName;
    const std::string entry = DesktopEntryText(program);
    if (!entry.empty() && !FoundInAny(dataDirs, entryRelative)) {
        const std::string wanted = std::string(kWrittenForUserMark) + entry;
        const std::optional<std::string> present = ReadHostFile(dataHome / entryRelative);
        const bool ours = present && present->starts_with(kWrittenForUserMark);
        if (!present || (ours && *present != wanted)) {
            registration.wroteDesktopEntry = WriteText(dataHome / entryRelative, wanted);
        }
    }
    return registration;
}

std::filesystem::path UserDataHome() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') return data;
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::filesystem::path(home) / ".local/share";
    }
    return {};
}

std::string SystemDataDirs() {
    if (const char* dirs = std::getenv("XDG_DATA_DIRS"); dirs && *dirs) return dirs;
    return "/usr/local/share:/usr/share";
}

void RefreshDesktopDatabases(const FileTypeRegistration& registration,
                             const std::filesystem::path& dataHome) {
    if (registration.wroteMimePackage) {
        StartDetached({"update-mime-database", (dataHome / "mime").string()});
    }
    if (registration.wroteDesktopEntry) {
        StartDetached({"update-desktop-database", (dataHome / "applications").string()});
    }
}

}  // namespace tamvel
