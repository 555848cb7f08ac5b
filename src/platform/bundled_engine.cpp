#include "platform/bundled_engine.h"

#include <unistd.h>

#include <optional>
#include <string>
#include <system_error>

#include "platform/drive_map.h"
#include "platform/host_file.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMarkerText =
    "Tamvel has put its TSP engine (tamvel-tsp) at C:\\Program Files (x86)\\TSP 5.1\\tsp.exe\n"
    "in this prefix, unless a TSP was there already. It does so once: remove this file to have\n"
    "it done again at the next start.\n";

bool EntryExists(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

}  // namespace

fs::path BundledEngine() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    fs::path engine = self.parent_path() / "tamvel-tsp";
    if (!fs::is_regular_file(engine, ec) || ::access(engine.c_str(), X_OK) != 0) return {};
    return engine;
}

void OfferBundledEngine(const DriveMap& drives) {
    const fs::path marker = drives.Prefix() / std::string(kBundledEngineMarker);
    if (EntryExists(marker)) return;  // the one look at every start
    const std::optional<fs::path> place = drives.ToHost(kBundledEnginePlace);
    if (!place) return;
    if (const fs::path engine = BundledEngine(); !EntryExists(*place) && !engine.empty()) {
        std::error_code ec;
        fs::create_directories(place->parent_path(), ec);
        // Never replaces: a file that appeared meanwhile makes this fail, and stays.
        if (!ec) fs::create_symlink(engine, *place, ec);
        if (ec) return;
    }
    ReplaceHostFile(marker, kMarkerText);
}

}  // namespace tamvel
