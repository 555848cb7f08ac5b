#pragma once
// Whole-file reads and replacing writes on host paths, with failures as Windows error numbers.
// Readers never block and read regular files only: a FIFO, device, socket or folder at the
// path counts as unreadable. A replacing write never writes through a link and never
// replaces anything but a regular file or a link: a link is replaced by the new file in its
// own place, and the file it pointed to is left as it was.

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win_error.h"

namespace tamvel {

/// The Windows error number closest to a POSIX errno value.
WinError WinErrorFromErrno(int error);

/// The content of a regular file, at most its first `maxBytes` bytes, or nullopt. Opened
/// without blocking, so a FIFO at the path is refused at once.
std::optional<std::string> ReadHostFile(
    const std::filesystem::path& path,
    std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

/// Whether `path` is a regular file this process may open for reading (never blocks).
bool IsReadableHostFile(const std::filesystem::path& path);

/// Replaces a file's content as a whole: the bytes go to a temporary file of the pattern
/// ".tamvel-PID-N.tmp" in the same folder, which is flushed to disk and renamed over the old
/// file, so a failure at any point leaves the old file as it was and no temporary file
/// behind. Temporary files of that pattern left there by processes that are gone are removed
/// first. The file gets `mode` (less the umask) when one is given; else an existing file
/// keeps its owner and permission bits and a new one gets 0666 (less the umask).
/// Refused (kErrorAccessDenied): a folder, FIFO, device or socket at the path, and an
/// existing file that may not be written (no write permission bit, for root as well), which
/// is left alone. Where no temporary file can be made beside an existing writable file, that
/// file is rewritten in place and synced.
WinError ReplaceHostFile(const std::filesystem::path& path, std::string_view bytes,
                         std::optional<mode_t> mode = std::nullopt);

/// Removes the temporary files of ReplaceHostFile in `folder` whose processes are gone.
/// Number removed.
int RemoveStaleTemporaryFiles(const std::filesystem::path& folder);

}  // namespace tamvel
