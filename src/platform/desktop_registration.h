#pragma once
// The TSP file type on the desktop: a desktop entry that opens *.tsp files with Tamvel and a
// shared-mime-info type that names them. Installed with the program; written for the user
// at start where the desktop has neither, so a file manager starts Tamvel with the file.

#include <filesystem>
#include <string>
#include <string_view>

namespace tamvel {

/// The desktop entry's file name (applications/...) and the MIME package's (mime/packages/...).
inline constexpr std::string_view kDesktopEntryName = "tamvel.desktop";
inline constexpr std::string_view kMimePackageName = "tamvel.xml";

/// The desktop entry whose Exec line starts `program` with the file to open.
std::string DesktopEntryText(const std::filesystem::path& program);

/// The MIME package that names *.tsp files "text/x-tsp".
std::string_view MimePackageText();

/// What RegisterFileTypeForUser wrote.
struct FileTypeRegistration {
    bool wroteDesktopEntry = false;
    bool wroteMimePackage = false;
};

/// Writes the desktop entry and the MIME package under `dataHome` where none of the data
/// folders (`dataHome` first, then `dataDirs`, colon-separated) holds them. A user entry
/// that Tamvel wrote earlier for another program path is written anew; one the user wrote
/// is left alone. Silent.
FileTypeRegistration RegisterFileTypeForUser(const std::filesystem::path& program,
                                             const std::filesystem::path& dataHome,
                                             std::string_view dataDirs);

/// The XDG data folders (see xdg_dirs.h), colon-separated, for RegisterFileTypeForUser.
std::string SystemDataDirs();

/// Starts the desktop's database tools on what was written (update-mime-database,
/// update-desktop-database) without waiting for them. Silent when they are missing.
void RefreshDesktopDatabases(const FileTypeRegistration& registration,
                             const std::filesystem::path& dataHome);

}  // namespace tamvel
