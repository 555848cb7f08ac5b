#pragma once
// A whole run of a TSP file as the command line starts it: read the program, run it, and
// write the result file next to it (the same name with ".out"): a header line, the
// program echoed with line numbers, then the results and messages. Shift-JIS, CR LF.

#include <string>
#include <string_view>

namespace tamvel::engine {

/// Exit statuses of a run.
inline constexpr int kRunSucceeded = 0;
inline constexpr int kRunHadErrors = 1;      ///< the program has errors; see the result file
inline constexpr int kRunCouldNotStart = 2;  ///< the TSP file or the result file failed

/// The result file's host path for a TSP file's host path: the file name's extension
/// replaced by "out", or ".out" appended when it has none.
std::string ResultFilePath(const std::string& tspPath);

/// The text of the result file for a program (CP932, CR LF line ends). `title` names the
/// program in the header line. `errors` receives the number of errors found.
std::string MakeResultText(std::string_view program, std::string_view title, int& errors);

/// Runs the TSP file at a host path and writes its result file; one of the exit statuses.
/// Problems that leave no result file are described on `diagnostics` (UTF-8).
int RunTspFile(const std::string& tspPath, std::string& diagnostics);

}  // namespace tamvel::engine
