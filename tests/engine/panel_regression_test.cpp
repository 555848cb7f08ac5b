// The panel estimators against gretl on the Grunfeld data (gretl-data's grunfeld.gdt, stored
// as tests/engine/data/grunfeld.csv by gretl itself), balanced and with six observations left
// out, and the fits that cannot be made.

#include "engine/panel_regression.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tamvel::engine {
namespace {

// The Grunfeld panel: 10 firms, 1935-1954.
struct Grunfeld {
    std::vector<Real> firm, year, invest, value, kstock;

    PanelData Data() const { return {invest, {value, kstock}, firm}; }
};

Grunfeld ReadGrunfeld(const std::set<std::pair<int, int>>& leftOut = {}) {
    std::ifstream in(std::string(TAMVEL_ENGINE_DATA_DIR) + "/grunfeld.csv");
    Grunfeld data;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream fields(line);
        long double firm, year, invest, value, kstock;
        if (!(fields >> firm >> year >> invest >> value >> kstock)) continue;
        if (leftOut.count({static_cast<int>(firm), static_cast<int>(year)})) continue;
        data.firm.push_back(firm);
        data.year.push_back(year);
        data.invest.push_back(invest);
        data.value.push_back(value);
        data.kstock.push_back(kstock);
    }
    return data;
}

// Nine significant digits: gretl gives twelve, and the two agree to eleven.
void ExpectClose(long double actual, long double expected, const std::string& what) {
    EXPECT_NEAR(static_cast<double>(actual / expected), 1.0, 1e-9)
        << what << ": " << static_cast<double>(actual) << " against "
        << static_cast<double>(expected);
}

// gretl's figures for one panel: within slopes and SEs, random-effects slopes, constant and
// SEs, the between estimate, σ²_e, θ, the Hausman statistic.
struct GretlFigures {
    const char* name;
    std::set<std::pair<int, int>> leftOut;
    std::size_t observations;
    Real within[2], withinSe[2], withinSsr;
    Real random[3], randomSe[3];
    Real between[3], betweenSe[3], betweenSsr;
    Real sigmaE, theta, hausman, hausmanP, randomRSquared;
};

// From gretlcli 2022c: `open grunfeld.gdt`, `panel invest const value kstock` with
// --fixed-effects, --random-effects and --between, figures printed to 12 digits; the
// unbalanced panel sets invest to NA for the six firm-years left out. The Hausman figures are
// gretl's with --matrix-diff, the textbook form; its default is a regression-based variant.
const GretlFigures kGretl[] = {
    {"balanced",
     {},
     200,
     {0.110123796667, 0.310065341055},
     {0.0118566936361, 0.0173545021318},
     523478.113907,
     {0.109781146531, 0.308112982113, -57.834408798},
     {0.0104926631293, 0.0171804684514, 28.8989349315},
     {0.134646086879, 0.0320314757272, -8.52711415305},
     {0.0287454588706, 0.190937797227, 47.5153073678},
     50603.1604376,
     2784.4580527,
     0.861224,
     2.33036667771,
     0.31186547973,
     0.806104230995},
    {"unbalanced",
     {{1, 1935}, {1, 1936}, {3, 1954}, {7, 1939}, {7, 1940}, {10, 1944}},
     194,
     {0.11989690283, 0.312668452646},
     {0.0121420375146, 0.0177693332321},
     488710.277526,
     {0.11733883384, 0.311237750642, -66.1107484176},
     {0.0106674646521, 0.0176224046467, 28.9505917597},
     {0.135748384956, 0.0606417723285, -15.5079541248},
     {0.0296795696373, 0.186118561251, 46.0172515639},
     50329.8056739,
     2685.22130509,
     0.861162,
     2.22596372416,
     0.328577725389,
     0.816533920213},
};

