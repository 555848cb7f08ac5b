#pragma once
// The control panel's logic: the working environment, the start-up checks, the update
// rules of the buttons and the command handlers. It talks to a person only through Ui.

#include <string>

#include "environment/environment_file.h"
#include "panel/ui.h"
#include "platform/file_system.h"

namespace tamvel {

class CTamvelView {
public:
    CTamvelView(Ui& ui, FileSystem& fileSystem);

    /// The start-up sequence: runs when the form is first shown and whenever the document
    /// is renewed.
    void OnInitialUpdate();

    /// The form is being destroyed: saves the working environment.
    void OnDestroy();

    /// The update rules: whether a button is enabled now. Reads the fields anew each time.
    bool IsButtonEnabled(int controlId) const;

    /// A button was clicked.
    void OnCommand(int controlId);

    /// The text of a field changed (typed by the person, or set by the program).
    void OnFieldChanged(int controlId);

    /// The four settings as they stand.
    const WorkingEnvironment& Environment() const { return m_environment; }

private:
    Ui& m_ui;
    FileSystem& m_fileSystem;
    WorkingEnvironment m_environment;
};

}  // namespace tamvel
