#pragma once
// Univariate statistics and correlations for MSD and CORR, in extended precision.

#include <cstddef>
#include <span>

#include "engine/regression.h"

namespace tamvel::engine {

/// What MSD prints for one series.
struct UnivariateStatistics {
    std::size_t observations = 0;
    Real mean = 0;
    Real standardDeviation = 0;  ///< with n - 1 in the denominator
    Real minimum = 0;
    Real maximum = 0;
    Real sum = 0;
    Real variance = 0;
};

/// Statistics of values that hold no missing value; at least one value.
UnivariateStatistics Describe(std::span<const Real> values);

/// The correlation of two equally long columns; NaN when one of them is constant.
Real Correlation(std::span<const Real> a, std::span<const Real> b);

}  // namespace tamvel::engine
