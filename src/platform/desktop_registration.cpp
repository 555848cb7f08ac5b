#include "platform/desktop_registration.h"

#include <optional>
#include <system_error>

#include "desktop_files.h"  // generated from resources/: kDesktopEntryTemplate, kMimePackage
#include "platform/host_file.h"
#include "platform/process.h"
#include "platform/xdg_dirs.h"

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
    for (const std::filesystem::path& folder : SplitFolderList(dataDirs)) {
        if (std::filesystem::exists(folder / relative, error)) return true;
    }
    return false;
}

/// Runs a tool found on $PATH without waiting; it is reaped when it ends.
void StartDetached(std::string_view tool, std::string argument) {
    const std::filesystem::path program = FindOnPath(tool);
    if (program.empty()) return;
    SpawnOptions options;
    options.discardOutput = true;
    ChildProcess::Spawn(program, {std::move(argument)}, options).child.Detach();
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

std::string SystemDataDirs() {
    std::string joined;
    for (const std::filesystem::path& folder : DataDirs()) {
        if (!joined.empty()) joined += ':';
        joined += folder.string();
    }
    return joined;
}

void RefreshDesktopDatabases(const FileTypeRegistration& registration,
                             const std::filesystem::path& dataHome) {
    if (registration.wroteMimePackage) {
        StartDetached("update-mime-database", (dataHome / "mime").string());
    }
    if (registration.wroteDesktopEntry) {
        StartDetached("update-desktop-database", (dataHome / "applications").string());
    }
}

}  // namespace tamvel
