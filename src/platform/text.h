#pragma once
// CP932 (Shift-JIS) text: the program's own narrow strings, and the one place where
// they meet UTF-8 (what a person sees or types, and host file names).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tamvel {

/// True when the byte starts a double-byte CP932 character.
bool IsCp932LeadByte(unsigned char byte);

/// CP932 bytes to UTF-8; nullopt when the bytes are not valid CP932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

/// CP932 bytes as UTF-8 for a person to read: every byte that is not part of a valid CP932
/// character is shown as "\xNN" (its value in hexadecimal capitals), the rest unchanged.
std::string Cp932ToUtf8Marked(std::string_view cp932);

/// UTF-8 to CP932 bytes; nullopt when the text is not valid UTF-8 or has a character CP932 lacks.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

/// A UTF-8 literal of the program's own (a message, a label) as CP932. Every such literal is
/// representable; one that is not is a programming error and aborts.
std::string Cp932(std::string_view utf8Literal);

/// Byte offset of the first `ch` that is a character of its own (never the trail byte of a
/// double-byte character), or npos. `ch` must be a single-byte character.
std::size_t FindFirstChar(std::string_view cp932, char ch);

/// Byte offset of the last such `ch`, or npos.
std::size_t FindLastChar(std::string_view cp932, char ch);

/// Whole-string comparison without regard to case, as _mbsicmp: ASCII letters fold, per
/// character; double-byte characters compare as they are. <0, 0 or >0.
int CompareNoCase(std::string_view a, std::string_view b);

/// CompareNoCase(a, b) == 0.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace tamvel
