// The least-squares fit against the certified values of the NIST StRD linear problems. The
// data and the certified figures come from the .dat files themselves; polynomial terms are
// computed from x in long double, as GENR computes them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/regression.h"

namespace tamvel::engine {
namespace {

struct Certified {
    std::vector<long double> estimates;
    std::vector<long double> standardErrors;
    long double residualSd = 0;
    long double rSquared = 0;
    bool constant = false;
    std::vector<std::vector<long double>> rows;  // y then the predictors, as in the file
};

// A whole field as a number, if it is one.
std::optional<long double> Number(const std::string& field) {
    char* end = nullptr;
    const long double value = std::strtold(field.c_str(), &end);
    if (field.empty() || *end != '\0') return std::nullopt;
    return value;
}

std::vector<std::string> Fields(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    for (std::string field; in >> field;) fields.push_back(field);
    return fields;
}

Certified ReadProblem(const std::string& name) {
    std::ifstream in(std::string(TAMVEL_ENGINE_DATA_DIR) + "/" + name + ".dat");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    Certified problem;
    std::size_t first = 0;
    std::size_t last = 0;
    for (const std::string& line : lines) {
        const std::vector<std::string> fields = Fields(line);
        if (fields.empty()) continue;
        const std::optional<long double> lastNumber = Number(fields.back());
        const std::size_t range = line.find("Data");
        if (first == 0 && range != std::string::npos && line.find("(lines") != std::string::npos) {
            std::sscanf(line.c_str() + line.find("(lines"), "(lines %zu to %zu)", &first, &last);
        } else if (fields.size() == 3 && fields[0].size() > 1 && fields[0][0] == 'B' &&
                   Number(fields[0].substr(1)) && Number(fields[1]) && lastNumber) {
            if (problem.estimates.empty()) problem.constant = fields[0] == "B0";
            problem.estimates.push_back(*Number(fields[1]));
            problem.standardErrors.push_back(*lastNumber);
        } else if (line.find("Standard Deviation") != std::string::npos && lastNumber) {
            problem.residualSd = *lastNumber;
        } else if (line.find("R-Squared") != std::string::npos && lastNumber) {
            problem.rSquared = *lastNumber;
        }
    }
    for (std::size_t i = first; i <= last && i <= lines.size(); ++i) {
        std::vector<long double> row;
        for (const std::string& field : Fields(lines[i - 1])) {
            row.push_back(Number(field).value_or(std::numeric_limits<long double>::quiet_NaN()));
        }
        if (!row.empty()) problem.rows.push_back(row);
    }
    return problem;
}

// Digits of agreement (log relative error); against a certified zero, absolute digits.
// Capped at 15, the digits the certified values carry.
double Lre(long double estimate, long double certified) {
    const long double error = certified == 0
                                  ? std::fabs(estimate)
                                  : std::fabs(estimate - certified) / std::fabs(certified);
    if (error == 0) return 15;
    return std::min(15.0, -std::log10(static_cast<double>(error)));
}

class NistProblem : public testing::TestWithParam<const char*> {};

TEST_P(NistProblem, MeetsEveryCertifiedValueToNineDigits) {
    const std::string name = GetParam();
    const Certified problem = ReadProblem(name);
    ASSERT_FALSE(problem.rows.empty()) << name << ": no data read";
    ASSERT_FALSE(problem.estimates.empty()) << name << ": no certified values read";

    const std::size_t n = problem.rows.size();
    const std::size_t predictors = problem.rows.front().size() - 1;
    const std::size_t slopes = problem.estimates.size() - (problem.constant ? 1 : 0);
    std::vector<long double> y(n);
    std::vector<std::vector<long double>> columns(slopes, std::vector<long double>(n));
    for (std::size_t i = 0; i < n; ++i) {
        y[i] = problem.rows[i][0];
        for (std::size_t j = 0; j < slopes; ++j) {
            // One predictor with several slopes: the polynomial x, x**2, ...
            columns[j][i] = predictors == 1
                                ? std::pow(problem.rows[i][1], static_cast<long double>(j + 1))
                                : problem.rows[i][j + 1];
        }
    }
    RegressionData<Real> data;
    data.dependent = y;
    for (const auto& column : columns) data.regressors.emplace_back(column);
    if (problem.constant) data.constantAt = 0;

    const OlsOutcome outcome = FitOls(data);
    ASSERT_EQ(outcome.error, FitError::None) << name;
    const OlsResult& fit = *outcome.result;
    ASSERT_EQ(fit.coefficients.size(), problem.estimates.size()) << name;
    for (std::size_t j = 0; j < fit.coefficients.size(); ++j) {
        const std::string b = "B" + std::to_string(j + (problem.constant ? 0 : 1));
        EXPECT_GE(Lre(fit.coefficients[j].estimate, problem.estimates[j]), 9)
            << name << " " << b << " estimate "
            << static_cast<double>(fit.coefficients[j].estimate);
        EXPECT_GE(Lre(fit.coefficients[j].standardError, problem.standardErrors[j]), 9)
            << name << " " << b << " standard error "
            << static_cast<double>(fit.coefficients[j].standardError);
    }
    EXPECT_GE(Lre(fit.standardErrorOfRegression, problem.residualSd), 9)
        << name << " residual standard deviation "
        << static_cast<double>(fit.standardErrorOfRegression);
    // NIST certifies the uncentered R² for a regression through the origin.
    const Real r2 = problem.constant ? fit.rSquared : fit.uncenteredRSquared;
    EXPECT_GE(Lre(r2, problem.rSquared), 9) << name << " R-squared " << static_cast<double>(r2);
}

INSTANTIATE_TEST_SUITE_P(StRD, NistProblem,
                         testing::Values("Norris", "Pontius", "NoInt1", "NoInt2", "Filip",
                                         "Longley", "Wampler1", "Wampler2", "Wampler3", "Wampler4",
                                         "Wampler5"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return info.param;
                         });

}  // namespace
}  // namespace tamvel::engine
