// The result file's layout on one regression: Shift-JIS text with CR LF, a header line,
// the program echoed with line numbers, the statistics aligned on '=' and the coefficient
// table; figures as gretl gives them for the same data.

#include "engine/result_file.h"

#include <gtest/gtest.h>

#include "engine/number_format.h"
#include "engine_run.h"

namespace tamvel::engine {
namespace {

const std::string kProgram = testing::CrLf({
    "OPTIONS CRT;",
    "SMPL 1 8;",
    "READ Y X1 X2 X3;",
    "100 101 102 103 108 110 101 102 100 101 102 102 104 101 109 101",
    "114 107 116 102 109 108 102 103 107 101 109 101 115 101 102 118;",
    "OLSQ Y C X1 X2 X3;",
});

std::vector<std::string> RawLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST(ResultFile, LaysOutAnOlsqAsTspDoes) {
    int errors = -1;
    const std::string text = MakeResultText(kProgram, "model.tsp", errors);
    EXPECT_EQ(errors, 0);
    // Every line ends in CR LF, and no bare LF is left.
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_EQ(text[i - 1], '\r') << "bare line feed at " << i;
        }
    }

    const std::vector<std::string> lines = RawLines(text);
    EXPECT_EQ(lines[0].rfind("Tamvel TSP engine", 0), 0u);
    EXPECT_NE(lines[0].find("model.tsp"), std::string::npos);
    EXPECT_EQ(lines[2], "    1  OPTIONS CRT;");
    EXPECT_EQ(lines[7], "    6  OLSQ Y C X1 X2 X3;");

    // Each column of statistics is aligned on its '=': the labels of one column end at the
    // same place.
    const char* left[] = {"Mean of dep. var.",        "Std. dev. of dep. var.",
                          "Sum of squared residuals", "Variance of residuals",
                          "Std. error of regression", "R-squared",
                          "Adjusted R-squared"};
    const char* right[] = {"Durbin-Watson statistic", "F (zero slopes)", "Log likelihood"};
    auto equalsColumn = [&](const char* label) {
        for (const std::string& line : lines) {
            const std::size_t at = line.find(std::string(label) + " = ");
            if (at != std::string::npos) return at + std::string(label).size() + 1;
        }
        return std::string::npos;
    };
    for (const char* label : left) EXPECT_EQ(equalsColumn(label), equalsColumn(left[0])) << label;
    for (const char* label : right) EXPECT_EQ(equalsColumn(label), equalsColumn(right[0])) << label;
    EXPECT_NE(equalsColumn(left[0]), std::string::npos);
    EXPECT_NE(equalsColumn(right[0]), std::string::npos);

    // Figures as gretl 2022c prints them for these data.
    testing::EngineRun run{0, text};
    EXPECT_TRUE(run.Has("Dependent variable: Y"));
    EXPECT_TRUE(run.Has("Number of observations: 8"));
    EXPECT_TRUE(run.Has("Mean of dep. var. = 107.125"));
    EXPECT_TRUE(run.Has("Std. dev. of dep. var. = 5.66789"));
    EXPECT_TRUE(run.Has("Sum of squared residuals = 12.7983"));
    EXPECT_TRUE(run.Has("Std. error of regression = 1.78873"));
    EXPECT_TRUE(run.Has("R-squared = .943087"));
    EXPECT_TRUE(run.Has("Adjusted R-squared = .900403"));
    EXPECT_TRUE(run.Has("F (zero slopes) = 22.0943 [.006]"));
    EXPECT_TRUE(run.Has("Log likelihood = -13.231"));
    EXPECT_TRUE(run.Has("Variable Coefficient Error t-statistic P-value"));
    EXPECT_EQ(run.Row("C"),
              (std::vector<std::string>{"C", "-145.638", "31.7576", "-4.58593", "[.010]"}));
    EXPECT_EQ(run.Row("X1"),
              (std::vector<std::string>{"X1", ".8948", ".179848", "4.97532", "[.008]"}));
    EXPECT_EQ(run.Row("X2"),
              (std::vector<std::string>{"X2", ".647136", ".132397", "4.88786", "[.008]"}));
    EXPECT_EQ(run.Row("X3"),
              (std::vector<std::string>{"X3", ".882074", ".128917", "6.84219", "[.002]"}));
    EXPECT_EQ(lines.back(), "Run ended without errors.");
}

TEST(ResultFile, IsNamedAfterTheTspFile) {
    EXPECT_EQ(ResultFilePath("/a/model.tsp"), "/a/model.out");
    EXPECT_EQ(ResultFilePath("/a/model.TSP"), "/a/model.out");
    EXPECT_EQ(ResultFilePath("/a/model"), "/a/model.out");
    EXPECT_EQ(ResultFilePath("/a.d/model"), "/a.d/model.out");
    EXPECT_EQ(ResultFilePath("model."), "model.out");
}

TEST(NumberFormat, PrintsSignificantDigitsAsTspDoes) {
    struct Case {
        long double value;
        int digits;
        const char* text;
    };
    const Case cases[] = {
        {519.0329, 6, "519.033"},
        {0.9929993, 6, ".992999"},
        {-0.5, 6, "-.5"},
        {27, 6, "27"},
        {-17.80238, 6, "-17.8024"},
        {0.000429797, 6, ".429797E-03"},
        {3545.79e6, 6, ".354579E+10"},
        {0, 6, "0"},
        {123456.4, 6, "123456"},
        {3.14159, 3, "3.14"},
        {0.0012345, 3, ".00123"},
        {-1e-20L, 4, "-.1E-19"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatNumber(c.value, c.digits), c.text) << c.text;
    EXPECT_EQ(FormatNumber(std::numeric_limits<long double>::quiet_NaN(), 6), ".");
    EXPECT_EQ(FormatPValue(0.0679), "[.068]");
    EXPECT_EQ(FormatPValue(1), "[1.000]");
}

}  // namespace
}  // namespace tamvel::engine
