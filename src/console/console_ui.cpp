#include "console/console_ui.h"

#include "platform/text.h"
#include "platform/windows_path.h"

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
    std::string line;
    // A reader that went away ends the session as the end of input does.
    if (m_inputEnded || m_events.OutputClosed() || !std::getline(m_in, line)) {
        m_inputEnded = true;
        return std::nullopt;
    }
    if (line.ends_with('\r')) line.pop_back();
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

void ConsoleUi::ShowMainWindow(bool visible) { m_events.Window(visible); }

}  // namespace tamvel
