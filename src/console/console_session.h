#pragma once
// One run of the program driven from the console: start-up, then one input line after
// another until quit or the end of input.

#include <string>

#include "console/console_command.h"
#include "console/console_input.h"
#include "console/console_ui.h"
#include "console/event_writer.h"
#include "panel/tamvel_session.h"

namespace tamvel {

class ConsoleSession {
  public:
    /// Drives `session`'s view; the view goes when this does.
    ConsoleSession(ConsoleInput input, EventWriter& events, TamvelSession& session);
    ~ConsoleSession();
    ConsoleSession(const ConsoleSession&) = delete;
    ConsoleSession& operator=(const ConsoleSession&) = delete;

    /// Runs start-up, reports ready, executes the input, and ends as the main window's
    /// close box does. The process's exit code.
    int Run();

    /// Renews the document: a new one (`openedFile` empty) or an opened file (a Windows
    /// path), which the document never reads but records in the recent-file list. The
    /// control panel's start-up runs again.
    void RenewDocument(const std::string& openedFile);

  private:
    void Execute(const ConsoleCommand& command);
    void Click(int controlId);
    void Type(int controlId, const std::string& utf8Text);
    void PressKey(const std::string& key);
    void ReportState();
    int Quit();

    EventWriter& m_events;
    TamvelSession& m_session;
    ConsoleUi m_ui;
    CTamvelView& m_view;
};

}  // namespace tamvel
