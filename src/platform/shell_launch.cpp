#include "platform/shell_launch.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "platform/text.h"
#include "platform/windows_path.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrintSwitch = "/p ";
constexpr std::string_view kOpener = "xdg-open";
constexpr std::string_view kWine = "wine";

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// CP932 text as a host argument: UTF-8, or the bytes as they are when they are not CP932.
std::string HostText(std::string_view cp932) {
    return Cp932ToUtf8(cp932).value_or(std::string(cp932));
}

// A full Windows path on a mapped drive, as its host path; nullopt for anything else.
std::optional<fs::path> MappedHostPath(const FileSystem& fileSystem, std::string_view argument) {
    if (!StartsWithDrive(argument) || argument.size() < 3) return std::nullopt;
    if (argument[2] != '\\' && argument[2] != '/') return std::nullopt;
    return fileSystem.Drives().ToHost(argument);
}

std::vector<std::string> SplitOnBlanks(std::string_view text) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) break;
        const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
        words.emplace_back(text.substr(start, end - start));
        at = end;
    }
    return words;
}

LaunchPlan Failed(WinError error) {
    LaunchPlan plan;
    plan.error = error;
    return plan;
}

// Why a resolved program cannot be run, or kErrorSuccess when it can be tried.
WinError ProgramFileError(const fs::path& host) {
    std::error_code ec;
    const fs::file_status status = fs::status(host, ec);
    if (!fs::exists(status)) {
        return fs::is_directory(host.parent_path(), ec) ? kErrorFileNotFound : kErrorPathNotFound;
    }
    if (fs::is_directory(status)) return kErrorAccessDenied;
    if (!fs::is_regular_file(status)) return kErrorBadExeFormat;
    return kErrorSuccess;
}

// `target` is a host argument (UTF-8): an address, or the host path of a document.
LaunchPlan PlanOpener(const std::string& target) {
    std::optional<std::vector<std::string>> command = OpenerCommand(target);
    if (!command) return Failed(kErrorNoAssociation);
    LaunchPlan plan;
    plan.argv = std::move(*command);
    return plan;
}

}  // namespace

