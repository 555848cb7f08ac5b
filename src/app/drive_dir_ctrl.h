#pragma once
// A folder tree whose top items are the mapped drives ("drive_c (C:)", "/ (Z:)"), as the
// program's choosers show the file system: every item has a Windows path.

#include <wx/defs.h>
#include <wx/dirctrl.h>

#include <optional>
#include <string>

#include "platform/drive_map.h"

namespace tamvel {

class DriveDirCtrl : public wxGenericDirCtrl {
  public:
    /// Folders only when `filePattern` is empty; else folders and the files that match it
    /// ("*.exe"), matched without regard to ASCII case as Windows does.
    DriveDirCtrl(wxWindow* parent, wxWindowID id, const DriveMap& drives,
                 const wxString& filePattern, const wxSize& size);

    /// The mapped drives, in letter order, as the tree's top items.
    void SetupSections() override;

    /// Opens the folders down to `path` and selects it; an empty path, and any path while the
    /// tree is being created, opens nothing.
    bool ExpandPath(const wxString& path) override;

    /// The selected item's host path, or empty when nothing is selected.
    wxString SelectedHostPath() const;

    /// Whether the selected item is a file.
    bool IsFileSelected() const;

    /// The text the tree shows for the selected item, or empty.
    wxString SelectedDisplayName() const;

    /// The Windows path (CP932) of the selected item: nullopt when nothing is selected or the
    /// name has no CP932 form.
    std::optional<std::string> SelectedWindowsPath() const;

    /// The name a drive's top item shows: its folder's name and the drive, "drive_c (C:)".
    static wxString DriveDisplayName(char letter, const std::filesystem::path& root);

    /// A file pattern as patterns for every case of its letters: "*.tsp" gives "*.tsp;*.tsP;...".
    static wxString CaseInsensitivePatterns(const wxString& pattern);

  private:
    const DriveMap& m_drives;
    bool m_created = false;  ///< false while the base builds the tree
};

}  // namespace tamvel
