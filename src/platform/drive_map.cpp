#include "platform/drive_map.h"

// Placeholder: the drive map is being written.
namespace tamvel {
DriveMap::DriveMap(std::filesystem::path prefix) : m_prefix(std::move(prefix)) {}
std::filesystem::path DriveMap::DefaultPrefix() { return {}; }
bool DriveMap::EnsurePrefix() const { return false; }
std::optional<std::filesystem::path> DriveMap::DriveRoot(char) const { return std::nullopt; }
std::optional<std::filesystem::path> DriveMap::ToHost(std::string_view) const { return std::nullopt; }
std::optional<std::string> DriveMap::ToWindows(const std::filesystem::path&) const { return std::nullopt; }
}  // namespace tamvel
