#include "platform/file_system.h"

// Placeholder: the file-system operations are being written.
namespace tamvel {
FileSystem::FileSystem(const DriveMap& drives) : m_drives(drives), m_currentDirectory("C:\\") {}
std::string FileSystem::FullPath(std::string_view path) const { return std::string(path); }
std::optional<std::filesystem::path> FileSystem::ToHost(std::string_view) const { return std::nullopt; }
bool FileSystem::Exists(std::string_view) const { return false; }
std::optional<std::string> FileSystem::SearchPath(std::string_view, std::string_view) const { return std::nullopt; }
WinError FileSystem::SetCurrentDirectory(std::string_view) { return kErrorPathNotFound; }
WinError FileSystem::SetCurrentDrive(char) { return kErrorNotReady; }
WinError FileSystem::CreateDirectory(std::string_view) { return kErrorPathNotFound; }
int FileSystem::CopyFileInto(std::string_view, std::string_view) { return 0x402; }
std::string FileSystem::WindowsDirectory() const { return "C:\\WINDOWS"; }
std::optional<std::string> FileSystem::ReadFile(std::string_view) const { return std::nullopt; }
WinError FileSystem::WriteFileReplacing(std::string_view, std::string_view) { return kErrorPathNotFound; }
}  // namespace tamvel
