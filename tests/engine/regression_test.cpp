// The least-squares fit beyond the certified estimates: the statistics TSP prints, both
// precisions, and the fits that cannot be made.

#include "engine/regression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace tamvel::engine {
namespace {

// Longley's data (NIST StRD): y, then x1 ... x6.
const std::vector<std::vector<long double>> kLongley = {
    {60323, 83.0, 234289, 2356, 1590, 107608, 1947},
    {61122, 88.5, 259426, 2325, 1456, 108632, 1948},
    {60171, 88.2, 258054, 3682, 1616, 109773, 1949},
    {61187, 89.5, 284599, 3351, 1650, 110929, 1950},
    {63221, 96.2, 328975, 2099, 3099, 112075, 1951},
    {63639, 98.1, 346999, 1932, 3594, 113270, 1952},
    {64989, 99.0, 365385, 1870, 3547, 115094, 1953},
    {63761, 100.0, 363112, 3578, 3350, 116219, 1954},
    {66019, 101.2, 397469, 2904, 3048, 117388, 1955},
    {67857, 104.6, 419180, 2822, 2857, 118734, 1956},
    {68169, 108.4, 442769, 2936, 2798, 120445, 1957},
    {66513, 110.8, 444546, 4681, 2637, 121950, 1958},
    {68655, 112.6, 482704, 3813, 2552, 123366, 1959},
    {69564, 114.2, 502601, 3931, 2514, 125368, 1960},
    {69331, 115.7, 518173, 4806, 2572, 127852, 1961},
    {70551, 116.9, 554894, 4007, 2827, 130081, 1962},
};

// Columns of the Longley data: 0 is y.
std::vector<long double> LongleyColumn(std::size_t j) {
    std::vector<long double> column;
    for (const auto& row : kLongley) column.push_back(row[j]);
    return column;
}

void ExpectRelative(long double actual, long double expected, long double tolerance,
                    const char* what) {
    EXPECT_NEAR(static_cast<double>(actual / expected), 1.0, static_cast<double>(tolerance))
        << what << ": " << static_cast<double>(actual) << " against "
        << static_cast<double>(expected);
}

// Figures from gretl 2022c (gretlcli, `ols y const x1 ... x6` on the Longley data as a time
// series, printed to 15 digits), computed once and kept here.
TEST(FitOls, LongleyGivesTheStatisticsGretlGives) {
    std::vector<std::vector<long double>> columns;
    for (std::size_t j = 1; j <= 6; ++j) columns.push_back(LongleyColumn(j));
    const std::vector<long double> y = LongleyColumn(0);
    RegressionData<Real> data;
    data.dependent = y;
    for (const auto& column : columns) data.regressors.emplace_back(column);
    data.constantAt = 6;  // listed last: its row must come last

    const OlsOutcome outcome = FitOls(data);
    ASSERT_EQ(outcome.error, FitError::None);
    const OlsResult& fit = *outcome.result;
    EXPECT_EQ(fit.observations, 16u);
    EXPECT_EQ(fit.parameters, 7u);
    ExpectRelative(fit.coefficients[6].estimate, -3482258.63459582L, 1e-12, "constant");
    ExpectRelative(fit.coefficients[0].estimate, 15.0618722713733L, 1e-12, "x1");
    ExpectRelative(fit.meanDependent, 65317, 1e-15, "mean");
    ExpectRelative(fit.sdDependent, 3511.96835596982L, 1e-12, "s.d.");
    ExpectRelative(fit.sumSquaredResiduals, 836424.05550413L, 1e-9, "SSR");
    ExpectRelative(fit.varianceResiduals, 92936.0061671255L, 1e-9, "variance");
    ExpectRelative(fit.standardErrorOfRegression, 304.85407356164L, 1e-9, "SER");
    ExpectRelative(fit.rSquared, 0.995479004577305L, 1e-12, "R2");
    ExpectRelative(fit.adjustedRSquared, 0.992465007628842L, 1e-12, "adjusted R2");
    ExpectRelative(fit.durbinWatson, 2.55948768928365L, 1e-9, "DW");
    ASSERT_TRUE(fit.fStatistic && fit.fPValue);
    ExpectRelative(*fit.fStatistic, 330.285339235296L, 1e-9, "F");
    ExpectRelative(*fit.fPValue, 4.98403052867701e-10L, 1e-9, "F p-value");
    ExpectRelative(fit.logLikelihood, -109.617434808463L, 1e-12, "log likelihood");
    const long double pValues[] = {0.863140832807L,    0.312681061091L, 0.00253509173409L,
                                   0.000944366764154L, 0.826211795763L, 0.0030368033416L,
                                   0.00356040366369L};
    for (std::size_t j = 0; j < 7; ++j) {
        SCOPED_TRACE(j);
        ExpectRelative(fit.coefficients[j].pValue, pValues[j], 1e-9, "p-value");
        ExpectRelative(fit.coefficients[j].tStatistic,
                       fit.coefficients[j].estimate / fit.coefficients[j].standardError, 1e-15,
                       "t");
        ExpectRelative(fit.covariance[j * 7 + j],
                       fit.coefficients[j].standardError * fit.coefficients[j].standardError, 1e-15,
                       "covariance diagonal");
    }
}

// Without a constant: R-squared is the squared correlation of actual and fitted values; the
// uncentered figure is kept beside it; no F test of the slopes. Both R-squared figures from
// gretl (`ols y x1 x2`: $rsq, and corr(y, $yhat)^2).
TEST(FitOls, WithoutConstantReportsBothRSquaredAndNoF) {
    const std::vector<long double> y = LongleyColumn(0), x1 = LongleyColumn(1),
                                   x2 = LongleyColumn(2);
    RegressionData<Real> data{y, {x1, x2}, std::nullopt};
    const OlsOutcome outcome = FitOls(data);
    ASSERT_EQ(outcome.error, FitError::None);
    ExpectRelative(outcome.result->rSquared, 0.849944438169356L, 1e-12, "R2");
    ExpectRelative(outcome.result->uncenteredRSquared, 0.999532428711112L, 1e-12, "uncentered R2");
    EXPECT_FALSE(outcome.result->fStatistic);
    EXPECT_FALSE(outcome.result->fPValue);
}

// The double path factors by blocks of rows; over many blocks, with a length that is not a
// multiple of the block and the constant inside the list, it must agree with the extended one.
TEST(FitOls, DoubleAndExtendedPathsAgreeOverManyBlocks) {
    const std::size_t n = 10007;
    std::vector<double> y(n), x1(n), x2(n), x3(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i);
        x1[i] = std::sin(0.37 * t) * 100;
        x2[i] = 1000 + t / 10;
        x3[i] = std::cos(1.3 * t) + 0.001 * t;
        y[i] = 3 + 2 * x1[i] - 0.5 * x2[i] + 7 * x3[i] + std::sin(12.9898 * t) * 5;
    }
    const std::vector<long double> ly(y.begin(), y.end()), l1(x1.begin(), x1.end()),
        l2(x2.begin(), x2.end()), l3(x3.begin(), x3.end());
    const OlsOutcome fast = FitOls(RegressionData<double>{y, {x1, x2, x3}, 1});
    const OlsOutcome exact = FitOls(RegressionData<Real>{ly, {l1, l2, l3}, 1});
    ASSERT_EQ(fast.error, FitError::None);
    ASSERT_EQ(exact.error, FitError::None);
    const OlsResult& a = *fast.result;
    const OlsResult& b = *exact.result;
    for (std::size_t j = 0; j < 4; ++j) {
        SCOPED_TRACE(j);
        ExpectRelative(a.coefficients[j].estimate, b.coefficients[j].estimate, 1e-11, "estimate");
        ExpectRelative(a.coefficients[j].standardError, b.coefficients[j].standardError, 1e-11,
                       "s.e.");
    }
    ExpectRelative(b.coefficients[1].estimate, 3, 1e-2, "constant at position 1");
    ExpectRelative(a.sumSquaredResiduals, b.sumSquaredResiduals, 1e-12, "SSR");
    ExpectRelative(a.durbinWatson, b.durbinWatson, 1e-12, "DW");
    ExpectRelative(a.rSquared, b.rSquared, 1e-14, "R2");
}

