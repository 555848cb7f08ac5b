#include "panel/tamvel_doc.h"

#include <system_error>

#include "platform/host_file.h"
#include "platform/text.h"

namespace tamvel {

bool CTamvelDoc::OnNewDocument() {
    m_title = "無題";
    m_pathName.clear();
    return true;
}

bool CTamvelDoc::OnOpenDocument(const std::filesystem::path& file) {
    if (!IsReadableHostFile(file)) return false;
    std::error_code error;
    m_pathName = std::filesystem::absolute(file, error).lexically_normal();
    if (error) m_pathName = file;
    m_title = m_pathName.filename().string();
    return true;
}

std::string CTamvelDoc::Caption() const { return m_title + " - " + std::string(kApplicationTitle); }

std::string OpenDocumentFailedMessageForName(std::string_view name) {
    return std::string(name) + Cp932("\nを開けません。");
}

std::string OpenDocumentFailedMessage(const std::filesystem::path& file) {
    const std::optional<std::string> name = Utf8ToCp932(file.string());
    return name ? OpenDocumentFailedMessageForName(*name) : Cp932("ファイルを開けません。");
}

bool RenewDocument(CTamvelDoc& document, RecentFileList& recentFiles,
                   const std::optional<std::filesystem::path>& file,
                   const std::function<void()>& runStartup) {
    if (file) {
        if (!document.OnOpenDocument(*file)) return false;
        recentFiles.Record(document.PathName());
    } else if (!document.OnNewDocument()) {
        return false;
    }
    if (runStartup) runStartup();
    return true;
}

}  // namespace tamvel
