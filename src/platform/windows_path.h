#pragma once
// Full Windows paths as a drive letter and a list of names: the one place that knows how
// Windows reads separators, "." and "..". Pure string work on CP932 bytes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamvel {

/// A full Windows path taken apart: "C:\temp\x.tsp" is drive 'C' and {"temp", "x.tsp"}.
struct WindowsPath {
    char drive = 'C';                ///< upper-case drive letter
    std::vector<std::string> names;  ///< the folders and the file below the root, in order
};

/// True for a drive letter followed by ':' ("C:", "c:\x").
bool StartsWithDrive(std::string_view path);

/// True for a path from a drive's root: a drive letter, ':' and '\' or '/' ("C:\temp").
/// "C:temp" (relative to the drive's current folder), "\temp" and "temp" are not.
bool IsAbsoluteWindowsPath(std::string_view path);

/// Whether the path's last character is '\'; the trail byte of a double-byte character
/// ("表" ends in 0x5C) is not one.
bool EndsWithSeparator(std::string_view cp932Path);

/// Takes a full path ("C:\a\..\b", "c:/a") apart. Both '\' and '/' separate (a '\' that is
/// the second byte of a double-byte character does not); empty names (doubled separators)
/// are dropped; "." is dropped and ".." removes the name before it, never going above the
/// root. nullopt when the path does not start with a drive letter and ':'.
std::optional<WindowsPath> ParseFullWindowsPath(std::string_view path);

/// The path in Windows form: "C:\" for the root, else "C:\temp\x.tsp" (no trailing '\').
std::string FormatWindowsPath(const WindowsPath& path);

/// True when a name can stand in a Windows path: not empty, no control character and none
/// of <>:"/\|?* (the second byte of a double-byte character is part of that character).
bool IsValidWindowsName(std::string_view cp932Name);

}  // namespace tamvel
