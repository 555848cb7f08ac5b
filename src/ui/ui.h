#pragma once
// The Ui port: the only way the program's logic talks to a person. It has two faces: the
// person (messages, choosers, modal dialogs, the main window) and the control panel's
// fields. The wx front-end, the console front-end and the tests' scripted Ui implement it.
// All text is CP932.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ui/chooser_kind.h"
#include "ui/folder_item.h"

namespace tamvel {

class DialogModel;
class StopEvent;

/// What a person is asked and shown.
class Person {
  public:
    virtual ~Person() = default;

    /// A modal message box: the text, the application title "Tamvel", one OK button.
    virtual void ShowMessage(std::string_view text) = 0;

    /// The file chooser: the chosen file's full Windows path, or nullopt when cancelled.
    virtual std::optional<std::string> ChooseFile(ChooserKind kind) = 0;

    /// The folder browser: the chosen item, or nullopt when cancelled.
    virtual std::optional<FolderItem> BrowseForFolder() = 0;

    /// Runs `dialog` modally until OK (with its validation passed) or Cancel closes it;
    /// kDialogOk or kDialogCancel. The model holds the controls' values afterwards.
    virtual int RunDialog(DialogModel& dialog) = 0;

    /// Hides or shows the main window.
    virtual void ShowMainWindow(bool visible) = 0;

    /// TSP has been started on `tspFile`; `wait` blocks until it ends or `stop` (null when
    /// there is none) is signalled. The front-end calls `wait` once (on any thread) and
    /// returns after it has returned; meanwhile it shows that TSP runs and lets the person
    /// signal `stop`. By default it only waits.
    virtual void WhileTspRuns(std::string_view tspFile, StopEvent* stop,
                              const std::function<void()>& wait) {
        (void)tspFile;
        (void)stop;
        wait();
    }
};

/// The control panel's fields (edits 1007, 1008, 212, 1014, 1015).
class PanelFields {
  public:
    virtual ~PanelFields() = default;

    /// The text of a field.
    virtual std::string FieldText(int controlId) const = 0;

    /// Sets a field's text. Change notifications do not fire for it.
    virtual void SetFieldText(int controlId, std::string_view text) = 0;
};

/// Both faces, as the control panel needs them.
class Ui : public Person, public PanelFields {};

}  // namespace tamvel
