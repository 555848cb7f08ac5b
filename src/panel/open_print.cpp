#include "panel/open_print.h"

#include <string_view>

#include "panel/message_text.h"
#include "platform/text.h"

namespace tamvel {
namespace {

constexpr std::string_view kFileNotFound = "ファイル%sが発見できません!";

}  // namespace

bool LocateFile(Ui& ui, const FileSystem& fileSystem, const std::string& path, bool showMessage) {
    std::string folder;
    std::string name;
    std::string fullName;
    const std::size_t separator = FindLastChar(path, '\\');
    if (separator != std::string::npos) {
        folder = path.substr(0, separator);
        if (folder.size() == 2) folder += '\\';
        name = path.substr(separator + 1);
        fullName = path;
    } else {
        folder = fileSystem.CurrentDirectory();
        name = path;
        fullName = folder;
        if (FindLastChar(folder, '\\') != folder.size() - 1) fullName += '\\';
        fullName += path;
    }
    if (fileSystem.SearchPath(folder, name)) return true;
    if (showMessage) ui.ShowMessage(FormatMessageText(kFileNotFound, fullName));
    return false;
}

}  // namespace tamvel
