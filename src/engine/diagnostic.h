#pragma once
// What the engine tells a student about a line of the program: an error (the run then
// ends with a non-zero status) or a note (the run goes on as if nothing had happened).

#include <string>
#include <vector>

namespace tamvel::engine {

/// How serious a message is.
enum class Severity { Note, Warning, Error };

/// One message about one line of the program (line 0: about the run as a whole).
struct Diagnostic {
    Severity severity = Severity::Error;
    int line = 0;
    /// CP932 text, no line end.
    std::string text;
};

/// Messages in the order they arose.
using Diagnostics = std::vector<Diagnostic>;

}  // namespace tamvel::engine
