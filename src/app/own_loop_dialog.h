#pragma once
// A dialog that stands for one the system runs with a message loop of its own (the file
// chooser, the folder browser, as a message box is): the splash screen's input filter does
// not see that loop, so everything meant for such a dialog goes through to it.

#include <wx/dialog.h>
#include <wx/toplevel.h>

namespace tamvel {

class OwnLoopDialog : public wxDialog {
  public:
    /// Whether `window` is such a dialog or inside one.
    static bool Contains(wxWindow* window) {
        return window && dynamic_cast<OwnLoopDialog*>(wxGetTopLevelParent(window)) != nullptr;
    }
};

}  // namespace tamvel
