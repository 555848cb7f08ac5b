#include "engine/regression.h"

#include <Eigen/QR>
#include <algorithm>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <boost/multiprecision/eigen.hpp>
#include <cmath>
#include <numbers>

#include "engine/distributions.h"

namespace tamvel::engine {
namespace {

// IEEE quadruple precision (113-bit significand) without expression templates, so that Eigen
// sees a plain value type.
using Quad = boost::multiprecision::number<
    boost::multiprecision::cpp_bin_float<113, boost::multiprecision::digit_base_2, void,
                                         std::int16_t, -16382, 16383>,
    boost::multiprecision::et_off>;

template <class W>
using Matrix = Eigen::Matrix<W, Eigen::Dynamic, Eigen::Dynamic>;
template <class W>
using Vector = Eigen::Matrix<W, Eigen::Dynamic, 1>;

// How a fit over data of type T computes: the QR factorisation in W, residuals and sums in
// Acc. Double data factor in double (vectorised, fast) and refine with long double
// residuals; extended data do everything in quadruple precision, enough to absorb the
// conditioning of the NIST polynomial problems (Filip's design matrix has a condition
// number near 1e15 even after column scaling).
template <class T>
struct Precision;
template <>
struct Precision<double> {
    using W = double;
    using Acc = long double;
};
template <>
struct Precision<long double> {
    using W = Quad;
    using Acc = Quad;
};

// A column below this fraction of its own length, once the earlier columns are taken out,
// depends on them: a few hundred roundings of the data's own precision. Filip's last power
// keeps about 1e-16 of its length in long double data.
template <class T>
constexpr T kDependenceTolerance = 256 * std::numeric_limits<T>::epsilon();

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

template <class Acc, class T>
Acc At(const T* column, std::size_t i) {
    return column ? Acc(column[i]) : Acc(1);
}

// What one pass of blocked Householder QR over [X y] gives.
template <class W, class Acc>
struct Factor {
    Matrix<W> r;             // (k+1) × (k+1) upper triangle of [X y]
    std::vector<Acc> norms;  // Euclidean length of each column of X
    Acc sumDependent = 0;
    bool finite = true;
};

// The triangle of [X y] by blocks: each block of rows is stacked under the triangle so far
// and factored again, so memory stays at one block whatever n is, and the result is the
// triangle of one Householder QR of the whole matrix (backward stable in W).
template <class T, class W, class Acc>
Factor<W, Acc> FactorBlocked(const std::vector<const T*>& columns, std::span<const T> y) {
    const std::size_t k = columns.size();
    const std::size_t n = y.size();
    const auto wide = static_cast<Eigen::Index>(k + 1);
    Factor<W, Acc> factor{Matrix<W>::Zero(wide, wide), std::vector<Acc>(k, Acc(0)), Acc(0), true};
    Matrix<W> stack(wide + static_cast<Eigen::Index>(kBlockRows), wide);
    std::vector<Acc> squares(k, Acc(0));
    for (std::size_t start = 0; start < n; start += kBlockRows) {
        const std::size_t rows = std::min(kBlockRows, n - start);
        const auto height = wide + static_cast<Eigen::Index>(rows);
        stack.topRows(wide) = factor.r;
        for (std::size_t j = 0; j <= k; ++j) {
            const T* column = j < k ? columns[j] : y.data();
            auto block = stack.col(static_cast<Eigen::Index>(j))
                             .segment(wide, static_cast<Eigen::Index>(rows));
            if (!column) {
                block.setOnes();
                continue;
            }
            Acc sum = 0;
            for (std::size_t i = 0; i < rows; ++i) {
                const T value = column[start + i];
                block(static_cast<Eigen::Index>(i)) = W(value);
                sum += j < k ? Acc(value) * Acc(value) : Acc(value);
            }
            (j < k ? squares[j] : factor.sumDependent) += sum;
        }
        auto active = stack.topRows(height);
        Eigen::HouseholderQR<Eigen::Ref<Matrix<W>>> qr(active);
        factor.r = qr.matrixQR().topRows(wide).template triangularView<Eigen::Upper>();
    }
    using std::isfinite;
    using std::sqrt;
    for (std::size_t j = 0; j < k; ++j) {
        factor.norms[j] = columns[j] ? sqrt(squares[j]) : sqrt(Acc(n));
        if (!isfinite(factor.norms[j])) factor.finite = false;
    }
    if (!isfinite(factor.sumDependent)) factor.finite = false;
    return factor;
}

// X'(y - Xb), accumulated in Acc: the right-hand side of one refinement step.
template <class T, class Acc>
std::vector<Acc> CrossResiduals(const std::vector<const T*>& columns, std::span<const T> y,
                                const std::vector<Acc>& b) {
    const std::size_t k = columns.size();
    std::vector<Acc> cross(k, Acc(0));
    for (std::size_t i = 0; i < y.size(); ++i) {
        Acc e = Acc(y[i]);
        for (std::size_t j = 0; j < k; ++j) e -= b[j] * At<Acc>(columns[j], i);
        for (std::size_t j = 0; j < k; ++j) cross[j] += e * At<Acc>(columns[j], i);
    }
    return cross;
}

// Sums over the final residuals e = y - Xb.
template <class Acc>
struct ResidualSums {
    Acc squared = 0;           // SSR
    Acc squaredChange = 0;     // Σ (e_t - e_{t-1})²
    Acc squaredDeviation = 0;  // Σ (y - ȳ)²
    Acc fittedCross = 0;       // Σ (y - ȳ)(ŷ - ȳ)
    Acc fittedSquared = 0;     // Σ (ŷ - ȳ)²
    Acc fittedSum = 0;         // Σ (ŷ - ȳ)
};

template <class T, class Acc>
ResidualSums<Acc> SumResiduals(const std::vector<const T*>& columns, std::span<const T> y,
                               const std::vector<Acc>& b, Acc mean) {
    ResidualSums<Acc> sums;
    Acc previous = 0;
    for (std::size_t i = 0; i < y.size(); ++i) {
        const Acc actual = Acc(y[i]);
        Acc e = actual;
        for (std::size_t j = 0; j < columns.size(); ++j) e -= b[j] * At<Acc>(columns[j], i);
        sums.squared += e * e;
        if (i > 0) sums.squaredChange += (e - previous) * (e - previous);
        previous = e;
        const Acc deviation = actual - mean;
        const Acc fitted = deviation - e;
        sums.squaredDeviation += deviation * deviation;
        sums.fittedCross += deviation * fitted;
        sums.fittedSquared += fitted * fitted;
        sums.fittedSum += fitted;
    }
    return sums;
}

template <class W>
Vector<W> SolveNormal(const Matrix<W>& r, const Vector<W>& rhs) {
    const auto upper = r.template triangularView<Eigen::Upper>();
    return upper.solve(upper.transpose().solve(rhs));
}

template <class T>
OlsOutcome Fit(const RegressionData<T>& data) {
    using W = typename Precision<T>::W;
    using Acc = typename Precision<T>::Acc;
    const std::vector<const T*> columns = Columns(data);
    const std::size_t n = data.dependent.size();
    const std::size_t k = columns.size();
    if (k == 0) return {std::nullopt, FitError::NoRegressors, {}};
    for (const auto& regressor : data.regressors) {
        if (regressor.size() != n) return {std::nullopt, FitError::LengthMismatch, {}};
    }
    if (n <= k) return {std::nullopt, FitError::TooFewObservations, {}};

    const Factor<W, Acc> factor = FactorBlocked<T, W, Acc>(columns, data.dependent);
    if (!factor.finite) return {std::nullopt, FitError::NonFiniteValue, {}};
    const auto kk = static_cast<Eigen::Index>(k);
    std::vector<std::size_t> dependent;
    using std::abs;
    for (std::size_t j = 0; j < k; ++j) {
        const auto jj = static_cast<Eigen::Index>(j);
        if (!(Acc(abs(factor.r(jj, jj))) > Acc(kDependenceTolerance<T>) * factor.norms[j])) {
            dependent.push_back(j);
        }
    }
    if (!dependent.empty()) return {std::nullopt, FitError::RankDeficient, std::move(dependent)};

    const Matrix<W> r = factor.r.topLeftCorner(kk, kk);
    const Vector<W> start =
        r.template triangularView<Eigen::Upper>().solve(Vector<W>(factor.r.col(kk).head(kk)));
    std::vector<Acc> b(k);
    for (std::size_t j = 0; j < k; ++j) b[j] = Acc(start(static_cast<Eigen::Index>(j)));

    // One step of refinement on the semi-normal equations R'R d = X'e, with e in Acc: it
    // recovers the digits the factorisation in W lost to the rounding of W.
    const std::vector<Acc> cross = CrossResiduals(columns, data.dependent, b);
    Vector<W> rhs(kk);
    for (std::size_t j = 0; j < k; ++j) rhs(static_cast<Eigen::Index>(j)) = W(cross[j]);
    const Vector<W> step = SolveNormal(r, rhs);
    for (std::size_t j = 0; j < k; ++j) b[j] += Acc(step(static_cast<Eigen::Index>(j)));

    const Acc count = Acc(n);
    const Acc mean = factor.sumDependent / count;
    const ResidualSums<Acc> sums = SumResiduals(columns, data.dependent, b, mean);
    using std::isfinite;
    if (!isfinite(sums.squared) || !isfinite(sums.squaredDeviation)) {
        return {std::nullopt, FitError::NonFiniteValue, {}};
    }
    const Acc residualDf = Acc(n - k);
    const Acc variance = sums.squared / residualDf;
    using std::log;
    using std::sqrt;

    OlsResult result;
    result.observations = n;
    result.parameters = k;
    result.meanDependent = static_cast<Real>(mean);
    result.sdDependent = static_cast<Real>(sqrt(sums.squaredDeviation / Acc(n - 1)));
    result.sumSquaredResiduals = static_cast<Real>(sums.squared);
    result.varianceResiduals = static_cast<Real>(variance);
    result.standardErrorOfRegression = static_cast<Real>(sqrt(variance));
    const Acc rawSquares = sums.squaredDeviation + count * mean * mean;
    result.uncenteredRSquared = static_cast<Real>(Acc(1) - sums.squared / rawSquares);
    const bool constant = data.constantAt.has_value();
    Acc rSquared;
    if (constant) {
        rSquared = Acc(1) - sums.squared / sums.squaredDeviation;
    } else {
        const Acc fittedVariation = sums.fittedSquared - sums.fittedSum * sums.fittedSum / count;
        rSquared = sums.fittedCross * sums.fittedCross / (sums.squaredDeviation * fittedVariation);
    }
    result.rSquared = static_cast<Real>(rSquared);
    result.adjustedRSquared =
        static_cast<Real>(Acc(1) - (Acc(1) - rSquared) * Acc(n - 1) / residualDf);
    result.durbinWatson = static_cast<Real>(sums.squaredChange / sums.squared);
    const Real df = static_cast<Real>(n - k);
    if (constant && k > 1) {
        const Acc slopes = Acc(k - 1);
        const Acc f = ((sums.squaredDeviation - sums.squared) / slopes) / variance;
        result.fStatistic = static_cast<Real>(f);
        result.fPValue = FUpperTail(*result.fStatistic, static_cast<Real>(k - 1), df);
    }
    result.logLikelihood = static_cast<Real>(
        -count / 2 *
        (Acc(1) + log(2 * Acc(std::numbers::pi_v<long double>)) + log(sums.squared / count)));

    // Covariance s² R⁻¹R⁻ᵀ.
    const Matrix<W> inverse =
        r.template triangularView<Eigen::Upper>().solve(Matrix<W>::Identity(kk, kk));
    const Matrix<W> unscaled = inverse * inverse.transpose();
    result.covariance.resize(k * k);
    result.coefficients.resize(k);
    for (std::size_t i = 0; i < k; ++i) {
        for (std::size_t j = 0; j < k; ++j) {
            const auto value =
                Acc(unscaled(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(j)));
            result.covariance[i * k + j] = static_cast<Real>(variance * value);
        }
        Coefficient& c = result.coefficients[i];
        c.estimate = static_cast<Real>(b[i]);
        c.standardError = static_cast<Real>(sqrt(
            variance * Acc(unscaled(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(i)))));
        c.tStatistic = c.estimate / c.standardError;
        c.pValue = TTwoSided(c.tStatistic, df);
    }
    return {std::move(result), FitError::None, {}};
}

}  // namespace

OlsOutcome FitOls(const RegressionData<Real>& data) { return Fit(data); }
OlsOutcome FitOls(const RegressionData<double>& data) { return Fit(data); }

}  // namespace tamvel::engine
