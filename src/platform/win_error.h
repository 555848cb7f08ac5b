#pragma once
// Windows error numbers that the platform layer reports, with the values the original saw.

#include <cstdint>

namespace tamvel {

using WinError = std::uint32_t;

inline constexpr WinError kErrorSuccess = 0;
inline constexpr WinError kErrorFileNotFound = 2;
inline constexpr WinError kErrorPathNotFound = 3;
inline constexpr WinError kErrorAccessDenied = 5;
inline constexpr WinError kErrorInvalidDrive = 15;  ///< not a drive letter
inline constexpr WinError kErrorWriteProtect = 19;  ///< read-only medium
inline constexpr WinError kErrorNotReady = 21;      ///< drive not mapped or not readable
inline constexpr WinError kErrorGenFailure = 31;    ///< any other device failure
inline constexpr WinError kErrorDiskFull = 112;
inline constexpr WinError kErrorInvalidName = 123;  ///< name CP932 or the host cannot hold
inline constexpr WinError kErrorBadExeFormat = 193;
inline constexpr WinError kErrorAlreadyExists = 183;
inline constexpr WinError kErrorFilenameExcedRange = 206;  ///< path over 259 bytes
inline constexpr WinError kErrorFileTooLarge = 223;
inline constexpr WinError kErrorDirectory = 267;       ///< a folder was needed, a file found
inline constexpr WinError kErrorNoAssociation = 1155;  ///< nothing is registered to open it

}  // namespace tamvel
