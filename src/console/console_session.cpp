#include "console/console_session.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "platform/text.h"
#include "ui/control_ids.h"

namespace tamvel {
namespace {

// The fields that `state` reports.
constexpr std::array kFields = {kIdTspFileField, kIdResultFileField, kIdTspExeField, kIdEditorField,
                                kIdSaveFolderField};

// The one field a person can type into; the others are read-only.
constexpr int kEditableField = kIdTspFileField;

}  // namespace

ConsoleSession::ConsoleSession(ConsoleInput input, EventWriter& events, TamvelSession& session)
    : m_events(events),
      m_session(session),
      m_ui(std::move(input), events),
      m_view(session.CreateView(m_ui)) {
    m_view.Launcher().SetObserver([this](const LaunchReport& launch) {
        m_events.Launch(launch.file, launch.params, launch.directory, launch.result);
    });
}

ConsoleSession::~ConsoleSession() { m_session.ReleaseView(); }

int ConsoleSession::Run() {
    m_view.OnInitialUpdate();
    m_events.Ready();
    while (std::optional<std::string> line = m_ui.ReadLine()) {
        ParsedConsoleLine parsed = ParseConsoleLine(*line);
        if (!parsed.command) {
            m_events.Error(parsed.error);
            continue;
        }
        if (parsed.command->action == ConsoleAction::Quit) break;
        Execute(*parsed.command);
    }
    return Quit();
}

void ConsoleSession::Execute(const ConsoleCommand& command) {
    switch (command.action) {
        case ConsoleAction::Click:
            Click(command.id);
            break;
        case ConsoleAction::Set:
            Type(command.id, command.text);
            break;
        case ConsoleAction::Key:
            PressKey(command.text);
            break;
        case ConsoleAction::State:
            ReportState();
            break;
        case ConsoleAction::Ok:
        case ConsoleAction::Cancel:
            m_events.Error("no dialog is open");
            break;
        case ConsoleAction::Stop:
            m_events.Error("TSP is not running");
            break;
        case ConsoleAction::Quit:
            break;
    }
}

void ConsoleSession::Click(int controlId) {
    // 1004 and 1005 are never shown on the form, but their commands are complete, and the
    // console can click them.
    if (CTamvelView::FindButton(controlId) == nullptr) {
        m_events.Error("no button " + std::to_string(controlId));
    } else if (!m_view.IsButtonEnabled(controlId)) {
        m_events.Error("button " + std::to_string(controlId) + " is disabled");
    } else {
        m_view.OnButtonClicked(controlId);
    }
}

void ConsoleSession::Type(int controlId, const std::string& utf8Text) {
    if (controlId != kEditableField) {
        m_events.Error("field " + std::to_string(controlId) + " cannot be typed into");
        return;
    }
    std::optional<std::string> text = Utf8ToCp932(utf8Text);
    if (!text) {
        m_events.Error("the text has characters CP932 lacks");
        return;
    }
    m_ui.SetFieldText(controlId, *text);
    m_view.OnFieldChanged(controlId);
}

// CTRL+N makes a new document; CTRL+O opens a TSP file as the document.
void ConsoleSession::PressKey(const std::string& key) {
    if (key == "CTRL+N") {
        RenewDocument({});
        return;
    }
    std::optional<std::string> file = m_ui.ChooseFile(ChooserKind::TspFile);
    if (file) RenewDocument(*file);
}

// A file that cannot become the document is named as the person gave it.
void ConsoleSession::RenewDocument(const std::string& openedFile) {
    std::optional<std::filesystem::path> file;
    if (!openedFile.empty()) {
        file = m_session.Files().ToHost(openedFile);  // nullopt: unmapped drive or unusable name
    }
    const bool renewed = (openedFile.empty() || file) && m_session.RenewDocument(file);
    if (!renewed) m_ui.ShowMessage(OpenDocumentFailedMessageForName(openedFile));
}

void ConsoleSession::ReportState() {
    std::map<int, std::string> fields;
    for (int id : kFields) fields[id] = m_ui.FieldText(id);
    std::map<int, bool> enabled;
    for (const PanelButton& button : CTamvelView::Buttons()) {
        if (button.updateRule) enabled[button.id] = m_view.IsButtonEnabled(button.id);
    }
    m_events.State(fields, enabled, m_session.Files().CurrentDirectory());
}

int ConsoleSession::Quit() {
    m_session.ReleaseView();
    m_events.Exit(0);
    return 0;
}

}  // namespace tamvel
