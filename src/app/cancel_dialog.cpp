#include "app/cancel_dialog.h"

#include <gtk/gtk.h>
#include <wx/dialog.h>

namespace tamvel {

void CancelModalDialog(wxDialog* dialog) {
    if (dialog == nullptr) return;
    GtkWidget* widget = dialog->GetHandle();
    if (widget != nullptr && GTK_IS_DIALOG(widget)) {
        gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_CANCEL);
    } else if (dialog->IsModal()) {
        dialog->EndModal(wxID_CANCEL);
    }
}

}  // namespace tamvel
