#include "console/console_ui.h"

#include <thread>

#include "console/console_command.h"
#include "panel/stop_event.h"
#include "platform/text.h"
#include "platform/windows_path.h"
#include "ui/dialog_model.h"

namespace tamvel {
namespace {

constexpr std::string_view kNotAbsoluteError =
    "not an absolute Windows path (such as C:\\temp\\a.tsp); the chooser is still open";

std::string_view ChooserKindName(ChooserKind kind) {
    switch (kind) {
        case ChooserKind::Program:
            return "program";
        case ChooserKind::TspFile:
            return "tsp-file";
        case ChooserKind::DataFile:
            return "data-file";
    }
    return "program";
}

}  // namespace

std::optional<std::string> ConsoleUi::ReadLine() {
    // A reader that went away ends the session as the end of input does; the lines that
    // came during a run are still carried out after an end of input.
    if (m_events.OutputClosed()) {
        m_inputEnded = true;
        m_deferred.clear();
    }
    if (!m_deferred.empty()) {
        std::string line = std::move(m_deferred.front());
        m_deferred.pop_front();
        return line;
    }
    std::optional<std::string> line = m_inputEnded ? std::nullopt : m_input.ReadLine();
    if (!line) m_inputEnded = true;
    return line;
}

std::optional<std::string> ConsoleUi::AskPath(std::string_view kind) {
    m_events.Choose(kind);
    for (;;) {
        std::optional<std::string> line = ReadLine();
        if (!line || line->empty()) return std::nullopt;
        std::optional<std::string> path = Utf8ToCp932(*line);
        if (!path) {
            m_events.Error("not a path in CP932's reach; the chooser is still open");
        } else if (!IsAbsoluteWindowsPath(*path)) {
            // A chooser answers with a full path; a relative one would be taken from
            // whatever folder is current, and a save folder "sub" would save nowhere.
            m_events.Error(kNotAbsoluteError);
        } else {
            return path;
        }
    }
}

void ConsoleUi::ShowMessage(std::string_view text) { m_events.Message(text); }

std::optional<std::string> ConsoleUi::ChooseFile(ChooserKind kind) {
    return AskPath(ChooserKindName(kind));
}

// A path typed here is a file-system path; the console has no display names of its own.
std::optional<FolderItem> ConsoleUi::BrowseForFolder() {
    std::optional<std::string> path = AskPath("folder");
    if (!path) return std::nullopt;
    return FolderItem{*path, {}};
}

std::string ConsoleUi::FieldText(int controlId) const {
    auto field = m_fields.find(controlId);
    return field == m_fields.end() ? std::string() : field->second;
}

void ConsoleUi::SetFieldText(int controlId, std::string_view text) {
    m_fields[controlId] = std::string(text);
}

// Inside a dialog the input acts on it: set, click, state, ok and cancel. The end of input
// cancels it.
int ConsoleUi::RunDialog(DialogModel& dialog) {
    m_events.Dialog(dialog);
    int result = kDialogCancel;
    while (std::optional<std::string> line = ReadLine()) {
        if (std::optional<int> closed = ExecuteInDialog(dialog, *line)) {
            result = *closed;
            break;
        }
    }
    m_events.DialogClosed(dialog.Id(), result);
    return result;
}

std::optional<int> ConsoleUi::ExecuteInDialog(DialogModel& dialog, const std::string& line) {
    const ParsedConsoleLine parsed = ParseConsoleLine(line);
    if (!parsed.command) {
        m_events.Error(parsed.error);
        return std::nullopt;
    }
    const ConsoleCommand& command = *parsed.command;
    switch (command.action) {
        case ConsoleAction::Ok:
            if (dialog.Ok()) return kDialogOk;
            break;
        case ConsoleAction::Cancel:
            return kDialogCancel;
        case ConsoleAction::State:
            m_events.Dialog(dialog);
            break;
        case ConsoleAction::Click:
            if (!dialog.Click(command.id)) {
                m_events.Error("no enabled button " + std::to_string(command.id) + " in dialog " +
                               std::to_string(dialog.Id()));
            }
            break;
        case ConsoleAction::Set: {
            const DialogControl* control = dialog.Find(command.id);
            const std::optional<std::string> text = Utf8ToCp932(command.text);
            if (!control || control->kind != ControlKind::Edit || !control->enabled) {
                m_events.Error("no field " + std::to_string(command.id) + " in dialog " +
                               std::to_string(dialog.Id()));
            } else if (!text) {
                m_events.Error("the text has characters CP932 lacks");
            } else if (control->absolutePath && !text->empty() && !IsAbsoluteWindowsPath(*text)) {
                m_events.Error("field " + std::to_string(command.id) +
                               " takes an absolute Windows path (such as C:\\temp\\a.tsp)");
            } else if (!dialog.Type(command.id, *text)) {
                m_events.Error("field " + std::to_string(command.id) + " takes " +
                               std::to_string(control->maxBytes) + " bytes; the rest was refused");
            }
            break;
        }
        case ConsoleAction::Key:
        case ConsoleAction::Quit:
            m_events.Error("a dialog is open: ok or cancel closes it");
            break;
        case ConsoleAction::Stop:
            m_events.Error("TSP is not running");
            break;
    }
    return std::nullopt;
}

void ConsoleUi::ShowMainWindow(bool visible) { m_events.Window(visible); }

// The wait runs on its own thread while this one reads the input: `stop` signals the stop
// event, other lines are kept for after the run. At the end of input the run goes on to its
// end, so a batch of commands can run TSP and then quit.
void ConsoleUi::WhileTspRuns(std::string_view tspFile, StopEvent* stop,
                             const std::function<void()>& wait) {
    m_events.Running(tspFile);
    StopEvent finished;
    std::thread waiter([&] {
        wait();
        finished.Signal();
    });
    while (stop != nullptr && !m_inputEnded && m_input.WaitForInputOr(finished.Fd())) {
        std::optional<std::string> line = m_input.ReadLine();
        if (!line) {
            m_inputEnded = true;
        } else if (ParsedConsoleLine parsed = ParseConsoleLine(*line);
                   parsed.command && parsed.command->action == ConsoleAction::Stop) {
            stop->Signal();
        } else {
            m_deferred.push_back(std::move(*line));
        }
    }
    waiter.join();
}

}  // namespace tamvel
