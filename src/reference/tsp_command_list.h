#pragma once
// The TSP command reference: the fixed, categorised list of TSP commands that dialog 135
// shows, one line per command with a one-line Japanese description. A command line is the
// name padded with blanks to its group's field (9 characters in the first group, 8 in the
// others) followed directly by the description; a category heading is a line of its own.

#include <cstddef>
#include <span>
#include <string>

namespace tamvel {

/// Number of lines of the reference list, the empty first line included.
inline constexpr std::size_t kTspCommandLineCount = 165;

/// The lines of the reference list in the order the list box shows them, as CP932 bytes.
/// Line 0 is empty. The list is built once and lives as long as the program.
std::span<const std::string> TspCommandLines();

}  // namespace tamvel
