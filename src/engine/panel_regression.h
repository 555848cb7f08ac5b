#pragma once
// Linear regression on panel data (several observations of each unit): the total (pooled),
// between (unit means), within (fixed effects) and variance-components (random effects,
// Swamy–Arora) estimates, and the Hausman test of random against fixed effects. Numbers in,
// numbers out, like least squares; balanced and unbalanced panels alike.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "engine/regression.h"

namespace tamvel::engine {

/// A panel: n observations of the dependent variable and of each regressor, with the unit
/// each belongs to. Already restricted to the sample and free of missing values; the
/// observations of a unit need not be adjacent. Views, not copies.
struct PanelData {
    std::span<const Real> dependent;
    /// The regressors in the order of the command's list, without the constant: each
    /// estimator adds one where it has one.
    std::vector<std::span<const Real>> regressors;
    /// The unit of each observation (the ID series): equal values, same unit.
    std::span<const Real> unit;
};

/// One estimator's results, as PANEL prints them.
struct PanelEstimate {
    std::size_t observations = 0;  ///< n, or the number of units for the between estimate
    std::size_t parameters = 0;    ///< slopes, plus the constant where there is one
    Real meanDependent = 0;
    Real sdDependent = 0;
    Real sumSquaredResiduals = 0;
    /// σ², SSR over the residual degrees of freedom (within: n - units - slopes).
    Real varianceResiduals = 0;
    Real standardErrorOfRegression = 0;
    /// Total and between: 1 - SSR/SST. Within: 1 - SSR over the variation about the unit
    /// means. Random effects: the squared correlation of the actual and fitted values.
    Real rSquared = 0;
    Real adjustedRSquared = 0;
    /// The slopes in the order of the list, then the constant where the estimator has one.
    std::vector<Coefficient> coefficients;
    /// The covariance of the coefficients, row-major, in the same order.
    std::vector<Real> covariance;
};

/// One estimator's results or the reason there are none; `dependentColumns` as with OLS, in
/// the estimator's own order (slopes, then the constant).
struct PanelFit {
    std::optional<PanelEstimate> estimate;
    FitError error = FitError::None;
    std::vector<std::size_t> dependentColumns;
};

/// The variance components behind the random-effects estimate.
struct VarianceComponents {
    Real idiosyncratic = 0;  ///< σ²_e, from the within residuals
    Real unit = 0;           ///< σ²_u, from the between residuals; 0 where that is negative
    /// The quasi-demeaning weight θ = 1 - sqrt(σ²_e / (σ²_e + T σ²_u)): the one weight of a
    /// balanced panel, the mean over units of an unbalanced one (where T is each unit's).
    Real theta = 0;
};

/// The Hausman test: chi² = d'(V_within - V_random)⁻¹d over the slopes.
struct HausmanTest {
    Real statistic = 0;
    std::size_t degreesOfFreedom = 0;
    Real pValue = 0;
};

/// Everything PANEL reports.
struct PanelResult {
    std::size_t observations = 0;
    std::size_t units = 0;
    std::size_t minimumPeriods = 0;  ///< fewest observations of a unit
    std::size_t maximumPeriods = 0;  ///< most observations of a unit
    bool balanced = false;
    PanelFit total;
    PanelFit between;
    PanelFit within;
    PanelFit randomEffects;  ///< needs the between and within fits
    std::optional<VarianceComponents> components;
    /// Absent without the within and random-effects fits, or where V_within - V_random is
    /// not positive definite.
    std::optional<HausmanTest> hausman;
};

/// Why no panel estimate at all could be made.
enum class PanelError {
    None,
    NoRegressors,    ///< an empty list
    LengthMismatch,  ///< a column or the unit series differs in length from the dependent
    NonFiniteValue,  ///< an infinity or NaN in the data or the unit series
};

/// The panel estimates, or the reason there are none.
struct PanelOutcome {
    std::optional<PanelResult> result;
    PanelError error = PanelError::None;
};

/// All four panel estimators and the Hausman test on `data`.
PanelOutcome FitPanel(const PanelData& data);

}  // namespace tamvel::engine
