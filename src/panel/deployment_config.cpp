#include "panel/deployment_config.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>

#include "platform/text.h"
#include "platform/xdg_dirs.h"

namespace tamvel {
namespace {

constexpr std::string_view kWhitespace = " \t\r";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kWhitespace);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kWhitespace);
    return text.substr(first, last - first + 1);
}

// The member a key sets, or null for a key this installation does not know.
std::string* MemberForKey(DeploymentConfig& config, std::string_view key) {
    if (key == "seminar") return &config.seminar;
    if (key == "teacher_mail") return &config.teacherMail;
    if (key == "university") return &config.university;
    return nullptr;
}

// Sets what one line says; comments, blank lines, unknown keys and values CP932 cannot
// hold change nothing.
void ApplyLine(std::string_view line, DeploymentConfig& config) {
    line = Trim(line);
    if (line.empty() || line.front() == '#') return;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    std::string* member = MemberForKey(config, Trim(line.substr(0, equals)));
    if (member == nullptr) return;
    std::optional<std::string> value = Utf8ToCp932(Trim(line.substr(equals + 1)));
    if (value) *member = std::move(*value);
}

// Overlays `config` with a file's settings; a file that cannot be opened changes nothing.
void OverlayFile(const std::filesystem::path& file, DeploymentConfig& config) {
    std::ifstream in(file);
    if (!in) return;
    std::string line;
    for (bool first = true; std::getline(in, line); first = false) {
        std::string_view view = line;
        if (first && view.starts_with(kUtf8ByteOrderMark)) view.remove_prefix(3);
        ApplyLine(view, config);
    }
}

}  // namespace

DeploymentConfig DeploymentConfig::Defaults() {
    DeploymentConfig config;
    config.seminar = Cp932("計量経済学ゼミ");
    config.teacherMail = "teacher@example.ac.jp";
    config.university = Cp932("本学");
    return config;
}

DeploymentConfig DeploymentConfig::Load() {
    DeploymentConfig config = Defaults();
    const char* explicitFile = std::getenv("TAMVEL_DEPLOYMENT");
    if (explicitFile != nullptr && *explicitFile != '\0') {
        OverlayFile(explicitFile, config);
        return config;
    }
    OverlayFile("/etc/tamvel/deployment.conf", config);
    const std::filesystem::path userFolder = ConfigHome();
    if (!userFolder.empty()) OverlayFile(userFolder / "tamvel" / "deployment.conf", config);
    return config;
}

DeploymentConfig DeploymentConfig::LoadFile(const std::filesystem::path& file) {
    DeploymentConfig config = Defaults();
    OverlayFile(file, config);
    return config;
}

}  // namespace tamvel
