#pragma once
// The About box (dialog template 100): the program's name, version, maker and rights.

#include <wx/dialog.h>

namespace tamvel {

class CAboutDlg : public wxDialog {
  public:
    /// Loads the box from its template, owned by `parent`.
    explicit CAboutDlg(wxWindow* parent);
};

}  // namespace tamvel
