#include "panel/result_file_name.h"

#include "platform/text.h"

namespace tamvel {

std::string MakeResultFileName(std::string_view tspFilePath) {
    const std::size_t dot = FindLastChar(tspFilePath, '.');
    if (dot == std::string_view::npos) return std::string(tspFilePath) + ".out";
    return std::string(tspFilePath.substr(0, dot + 1)) + "out";
}

}  // namespace tamvel
