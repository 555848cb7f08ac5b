#pragma once
// `tamvel --console`: the program's logic driven from standard input, with what a person
// would see reported on standard output as one JSON object per line. No toolkit.

#include <iosfwd>

namespace tamvel {

/// Runs the program until `quit` or end of input; the process's exit code.
int RunConsole(std::istream& in, std::ostream& out);

}  // namespace tamvel