// Durbin-Watson skips the change across a gap (a missing value, a new SMPL range). On the
// constant alone the residuals are y - ȳ, so the statistic can be summed by hand.
TEST(FitOls, DurbinWatsonSkipsGaps) {
    const std::vector<long double> y = {1, 4, 2, 8, 5, 7, 3, 6};
    const long double mean = 4.5L;
    const std::vector<std::size_t> gaps = {3, 6};
    long double change = 0, squares = 0;
    for (std::size_t i = 0; i < y.size(); ++i) {
        squares += (y[i] - mean) * (y[i] - mean);
        if (i > 0 && i != 3 && i != 6) change += (y[i] - y[i - 1]) * (y[i] - y[i - 1]);
    }
    const RegressionData<Real> data{y, {}, 0};
    const OlsOutcome outcome = FitOls(data, gaps);
    ASSERT_EQ(outcome.error, FitError::None);
    ExpectRelative(outcome.result->durbinWatson, change / squares, 1e-15, "DW with gaps");
    ExpectRelative(outcome.result->coefficients[0].estimate, mean, 1e-15, "mean");
}

// Fits that cannot be made, in both precisions: the reason, and for a rank deficiency the
// columns (list positions, constant included) that depend on earlier ones.
template <class T>
void ExpectFitErrors() {
    const std::size_t n = 12;
    std::vector<T> y(n), x1(n), x2(n), sum(n), ones(n, T(1)), zeros(n, T(0)), shortColumn(n - 1);
    for (std::size_t i = 0; i < n; ++i) {
        x1[i] = T(i) / 3;
        x2[i] = T(i * i % 7) / 7;
        sum[i] = x1[i] + x2[i];
        y[i] = 1 + x1[i] + T(i % 2);
    }
    std::vector<T> withNaN = x1;
    withNaN[5] = std::numeric_limits<T>::quiet_NaN();
    std::vector<T> withInf = y;
    withInf[0] = std::numeric_limits<T>::infinity();
    std::vector<T> three(y.begin(), y.begin() + 3), threeX(x1.begin(), x1.begin() + 3);

    struct Case {
        const char* name;
        RegressionData<T> data;
        FitError error;
        std::vector<std::size_t> columns;
    };
    const Case cases[] = {
        {"sum of two columns", {y, {x1, x2, sum}, 0}, FitError::RankDeficient, {3}},
        {"a column of ones beside the constant", {y, {x1, ones}, 0}, FitError::RankDeficient, {2}},
        {"a zero column", {y, {zeros, x1}, std::nullopt}, FitError::RankDeficient, {0}},
        {"a repeated column", {y, {x1, x2, x1}, 1}, FitError::RankDeficient, {3}},
        {"as many observations as parameters",
         {three, {threeX, threeX}, 0},
         FitError::TooFewObservations,
         {}},
        {"an empty list", {y, {}, std::nullopt}, FitError::NoRegressors, {}},
        {"a short column", {y, {x1, shortColumn}, 0}, FitError::LengthMismatch, {}},
        {"a NaN", {y, {withNaN}, 0}, FitError::NonFiniteValue, {}},
        {"an infinity", {withInf, {x1}, 0}, FitError::NonFiniteValue, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const OlsOutcome outcome = FitOls(c.data);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_FALSE(outcome.result);
        EXPECT_EQ(outcome.dependentColumns, c.columns);
    }
}

TEST(FitOls, ReportsWhyAFitCannotBeMade) {
    {
        SCOPED_TRACE("long double");
        ExpectFitErrors<Real>();
    }
    {
        SCOPED_TRACE("double");
        ExpectFitErrors<double>();
    }
}

}  // namespace
}  // namespace tamvel::engine
