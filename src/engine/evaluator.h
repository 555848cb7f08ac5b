#pragma once
// The value of a GENR expression at one period. A missing operand, a function outside its
// domain (LOG of zero, SQRT of a negative number) and a division by zero give a missing
// value; comparisons give 1 or 0.

#include <string>
#include <vector>

#include "engine/expression.h"
#include "engine/series.h"

namespace tamvel::engine {

/// The value of `expression` at `period`; a series' period outside what it holds is missing.
/// `unit`: the panel's identifier series, which keeps lags within an individual, or null.
Real Evaluate(const Expression& expression, const Workspace& workspace, long long period,
              const Series* unit);

/// The names of series the expression reads that the workspace does not hold, each once.
std::vector<std::string> UnknownSeries(const Expression& expression, const Workspace& workspace);

/// True when every series the expression reads is kept in extended precision.
bool ReadsOnlyExtended(const Expression& expression, const Workspace& workspace);

}  // namespace tamvel::engine
