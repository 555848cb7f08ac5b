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

/// Everything PANEL reports. Each estimate is a least-squares outcome (coefficients: the
/// slopes in the order of the list, then the constant where the estimator has one), with
/// these meanings where they differ from OLSQ's:
/// - between: the regression of the unit means, `observations` the number of units;
/// - within: on deviations from unit means, no constant; σ² and the standard errors with
///   n - units - slopes degrees of freedom; R² = 1 - SSR over the variation about the unit
///   means; mean and s.d. of the dependent variable itself;
/// - random effects: on quasi-demeaned data (y - θ_i ȳ_i on x - θ_i x̄_i and 1 - θ_i); R² the
///   squared correlation of the actual and fitted values of y itself; mean and s.d. of y.
/// Durbin-Watson skips the changes of unit.
struct PanelResult {
    std::size_t observations = 0;
    std::size_t units = 0;
    std::size_t minimumPeriods = 0;  ///< fewest observations of a unit
    std::size_t maximumPeriods = 0;  ///< most observations of a unit
    bool balanced = false;
    OlsOutcome total;
    OlsOutcome between;
    OlsOutcome within;
    OlsOutcome randomEffects;  ///< needs the between and within fits
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

/// All four panel estimators and the Hausman test on `data`. `gapsBefore` as with OLS, for
/// gaps within a unit (after a missing value); changes of unit count without being listed.
PanelOutcome FitPanel(const PanelData& data, std::span<const std::size_t> gapsBefore = {});

}  // namespace tamvel::engine
