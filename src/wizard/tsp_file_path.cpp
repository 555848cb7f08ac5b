#include "wizard/tsp_file_path.h"

#include <utility>

#include "platform/text.h"

namespace tamvel {
namespace {

constexpr std::string_view kNameMissing = "ＴＳＰファイル名を入力してください";
constexpr std::string_view kFolderWrong = "入力されたフォルダ名が誤っています。";
constexpr std::string_view kFileExists = "同名ファイルが存在します。";
constexpr std::string_view kExtension = ".tsp";

TspFilePathResult Refuse(std::string_view utf8Message) {
    return {std::nullopt, Cp932(utf8Message)};
}

// The name with ".tsp" as its extension: kept when it has it in any case, put in place of
// another one, or appended.
std::string WithTspExtension(std::string_view name) {
    const std::size_t dot = FindLastChar(name, '.');
    if (dot == std::string_view::npos) return std::string(name) + std::string(kExtension);
    if (EqualsNoCase(name.substr(dot + 1), kExtension.substr(1))) return std::string(name);
    return std::string(name.substr(0, dot)) + std::string(kExtension);
}

bool EndsInSeparator(std::string_view folder) {
    return !folder.empty() && FindLastChar(folder, '\\') == folder.size() - 1;
}

}  // namespace

TspFilePathResult MakeTspFilePath(std::string_view typedName, std::string_view saveFolder,
                                  const FileSystem& fileSystem) {
    if (typedName.empty()) return Refuse(kNameMissing);
    const std::string name = WithTspExtension(typedName);
    std::string path;
    if (FindFirstChar(name, ':') != std::string::npos) {
        if (name.size() < 3 || name[1] != ':' || name[2] != '\\') return Refuse(kFolderWrong);
        path = name;
    } else {
        path = std::string(saveFolder) + (EndsInSeparator(saveFolder) ? "" : "\\") + name;
    }
    if (fileSystem.Exists(path)) return Refuse(kFileExists);
    return {std::move(path), {}};
}

}  // namespace tamvel
