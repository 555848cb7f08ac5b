#include "engine/panel_regression.h"

#include <Eigen/Cholesky>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "engine/compensated_sum.h"
#include "engine/distributions.h"

namespace tamvel::engine {
namespace {

// Which unit each observation belongs to (units numbered in order of first appearance) and
// how many observations each unit has.
struct Units {
    std::vector<std::size_t> of;
    std::vector<std::size_t> size;
};

Units GroupUnits(std::span<const Real> unit) {
    Units units;
    std::map<Real, std::size_t> number;
    for (const Real id : unit) {
        const auto [at, added] = number.try_emplace(id, units.size.size());
        if (added) units.size.push_back(0);
        units.of.push_back(at->second);
        ++units.size[at->second];
    }
    return units;
}

std::vector<Real> UnitMeans(std::span<const Real> x, const Units& units) {
    std::vector<CompensatedSum> sums(units.size.size());
    for (std::size_t i = 0; i < x.size(); ++i) sums[units.of[i]].Add(x[i]);
    std::vector<Real> means;
    for (std::size_t g = 0; g < sums.size(); ++g) {
        means.push_back(sums[g].Value() / Real(units.size[g]));
    }
    return means;
}

// x - w_g x̄_g per observation. A deviation within rounding of the values is set to zero, so
// that a regressor constant within every unit shows as a zero column, not as noise.
std::vector<Real> Deviations(std::span<const Real> x, const Units& units,
                             const std::vector<Real>& weights) {
    const std::vector<Real> means = UnitMeans(x, units);
    std::vector<Real> deviations(x.size());
    constexpr Real kNoise = 16 * std::numeric_limits<Real>::epsilon();
    for (std::size_t i = 0; i < x.size(); ++i) {
        const std::size_t g = units.of[i];
        const Real deviation = x[i] - weights[g] * means[g];
        const bool noise =
            std::fabs(deviation) <= kNoise * std::max(std::fabs(x[i]), std::fabs(means[g]));
        deviations[i] = noise ? Real(0) : deviation;
    }
    return deviations;
}

// Mean and standard deviation of the dependent variable, which the within and random-effects
// fits report for y itself rather than for their transformed y.
struct Moments {
    Real mean = 0;
    Real sd = 0;
};

Moments MomentsOf(std::span<const Real> y) {
    CompensatedSum sum;
    for (const Real v : y) sum.Add(v);
    Moments moments;
    moments.mean = sum.Value() / Real(y.size());
    CompensatedSum squares;
    for (const Real v : y) squares.AddProduct(v - moments.mean, v - moments.mean);
    moments.sd = std::sqrt(squares.Value() / Real(y.size() - 1));
    return moments;
}

// Columns owned by one estimator, fitted by least squares.
struct Design {
    std::vector<Real> dependent;
    std::vector<std::vector<Real>> regressors;
};

OlsOutcome FitColumns(std::span<const Real> dependent,
                      const std::vector<std::span<const Real>>& regressors, bool constant,
                      std::span<const std::size_t> gaps) {
    RegressionData<Real> data{dependent, regressors, std::nullopt};
    if (constant) data.constantAt = regressors.size();
    return FitOls(data, gaps);
}

OlsOutcome FitDesign(const Design& design, bool constant, std::span<const std::size_t> gaps) {
    std::vector<std::span<const Real>> regressors(design.regressors.begin(),
                                                  design.regressors.end());
    return FitColumns(design.dependent, regressors, constant, gaps);
}

// The given gaps and every change of unit, ascending.
std::vector<std::size_t> Gaps(std::span<const Real> unit, std::span<const std::size_t> given) {
    std::vector<std::size_t> gaps(given.begin(), given.end());
    for (std::size_t i = 1; i < unit.size(); ++i) {
        if (unit[i] != unit[i - 1]) gaps.push_back(i);
    }
    std::sort(gaps.begin(), gaps.end());
    gaps.erase(std::unique(gaps.begin(), gaps.end()), gaps.end());
    return gaps;
}

// Rescales an estimate to `df` residual degrees of freedom: the within regression on
// deviations from unit means has lost one to each unit's mean, which OLS does not know.
void SetResidualDf(OlsResult& estimate, Real df) {
    const Real factor = (Real(estimate.observations) - Real(estimate.parameters)) / df;
    estimate.varianceResiduals = estimate.sumSquaredResiduals / df;
    estimate.standardErrorOfRegression = std::sqrt(estimate.varianceResiduals);
    for (Real& value : estimate.covariance) value *= factor;
    const std::size_t k = estimate.coefficients.size();
    for (std::size_t j = 0; j < k; ++j) {
        Coefficient& c = estimate.coefficients[j];
        c.standardError = std::sqrt(estimate.covariance[j * k + j]);
        c.tStatistic = c.estimate / c.standardError;
        c.pValue = TTwoSided(c.tStatistic, df);
    }
}

OlsOutcome Within(const PanelData& data, const Units& units, std::span<const std::size_t> gaps,
                  const Moments& moments) {
    const std::vector<Real> ones(units.size.size(), Real(1));
    Design design{Deviations(data.dependent, units, ones), {}};
    for (const auto& x : data.regressors) design.regressors.push_back(Deviations(x, units, ones));
    OlsOutcome fit = FitDesign(design, false, gaps);
    if (!fit.result) return fit;
    const std::size_t n = data.dependent.size();
    const std::size_t lost = units.size.size() + data.regressors.size();
    if (n <= lost) return {std::nullopt, FitError::TooFewObservations, {}};
    OlsResult& estimate = *fit.result;
    const Real df = Real(n - lost);
    SetResidualDf(estimate, df);
    CompensatedSum variation;
    for (const Real y : design.dependent) variation.AddProduct(y, y);
    estimate.rSquared = 1 - estimate.sumSquaredResiduals / variation.Value();
    estimate.adjustedRSquared = 1 - (1 - estimate.rSquared) * Real(n - units.size.size()) / df;
    estimate.meanDependent = moments.mean;
    estimate.sdDependent = moments.sd;
    return fit;
}

OlsOutcome Between(const PanelData& data, const Units& units) {
    Design design{UnitMeans(data.dependent, units), {}};
    for (const auto& x : data.regressors) design.regressors.push_back(UnitMeans(x, units));
    return FitDesign(design, true, {});
}

// Swamy–Arora: σ²_e from the within residuals, σ²_u from the between residuals less
// σ²_e / T, with T the harmonic mean of the units' sizes where they differ.
VarianceComponents Components(const OlsResult& within, const OlsResult& between, const Units& units,
                              std::vector<Real>& weights) {
    VarianceComponents components;
    components.idiosyncratic = within.varianceResiduals;
    Real reciprocal = 0;
    for (const std::size_t size : units.size) reciprocal += 1 / Real(size);
    const Real harmonic = Real(units.size.size()) / reciprocal;
    components.unit =
        std::max(Real(0), between.varianceResiduals - components.idiosyncratic / harmonic);
    weights.clear();
    for (const std::size_t size : units.size) {
        const Real share =
            components.idiosyncratic / (components.idiosyncratic + Real(size) * components.unit);
        weights.push_back(1 - std::sqrt(share));
    }
    Real sum = 0;
    for (const Real w : weights) sum += w;
    components.theta = sum / Real(weights.size());
    return components;
}

// OLS on quasi-demeaned data: y - θ_g ȳ_g on x - θ_g x̄_g and 1 - θ_g.
OlsOutcome RandomEffects(const PanelData& data, const Units& units,
                         const std::vector<Real>& weights, std::span<const std::size_t> gaps,
                         const Moments& moments) {
    Design design{Deviations(data.dependent, units, weights), {}};
    for (const auto& x : data.regressors)
        design.regressors.push_back(Deviations(x, units, weights));
    std::vector<Real> constant;
    for (const std::size_t g : units.of) constant.push_back(1 - weights[g]);
    design.regressors.push_back(std::move(constant));
    OlsOutcome fit = FitDesign(design, false, gaps);
    if (!fit.result) return fit;
    OlsResult& estimate = *fit.result;
    estimate.meanDependent = moments.mean;
    estimate.sdDependent = moments.sd;
    // R² of the estimate on the data themselves: corr(y, ŷ)².
    const std::size_t n = data.dependent.size();
    const std::size_t k = data.regressors.size();
    std::vector<Real> fitted(n, estimate.coefficients[k].estimate);
    for (std::size_t j = 0; j < k; ++j) {
        for (std::size_t i = 0; i < n; ++i)
            fitted[i] += estimate.coefficients[j].estimate * data.regressors[j][i];
    }
    Real fittedMean = 0;
    for (const Real v : fitted) fittedMean += v;
    fittedMean /= Real(n);
    Real cross = 0, fittedSquares = 0, actualSquares = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Real a = data.dependent[i] - moments.mean;
        const Real f = fitted[i] - fittedMean;
        cross += a * f;
        fittedSquares += f * f;
        actualSquares += a * a;
    }
    estimate.rSquared = cross * cross / (fittedSquares * actualSquares);
    estimate.adjustedRSquared = 1 - (1 - estimate.rSquared) * Real(n - 1) / Real(n - k - 1);
    return fit;
}

std::optional<HausmanTest> Hausman(const OlsResult& within, const OlsResult& random) {
    const std::size_t k = within.coefficients.size();
    const std::size_t kr = random.coefficients.size();
    using Matrix = Eigen::Matrix<Real, Eigen::Dynamic, Eigen::Dynamic>;
    using Vector = Eigen::Matrix<Real, Eigen::Dynamic, 1>;
    const auto kk = static_cast<Eigen::Index>(k);
    Matrix difference(kk, kk);
    Vector d(kk);
    for (std::size_t i = 0; i < k; ++i) {
        d(static_cast<Eigen::Index>(i)) =
            within.coefficients[i].estimate - random.coefficients[i].estimate;
        for (std::size_t j = 0; j < k; ++j) {
            difference(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(j)) =
                within.covariance[i * k + j] - random.covariance[i * kr + j];
        }
    }
    const Eigen::LLT<Matrix> llt(difference);
    if (llt.info() != Eigen::Success) return std::nullopt;
    HausmanTest test;
    test.statistic = d.dot(llt.solve(d));
    test.degreesOfFreedom = k;
    test.pValue = ChiSquaredUpperTail(test.statistic, Real(k));
    return test;
}

}  // namespace

