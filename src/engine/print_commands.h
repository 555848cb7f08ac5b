#pragma once
// The commands that show data: PRINT (the values), MSD (univariate statistics) and CORR
// (the correlation matrix), each over the current sample.

#include "engine/run_state.h"
#include "engine/statement.h"

namespace tamvel::engine {

/// PRINT: one row per period, one column per listed series.
void ExecutePrint(RunState& state, const Statement& statement);
/// MSD: number of observations, mean, standard deviation, minimum, maximum, sum, variance.
void ExecuteMsd(RunState& state, const Statement& statement);
/// CORR: correlations over the observations where no listed series is missing.
void ExecuteCorr(RunState& state, const Statement& statement);

}  // namespace tamvel::engine
