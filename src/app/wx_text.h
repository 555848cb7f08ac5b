#pragma once
// Text where the program meets wx: the program's CP932 strings as wxString for display, what
// a person typed back as CP932, and host file names as wxString.

#include <wx/string.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tamvel {

/// CP932 bytes for display. Bytes that are not CP932 show as "\x81", one mark per byte.
wxString FromCp932(std::string_view cp932);

/// Text as CP932; nullopt when a character has no CP932 form.
std::optional<std::string> ToCp932(const wxString& text);

/// Text as CP932 with '?' for every character that has no CP932 form, as an ANSI edit
/// control hands typed text to its program.
std::string ToCp932Replacing(const wxString& text);

/// A host path as wx shows and lists file names.
wxString FromHostPath(const std::filesystem::path& hostPath);

/// A file name that wx gave (a directory tree's path) as a host path.
std::filesystem::path ToHostPath(const wxString& path);

}  // namespace tamvel
