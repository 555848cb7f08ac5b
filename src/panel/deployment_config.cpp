#include "panel/deployment_config.h"

// Placeholder: being written.
namespace tamvel {
DeploymentConfig DeploymentConfig::Defaults() { return {}; }
DeploymentConfig DeploymentConfig::Load() { return Defaults(); }
DeploymentConfig DeploymentConfig::LoadFile(const std::filesystem::path&) { return Defaults(); }
}  // namespace tamvel
