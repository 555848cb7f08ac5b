#include "engine/regression.h"

namespace tamvel::engine {

// Placeholder until the estimator lands: every fit fails.
OlsOutcome FitOls(const RegressionData<Real>&) { return {std::nullopt, FitError::TooFewObservations, {}}; }
OlsOutcome FitOls(const RegressionData<double>&) { return {std::nullopt, FitError::TooFewObservations, {}}; }

}  // namespace tamvel::engine
