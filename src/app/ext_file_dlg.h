#pragma once
// The file chooser: an open dialog for one existing file over the mapped drives, with
// Japanese wording and only the controls a student needs (no read-only box, no file-type
// list). Nothing is remembered from one call to the next.

#include <wx/dialog.h>

#include <string>

#include "platform/drive_map.h"
#include "ui/ui.h"

class wxButton;
class wxTextCtrl;
class wxTreeEvent;

namespace tamvel {

class DriveDirCtrl;

class CExtFileDlg : public wxDialog {
  public:
    /// A chooser for `kind`'s files, owned by `parent`.
    CExtFileDlg(wxWindow* parent, ChooserKind kind, const DriveMap& drives);

    /// After ShowModal gave wxID_OK: the chosen file's full Windows path (CP932).
    const std::string& GetPathName() const { return m_pathName; }

    /// The filter of a chooser kind: "ファイル選択 (*.exe)|*.exe" and the like.
    static wxString FilterOf(ChooserKind kind);

  private:
    void OnSelectionChanged(wxTreeEvent& event);
    void OnFileActivated(wxTreeEvent& event);
    void OnChoose(wxCommandEvent& event);
    /// Ends the dialog with the selected file, or tells the person why it cannot be used.
    void ChooseSelectedFile();

    const DriveMap& m_drives;
    DriveDirCtrl* m_tree = nullptr;
    wxTextCtrl* m_fileName = nullptr;
    wxButton* m_chooseButton = nullptr;
    std::string m_pathName;
};

}  // namespace tamvel
