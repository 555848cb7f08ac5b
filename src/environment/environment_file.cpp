#include "environment/environment_file.h"

#include <array>
#include <cstdint>

#include "platform/text.h"

namespace tamvel {
namespace {

constexpr std::string_view kFileName = "TamvelEnvFile.TXT";
/// The longest file path the save may use: 260 bytes with the terminating zero.
constexpr std::size_t kMaxPathBytes = 259;

// Length prefixes of the archive layout.
constexpr unsigned kOneByteLimit = 0xFF;             ///< shorter lengths take one byte
constexpr std::uint32_t kTwoByteLimit = 0xFFFE;      ///< shorter lengths take 0xFF + u16
constexpr std::uint16_t kWideStringMarker = 0xFFFE;  ///< 0xFF 0xFFFE: a wide-character string
constexpr std::uint16_t kFourByteMarker = 0xFFFF;    ///< 0xFF 0xFFFF + u32

void AppendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Reads a little-endian number of `bytes` bytes at `offset`; false when the input is too short.
bool ReadLittleEndian(std::string_view in, std::size_t& offset, int bytes, std::uint32_t& value) {
    if (in.size() - offset < static_cast<std::size_t>(bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[offset + i])) << (8 * i);
    }
    offset += static_cast<std::size_t>(bytes);
    return true;
}

}  // namespace

std::string MakeEnvironmentText(const WorkingEnvironment& environment) {
    std::string text = "TspExe|" + environment.tspExe;
    text += ";Editor|" + environment.editor;
    text += ";SaveFolder|" + environment.saveFolder;
    text += ";TspFile|" + environment.tspFile;
    text += ';';
    return text;
}

void ParseEnvironmentText(std::string_view text, WorkingEnvironment& environment) {
    const std::array<std::string*, 4> settings = {&environment.tspExe, &environment.editor,
                                                  &environment.saveFolder, &environment.tspFile};
    std::string_view rest = text;
    for (std::string* setting : settings) {
        const std::size_t bar = FindFirstChar(rest, '|');
        if (bar == std::string_view::npos || bar == 0) return;
        rest.remove_prefix(bar + 1);
        // The value ends at the first ';'; the next search for '|' starts again after the
        // bar, not after the ';'.
        const std::size_t semicolon = FindFirstChar(rest, ';');
        if (semicolon == std::string_view::npos || semicolon == 0) return;
        *setting = rest.substr(0, semicolon);
    }
}

std::string EncodeArchiveString(std::string_view text) {
    std::string out;
    const auto length = static_cast<std::uint32_t>(text.size());
    if (length < kOneByteLimit) {
        AppendLittleEndian(out, length, 1);
    } else {
        out += static_cast<char>(0xFF);
        if (length < kTwoByteLimit) {
            AppendLittleEndian(out, length, 2);
        } else {
            AppendLittleEndian(out, kFourByteMarker, 2);
            AppendLittleEndian(out, length, 4);
        }
    }
    out += text;
    return out;
}

std::optional<ArchiveStringHeader> DecodeArchiveHeader(std::string_view bytes) {
    std::size_t offset = 0;
    std::uint32_t length = 0;
    if (!ReadLittleEndian(bytes, offset, 1, length)) return std::nullopt;
    if (length == kOneByteLimit) {
        if (!ReadLittleEndian(bytes, offset, 2, length)) return std::nullopt;
        if (length == kWideStringMarker) return std::nullopt;
        if (length == kFourByteMarker && !ReadLittleEndian(bytes, offset, 4, length)) {
            return std::nullopt;
        }
    }
    return ArchiveStringHeader{offset, length};
}

std::optional<std::string> DecodeArchiveString(std::string_view bytes) {
    std::optional<ArchiveStringHeader> header = DecodeArchiveHeader(bytes);
    if (!header || bytes.size() - header->prefixBytes < header->length) return std::nullopt;
    return std::string(bytes.substr(header->prefixBytes, header->length));
}

std::string EnvironmentFilePath(std::string_view saveFolder) {
    std::string path(saveFolder);
    path += '\\';
    path += kFileName;
    return path;
}

void LoadEnvironment(const FileSystem& fileSystem, std::string_view path,
                     WorkingEnvironment& environment) {
    if (path.empty()) return;
    // The prefix first, then exactly the string it announces, taken out of the bytes read
    // in place: the text is held once.
    std::optional<std::string> head = fileSystem.ReadFile(path, kMaxArchivePrefixBytes);
    std::optional<ArchiveStringHeader> header = head ? DecodeArchiveHeader(*head) : std::nullopt;
    if (!header) return;
    const std::size_t wanted = header->prefixBytes + header->length;
    std::optional<std::string> text = fileSystem.ReadFile(path, wanted);
    if (!text || text->size() < wanted) return;
    text->erase(0, header->prefixBytes);
    ParseEnvironmentText(*text, environment);
}

bool SaveEnvironment(FileSystem& fileSystem, const WorkingEnvironment& environment) {
    const std::string path = EnvironmentFilePath(environment.saveFolder);
    if (path.size() > kMaxPathBytes) return false;
    const std::string bytes = EncodeArchiveString(MakeEnvironmentText(environment));
    return fileSystem.WriteFileReplacing(path, bytes) == kErrorSuccess;
}

}  // namespace tamvel
