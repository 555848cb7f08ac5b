#include "app/message_box.h"

#include <wx/dialog.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>

namespace tamvel {

void ShowTamvelMessage(wxWindow* owner, const wxString& text) {
    wxMessageDialog box(owner, text, "Tamvel", wxOK | wxCENTRE);
    box.ShowModal();
}

wxWindow* DialogOwner(wxWindow* mainWindow) {
    wxWindow* owner = mainWindow;
    // Modal dialogs are opened one inside the other, so the last one listed is innermost.
    for (wxWindow* window : wxTopLevelWindows) {
        auto* dialog = wxDynamicCast(window, wxDialog);
        if (dialog && dialog->IsModal() && dialog->IsShown()) owner = dialog;
    }
    return owner;
}

}  // namespace tamvel
