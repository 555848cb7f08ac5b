#pragma once
// What the console front-end reports: one JSON object per line, UTF-8, flushed at once so
// that a script reading the pipe sees each event as it happens.

#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

namespace tamvel {

class DialogModel;

class EventWriter {
  public:
    explicit EventWriter(std::ostream& out) : m_out(out) {}

    /// {"event":"message","text":T}: a message box, answered OK. `cp932Text` as shown.
    void Message(std::string_view cp932Text);

    /// {"event":"choose","kind":K}: a chooser opens and waits for its answer line.
    void Choose(std::string_view kind);

    /// {"event":"dialog","id":N,"controls":{ID:V,...}}: a dialog's edits (text), check and
    /// radio boxes (true/false) and list boxes (their lines), by id.
    void Dialog(const DialogModel& dialog);

    /// {"event":"dialog-closed","id":N,"result":R}: it closed with R (1 OK, 2 cancel).
    void DialogClosed(int id, int result);

    /// {"event":"window","visible":B}: the main window is hidden or shown.
    void Window(bool visible);

    /// {"event":"running","file":F}: TSP has been started on F and is waited for.
    void Running(std::string_view cp932File);

    /// {"event":"launch","file":F,"params":P,"dir":D,"result":R}: a program or address was
    /// handed to the system. CP932 texts.
    void Launch(std::string_view file, std::string_view params, std::string_view directory,
                int result);

    /// {"event":"ready"}: start-up has finished.
    void Ready();

    /// {"event":"state",...}: the fields by id (CP932 texts), the buttons' enabled state by
    /// id, and the current directory (CP932).
    void State(const std::map<int, std::string>& fields, const std::map<int, bool>& enabled,
               std::string_view currentDirectory);

    /// {"event":"exit","code":N}: the program ends.
    void Exit(int code);

    /// {"event":"error","text":T}: an input line was refused. `utf8Text` explains why.
    void Error(std::string_view utf8Text);

    /// Writes any event object as one line.
    void Write(const nlohmann::ordered_json& event);

    /// Whether the output has been closed by its reader (a write failed): the session is
    /// then over, as at the end of input.
    bool OutputClosed() const { return m_closed; }

    /// CP932 text as a JSON string value (UTF-8); bytes that are not CP932 show as "\x81".
    static nlohmann::ordered_json Text(std::string_view cp932);

  private:
    std::ostream& m_out;
    bool m_closed = false;
};

}  // namespace tamvel