bool IsAddress(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsAsciiLetter(text[0])) return false;
    for (char c : text.substr(0, colon)) {
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

LaunchKind ClassifyLaunch(std::string_view file) {
    if (EqualsNoCase(file, kBrowserProgramName)) return LaunchKind::Browser;
    if (IsAddress(file)) return LaunchKind::Address;
    return LaunchKind::Program;
}

std::vector<std::string> ShellParameterArguments(std::string_view params) {
    if (params.empty()) return {};
    if (params.size() > kPrintSwitch.size() &&
        EqualsNoCase(params.substr(0, kPrintSwitch.size()), kPrintSwitch)) {
        return {std::string(params.substr(0, 2)), std::string(params.substr(kPrintSwitch.size()))};
    }
    return {std::string(params)};
}

std::vector<std::string> ProcessArguments(std::string_view arguments) {
    if (arguments.empty() || arguments == " " || arguments == "\"\"") return {};
    return {std::string(arguments)};
}

bool IsWindowsExecutable(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    char magic[2] = {};
    return in.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

std::string WineZPath(const fs::path& hostPath) {
    std::string text = "Z:";
    for (char c : hostPath.string()) text += c == '/' ? '\\' : c;
    if (text.size() == 2) text += '\\';
    return text;
}

std::optional<std::vector<std::string>> OpenerCommand(std::string_view address) {
    if (const char* browser = std::getenv("BROWSER"); browser != nullptr) {
        std::string_view entries = browser;
        while (!entries.empty()) {
            const std::size_t colon = entries.find(':');
            std::vector<std::string> words = SplitOnBlanks(entries.substr(0, colon));
            entries =
                colon == std::string_view::npos ? std::string_view() : entries.substr(colon + 1);
            if (words.empty()) continue;
            const fs::path program = FindOnPath(words.front());
            if (program.empty()) continue;
            words.front() = program.string();
            bool placed = false;
            for (std::string& word : words) {
                for (std::size_t at; (at = word.find("%s")) != std::string::npos;) {
                    word.replace(at, 2, address);
                    placed = true;
                }
            }
            if (!placed) words.emplace_back(address);
            return words;
        }
    }
    const fs::path opener = FindOnPath(kOpener);
    if (opener.empty()) return std::nullopt;
    return std::vector<std::string>{opener.string(), std::string(address)};
}

LaunchPlan PlanProgramLaunch(const FileSystem& fileSystem, std::string_view program,
                             const std::vector<std::string>& arguments,
                             std::string_view directory) {
    const HostPath host = fileSystem.Drives().Resolve(fileSystem.FullPath(program));
    if (program.empty() || host.error != kErrorSuccess) {
        return Failed(host.error == kErrorInvalidName ? kErrorFileNotFound : kErrorPathNotFound);
    }
    if (const WinError error = ProgramFileError(host.path); error != kErrorSuccess) {
        return Failed(error);
    }

    LaunchPlan plan;
    if (!directory.empty()) {
        std::optional<fs::path> folder = fileSystem.ToHost(directory);
        std::error_code ec;
        if (!folder || !fs::is_directory(*folder, ec)) return Failed(kErrorPathNotFound);
        plan.workingFolder = *folder;
    }
    const bool throughWine = IsWindowsExecutable(host.path);
    if (throughWine) {
        const fs::path wine = FindOnPath(kWine);
        if (wine.empty()) return Failed(kErrorBadExeFormat);
        plan.argv = {wine.string(), host.path.string()};
    } else {
        if (::access(host.path.c_str(), X_OK) != 0) return Failed(kErrorAccessDenied);
        plan.argv = {host.path.string()};
    }
    for (const std::string& argument : arguments) {
        std::optional<fs::path> mapped = MappedHostPath(fileSystem, argument);
        if (!mapped) {
            plan.argv.push_back(HostText(argument));
        } else {
            plan.argv.push_back(throughWine ? WineZPath(*mapped) : mapped->string());
        }
    }
    return plan;
}

LaunchPlan PlanShellLaunch(const FileSystem& fileSystem, std::string_view file,
                           std::string_view params, std::string_view directory) {
    switch (ClassifyLaunch(file)) {
        case LaunchKind::Address:
            return PlanOpener(HostText(file));
        case LaunchKind::Browser: {
            // The browser's parameter is an address, or a page file on a mapped drive.
            if (params.empty()) return Failed(kErrorNoAssociation);
            std::optional<fs::path> page = MappedHostPath(fileSystem, params);
            return PlanOpener(page ? page->string() : HostText(params));
        }
        case LaunchKind::Program:
            break;
    }
    return PlanProgramLaunch(fileSystem, file, ShellParameterArguments(params), directory);
}

int ShellResultOf(WinError error) {
    switch (error) {
        case kErrorSuccess:
            return kShellSuccess;
        case kErrorFileNotFound:
        case kErrorPathNotFound:
        case kErrorAccessDenied:
            return static_cast<int>(error);
        case kErrorBadExeFormat:
            return kShellBadFormat;
        case kErrorNoAssociation:
            return kShellNoAssociation;
        default:
            return kShellOutOfResources;
    }
}

SpawnResult ShellLauncher::Run(const LaunchPlan& plan, std::string_view file,
                               std::string_view params, std::string_view directory) {
    SpawnResult started;
    if (plan.error != kErrorSuccess) {
        started.error = plan.error;
    } else {
        SpawnOptions options;
        options.workingDirectory = plan.workingFolder;
        options.discardInput = true;
        options.discardOutput = true;
        started = ChildProcess::Spawn(
            plan.argv.front(), std::vector<std::string>(plan.argv.begin() + 1, plan.argv.end()),
            options);
    }
    if (m_observer) {
        m_observer({std::string(file), std::string(params),
                    directory.empty() ? m_fileSystem.CurrentDirectory() : std::string(directory),
                    ShellResultOf(started.error)});
    }
    return started;
}

int ShellLauncher::Open(std::string_view file, std::string_view params,
                        std::string_view directory) {
    SpawnResult started =
        Run(PlanShellLaunch(m_fileSystem, file, params, directory), file, params, directory);
    started.child.Detach();
    return ShellResultOf(started.error);
}

SpawnResult ShellLauncher::Start(std::string_view program, std::string_view arguments) {
    return Run(PlanProgramLaunch(m_fileSystem, program, ProcessArguments(arguments), ""), program,
               arguments, "");
}

}  // namespace tamvel
