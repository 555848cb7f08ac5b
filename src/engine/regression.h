#pragma once
// Least squares: numbers in, numbers out. Knows nothing of the TSP language or of the
// result file's layout; the interpreter hands it views of its series and prints what
// comes back.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace tamvel::engine {

/// The engine's extended precision: every estimate is computed and returned in it.
using Real = long double;

/// One regressor's row of a coefficient table.
struct Coefficient {
    Real estimate = 0;
    Real standardError = 0;
    Real tStatistic = 0;
    Real pValue = 0;
};

/// A regression's data: n observations of the dependent variable and of each regressor,
/// already restricted to the sample and free of missing values. Views, not copies. A small
/// data set comes in extended precision (`T` = Real), a large one in double.
template <class T>
struct RegressionData {
    std::span<const T> dependent;
    /// The regressors in the order of the command's list, the constant excepted.
    std::vector<std::span<const T>> regressors;
    /// Where the constant (a column of ones) stands in the list, if the list has one.
    std::optional<std::size_t> constantAt;
};

/// What a least-squares fit gives.
struct OlsResult {
    std::size_t observations = 0;
    std::size_t parameters = 0;
    Real meanDependent = 0;
    Real sdDependent = 0;
    Real sumSquaredResiduals = 0;
    Real varianceResiduals = 0;
    Real standardErrorOfRegression = 0;
    /// With a constant 1 - SSR/SST; without one, the squared correlation of the actual and
    /// fitted values, which stays in [0, 1].
    Real rSquared = 0;
    /// 1 - (1 - R²)(n - 1)/(n - k).
    Real adjustedRSquared = 0;
    /// 1 - SSR/Σy², the usual figure for a regression through the origin.
    Real uncenteredRSquared = 0;
    /// Σ(e_t - e_{t-1})² / SSR over the pairs that no gap separates.
    Real durbinWatson = 0;
    /// The F statistic of all slopes zero and its p-value; absent without a constant or
    /// without slopes.
    std::optional<Real> fStatistic;
    std::optional<Real> fPValue;
    Real logLikelihood = 0;
    /// One per column, in the order of the list (constant at its place).
    std::vector<Coefficient> coefficients;
    /// The estimated covariance of the coefficients, row-major, parameters × parameters.
    std::vector<Real> covariance;
};

/// Why a fit could not be made.
enum class FitError {
    None,
    TooFewObservations,  ///< no more observations than parameters: no degrees of freedom
    RankDeficient,       ///< some columns are linear combinations of others
    NoRegressors,        ///< an empty list: nothing to estimate
    LengthMismatch,      ///< a column's length differs from the dependent variable's
    NonFiniteValue,      ///< an infinity or NaN in the data
};

/// A fit, or the reason there is none.
struct OlsOutcome {
    std::optional<OlsResult> result;
    FitError error = FitError::None;
    /// With RankDeficient: the positions (in the list, constant included) of the columns
    /// found to depend on the ones before them.
    std::vector<std::size_t> dependentColumns;
};

/// Ordinary least squares of `data.dependent` on the listed columns. Householder QR by blocks
/// of rows over the columns in place (memory of one block), then one refinement step with
/// the residuals carried beyond the data's precision. The extended form meets the certified
/// values of the NIST StRD linear problems to 10 digits or more (about 1 µs per observation
/// with 10 columns); the double form is for large data (about 0.13 µs).
///
/// `gapsBefore` lists (ascending) the observations that do not follow the one before them:
/// after a missing value, between SMPL ranges, at a new panel unit. Durbin-Watson skips the
/// change across each.
OlsOutcome FitOls(const RegressionData<Real>& data, std::span<const std::size_t> gapsBefore = {});
OlsOutcome FitOls(const RegressionData<double>& data, std::span<const std::size_t> gapsBefore = {});

/// Up to this many observations the interpreter should hand its columns over in extended
/// precision; beyond it, in double.
inline constexpr std::size_t kExtendedPrecisionObservations = 100000;

}  // namespace tamvel::engine
