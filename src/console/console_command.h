#pragma once
// One input line of the console front-end, parsed: what the person did.

#include <optional>
#include <string>
#include <string_view>

namespace tamvel {

enum class ConsoleAction {
    Click,   ///< click ID
    Set,     ///< set ID TEXT: types TEXT into a field
    Key,     ///< key CTRL+N | CTRL+O
    State,   ///< state: report the panel
    Quit,    ///< quit: close the main window
    Ok,      ///< ok: the open dialog's OK button
    Cancel,  ///< cancel: the open dialog's Cancel button
    Stop,    ///< stop: ends the TSP run that is waited for
};

struct ConsoleCommand {
    ConsoleAction action = ConsoleAction::State;
    int id = 0;        ///< control id (Click, Set)
    std::string text;  ///< UTF-8 text (Set), or the key in upper case (Key)
};

/// A parsed line, or why it was refused.
struct ParsedConsoleLine {
    std::optional<ConsoleCommand> command;
    std::string error;  ///< UTF-8, set when command is empty
};

/// Parses one input line (without its line end; a trailing CR is ignored).
ParsedConsoleLine ParseConsoleLine(std::string_view line);

}  // namespace tamvel
