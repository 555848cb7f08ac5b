#include "environment/choosers.h"

#include <optional>
#include <string_view>

namespace tamvel {
namespace {

// The drive root named in a browser display name such as "USB (A:)": the character before
// ":)", the colon and a backslash. nullopt when the name shows no drive.
std::optional<std::string> DriveRootFromDisplayName(std::string_view displayName) {
    // ':' and ')' are below the CP932 trail-byte range, so a plain search is exact here.
    const std::size_t marker = displayName.find(":)");
    if (marker == std::string_view::npos || marker == 0) return std::nullopt;
    return std::string(displayName.substr(marker - 1, 2)) + "\\";
}

}  // namespace

bool ChooseFileInto(Ui& ui, ChooserKind kind, std::string& path) {
    std::optional<std::string> chosen = ui.ChooseFile(kind);
    if (!chosen || chosen->size() > kMaxChosenFileBytes) return false;
    path = std::move(*chosen);
    return !path.empty();
}

bool ChooseProgram(Ui& ui, std::string& path) {
    return ChooseFileInto(ui, ChooserKind::Program, path);
}

bool ChooseFolder(Ui& ui, std::string& folder) {
    folder.clear();
    std::optional<FolderItem> item = ui.BrowseForFolder();
    if (!item) return false;
    if (item->path.size() <= kMaxChosenFolderBytes) folder = item->path;
    if (!folder.empty()) return true;
    std::optional<std::string> driveRoot = DriveRootFromDisplayName(item->displayName);
    if (!driveRoot) return false;
    folder = std::move(*driveRoot);
    return true;
}

}  // namespace tamvel
