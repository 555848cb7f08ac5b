#pragma once
// Opening and printing the TSP file and the result file, and the existence check that every
// command makes before it hands a file to another program.

#include <string>

#include "platform/file_system.h"
#include "ui/ui.h"

namespace tamvel {

/// True when the file exists in its own folder (a bare name: in the current directory);
/// otherwise, when `showMessage` is set, says that it cannot be found and gives false.
bool LocateFile(Ui& ui, const FileSystem& fileSystem, const std::string& path, bool showMessage);

}  // namespace tamvel
