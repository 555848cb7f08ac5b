#include "panel/help_pages.h"

#include <array>
#include <system_error>
#include <utility>

namespace tamvel {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kPages = {{
    {"help_screen", "screen.html"},
    {"help_tsp", "tsp.html"},
    {"help_data_collection", "data.html"},
    {"guide_macro_series", "guide_macro.html"},
    {"guide_financial_series", "guide_financial_series.html"},
    {"guide_financial_cross", "guide_financial_cross.html"},
}};

// Every folder of pages holds this one.
constexpr std::string_view kIndexPage = "index.html";

bool HoldsPages(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_regular_file(folder / kIndexPage, error);
}

bool IsUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
           byte == '~' || byte == '/';
}

}  // namespace

std::string_view ShippedHelpPage(std::string_view key) {
    for (const auto& [pageKey, page] : kPages) {
        if (pageKey == key) return page;
    }
    return {};
}

std::filesystem::path FindHelpFolder(const std::filesystem::path& executable) {
    const std::filesystem::path installed =
        (executable.parent_path() / TAMVEL_HELP_INSTALLED).lexically_normal();
    if (HoldsPages(installed)) return installed;
    const std::filesystem::path source = TAMVEL_HELP_SOURCE;
    if (HoldsPages(source)) return source;
    return {};
}

std::string FileUrl(const std::filesystem::path& file) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char ch : file.string()) {
        const auto byte = static_cast<unsigned char>(ch);
        if (IsUnreserved(byte)) {
            url += ch;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    return url;
}

std::string DefaultHelpAddress(std::string_view key) {
    const std::string_view page = ShippedHelpPage(key);
    if (page.empty()) return {};
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const std::filesystem::path folder = FindHelpFolder(self);
    if (folder.empty()) return {};
    return FileUrl(folder / page);
}

}  // namespace tamvel
