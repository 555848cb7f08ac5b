#pragma once
// `tamvel --console`: the program's logic driven from standard input, with what a person
// would see reported on standard output as one JSON object per line. No toolkit.

#include <iosfwd>

#include "console/console_input.h"

namespace tamvel {

/// Runs the program until `quit` or end of input; the process's exit code.
int RunConsole(ConsoleInput input, std::ostream& out);

}  // namespace tamvel
