#pragma once
// The working environment's four settings and the file "TamvelEnvFile.TXT" that keeps them
// from one run to the next: "TspExe|%s;Editor|%s;SaveFolder|%s;TspFile|%s;" stored as one
// length-prefixed string (the framework archive's layout). All text is CP932.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tamvel {

struct WorkingEnvironment {
    std::string tspExe;      ///< key TspExe: the program that runs TSP files
    std::string editor;      ///< key Editor: the editor or word processor
    std::string saveFolder;  ///< key SaveFolder: folder for TSP and data files
    std::string tspFile;     ///< key TspFile: the current TSP file
};

/// The environment text of the four settings, unchanged and unquoted.
std::string MakeEnvironmentText(const WorkingEnvironment& environment);

/// Assigns the values found in an environment text by position, stopping as the format
/// says; settings after a stop keep their values.
void ParseEnvironmentText(std::string_view text, WorkingEnvironment& environment);

/// A string in the archive layout: length prefix (1, 3 or 7 bytes), then the bytes.
std::string EncodeArchiveString(std::string_view text);

/// The length prefix of an archive string: how many bytes it takes, and the text's length.
struct ArchiveStringHeader {
    std::size_t prefixBytes = 0;
    std::size_t length = 0;
};

/// The longest length prefix of the archive layout, in bytes.
inline constexpr std::size_t kMaxArchivePrefixBytes = 7;

/// The prefix at the start of `bytes`; nullopt when it is cut short or marks a
/// wide-character string.
std::optional<ArchiveStringHeader> DecodeArchiveHeader(std::string_view bytes);

/// The first archive string of a file's bytes; nullopt when the file is damaged (empty,
/// shorter than its prefix announces, or a wide-character string).
std::optional<std::string> DecodeArchiveString(std::string_view bytes);

/// The save folder's file path: the folder, then "\TamvelEnvFile.TXT" (always added).
std::string EnvironmentFilePath(std::string_view saveFolder);

/// Reads the file at `path` (may be empty: nothing is read). An unreadable or damaged file
/// leaves every setting as it was. Silent. Only the prefix and the one string it announces
/// are read, so a file's trailing bytes cost nothing.
void LoadEnvironment(const FileSystem& fileSystem, std::string_view path,
                     WorkingEnvironment& environment);

/// Writes the file into the save folder, replacing the old one whole. A path over 259 bytes
/// is refused. Silent; false when nothing was written.
bool SaveEnvironment(FileSystem& fileSystem, const WorkingEnvironment& environment);

}  // namespace tamvel
