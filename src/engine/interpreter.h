#pragma once
// Runs a parsed program: the load section first, then the program section, each up to its
// END;. STOP; or QUIT; ends the run. A statement that fails is reported and the run goes
// on, so that one run shows every mistake.

#include "engine/parser.h"
#include "engine/run_state.h"

namespace tamvel::engine {

/// Runs both sections into `state`: results and messages go to its body.
void RunProgram(const ParsedProgram& program, RunState& state);

}  // namespace tamvel::engine
