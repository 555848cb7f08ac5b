#pragma once
// What a control panel command works on: the person, the files, the launcher, and the
// panel's working strings, which the view owns and lends to the command for its run.

#include <string>

#include "environment/environment_file.h"
#include "panel/stop_event.h"
#include "platform/file_system.h"
#include "platform/shell_launch.h"
#include "ui/ui.h"

namespace tamvel {

struct PanelContext {
    Ui& ui;
    FileSystem& fileSystem;
    ShellLauncher& launcher;
    WorkingEnvironment& environment;   ///< the four settings
    std::string& resultFilePath;       ///< the result file derived from the TSP file
    const std::string& notepadPath;    ///< Notepad in the Windows folder, or empty
    const std::string& windowsFolder;  ///< working folder of editor launches
    int& lastShellResult;              ///< value of the latest shell launch
    StopEvent* stopEvent;              ///< the run's second wait handle; null if none
};

}  // namespace tamvel
