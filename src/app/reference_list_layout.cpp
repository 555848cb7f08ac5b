#include "app/reference_list_layout.h"

#include <wx/settings.h>

#include "reference/tsp_command_dlg_layout.h"

namespace tamvel {

int SystemVerticalBaseUnit(wxWindow& window) {
    int width = 0;
    int height = 0;
    const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    window.GetTextExtent("M", &width, &height, nullptr, nullptr, &font);
    return height;
}

void FollowSizeWithListBox(wxDialog& dialog, int listBoxId) {
    dialog.Bind(wxEVT_SIZE, [&dialog, listBoxId](wxSizeEvent& event) {
        event.Skip();
        // The first size event can come while the dialog is made, before its controls.
        wxWindow* list = dialog.FindWindow(listBoxId);
        if (list == nullptr) return;
        const wxSize client = dialog.GetClientSize();
        const wxWindow* ok = dialog.FindWindow(wxID_OK);
        const int buttonBottom = ok == nullptr ? 0 : ok->GetRect().GetBottom() + 1;
        const ListBoxPlace place = PlaceListBox(client.GetWidth(), client.GetHeight(),
                                                SystemVerticalBaseUnit(dialog), buttonBottom);
        list->SetSize(place.x, place.y, place.width, place.height);
        list->Refresh();
    });
}

}  // namespace tamvel
