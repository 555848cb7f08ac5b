#pragma once
// The real program with --console and no display, driven through a pipe; its output parsed
// as one event (a JSON object) per line.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/temp_prefix.h"

namespace tamvel::testing {

struct ConsoleRun {
    std::vector<nlohmann::json> events;
    int exitStatus = -1;
};

/// Runs a shell command line and parses its output as one event per line.
inline ConsoleRun RunAndParse(const std::string& command) {
    ConsoleRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::size_t start = 0;
    for (std::size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
        run.events.push_back(nlohmann::json::parse(output.substr(start, end - start)));
    }
    EXPECT_EQ(start, output.size()) << "output does not end with a line end";
    return run;
}

/// `program` with --console and no display, as a shell command reading standard input.
inline std::string ConsoleCommandLine(const std::filesystem::path& program = TAMVEL_BINARY) {
    return "env -u DISPLAY -u WAYLAND_DISPLAY '" + program.string() + "' --console";
}

/// Runs `program --console` on `input` with TAMVEL_PREFIX as the test set it.
inline ConsoleRun RunBinary(const TempPrefix& prefix, const std::string& input,
                            const std::filesystem::path& program = TAMVEL_BINARY) {
    const std::filesystem::path inputFile = prefix.Root() / "input.txt";
    TempPrefix::WriteFile(inputFile, input);
    return RunAndParse(ConsoleCommandLine(program) + " < '" + inputFile.string() + "'");
}

}  // namespace tamvel::testing
