#pragma once
// Opening and printing the TSP file and its result file, and the check that a file exists
// before anything is launched (LocateFile), which other commands use too.

#include <string>
#include <string_view>

#include "panel/panel_context.h"
#include "platform/file_system.h"
#include "ui/ui.h"

namespace tamvel {

/// The folder, then '\' unless the folder's last byte is one, then the name.
std::string JoinFolderAndName(std::string_view folder, std::string_view name);

/// A name holding no '\' joined to the save folder; a path holding one is left as it is.
std::string ResolveBareName(std::string_view path, std::string_view saveFolder);

/// Whether the file exists in the folder of its own path (a drive root as "X:\"; a bare name
/// in the current directory), and only there. When it does not and `showMessage` is set,
/// the person is told "ファイル%sが発見できません!" with the full name. The path is not changed.
bool LocateFile(Ui& ui, const FileSystem& fileSystem, const std::string& path, bool showMessage);

/// Button 1001: opens the TSP file in the editor (whether or not the file exists).
void EditTspFile(const PanelContext& panel);

/// Button 203: opens the result file in the editor, the main window hidden for the launch.
void ViewResultFile(const PanelContext& panel);

/// Button 1005: prints the TSP file with Notepad ("/p FILE").
void PrintTspFile(const PanelContext& panel);

/// Button 1004: prints the result file with Notepad ("/p FILE").
void PrintResultFile(const PanelContext& panel);

/// The shell launch of every command: started, its result kept as the last shell result and
/// a failure reported.
void ReportedLaunch(const PanelContext& panel, std::string_view file, std::string_view params,
                    std::string_view directory);

}  // namespace tamvel
