#pragma once
// From tokens to statements. A statement with a syntax error is reported and left out;
// parsing goes on at the next ';' so that the rest of the program is still checked.
// TSP's two sections: what follows the first END; is the load section, which runs first.

#include <string_view>
#include <vector>

#include "engine/diagnostic.h"
#include "engine/statement.h"

namespace tamvel::engine {

/// A whole program, split into its two sections.
struct ParsedProgram {
    std::vector<Statement> program;  ///< up to and including the first END;
    std::vector<Statement> load;     ///< after it
    Diagnostics errors;              ///< lexical and syntax errors, in line order
};

/// Parses CP932 program text.
ParsedProgram ParseProgram(std::string_view text);

}  // namespace tamvel::engine
