#pragma once
// The Ui port for the console: messages and choosers become events; a chooser's answer is
// the next input line; the panel's fields are held here. While TSP runs, `stop` on the input
// ends it, and every other line waits until the run is over.

#include <deque>
#include <map>
#include <optional>
#include <string>

#include "console/console_input.h"
#include "console/event_writer.h"
#include "ui/ui.h"

namespace tamvel {

class ConsoleUi : public Ui {
  public:
    ConsoleUi(ConsoleInput input, EventWriter& events)
        : m_input(std::move(input)), m_events(events) {}

    /// The next input line, or nullopt at the end of input.
    std::optional<std::string> ReadLine();

    /// Whether the input has ended (then every chooser is cancelled).
    bool InputEnded() const { return m_inputEnded; }

    void ShowMessage(std::string_view text) override;
    std::optional<std::string> ChooseFile(ChooserKind kind) override;
    std::optional<FolderItem> BrowseForFolder() override;
    std::string FieldText(int controlId) const override;
    void SetFieldText(int controlId, std::string_view text) override;
    int RunDialog(DialogModel& dialog) override;
    void ShowMainWindow(bool visible) override;
    void WhileTspRuns(std::string_view tspFile, StopEvent* stop,
                      const std::function<void()>& wait) override;

  private:
    /// Reports the chooser and reads its answer: a Windows path (UTF-8 in, CP932 out), or
    /// nullopt for an empty line or the end of input. A line that is not valid text gets an
    /// error event and the chooser waits for another.
    std::optional<std::string> AskPath(std::string_view kind);
    /// One input line inside an open dialog; the dialog's result once it closes.
    std::optional<int> ExecuteInDialog(DialogModel& dialog, const std::string& line);

    ConsoleInput m_input;
    /// Lines that came while TSP ran, read before any new one.
    std::deque<std::string> m_deferred;
    EventWriter& m_events;
    std::map<int, std::string> m_fields;
    bool m_inputEnded = false;
};

}  // namespace tamvel
