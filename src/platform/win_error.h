#pragma once
// Windows error numbers that the platform layer reports, with the values the original saw.

#include <cstdint>

namespace tamvel {

using WinError = std::uint32_t;

inline constexpr WinError kErrorSuccess = 0;
inline constexpr WinError kErrorFileNotFound = 2;
inline constexpr WinError kErrorPathNotFound = 3;
inline constexpr WinError kErrorAccessDenied = 5;
inline constexpr WinError kErrorNotReady = 21;         ///< drive not mapped or not readable
inline constexpr WinError kErrorInvalidName = 123;     ///< name CP932 or the host cannot hold
inline constexpr WinError kErrorBadExeFormat = 193;
inline constexpr WinError kErrorAlreadyExists = 183;
inline constexpr WinError kErrorFilenameExcedRange = 206;  ///< path over 259 bytes

}  // namespace tamvel
