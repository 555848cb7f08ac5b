#pragma once
// A parsed TSP statement: its command, its line and its arguments. The parser fills only
// the fields its command uses.

#include <optional>
#include <string>
#include <vector>

#include "engine/expression.h"

namespace tamvel::engine {

/// The commands the engine runs.
enum class Command {
    Options,
    Freq,
    Smpl,
    Read,
    Genr,
    Print,
    Msd,
    Corr,
    Olsq,
    Panel,
    End,
    Stop,
    Quit
};

/// An option in parentheses after the command word, or an argument of OPTIONS:
/// NAME or NAME=VALUE (VALUE as written, a quoted one without its quotes).
struct Option {
    std::string name;  ///< upper case
    std::optional<std::string> value;
};

/// A series in a list, with its lag or lead: X, X(-1), C.
struct SeriesRef {
    std::string name;  ///< upper case
    int lag = 0;
};

/// True for C or CONSTANT, the constant of a regression list.
inline bool IsConstantName(const std::string& name) { return name == "C" || name == "CONSTANT"; }

/// A period as written in SMPL: 1975, 1975:1, 150.
struct PeriodText {
    long long major = 0;
    std::optional<long long> minor;
};

/// One statement.
struct Statement {
    Command command = Command::End;
    int line = 0;
    std::vector<Option> options;
    /// READ, PRINT, MSD, CORR, OLSQ, PANEL: the list; FREQ: its letter.
    std::vector<SeriesRef> series;
    /// SMPL: first and last period of each range, in pairs.
    std::vector<PeriodText> periods;
    /// GENR: the series assigned and its value.
    std::string target;
    Expression value;
    /// READ without FILE=: the numbers that follow the statement (NaN for '.').
    std::vector<Real> data;
};

}  // namespace tamvel::engine
