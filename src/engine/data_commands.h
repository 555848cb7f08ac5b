#pragma once
// The commands that set up a run and its data: OPTIONS, FREQ, SMPL, READ and GENR (also
// written as a plain assignment).

#include "engine/run_state.h"
#include "engine/statement.h"

namespace tamvel::engine {

/// OPTIONS: CRT accepted, SIGNIF=n sets the significant digits printed; others noted.
void ExecuteOptions(RunState& state, const Statement& statement);
/// FREQ N|A|Q|M, or FREQ(PANEL,ID=name).
void ExecuteFreq(RunState& state, const Statement& statement);
/// SMPL with one or more ranges of periods.
void ExecuteSmpl(RunState& state, const Statement& statement);
/// READ with the data after the statement, or READ(FILE='name') from a data file.
void ExecuteRead(RunState& state, const Statement& statement);
/// GENR name = expression, over the current sample.
void ExecuteGenr(RunState& state, const Statement& statement);

/// Notes each option of a command that the engine does not act on.
void NoteIgnoredOptions(RunState& state, const Statement& statement,
                        std::initializer_list<const char*> known);

}  // namespace tamvel::engine
