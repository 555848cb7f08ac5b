#pragma once
// The result file that a TSP run writes, named after its TSP command file.

#include <string>
#include <string_view>

namespace tamvel {

/// The result file path for a TSP file path: everything up to the last '.' (in the whole
/// path, folders included) followed by "out", or the whole path followed by ".out" when
/// there is no dot. Pure string work; CP932-aware.
std::string MakeResultFileName(std::string_view tspFilePath);

}  // namespace tamvel
