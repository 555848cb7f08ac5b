#include "platform/windows_path.h"

#include "platform/text.h"

namespace tamvel {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool StartsWithDrive(std::string_view path) {
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

bool EndsWithSeparator(std::string_view cp932Path) {
    return !cp932Path.empty() && FindLastChar(cp932Path, '\\') == cp932Path.size() - 1;
}

bool IsAbsoluteWindowsPath(std::string_view path) {
    return StartsWithDrive(path) && path.size() >= 3 && (path[2] == '\\' || path[2] == '/');
}

std::optional<WindowsPath> ParseFullWindowsPath(std::string_view path) {
    if (!StartsWithDrive(path)) return std::nullopt;
    WindowsPath result;
    result.drive = ToUpperAscii(path[0]);
    std::string_view rest = path.substr(2);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= rest.size(); ++i) {
        const bool atEnd = i == rest.size();
        if (!atEnd && IsCp932LeadByte(static_cast<unsigned char>(rest[i])) && i + 1 < rest.size()) {
            ++i;  // the trail byte belongs to this character, whatever its value
            continue;
        }
        if (!atEnd && rest[i] != '\\' && rest[i] != '/') continue;
        std::string_view name = rest.substr(start, i - start);
        start = i + 1;
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (!result.names.empty()) result.names.pop_back();
            continue;
        }
        result.names.emplace_back(name);
    }
    return result;
}

std::string FormatWindowsPath(const WindowsPath& path) {
    std::string text{path.drive, ':'};
    if (path.names.empty()) return text + '\\';
    for (const std::string& name : path.names) {
        text += '\\';
        text += name;
    }
    return text;
}

bool IsValidWindowsName(std::string_view cp932Name) {
    if (cp932Name.empty()) return false;
    for (std::size_t i = 0; i < cp932Name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(cp932Name[i]);
        if (IsCp932LeadByte(byte)) {
            if (i + 1 == cp932Name.size()) return false;  // a lead byte without its trail
            ++i;
            continue;
        }
        if (byte < 0x20) return false;
        if (std::string_view("<>:\"/\\|?*").find(static_cast<char>(byte)) !=
            std::string_view::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace tamvel
