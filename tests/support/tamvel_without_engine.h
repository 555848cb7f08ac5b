#pragma once
// A copy of the real program installed without the TSP engine beside it, for the starts of a
// Tamvel that has none: its new prefixes get no TSP, and start-up asks for one.

#include <filesystem>
#include <system_error>

namespace tamvel::testing {

/// A copy of the program in `folder` (made here) with no tamvel-tsp beside it; the window
/// program beside it is a link to the built one. The copy's path.
inline std::filesystem::path TamvelWithoutEngine(const std::filesystem::path& folder) {
    const std::filesystem::path built = TAMVEL_BINARY;
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(built, folder / "tamvel",
                               std::filesystem::copy_options::overwrite_existing);
    std::error_code noWindowProgram;  // a build without wx has none
    std::filesystem::create_symlink(built.parent_path() / "tamvel-gui.so", folder / "tamvel-gui.so",
                                    noWindowProgram);
    return folder / "tamvel";
}

}  // namespace tamvel::testing
