#pragma once
// What every fake outside program records of how it was started: its arguments and its
// working folder, appended as one JSON line to $FAKE_RECORD_DIR/NAME.jsonl, NAME being the
// name it was started under (a test installs one fake as "notepad.exe", "wine", ...).
// Nothing is recorded when the variable is not set.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>

namespace tamvel::fakes {

/// Appends {"cwd":..., "argv":[...]} (argv without the program's own name). Bytes that are
/// not UTF-8 are replaced, so odd input still gives a line.
inline void RecordStart(int argc, char** argv) {
    const char* folder = std::getenv("FAKE_RECORD_DIR");
    if (folder == nullptr || *folder == '\0' || argc < 1) return;
    const std::filesystem::path file =
        std::filesystem::path(folder) /
        (std::filesystem::path(argv[0]).filename().string() + ".jsonl");
    std::error_code ignored;
    nlohmann::json line = {{"cwd", std::filesystem::current_path(ignored).string()},
                           {"argv", nlohmann::json::array()}};
    for (int i = 1; i < argc; ++i) line["argv"].push_back(argv[i]);
    std::ofstream(file, std::ios::app)
        << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace tamvel::fakes
