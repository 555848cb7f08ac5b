#include "engine/result_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "engine/interpreter.h"
#include "engine/parser.h"
#include "engine/run_state.h"
#include "platform/text.h"

namespace tamvel::engine {
namespace {

// A TSP file larger than this is refused rather than read whole.
constexpr std::size_t kMaxProgramSize = 256u << 20;

// Errors beyond this number are counted but not written, so that a binary file read as a
// program gives a readable result file.
constexpr std::size_t kMaxBodyMessages = 200;

void AppendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append("\r\n");
}

// A program line for the echo: control characters shown as '?'.
std::string Printable(std::string_view line) {
    std::string out(line);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') c = '?';
    return out;
}

std::string Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

bool ReadWholeFile(const std::string& path, std::string& text, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
        if (text.size() > kMaxProgramSize) {
            std::fclose(file);
            error = "the file is larger than 256 MiB";
            return false;
        }
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) error = "it cannot be read (is it a folder?)";
    return !failed;
}

}  // namespace

std::string ResultFilePath(const std::string& tspPath) {
    const std::size_t slash = tspPath.find_last_of('/');
    const std::size_t dot = tspPath.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return tspPath + ".out";
    return tspPath.substr(0, dot + 1) + "out";
}

std::string MakeResultText(std::string_view program, std::string_view title, int& errors) {
    std::string out;
    AppendLine(out, "Tamvel TSP engine 1.0   " + Now() + "   " + std::string(title));
    AppendLine(out, "");
    // The program as it stands, one numbered line each.
    int number = 0;
    std::size_t start = 0;
    while (start <= program.size()) {
        std::size_t end = program.find('\n', start);
        if (end == std::string_view::npos) end = program.size();
        std::string_view line = program.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (end == program.size() && line.empty()) break;
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%5d  ", ++number);
        AppendLine(out, prefix + Printable(line));
        start = end + 1;
    }
    AppendLine(out, "");

    RunState state;
    RunProgram(ParseProgram(program), state);
    std::size_t messages = 0;
    std::size_t hidden = 0;
    for (const std::string& line : state.body) {
        if (line.rfind("*** ", 0) == 0 && ++messages > kMaxBodyMessages) {
            ++hidden;
            continue;
        }
        AppendLine(out, line);
    }
    if (hidden > 0)
        AppendLine(out, "*** " + std::to_string(hidden) + " further messages are not shown");
    AppendLine(out, "");
    AppendLine(out, state.errors == 0 ? std::string("Run ended without errors.")
                                      : "Run ended with " + std::to_string(state.errors) +
                                            (state.errors == 1 ? " error." : " errors."));
    errors = state.errors;
    return out;
}

int RunTspFile(const std::string& tspPath, std::string& diagnostics) {
    const std::string resultPath = ResultFilePath(tspPath);
    const std::string title = Utf8ToCp932(tspPath).value_or("");
    std::string program;
    std::string readError;
    std::string text;
    int errors = 0;
    int status = kRunSucceeded;
    if (!ReadWholeFile(tspPath, program, readError)) {
        diagnostics = "tamvel-tsp: cannot read " + tspPath + ": " + readError + "\n";
        text = "Tamvel TSP engine 1.0   " + Now() + "   " + title +
               "\r\n\r\n*** Error: the TSP file cannot be read: " + readError + "\r\n";
        status = kRunCouldNotStart;
    } else {
        text = MakeResultText(program, title, errors);
        status = errors == 0 ? kRunSucceeded : kRunHadErrors;
    }
    std::ofstream file(resultPath, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        diagnostics += "tamvel-tsp: cannot write " + resultPath + "\n";
        return kRunCouldNotStart;
    }
    return status;
}

}  // namespace tamvel::engine
