#pragma once
// One run of the program, whichever front-end shows it: the drive map and the file system
// over it, the deployment configuration, the recent-file list, the document, the control
// panel's view and the renewal of the document. The wx and console front-ends each build
// one and differ only in the Ui they give the view.

#include <filesystem>
#include <memory>
#include <optional>

#include "panel/deployment_config.h"
#include "panel/tamvel_doc.h"
#include "panel/tamvel_view.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"
#include "platform/recent_file_list.h"
#include "ui/ui.h"

namespace tamvel {

/// Where a session keeps its state.
struct SessionSetup {
    std::filesystem::path prefix;
    std::filesystem::path recentFileList;
    DeploymentConfig config;

    /// The places the environment names: DriveMap::DefaultPrefix, the user's recent-file
    /// list of "Tamvel", DeploymentConfig::Load.
    static SessionSetup FromEnvironment();
};

class TamvelSession {
  public:
    /// The document starts as a new one.
    explicit TamvelSession(const SessionSetup& setup = SessionSetup::FromEnvironment());
    ~TamvelSession();
    TamvelSession(const TamvelSession&) = delete;
    TamvelSession& operator=(const TamvelSession&) = delete;

    /// Creates what is missing of the prefix, as a first start does. False when it cannot be
    /// made; start-up goes on and reports what it misses.
    bool PreparePrefix() { return m_drives.EnsurePrefix(); }

    const DriveMap& Drives() const { return m_drives; }
    FileSystem& Files() { return m_fileSystem; }
    const DeploymentConfig& Config() const { return m_config; }
    RecentFileList& RecentFiles() { return m_recentFiles; }
    const CTamvelDoc& Document() const { return m_document; }

    /// Makes the control panel's view, talking to a person through `ui` (which must outlive
    /// it or ReleaseView).
    CTamvelView& CreateView(Ui& ui);
    /// The view; CreateView must have run.
    CTamvelView& View() { return *m_view; }
    bool HasView() const { return m_view != nullptr; }
    /// Saves the working environment (the view's destruction) and drops the view.
    void ReleaseView();

    /// Renews the document: a new one when `file` is empty, else that file, recorded in the
    /// recent-file list; then the view's start-up runs again if there is a view. False,
    /// with nothing changed, when the file cannot be opened.
    bool RenewDocument(const std::optional<std::filesystem::path>& file);

  private:
    DriveMap m_drives;
    FileSystem m_fileSystem;
    DeploymentConfig m_config;
    RecentFileList m_recentFiles;
    CTamvelDoc m_document;
    std::unique_ptr<CTamvelView> m_view;
};

}  // namespace tamvel