TEST(FitPanel, AgreesWithGretlOnGrunfeld) {
    for (const GretlFigures& gretl : kGretl) {
        SCOPED_TRACE(gretl.name);
        const Grunfeld grunfeld = ReadGrunfeld(gretl.leftOut);
        ASSERT_EQ(grunfeld.invest.size(), gretl.observations);
        const PanelOutcome outcome = FitPanel(grunfeld.Data());
        ASSERT_EQ(outcome.error, PanelError::None);
        const PanelResult& panel = *outcome.result;
        EXPECT_EQ(panel.units, 10u);
        EXPECT_EQ(panel.balanced, gretl.leftOut.empty());
        ASSERT_TRUE(panel.within.result && panel.between.result && panel.randomEffects.result);
        const OlsResult& within = *panel.within.result;
        const OlsResult& between = *panel.between.result;
        const OlsResult& random = *panel.randomEffects.result;
        ASSERT_EQ(within.coefficients.size(), 2u);
        ASSERT_EQ(random.coefficients.size(), 3u);
        ASSERT_EQ(between.coefficients.size(), 3u);
        for (std::size_t j = 0; j < 2; ++j) {
            ExpectClose(within.coefficients[j].estimate, gretl.within[j],
                        "within b" + std::to_string(j));
            ExpectClose(within.coefficients[j].standardError, gretl.withinSe[j],
                        "within se" + std::to_string(j));
        }
        for (std::size_t j = 0; j < 3; ++j) {
            ExpectClose(random.coefficients[j].estimate, gretl.random[j],
                        "random b" + std::to_string(j));
            ExpectClose(random.coefficients[j].standardError, gretl.randomSe[j],
                        "random se" + std::to_string(j));
            ExpectClose(between.coefficients[j].estimate, gretl.between[j],
                        "between b" + std::to_string(j));
            ExpectClose(between.coefficients[j].standardError, gretl.betweenSe[j],
                        "between se" + std::to_string(j));
        }
        ExpectClose(within.sumSquaredResiduals, gretl.withinSsr, "within SSR");
        ExpectClose(within.varianceResiduals, gretl.sigmaE, "within sigma2");
        ExpectClose(between.sumSquaredResiduals, gretl.betweenSsr, "between SSR");
        ASSERT_TRUE(panel.components);
        ExpectClose(panel.components->idiosyncratic, gretl.sigmaE, "sigma2 e");
        // gretl prints θ to six decimals only.
        EXPECT_NEAR(static_cast<double>(panel.components->theta), static_cast<double>(gretl.theta),
                    5e-7);
        ExpectClose(random.rSquared, gretl.randomRSquared, "random R2");
        ASSERT_TRUE(panel.hausman);
        EXPECT_EQ(panel.hausman->degreesOfFreedom, 2u);
        ExpectClose(panel.hausman->statistic, gretl.hausman, "Hausman");
        ExpectClose(panel.hausman->pValue, gretl.hausmanP, "Hausman p");
    }
}

// The units' observations need not be adjacent: any order of the rows gives the same fit.
TEST(FitPanel, DoesNotDependOnTheOrderOfObservations) {
    const Grunfeld grunfeld = ReadGrunfeld({{2, 1950}, {5, 1935}});
    Grunfeld shuffled = grunfeld;
    const std::size_t n = grunfeld.invest.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t from = (i * 37) % n;  // 37 is prime to n = 198
        shuffled.firm[i] = grunfeld.firm[from];
        shuffled.invest[i] = grunfeld.invest[from];
        shuffled.value[i] = grunfeld.value[from];
        shuffled.kstock[i] = grunfeld.kstock[from];
    }
    const PanelOutcome a = FitPanel(grunfeld.Data());
    const PanelOutcome b = FitPanel(shuffled.Data());
    ASSERT_TRUE(a.result && b.result);
    for (const auto estimator : {&PanelResult::total, &PanelResult::between, &PanelResult::within,
                                 &PanelResult::randomEffects}) {
        const OlsOutcome& x = (*a.result).*estimator;
        const OlsOutcome& y = (*b.result).*estimator;
        ASSERT_TRUE(x.result && y.result);
        for (std::size_t j = 0; j < x.result->coefficients.size(); ++j) {
            ExpectClose(y.result->coefficients[j].estimate, x.result->coefficients[j].estimate,
                        "estimate");
            ExpectClose(y.result->coefficients[j].standardError,
                        x.result->coefficients[j].standardError, "standard error");
        }
    }
}

