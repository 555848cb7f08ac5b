#include "console/event_writer.h"

#include "platform/text.h"
#include "ui/dialog_model.h"

namespace tamvel {

using Json = nlohmann::ordered_json;

Json EventWriter::Text(std::string_view cp932) {
    // Bytes that are not CP932 are marked as "\x81", so the rest of the text stays readable.
    return Json(Cp932ToUtf8Marked(cp932));
}

void EventWriter::Write(const Json& event) {
    m_out << event.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    m_out.flush();
    if (!m_out) m_closed = true;
}

void EventWriter::Message(std::string_view cp932Text) {
    Write({{"event", "message"}, {"text", Text(cp932Text)}});
}

void EventWriter::Choose(std::string_view kind) {
    Write({{"event", "choose"}, {"kind", std::string(kind)}});
}

void EventWriter::Dialog(const DialogModel& dialog) {
    Json controls = Json::object();
    for (const DialogControl& control : dialog.Controls()) {
        const std::string id = std::to_string(control.id);
        switch (control.kind) {
            case ControlKind::Edit:
                controls[id] = Text(control.text);
                break;
            case ControlKind::Check:
            case ControlKind::Radio:
                controls[id] = control.checked;
                break;
            case ControlKind::ListBox: {
                Json lines = Json::array();
                for (const std::string& line : control.lines) lines.push_back(Text(line));
                controls[id] = lines;
                break;
            }
            case ControlKind::Button:
                break;
        }
    }
    Write({{"event", "dialog"}, {"id", dialog.Id()}, {"controls", controls}});
}

void EventWriter::DialogClosed(int id, int result) {
    Write({{"event", "dialog-closed"}, {"id", id}, {"result", result}});
}

void EventWriter::Window(bool visible) { Write({{"event", "window"}, {"visible", visible}}); }

void EventWriter::Running(std::string_view cp932File) {
    Write({{"event", "running"}, {"file", Text(cp932File)}});
}

void EventWriter::Launch(std::string_view file, std::string_view params, std::string_view directory,
                         int result) {
    Write({{"event", "launch"},
           {"file", Text(file)},
           {"params", Text(params)},
           {"dir", Text(directory)},
           {"result", result}});
}

void EventWriter::Ready() { Write({{"event", "ready"}}); }

void EventWriter::State(const std::map<int, std::string>& fields,
                        const std::map<int, bool>& enabled, std::string_view currentDirectory) {
    Json fieldTexts = Json::object();
    for (const auto& [id, text] : fields) fieldTexts[std::to_string(id)] = Text(text);
    Json enabledStates = Json::object();
    for (const auto& [id, isEnabled] : enabled) enabledStates[std::to_string(id)] = isEnabled;
    Write({{"event", "state"},
           {"fields", fieldTexts},
           {"enabled", enabledStates},
           {"cwd", Text(currentDirectory)}});
}

void EventWriter::Exit(int code) { Write({{"event", "exit"}, {"code", code}}); }

void EventWriter::Error(std::string_view utf8Text) {
    Write({{"event", "error"}, {"text", std::string(utf8Text)}});
}

}  // namespace tamvel
