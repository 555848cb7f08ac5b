#include "environment/environment_file.h"

// Placeholder: the environment file is being written.
namespace tamvel {
std::string MakeEnvironmentText(const WorkingEnvironment&) { return {}; }
void ParseEnvironmentText(std::string_view, WorkingEnvironment&) {}
std::string EncodeArchiveString(std::string_view) { return {}; }
std::optional<std::string> DecodeArchiveString(std::string_view) { return std::nullopt; }
std::string EnvironmentFilePath(std::string_view) { return {}; }
void LoadEnvironment(const FileSystem&, std::string_view, WorkingEnvironment&) {}
bool SaveEnvironment(FileSystem&, const WorkingEnvironment&) { return false; }
}  // namespace tamvel