// What cannot be estimated is reported, estimator by estimator, and the rest still is.
TEST(FitPanel, ReportsTheEstimatesThatCannotBeMade) {
    const Grunfeld grunfeld = ReadGrunfeld();
    const std::size_t n = grunfeld.invest.size();
    // A firm-level regressor: constant within every firm.
    std::vector<Real> firmSize(n);
    for (std::size_t i = 0; i < n; ++i) firmSize[i] = grunfeld.firm[i] * 0.1L;
    {
        SCOPED_TRACE("a regressor constant within units");
        const PanelOutcome outcome =
            FitPanel({grunfeld.invest, {grunfeld.value, firmSize}, grunfeld.firm});
        ASSERT_TRUE(outcome.result);
        EXPECT_TRUE(outcome.result->total.result);
        EXPECT_TRUE(outcome.result->between.result);
        EXPECT_EQ(outcome.result->within.error, FitError::RankDeficient);
        EXPECT_EQ(outcome.result->within.dependentColumns, std::vector<std::size_t>{1});
        EXPECT_FALSE(outcome.result->randomEffects.result);
        EXPECT_EQ(outcome.result->randomEffects.error, FitError::RankDeficient);
        EXPECT_FALSE(outcome.result->hausman);
    }
    {
        SCOPED_TRACE("three units for two slopes and a constant");
        std::vector<Real> threeFirms(grunfeld.firm.begin(), grunfeld.firm.end());
        for (Real& id : threeFirms) id = std::min(id, Real(3));
        const PanelOutcome outcome =
            FitPanel({grunfeld.invest, {grunfeld.value, grunfeld.kstock}, threeFirms});
        ASSERT_TRUE(outcome.result);
        EXPECT_EQ(outcome.result->units, 3u);
        EXPECT_FALSE(outcome.result->balanced);
        EXPECT_TRUE(outcome.result->total.result);
        EXPECT_TRUE(outcome.result->within.result);
        EXPECT_EQ(outcome.result->between.error, FitError::TooFewObservations);
        EXPECT_EQ(outcome.result->randomEffects.error, FitError::TooFewObservations);
    }
    {
        SCOPED_TRACE("no observations");
        const std::vector<Real> none;
        const PanelOutcome outcome = FitPanel({none, {none}, none});
        ASSERT_TRUE(outcome.result);
        EXPECT_EQ(outcome.result->units, 0u);
        for (const OlsOutcome* fit : {&outcome.result->total, &outcome.result->between,
                                      &outcome.result->within, &outcome.result->randomEffects}) {
            EXPECT_EQ(fit->error, FitError::TooFewObservations);
        }
    }
    std::vector<Real> badUnit = grunfeld.firm;
    badUnit[7] = std::numeric_limits<Real>::quiet_NaN();
    const std::vector<Real> shortUnit(grunfeld.firm.begin(), grunfeld.firm.end() - 1);
    struct Case {
        const char* name;
        PanelData data;
        PanelError error;
    };
    const Case cases[] = {
        {"no regressors", {grunfeld.invest, {}, grunfeld.firm}, PanelError::NoRegressors},
        {"a short unit series",
         {grunfeld.invest, {grunfeld.value}, shortUnit},
         PanelError::LengthMismatch},
        {"a NaN unit", {grunfeld.invest, {grunfeld.value}, badUnit}, PanelError::NonFiniteValue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PanelOutcome outcome = FitPanel(c.data);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_FALSE(outcome.result);
    }
}

}  // namespace
}  // namespace tamvel::engine
