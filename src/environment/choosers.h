#pragma once
// Picking a program, a file or a folder through the Ui port's choosers, with the limits the
// program's path buffers set.

#include <cstddef>
#include <string>

#include "ui/ui.h"

namespace tamvel {

/// Longest file path a chooser may hand back, in bytes: it passes through a 200-byte buffer
/// that also holds the terminating zero.
inline constexpr std::size_t kMaxChosenFileBytes = 199;

/// Longest folder path the folder browser may hand back (a 260-byte path buffer).
inline constexpr std::size_t kMaxChosenFolderBytes = 259;

/// Opens the file chooser of `kind`. On confirmation `path` becomes the chosen file; on
/// cancel, or for a path longer than kMaxChosenFileBytes (refused whole, never cut), `path`
/// keeps its value. True when a file was taken and `path` is not empty.
bool ChooseFileInto(Ui& ui, ChooserKind kind, std::string& path);

/// The program chooser (*.exe): ChooseFileInto with ChooserKind::Program.
bool ChooseProgram(Ui& ui, std::string& path);

/// Opens the folder browser. `folder` becomes the chosen folder's path; for an item with no
/// file-system path whose name shows a drive, as "USB (A:)", the root of that drive ("A:\").
/// False, with `folder` empty, when cancelled or when nothing usable was chosen.
bool ChooseFolder(Ui& ui, std::string& folder);

}  // namespace tamvel
