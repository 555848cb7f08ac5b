// Certified NIST StRD problems through the language, end to end: READ the data file as NIST
// ships it (from its "Data:" line, which is read as the header row), GENR the polynomial
// terms, OLSQ with fifteen significant digits printed, and every estimate, standard error,
// the residual standard deviation and R-squared read back from the result file agree with
// the certified values to at least nine digits.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "engine_run.h"

namespace tamvel::engine {
namespace {

struct CertifiedProblem {
    const char* file;
    const char* program;  ///< after OPTIONS SIGNIF=15; and the READ of nist.txt
    std::vector<const char*> names;
    std::vector<long double> estimates;
    std::vector<long double> standardErrors;
    long double residualSd;
    long double rSquared;
};

void PrintTo(const CertifiedProblem& p, std::ostream* os) { *os << p.file; }

const CertifiedProblem kProblems[] = {
    {"Longley",
     "READ(FILE='nist.txt') Y X1 X2 X3 X4 X5 X6; OLSQ Y C X1 X2 X3 X4 X5 X6;",
     {"C", "X1", "X2", "X3", "X4", "X5", "X6"},
     {-3482258.63459582L, 15.0618722713733L, -0.358191792925910E-01L, -2.02022980381683L,
      -1.03322686717359L, -0.511041056535807E-01L, 1829.15146461355L},
     {890420.383607373L, 84.9149257747669L, 0.334910077722432E-01L, 0.488399681651699L,
      0.214274163161675L, 0.226073200069370L, 455.478499142212L},
     304.854073561965L,
     0.995479004577296L},
    {"Wampler5",
     "READ(FILE='nist.txt') Y X; X2 = X**2; X3 = X**3; X4 = X*X3; X5 = X**5;\n"
     "OLSQ Y C X X2 X3 X4 X5;",
     {"C", "X", "X2", "X3", "X4", "X5"},
     {1, 1, 1, 1, 1, 1},
     {21523262.4678170L, 23635517.3469681L, 7793435.24331583L, 1014755.07550350L, 56456.6512170752L,
      1123.24854679312L},
     23601450.2379268L,
     0.224668921574940E-02L},
    {"Filip",
     "READ(FILE='nist.txt') Y X;\n"
     "X2 = X**2; X3 = X**3; X4 = X**4; X5 = X**5; X6 = X**6; X7 = X**7; X8 = X**8;\n"
     "X9 = X**9; X10 = X**10; OLSQ Y C X X2 X3 X4 X5 X6 X7 X8 X9 X10;",
     {"C", "X", "X2", "X3", "X4", "X5", "X6", "X7", "X8", "X9", "X10"},
     {-1467.48961422980L, -2772.17959193342L, -2316.37108160893L, -1127.97394098372L,
      -354.478233703349L, -75.1242017393757L, -10.8753180355343L, -1.06221498588947L,
      -0.670191154593408E-01L, -0.246781078275479E-02L, -0.402962525080404E-04L},
     {298.084530995537L, 559.779865474950L, 466.477572127796L, 227.204274477751L, 71.6478660875927L,
      15.2897178747400L, 2.23691159816033L, 0.221624321934227L, 0.142363763154724E-01L,
      0.535617408889821E-03L, 0.896632837373868E-05L},
     0.334801051324544E-02L,
     0.996727416185620L},
};

// Digits of agreement: the log of the relative error.
double Digits(long double value, long double certified) {
    const long double error = std::fabs(value - certified) / std::fabs(certified);
    return error == 0 ? 15 : -std::log10(static_cast<double>(error));
}

class CertifiedThroughTheLanguage : public ::testing::TestWithParam<CertifiedProblem> {};

TEST_P(CertifiedThroughTheLanguage, AgreesToNineDigits) {
    const CertifiedProblem& p = GetParam();
    testing::TempFolder folder;
    // The file from its "Data:" line (line 60) on.
    std::ifstream in(std::string(TAMVEL_ENGINE_DATA_DIR) + "/" + p.file + ".dat");
    std::string data;
    int number = 0;
    for (std::string line; std::getline(in, line);)
        if (++number >= 60) data += line + "\n";
    folder.Write("nist.txt", data);

    const testing::EngineRun run =
        RunEngine(folder, std::string("OPTIONS SIGNIF=15;\n") + p.program + "\n");
    ASSERT_EQ(run.status, 0) << run.result;
    for (std::size_t i = 0; i < p.names.size(); ++i) {
        const std::vector<std::string> row = run.Row(p.names[i], "Variable");
        ASSERT_GE(row.size(), 3u) << p.names[i] << "\n" << run.result;
        EXPECT_GE(Digits(std::strtold(row[1].c_str(), nullptr), p.estimates[i]), 9.0)
            << p.names[i] << " estimate " << row[1];
        EXPECT_GE(Digits(std::strtold(row[2].c_str(), nullptr), p.standardErrors[i]), 9.0)
            << p.names[i] << " standard error " << row[2];
    }
    EXPECT_GE(Digits(run.Statistic("Std. error of regression"), p.residualSd), 9.0);
    EXPECT_GE(Digits(run.Statistic("R-squared"), p.rSquared), 9.0);
}

INSTANTIATE_TEST_SUITE_P(Engine, CertifiedThroughTheLanguage, ::testing::ValuesIn(kProblems),
                         [](const auto& info) { return std::string(info.param.file); });

}  // namespace
}  // namespace tamvel::engine
