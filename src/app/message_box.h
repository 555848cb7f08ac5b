#pragma once
// The program's message box: modal, captioned with the application title, one OK button.

#include <wx/string.h>
#include <wx/window.h>

namespace tamvel {

/// Shows `text` owned by `owner` and waits until the person closes it.
void ShowTamvelMessage(wxWindow* owner, const wxString& text);

/// The window that owns a message or chooser now: the innermost modal dialog that is shown,
/// else `mainWindow`.
wxWindow* DialogOwner(wxWindow* mainWindow);

}  // namespace tamvel
