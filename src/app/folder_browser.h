#pragma once
// The folder browser: captioned for the change of the TSP file folder, with a title text, a
// framed status line that shows the selected folder's Windows path as the selection moves,
// and a tree that starts from the mapped drives.

#include <wx/dialog.h>

#include <optional>

#include "platform/drive_map.h"
#include "ui/ui.h"

class wxStaticText;
class wxTreeEvent;

namespace tamvel {

class DriveDirCtrl;

class FolderBrowser : public wxDialog {
  public:
    /// A browser owned by `owner` (the main window).
    FolderBrowser(wxWindow* owner, const DriveMap& drives);

    /// Shows the browser modally: the chosen folder (Windows path in CP932 and the name the
    /// tree shows for it), or nullopt when cancelled.
    std::optional<FolderItem> Browse();

    /// The status line's text now.
    wxString StatusText() const;

  private:
    void OnSelectionChanged(wxTreeEvent& event);
    void OnOk(wxCommandEvent& event);

    DriveDirCtrl* m_tree = nullptr;
    wxStaticText* m_status = nullptr;
    std::optional<FolderItem> m_chosen;
};

}  // namespace tamvel
