#pragma once
// The estimation commands: OLSQ and PANEL. They check the list a student wrote, gather the
// sample's observations as views or compacted columns, call the estimators, and lay out
// what comes back.

#include "engine/run_state.h"
#include "engine/statement.h"

namespace tamvel::engine {

/// OLSQ dependent [C] regressors...;
void ExecuteOlsq(RunState& state, const Statement& statement);
/// PANEL dependent regressors...; after FREQ(PANEL,ID=...).
void ExecutePanel(RunState& state, const Statement& statement);

}  // namespace tamvel::engine
