#include "platform/recent_file_list.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "platform/host_file.h"
#include "platform/xdg_dirs.h"

namespace tamvel {
namespace {

constexpr std::string_view kSection = "[Recent File List]";
constexpr std::string_view kKeyPrefix = "File";

/// A path as one line's value: backslash, line breaks and tabs escaped.
std::string EscapeValue(std::string_view value) {
    std::string escaped;
    for (char ch : value) {
        switch (ch) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\t':
                escaped += "\\t";
                break;
            default:
                escaped += ch;
        }
    }
    return escaped;
}

std::string UnescapeValue(std::string_view value) {
    std::string plain;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            plain += value[i];
            continue;
        }
        switch (value[++i]) {
            case 'n':
                plain += '\n';
                break;
            case 'r':
                plain += '\r';
                break;
            case 't':
                plain += '\t';
                break;
            default:
                plain += value[i];
        }
    }
    return plain;
}

/// The entry number of a "FileN" key, or 0 when the key is not one.
std::size_t EntryNumber(std::string_view key) {
    if (!key.starts_with(kKeyPrefix) || key.size() == kKeyPrefix.size()) return 0;
    std::size_t number = 0;
    for (char ch : key.substr(kKeyPrefix.size())) {
        if (ch < '0' || ch > '9' || number > 1000) return 0;
        number = number * 10 + static_cast<std::size_t>(ch - '0');
    }
    return number;
}

}  // namespace

RecentFileList::RecentFileList(std::filesystem::path configFile, std::size_t maxEntries)
    : m_configFile(std::move(configFile)), m_maxEntries(maxEntries) {}

std::filesystem::path RecentFileList::DefaultFile(std::string_view application) {
    const std::filesystem::path base = ConfigHome();
    if (base.empty()) return base;  // no home folder: the list is kept for this run only
    return base / kRegistryKey / (std::string(application) + ".conf");
}

void RecentFileList::Load() {
    m_entries.clear();
    std::ifstream in(m_configFile, std::ios::binary);
    std::vector<std::pair<std::size_t, std::filesystem::path>> numbered;
    bool inSection = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with('[')) {
            inSection = line == kSection;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos) continue;
        const std::size_t number = EntryNumber(std::string_view(line).substr(0, equals));
        std::string value = UnescapeValue(std::string_view(line).substr(equals + 1));
        if (number > 0 && !value.empty()) numbered.emplace_back(number, std::move(value));
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [number, path] : numbered) {
        if (m_entries.size() == m_maxEntries) break;
        if (std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end()) {
            m_entries.push_back(std::move(path));
        }
    }
}

bool RecentFileList::Save() const {
    std::error_code error;
    std::filesystem::create_directories(m_configFile.parent_path(), error);
    std::ostringstream text;
    text << kSection << '\n';
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        text << kKeyPrefix << (i + 1) << '=' << EscapeValue(m_entries[i].native()) << '\n';
    }
    return ReplaceHostFile(m_configFile, text.str()) == kErrorSuccess;
}

void RecentFileList::Add(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(file, error).lexically_normal();
    if (error) full = file;
    std::erase(m_entries, full);
    m_entries.insert(m_entries.begin(), std::move(full));
    if (m_entries.size() > m_maxEntries) m_entries.resize(m_maxEntries);
}

bool RecentFileList::Record(const std::filesystem::path& file) {
    Load();
    Add(file);
    return Save();
}

}  // namespace tamvel
