#pragma once
// Running TSP on the current TSP file: the checks, the run folder, the start of TSP and the
// wait for it (or for the stop event), then the result file opened in the editor.

#include <string>

#include "panel/panel_context.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "ui/ui.h"

namespace tamvel {

/// The TSP executable that every run starts, whatever the setting said before.
inline constexpr const char* kRunTspPath = "C:\\temp\\Tsp.exe";
/// LaunchProgram's results: started, or not started and reported.
inline constexpr int kLaunchStarted = 100;
inline constexpr int kLaunchFailed = -99;
/// How long TSP has to end after it is asked to stop, before it is killed.
inline constexpr int kStopGraceMilliseconds = 2000;

/// Button 1002: runs TSP on the TSP file and opens its result file in the editor.
void RunTspFile(const PanelContext& panel);

/// Makes `folder` the current directory; a bare drive ("C:") gains a '\' in the caller's
/// string first. False after telling the person "フォルダを %s に変更できません。".
bool ChangeFolder(Ui& ui, FileSystem& fileSystem, std::string& folder);

/// Starts TSP from the TSP file's folder (when it is not the save folder), waits until it
/// ends or the stop event is signalled, and returns to the save folder. LaunchProgram's result.
int RunTspAndWait(const PanelContext& panel, std::string program, std::string tspFile,
                  std::string saveFolder);

/// The command line `"PROGRAM"  ARGUMENTS`, or `"PROGRAM"` alone when the arguments are
/// empty, a single blank or two double quotes.
std::string MakeCommandLine(const std::string& program, const std::string& arguments);

/// Starts `program` with `arguments` as its one argument (none in the cases of
/// MakeCommandLine), inheriting the current directory. 100 with `child` set, or -99 after
/// telling the person "%sを実行できません。エラーコード＝%d" with the command line.
int LaunchProgram(const PanelContext& panel, ChildProcess& child, const std::string& program,
                  std::string arguments);

}  // namespace tamvel
