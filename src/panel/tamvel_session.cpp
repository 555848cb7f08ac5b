#include "panel/tamvel_session.h"

namespace tamvel {

SessionSetup SessionSetup::FromEnvironment() {
    return {DriveMap::DefaultPrefix(), RecentFileList::DefaultFile(kApplicationTitle),
            DeploymentConfig::Load()};
}

TamvelSession::TamvelSession(const SessionSetup& setup)
    : m_drives(setup.prefix),
      m_fileSystem(m_drives),
      m_config(setup.config),
      m_recentFiles(setup.recentFileList) {
    m_document.OnNewDocument();
}

TamvelSession::~TamvelSession() { ReleaseView(); }

CTamvelView& TamvelSession::CreateView(Ui& ui) {
    ReleaseView();
    m_view = std::make_unique<CTamvelView>(ui, m_fileSystem, m_config);
    return *m_view;
}

void TamvelSession::ReleaseView() {
    if (!m_view) return;
    m_view->OnDestroy();
    m_view.reset();
}

bool TamvelSession::RenewDocument(const std::optional<std::filesystem::path>& file) {
    return tamvel::RenewDocument(m_document, m_recentFiles, file, [this] {
        if (m_view) m_view->OnInitialUpdate();
    });
}

}  // namespace tamvel
