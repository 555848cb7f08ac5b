#pragma once
// Whole-file reads and replacing writes on host paths, with failures as Windows error numbers.

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win_error.h"

namespace tamvel {

/// The Windows error number closest to a POSIX errno value.
WinError WinErrorFromErrno(int error);

/// The whole content of a regular file, or nullopt.
std::optional<std::string> ReadHostFile(const std::filesystem::path& path);

/// Replaces a file's content as a whole: the bytes go to a temporary file in the same folder,
/// which is flushed to disk and renamed over the old file, so a failure at any point leaves
/// the old file as it was. The file gets `mode` (less the umask) when one is given; else an
/// existing file keeps its owner and permission bits and a new one gets 0666 (less the
/// umask). A link to a file has its target replaced.
WinError ReplaceHostFile(const std::filesystem::path& path, std::string_view bytes,
                         std::optional<mode_t> mode = std::nullopt);

}  // namespace tamvel