PanelOutcome FitPanel(const PanelData& data, std::span<const std::size_t> gapsBefore) {
    const std::size_t n = data.dependent.size();
    if (data.regressors.empty()) return {std::nullopt, PanelError::NoRegressors};
    if (data.unit.size() != n) return {std::nullopt, PanelError::LengthMismatch};
    for (const auto& x : data.regressors) {
        if (x.size() != n) return {std::nullopt, PanelError::LengthMismatch};
    }
    for (const Real id : data.unit) {
        if (!std::isfinite(id)) return {std::nullopt, PanelError::NonFiniteValue};
    }

    const Units units = GroupUnits(data.unit);
    PanelResult result;
    result.observations = n;
    result.units = units.size.size();
    if (!units.size.empty()) {
        result.minimumPeriods = *std::min_element(units.size.begin(), units.size.end());
        result.maximumPeriods = *std::max_element(units.size.begin(), units.size.end());
    }
    result.balanced = result.minimumPeriods == result.maximumPeriods;

    const std::vector<std::size_t> gaps = Gaps(data.unit, gapsBefore);
    result.total = FitColumns(data.dependent, data.regressors, true, gaps);
    if (result.total.error == FitError::NonFiniteValue)
        return {std::nullopt, PanelError::NonFiniteValue};
    const Moments moments = MomentsOf(data.dependent);
    result.between = Between(data, units);
    result.within = Within(data, units, gaps, moments);
    if (result.between.result && result.within.result) {
        std::vector<Real> weights;
        result.components =
            Components(*result.within.result, *result.between.result, units, weights);
        result.randomEffects = RandomEffects(data, units, weights, gaps, moments);
        if (result.randomEffects.result) {
            result.hausman = Hausman(*result.within.result, *result.randomEffects.result);
        }
    } else {
        // The first estimate it needs that failed.
        for (const OlsOutcome* needed : {&result.within, &result.between}) {
            if (!needed->result) {
                result.randomEffects.error = needed->error;
                break;
            }
        }
    }
    return {std::move(result), PanelError::None};
}

}  // namespace tamvel::engine
