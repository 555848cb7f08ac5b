#pragma once
// How a program, a document or a web address handed to "the shell" is started on this host.
// The program thinks in Windows terms (a program path with a parameter string, an address,
// the registered browser "IEXPLORE.EXE"); this module turns each request into a plan, the
// host command and folder to start it in, or the shell's result code when there is none:
//   - a program path is resolved through the drive map and run directly, never through a
//     shell; its parameter string is one argument ("/p FILE" is two: the switch, the file),
//     and an argument that is a Windows path on a mapped drive is given in its host form;
//   - a Windows executable (its file starts with "MZ") is run through `wine` when that is on
//     PATH, its path arguments in the Z: form of Wine's default drive map;
//   - an address, or "IEXPLORE.EXE" with an address, goes to $BROWSER, else to xdg-open.
// All Windows-side strings are CP932; host arguments are UTF-8.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/win_error.h"

namespace tamvel {

/// Shell results: above 32 success; at or below it one of the failure codes.
inline constexpr int kShellSuccess = 42;        ///< what a started launch returns
inline constexpr int kShellFileNotFound = 2;    ///< the program does not exist
inline constexpr int kShellPathNotFound = 3;    ///< a folder on its way does not exist
inline constexpr int kShellAccessDenied = 5;    ///< the file may not be executed
inline constexpr int kShellOutOfResources = 0;  ///< the system could not start a process
inline constexpr int kShellBadFormat = 11;      ///< the file is no program
inline constexpr int kShellNoAssociation = 31;  ///< nothing to open an address with

/// The name by which the shell finds the web browser.
inline constexpr std::string_view kBrowserProgramName = "IEXPLORE.EXE";

/// What a launch asks for.
enum class LaunchKind {
    Program,  ///< a program path (absolute, or relative to the current directory)
    Address,  ///< a web address (or any URL) opened with the desktop's handler
    Browser,  ///< the browser by its registered name; the parameters are the address (or
              ///< a page file on a mapped drive)
};

/// The kind of a launch of `file` (CP932).
LaunchKind ClassifyLaunch(std::string_view file);

/// True for an absolute URL: a scheme of two or more letters, digits, '+', '-' or '.' that
/// starts with a letter, then ':' ("https://...", "mailto:..."). "C:\x" is a path.
bool IsAddress(std::string_view text);

/// A shell parameter string as arguments: none when empty; "/p FILE" (any case) as the
/// switch and the file; otherwise the whole string as one argument.
std::vector<std::string> ShellParameterArguments(std::string_view params);

/// A process argument string as arguments: none when it is empty, a single blank or two
/// double quotes (what a command line of the quoted program alone would give); otherwise
/// the whole string as one argument.
std::vector<std::string> ProcessArguments(std::string_view arguments);

/// True when the file starts with the bytes "MZ" (a DOS or Windows executable).
bool IsWindowsExecutable(const std::filesystem::path& file);

/// The Z: form of a host path under Wine's default drive map ("/home/a b" -> "Z:\home\a b").
std::string WineZPath(const std::filesystem::path& hostPath);

/// The command that opens `address` (UTF-8) on the desktop: the first entry of $BROWSER (a
/// colon-separated list of commands, "%s" standing for the address, else it is appended)
/// whose program is found, else xdg-open; nullopt when there is none.
std::optional<std::vector<std::string>> OpenerCommand(std::string_view address);

/// A started program's host command: argv[0] is the program to execute.
struct LaunchPlan {
    std::vector<std::string> argv;        ///< host form, UTF-8 where convertible
    std::filesystem::path workingFolder;  ///< empty: the current directory is inherited
    WinError error = kErrorSuccess;       ///< why it cannot be started; then argv is empty
};

/// How a program (CP932 Windows path, relative ones from the current directory) with its
/// arguments (CP932) is started: the drive map resolves the program and any argument that is
/// a full Windows path on a mapped drive; a Windows executable goes through wine. A program
/// that is missing (2, 3), not executable (5) or no program (193) gives its error, as does a
/// working folder (`directory`, empty for none) that cannot be entered (3).
LaunchPlan PlanProgramLaunch(const FileSystem& fileSystem, std::string_view program,
                             const std::vector<std::string>& arguments, std::string_view directory);

/// How a shell launch of `file` with `params` in `directory` is started, whatever its kind;
/// an address with nothing to open it gives kErrorNoAssociation.
LaunchPlan PlanShellLaunch(const FileSystem& fileSystem, std::string_view file,
                           std::string_view params, std::string_view directory);

/// The shell code for a Windows error of a start: 2, 3 and 5 as they are, bad format 11, no
/// association 31, success 42, anything else 0 (out of resources).
int ShellResultOf(WinError error);

/// A launch as it was handed to the system: what was asked (CP932), the folder the program
/// started in (Windows form) and the shell's result code (above 32: started).
struct LaunchReport {
    std::string file;
    std::string params;
    std::string directory;
    int result = kShellSuccess;
};

/// The one launcher of outside programs: shell launches (a program with parameters, an
/// address, the browser) that are never waited for, and process starts (TSP) that are.
/// Started programs read nothing of this process's input and write nothing to its output
/// (the console's events); every child is reaped.
class ShellLauncher {
  public:
    using Observer = std::function<void(const LaunchReport&)>;

    explicit ShellLauncher(const FileSystem& fileSystem) : m_fileSystem(fileSystem) {}

    /// A shell launch: `file` with `params` in `directory` (empty: the current directory).
    /// Returns at once with the shell's result code; the program runs on by itself.
    int Open(std::string_view file, std::string_view params, std::string_view directory);

    /// A process start: `program` with its argument string (ProcessArguments), inheriting
    /// the current directory. The child to wait for, or the Windows error number.
    SpawnResult Start(std::string_view program, std::string_view arguments);

    /// Called after every launch, started or not (the console reports them).
    void SetObserver(Observer observer) { m_observer = std::move(observer); }

  private:
    SpawnResult Run(const LaunchPlan& plan, std::string_view file, std::string_view params,
                    std::string_view directory);

    const FileSystem& m_fileSystem;
    Observer m_observer;
};

}  // namespace tamvel
