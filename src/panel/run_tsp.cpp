#include "panel/run_tsp.h"

#include <cerrno>

#include "panel/message_text.h"
#include "panel/open_print.h"
#include "panel/shell_error_text.h"
#include "platform/text.h"
#include "ui/control_ids.h"

namespace tamvel {
namespace {

// This program's own executable on the student's media: never run as TSP.
struct RefusedTsp {
    std::string_view path;
    std::string_view refusal;
};
constexpr RefusedTsp kRefusedTsps[] = {
    {"A:\\Tamvel.exe",
     "TSP実行ﾌｧｲﾙに，A:\\Tamvel.exeは設定できません。\n環境設定でDドライブのDIZI."
     "EXEを選択してください"},
    {"H:\\Tamvel.exe",
     "TSP実行ﾌｧｲﾙに，H:\\Tamvel.exeは設定できません。\n環境設定でDドライブのDIZI."
     "EXEを選択してください"},
};

constexpr std::string_view kCannotChangeFolder = "フォルダを %s に変更できません。";
constexpr std::string_view kCannotRun = "%sを実行できません。エラーコード＝%d";
constexpr std::string_view kCannotWait = "WaitForSingleObjectを実行できません。エラー：%d";

// A message template with its "%d" filled in first, then its "%s" (if any).
std::string FormatWithNumber(std::string_view utf8Template, long number, std::string_view value) {
    std::string filled(utf8Template);
    if (const std::size_t at = filled.find("%d"); at != std::string::npos) {
        filled.replace(at, 2, std::to_string(number));
    }
    return FormatMessageText(filled, value);
}

// The folder part of a path: what stands before its last '\', a bare drive as "X:\".
std::string RunFolderOf(const std::string& path, std::size_t separator) {
    std::string folder = path.substr(0, separator);
    if (folder.size() == 2) folder += '\\';
    return folder;
}

// Waits for TSP or the stop event while the front-end shows that TSP runs; a stop ends TSP.
// After a failed wait TSP is let run on (the reaper collects it), as closing its handles did.
void WaitForTsp(const PanelContext& panel, ChildProcess& child, const std::string& tspFile) {
    StopEvent* stop = panel.stopEvent;
    if (stop != nullptr) stop->Reset();
    WaitResult result;
    int waitError = 0;
    panel.ui.WhileTspRuns(tspFile, stop, [&] {
        result = child.Wait(stop != nullptr ? stop->Fd() : -1);
        waitError = errno;
    });
    if (result.end == WaitEnd::Failed) {
        panel.ui.ShowMessage(FormatWithNumber(kCannotWait, waitError, ""));
    } else if (result.end == WaitEnd::Stopped) {
        child.Terminate(std::chrono::milliseconds(kStopGraceMilliseconds));
    }
}

}  // namespace

std::string MakeCommandLine(const std::string& program, const std::string& arguments) {
    std::string line = "\"" + program + "\"";
    if (!ProcessArguments(arguments).empty()) line += "  " + arguments;
    return line;
}

int LaunchProgram(const PanelContext& panel, ChildProcess& child, const std::string& program,
                  std::string arguments) {
    SpawnResult start = panel.launcher.Start(program, arguments);
    if (!start) {
        panel.ui.ShowMessage(
            FormatWithNumber(kCannotRun, start.error, MakeCommandLine(program, arguments)));
        return kLaunchFailed;
    }
    child = std::move(start.child);
    return kLaunchStarted;
}

bool ChangeFolder(Ui& ui, FileSystem& fileSystem, std::string& folder) {
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    if (fileSystem.SetCurrentDirectory(folder) == kErrorSuccess) return true;
    ui.ShowMessage(FormatMessageText(kCannotChangeFolder, folder));
    return false;
}

int RunTspAndWait(const PanelContext& panel, std::string program, std::string tspFile,
                  std::string saveFolder) {
    bool restore = false;
    if (const std::size_t separator = FindLastChar(tspFile, '\\'); separator != std::string::npos) {
        const std::string tspFolder = tspFile.substr(0, separator);
        restore = !EqualsNoCase(tspFolder, saveFolder) &&
                  panel.fileSystem.SetCurrentDirectory(tspFolder) == kErrorSuccess;
    }
    ChildProcess child;
    const int result = LaunchProgram(panel, child, program, tspFile);
    if (result > kShellLaunchSucceededAbove && result != kLaunchFailed) {
        WaitForTsp(panel, child, tspFile);
    }
    if (restore) panel.fileSystem.SetCurrentDirectory(saveFolder);
    return result;
}

void RunTspFile(const PanelContext& panel) {
    WorkingEnvironment& environment = panel.environment;
    std::string& tspFile = environment.tspFile;
    tspFile = panel.ui.FieldText(kIdTspFileField);
    if (!LocateFile(panel.ui, panel.fileSystem, tspFile, true)) return;
    for (const RefusedTsp& refused : kRefusedTsps) {
        if (EqualsNoCase(environment.tspExe, refused.path)) {
            panel.ui.ShowMessage(Cp932(refused.refusal));
            return;
        }
    }
    if (!EqualsNoCase(environment.tspExe, kRunTspPath)) environment.tspExe = kRunTspPath;
    if (!LocateFile(panel.ui, panel.fileSystem, environment.tspExe, true)) return;

    std::string runFolder;
    bool entered = false;
    if (const std::size_t separator = FindLastChar(tspFile, '\\'); separator == std::string::npos) {
        tspFile = JoinFolderAndName(environment.saveFolder, tspFile);
        runFolder = environment.saveFolder;
    } else {
        runFolder = RunFolderOf(tspFile, separator);
        if (!ChangeFolder(panel.ui, panel.fileSystem, runFolder)) return;
        entered = true;
    }

    panel.ui.ShowMainWindow(false);
    RunTspAndWait(panel, environment.tspExe, tspFile, environment.saveFolder);
    std::string& resultFile = panel.resultFilePath;
    if (FindLastChar(resultFile, '\\') == std::string::npos) {
        resultFile = JoinFolderAndName(entered ? runFolder : environment.saveFolder, resultFile);
    }
    if (LocateFile(panel.ui, panel.fileSystem, resultFile, true)) {
        ReportedLaunch(panel, environment.editor, resultFile, panel.windowsFolder);
    }
    if (entered) ChangeFolder(panel.ui, panel.fileSystem, environment.saveFolder);
    panel.ui.ShowMainWindow(true);
}

}  // namespace tamvel
