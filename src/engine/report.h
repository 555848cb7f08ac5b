#pragma once
// The layout of results in the result file, as TSP prints them: an equation's heading, its
// statistics as labels aligned on '=' in two columns, and its coefficient table; tables of
// univariate statistics, correlations and series. Lines without line ends, CP932.

#include <string>
#include <vector>

#include "engine/number_format.h"
#include "engine/regression.h"

namespace tamvel::engine {

/// Lines of the result file's body.
using ReportLines = std::vector<std::string>;

/// What an equation's heading names.
struct EquationHeading {
    int number = 1;
    std::string method;     ///< "Ordinary Least Squares"
    std::string dependent;  ///< the dependent variable's name
    std::string sample;     ///< the sample as FormatSample writes it
};

/// A label and its value, for the statistics block.
struct LabelledValue {
    std::string label;
    std::string value;
};

/// The heading of an equation: its number, method, dependent variable, sample and number
/// of observations.
void AppendEquationHeading(ReportLines& out, const EquationHeading& heading,
                           std::size_t observations);

/// Two columns of statistics, each aligned on its '='.
void AppendStatistics(ReportLines& out, const std::vector<LabelledValue>& left,
                      const std::vector<LabelledValue>& right);

/// The statistics of a fit's left column, for any fit with those figures (a least-squares
/// fit, each panel estimate).
template <class Fit>
std::vector<LabelledValue> SummaryStatistics(const Fit& fit, int digits) {
    auto number = [&](Real value) { return FormatNumber(value, digits); };
    return {
        {"Mean of dep. var.", number(fit.meanDependent)},
        {"Std. dev. of dep. var.", number(fit.sdDependent)},
        {"Sum of squared residuals", number(fit.sumSquaredResiduals)},
        {"Variance of residuals", number(fit.varianceResiduals)},
        {"Std. error of regression", number(fit.standardErrorOfRegression)},
        {"R-squared", number(fit.rSquared)},
        {"Adjusted R-squared", number(fit.adjustedRSquared)},
    };
}

/// The statistics TSP prints for a least-squares fit, ready for AppendStatistics.
void OlsStatistics(const OlsResult& fit, int digits, std::vector<LabelledValue>& left,
                   std::vector<LabelledValue>& right);

/// The coefficient table: one row per regressor, its name, estimate, standard error,
/// t-statistic and p-value.
void AppendCoefficientTable(ReportLines& out, const std::vector<std::string>& names,
                            const std::vector<Coefficient>& coefficients, int digits);

/// A table with a name column and numeric columns under headings (MSD, CORR, PRINT).
void AppendTable(ReportLines& out, const std::string& corner,
                 const std::vector<std::string>& headings, const std::vector<std::string>& rowNames,
                 const std::vector<std::vector<std::string>>& cells);

}  // namespace tamvel::engine
