#include "panel/deployment_config.h"

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string_view>

#include "panel/help_pages.h"
#include "platform/host_file.h"
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

// Every key of the file and the member it sets.
struct Key {
    std::string_view name;
    std::string DeploymentConfig::*member;
};
constexpr Key kKeys[] = {
    {"seminar", &DeploymentConfig::seminar},
    {"teacher_mail", &DeploymentConfig::teacherMail},
    {"university", &DeploymentConfig::university},
    {"help_data_collection", &DeploymentConfig::helpDataCollection},
    {"help_tsp", &DeploymentConfig::helpTsp},
    {"help_screen", &DeploymentConfig::helpScreen},
    {"tsp_command_site", &DeploymentConfig::tspCommandSite},
    {"webmail", &DeploymentConfig::webmail},
    {"teacher_page", &DeploymentConfig::teacherPage},
    {"web_disk", &DeploymentConfig::webDisk},
    {"guide_macro_series", &DeploymentConfig::guideMacroSeries},
    {"guide_financial_series", &DeploymentConfig::guideFinancialSeries},
    {"guide_financial_cross", &DeploymentConfig::guideFinancialCross},
};

const Key* FindKey(std::string_view name) {
    for (const Key& key : kKeys) {
        if (key.name == name) return &key;
    }
    return nullptr;
}

// The member a key sets, or null for a key this installation does not know.
std::string* MemberForKey(DeploymentConfig& config, std::string_view name) {
    const Key* key = FindKey(name);
    return key == nullptr ? nullptr : &(config.*(key->member));
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
    std::optional<std::string> bytes = ReadHostFile(file);
    if (!bytes) return;
    std::istringstream in(*bytes);
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
    // The pages that ship with Tamvel; keys without one stay unconfigured. A file: URL is
    // ASCII, the same bytes in CP932.
    for (const Key& key : kKeys) {
        if (!ShippedHelpPage(key.name).empty()) config.*(key.member) = DefaultHelpAddress(key.name);
    }
    return config;
}

const std::string* DeploymentConfig::Find(std::string_view name) const {
    const Key* key = FindKey(name);
    return key == nullptr ? nullptr : &(this->*(key->member));
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
