// Feeds arbitrary bytes to the TSP engine's lexer and parser. Besides crashes, memory faults
// and runaway recursion it checks that every statement and every message names a line of
// the text, that messages come in line order, and that the two sections split at the first
// END.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/parser.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    const tamvel::engine::ParsedProgram parsed = tamvel::engine::ParseProgram(text);

    int previous = 0;
    for (const tamvel::engine::Diagnostic& error : parsed.errors) {
        Check(error.line >= 1 && error.line <= lines);
        Check(error.line >= previous);
        Check(!error.text.empty());
        previous = error.line;
    }
    for (const auto* section : {&parsed.program, &parsed.load})
        for (const tamvel::engine::Statement& statement : *section)
            Check(statement.line >= 1 && statement.line <= lines);
    // Only the program section's last statement may be its END.
    for (std::size_t i = 0; i + 1 < parsed.program.size(); ++i)
        Check(parsed.program[i].command != tamvel::engine::Command::End);
    if (!parsed.load.empty())
        Check(!parsed.program.empty() &&
              parsed.program.back().command == tamvel::engine::Command::End);
    return 0;
}
