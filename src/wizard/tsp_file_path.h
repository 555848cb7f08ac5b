#pragma once
// The path of a new TSP file, made from the name typed in the new-program form and the
// save folder, or the reason it is refused. An existing file is never chosen, so a new file
// never replaces one.

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tamvel {

/// The path of the new TSP file, or why the typed name is refused.
struct TspFilePathResult {
    std::optional<std::string> path;  ///< CP932 Windows path
    std::string refusal;              ///< CP932 message to show, set when path is empty
};

/// The full path for a typed name: ".tsp" put in place of any other extension (the last '.'
/// of the whole name), joined to `saveFolder` unless it names a drive ("D:\..."); refused
/// when empty, when a ':' is anywhere but after a drive letter followed by '\', or when
/// anything, file or folder, exists at the path.
TspFilePathResult MakeTspFilePath(std::string_view typedName, std::string_view saveFolder,
                                  const FileSystem& fileSystem);

}  // namespace tamvel
