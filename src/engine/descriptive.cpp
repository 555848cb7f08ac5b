#include "engine/descriptive.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tamvel::engine {
namespace {

Real Mean(std::span<const Real> values) {
    Real sum = 0;
    for (Real v : values) sum += v;
    return sum / static_cast<Real>(values.size());
}

}  // namespace

UnivariateStatistics Describe(std::span<const Real> values) {
    UnivariateStatistics s;
    s.observations = values.size();
    if (values.empty()) return s;
    s.mean = Mean(values);
    Real squares = 0;
    s.minimum = s.maximum = values[0];
    for (Real v : values) {
        s.sum += v;
        squares += (v - s.mean) * (v - s.mean);
        s.minimum = std::min(s.minimum, v);
        s.maximum = std::max(s.maximum, v);
    }
    s.variance = values.size() > 1 ? squares / static_cast<Real>(values.size() - 1)
                                   : std::numeric_limits<Real>::quiet_NaN();
    s.standardDeviation = std::sqrt(s.variance);
    return s;
}

Real Correlation(std::span<const Real> a, std::span<const Real> b) {
    if (a.empty() || a.size() != b.size()) return std::numeric_limits<Real>::quiet_NaN();
    const Real meanA = Mean(a);
    const Real meanB = Mean(b);
    Real ab = 0, aa = 0, bb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ab += (a[i] - meanA) * (b[i] - meanB);
        aa += (a[i] - meanA) * (a[i] - meanA);
        bb += (b[i] - meanB) * (b[i] - meanB);
    }
    if (aa == 0 || bb == 0) return std::numeric_limits<Real>::quiet_NaN();
    return ab / std::sqrt(aa * bb);
}

}  // namespace tamvel::engine
