#pragma once
// Cancelling a modal dialog from outside, as its Cancel button would: the program's own
// dialogs end their modal loop; the toolkit's native ones (message boxes, which run a loop
// of GTK's own) are given GTK's cancel response.

class wxDialog;

namespace tamvel {

/// Makes the modal `dialog`'s ShowModal return as cancelled.
void CancelModalDialog(wxDialog* dialog);

}  // namespace tamvel
