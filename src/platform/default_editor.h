#pragma once
// The program that stands in for Notepad in a new prefix (drive_c/windows/notepad.exe).

#include <string_view>

namespace tamvel {

/// A POSIX sh script: "notepad.exe FILE" opens FILE in $VISUAL, else with xdg-open;
/// "notepad.exe /p FILE" prints it with lp. Where none of these exists it says so on
/// standard error and, when a desktop is there, in a dialog.
std::string_view DefaultEditorScript();

}  // namespace tamvel
