#pragma once
// An item chosen in the folder browser.

#include <string>

namespace tamvel {

/// Its file-system path (empty for an item outside the file system) and the name the
/// browser shows for it, such as "USB (A:)".
struct FolderItem {
    std::string path;
    std::string displayName;
};

}  // namespace tamvel
