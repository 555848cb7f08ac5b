#include "engine/regression.h"

#include <Eigen/QR>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <type_traits>

#include "engine/compensated_sum.h"
#include "engine/distributions.h"

namespace tamvel::engine {
namespace {

template <class W>
using Matrix = Eigen::Matrix<W, Eigen::Dynamic, Eigen::Dynamic>;
template <class W>
using Vector = Eigen::Matrix<W, Eigen::Dynamic, 1>;

// How sums over data of type T are carried. Double data: long double has 11 bits to spare,
// enough. Long double data: compensated, as the residuals and X'e of a nearly collinear fit
// cancel far below long double's rounding (with plain long double sums the refinement below
// leaves Wampler5's estimates at 9.5 digits instead of 15).
template <class T>
using Sum = std::conditional_t<std::is_same_v<T, double>, PlainSum, CompensatedSum>;

// A column below this fraction of its own length, once the earlier columns are taken out,
// depends on them: a few hundred roundings of the data's own precision. Filip's last power
// keeps 5e-8 of its length, far above this.
template <class T>
constexpr Real kDependenceTolerance = 256 * Real(std::numeric_limits<T>::epsilon());

// Rows per block of the factorisation: small enough for the block to stay in cache, large
// enough that the triangle carried from block to block costs little.
constexpr std::size_t kBlockRows = 256;

// The columns of the list, constant at its place, as pointers (null for the constant).
template <class T>
std::vector<const T*> Columns(const RegressionData<T>& data) {
    std::vector<const T*> columns;
    for (const auto& regressor : data.regressors) columns.push_back(regressor.data());
    if (data.constantAt) {
        const std::size_t at = std::min(*data.constantAt, columns.size());
        columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(at), nullptr);
    }
    return columns;
}

template <class T>
Real At(const T* column, std::size_t i) {
    return column ? Real(column[i]) : Real(1);
}

// The triangle R of [X y] with column lengths and the sum of y, from one pass.
template <class T>
struct Factor {
    Matrix<T> r;
    std::vector<Real> norms;
    Real sumDependent = 0;
};

// Householder QR by blocks: each block of rows is stacked under the triangle so far and
// factored again, so memory stays at one block whatever n is, and the result is the triangle
// of one Householder QR of the whole matrix, backward stable in T.
template <class T>
Factor<T> FactorBlocked(const std::vector<const T*>& columns, std::span<const T> y) {
    const std::size_t k = columns.size();
    const std::size_t n = y.size();
    const auto wide = static_cast<Eigen::Index>(k + 1);
    Factor<T> factor{Matrix<T>::Zero(wide, wide), std::vector<Real>(k, Real(0)), Real(0)};
    Matrix<T> stack(wide + static_cast<Eigen::Index>(kBlockRows), wide);
    std::vector<Real> squares(k, Real(0));
    for (std::size_t start = 0; start < n; start += kBlockRows) {
        const std::size_t rows = std::min(kBlockRows, n - start);
        stack.topRows(wide) = factor.r;
        for (std::size_t j = 0; j <= k; ++j) {
            const T* column = j < k ? columns[j] : y.data();
            auto block = stack.col(static_cast<Eigen::Index>(j))
                             .segment(wide, static_cast<Eigen::Index>(rows));
            if (!column) {
                block.setOnes();
                continue;
            }
            Real sum = 0;
            for (std::size_t i = 0; i < rows; ++i) {
                const T value = column[start + i];
                block(static_cast<Eigen::Index>(i)) = value;
                sum += j < k ? Real(value) * Real(value) : Real(value);
            }
            (j < k ? squares[j] : factor.sumDependent) += sum;
        }
        auto active = stack.topRows(wide + static_cast<Eigen::Index>(rows));
        Eigen::HouseholderQR<Eigen::Ref<Matrix<T>>> qr(active);
        factor.r = qr.matrixQR().topRows(wide).template triangularView<Eigen::Upper>();
    }
    for (std::size_t j = 0; j < k; ++j) {
        factor.norms[j] = std::sqrt(columns[j] ? squares[j] : Real(n));
    }
    return factor;
}

// e_i = y_i - x_i'b.
template <class T>
Sum<T> Residual(const std::vector<const T*>& columns, std::span<const T> y,
                const std::vector<Real>& b, std::size_t i) {
    Sum<T> e(y[i]);
    for (std::size_t j = 0; j < columns.size(); ++j) e.AddProduct(-b[j], At(columns[j], i));
    return e;
}

// X'e: the right-hand side of a refinement step.
template <class T>
std::vector<Real> CrossResiduals(const std::vector<const T*>& columns, std::span<const T> y,
                                 const std::vector<Real>& b) {
    std::vector<Sum<T>> cross(columns.size());
    for (std::size_t i = 0; i < y.size(); ++i) {
        const Sum<T> e = Residual(columns, y, b, i);
        for (std::size_t j = 0; j < columns.size(); ++j) cross[j].AddProduct(e, At(columns[j], i));
    }
    std::vector<Real> values;
    for (const auto& sum : cross) values.push_back(sum.Value());
    return values;
}

// Sums over the final residuals.
struct ResidualSums {
    Real squared = 0;           // SSR
    Real squaredChange = 0;     // Σ (e_t - e_{t-1})²
    Real squaredDeviation = 0;  // Σ (y - ȳ)²
    Real fittedCross = 0;       // Σ (y - ȳ)(ŷ - ȳ)
    Real fittedSquared = 0;     // Σ (ŷ - ȳ)²
    Real fittedSum = 0;         // Σ (ŷ - ȳ)
};

template <class T>
ResidualSums SumResiduals(const std::vector<const T*>& columns, std::span<const T> y,
                          const std::vector<Real>& b, Real mean,
                          std::span<const std::size_t> gapsBefore) {
    ResidualSums sums;
    Real previous = 0;
    auto gap = gapsBefore.begin();
    for (std::size_t i = 0; i < y.size(); ++i) {
        const Real e = Residual(columns, y, b, i).Value();
        sums.squared += e * e;
        while (gap != gapsBefore.end() && *gap < i) ++gap;
        const bool follows = i > 0 && (gap == gapsBefore.end() || *gap != i);
        if (follows) sums.squaredChange += (e - previous) * (e - previous);
        previous = e;
        const Real deviation = Real(y[i]) - mean;
        const Real fitted = deviation - e;
        sums.squaredDeviation += deviation * deviation;
        sums.fittedCross += deviation * fitted;
        sums.fittedSquared += fitted * fitted;
        sums.fittedSum += fitted;
    }
    return sums;
}

template <class T>
OlsOutcome Fit(const RegressionData<T>& data, std::span<const std::size_t> gapsBefore) {
    const std::vector<const T*> columns = Columns(data);
    const std::size_t n = data.dependent.size();
    const std::size_t k = columns.size();
    if (k == 0) return {std::nullopt, FitError::NoRegressors, {}};
    for (const auto& regressor : data.regressors) {
        if (regressor.size() != n) return {std::nullopt, FitError::LengthMismatch, {}};
    }
    if (n <= k) return {std::nullopt, FitError::TooFewObservations, {}};

    const Factor<T> factor = FactorBlocked(columns, data.dependent);
    if (!factor.r.allFinite()) return {std::nullopt, FitError::NonFiniteValue, {}};
    const auto kk = static_cast<Eigen::Index>(k);
    std::vector<std::size_t> dependent;
    for (std::size_t j = 0; j < k; ++j) {
        const Real diagonal =
            std::fabs(Real(factor.r(static_cast<Eigen::Index>(j), static_cast<Eigen::Index>(j))));
        if (!(diagonal > kDependenceTolerance<T> * factor.norms[j])) dependent.push_back(j);
    }
    if (!dependent.empty()) return {std::nullopt, FitError::RankDeficient, std::move(dependent)};

    const Matrix<T> r = factor.r.topLeftCorner(kk, kk);
    const auto upper = r.template triangularView<Eigen::Upper>();
    const Vector<T> start = upper.solve(Vector<T>(factor.r.col(kk).head(kk)));
    std::vector<Real> b(start.begin(), start.end());

    // One refinement step on the semi-normal equations R'R d = X'e, with e and X'e carried
    // beyond the data's precision: it recovers the digits the factorisation lost to rounding
    // (Wampler5's estimates: 9.9 digits from the factorisation, 15 after this step; a second
    // step adds nothing).
    const std::vector<Real> cross = CrossResiduals(columns, data.dependent, b);
    Vector<T> rhs(kk);
    for (std::size_t j = 0; j < k; ++j)
        rhs(static_cast<Eigen::Index>(j)) = static_cast<T>(cross[j]);
    const Vector<T> step = upper.solve(upper.transpose().solve(rhs));
    for (std::size_t j = 0; j < k; ++j) b[j] += Real(step(static_cast<Eigen::Index>(j)));

    const Real count = Real(n);
    const Real mean = factor.sumDependent / count;
    const ResidualSums sums = SumResiduals(columns, data.dependent, b, mean, gapsBefore);
    const Real residualDf = Real(n - k);
    const Real variance = sums.squared / residualDf;

    OlsResult result;
    result.observations = n;
    result.parameters = k;
    result.meanDependent = mean;
    result.sdDependent = std::sqrt(sums.squaredDeviation / Real(n - 1));
    result.sumSquaredResiduals = sums.squared;
    result.varianceResiduals = variance;
    result.standardErrorOfRegression = std::sqrt(variance);
    result.uncenteredRSquared = 1 - sums.squared / (sums.squaredDeviation + count * mean * mean);
    const bool constant = data.constantAt.has_value();
    if (constant) {
        result.rSquared = 1 - sums.squared / sums.squaredDeviation;
    } else {
        const Real fittedVariation = sums.fittedSquared - sums.fittedSum * sums.fittedSum / count;
        result.rSquared =
            sums.fittedCross * sums.fittedCross / (sums.squaredDeviation * fittedVariation);
    }
    result.adjustedRSquared = 1 - (1 - result.rSquared) * Real(n - 1) / residualDf;
    result.durbinWatson = sums.squaredChange / sums.squared;
    if (constant && k > 1) {
        const Real slopes = Real(k - 1);
        result.fStatistic = ((sums.squaredDeviation - sums.squared) / slopes) / variance;
        result.fPValue = FUpperTail(*result.fStatistic, slopes, residualDf);
    }
    result.logLikelihood =
        -count / 2 * (1 + std::log(2 * std::numbers::pi_v<Real>) + std::log(sums.squared / count));

    // Covariance s² R⁻¹R⁻ᵀ.
    const Matrix<T> inverse = upper.solve(Matrix<T>::Identity(kk, kk));
    const Matrix<T> unscaled = inverse * inverse.transpose();
    result.covariance.resize(k * k);
    result.coefficients.resize(k);
    for (std::size_t i = 0; i < k; ++i) {
        const auto ii = static_cast<Eigen::Index>(i);
        for (std::size_t j = 0; j < k; ++j) {
            result.covariance[i * k + j] =
                variance * Real(unscaled(ii, static_cast<Eigen::Index>(j)));
        }
        Coefficient& c = result.coefficients[i];
        c.estimate = b[i];
        c.standardError = std::sqrt(variance * Real(unscaled(ii, ii)));
        c.tStatistic = c.estimate / c.standardError;
        c.pValue = TTwoSided(c.tStatistic, residualDf);
    }
    return {std::move(result), FitError::None, {}};
}

}  // namespace

OlsOutcome FitOls(const RegressionData<Real>& data, std::span<const std::size_t> gapsBefore) {
    return Fit(data, gapsBefore);
}
OlsOutcome FitOls(const RegressionData<double>& data, std::span<const std::size_t> gapsBefore) {
    return Fit(data, gapsBefore);
}

}  // namespace tamvel::engine
