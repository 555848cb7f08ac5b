#include "app/about_dlg.h"

#include <wx/xrc/xmlres.h>

#include "app/tamvel_resources.h"

namespace tamvel {

CAboutDlg::CAboutDlg(wxWindow* parent) {
    LoadTamvelResources();
    wxXmlResource::Get()->LoadDialog(this, parent, "100");
    // The template's size is in the units of the box's own font, which XRC sets only after
    // sizing the box.
    SetClientSize(ConvertDialogToPixels(wxSize(235, 55)));
}

}  // namespace tamvel
