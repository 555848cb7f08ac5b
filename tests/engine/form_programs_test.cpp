// The programs that the new-program form writes, for each kind of data, source and
// analysis: as written they stop with a message that says what to write; completed as a
// student completes them and given a small data file, they run, and their estimates are
// the ones gretl computes for the same data.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "engine_run.h"
#include "platform/text.h"

namespace tamvel::engine {
namespace {

using testing::EngineRun;
using testing::RunEngine;
using testing::TempFolder;

struct Estimate {
    const char* name;
    long double coefficient;
    long double standardError;
};

struct FormProgram {
    const char* name;
    std::vector<std::string> generated;  ///< the lines as the form writes them
    /// The student's edits: a line of the generated program and what it becomes.
    std::vector<std::pair<std::string, std::string>> completion;
    std::vector<const char*> dataFiles;  ///< from the test data folder
    /// What the uncompleted program says (after "Error in line N: ").
    std::vector<std::string> uncompletedErrors;
    /// The completed program's figures, as gretl 2022c prints them; after `heading` when set.
    std::vector<Estimate> estimates;
    const char* heading = nullptr;
};

void PrintTo(const FormProgram& p, std::ostream* os) { *os << p.name; }

const std::string kPlaceholder = Cp932("ここをデータのファイル名に！");

std::vector<FormProgram> Programs() {
    return {
        {"CrossSectionWithTheExampleData",
         {"OPTIONS CRT;", "FREQ N;", "SMPL 1 8;", "READ;", "OLSQ      C READ;", "END;", "",
          "SMPL 1 8;", "READ  Y   X1  X2  X3;", "      100 101 102 103", "      108 110 101 102",
          "      100 101 102 102", "      104 101 109 101", "      114 107 116 102",
          "      109 108 102 103", "      107 101 109 101", "      115 101 102 118;", "END;"},
         {{"OLSQ      C READ;", "OLSQ      Y C X1 X2 X3;"}},
         {},
         {"Error in line 5: OLSQ: C (the constant) cannot be the dependent variable. Write the "
          "dependent variable's name first and then the regressors, as in OLSQ Y C X1 X2 X3;"},
         {{"C", -145.638L, 31.7576L}, {"X1", 0.894800L, 0.179848L}}},
        {"QuarterlyGeneralFile",
         {"OPTIONS CRT;", "FREQ Q;", "SMPL 1975:1 2003:4;",
          "READ(FILE='" + kPlaceholder + "')  X1 X2 X3 X4;", "OLSQ      C  X2 X3 X4;", "END;", ""},
         {{"READ(FILE='" + kPlaceholder + "')  X1 X2 X3 X4;",
           "READ(FILE='quarterly.csv')  X1 X2 X3 X4;"},
          {"OLSQ      C  X2 X3 X4;", "OLSQ      X1 C  X2 X3 X4;"}},
         {"quarterly.csv"},
         {"Error in line 4: the data file '" + kPlaceholder + "' cannot be read",
          "Error in line 5: OLSQ: C (the constant) cannot be the dependent variable"},
         {{"C", 10.6821L, 2.17833L},
          {"X2", 0.499519L, 0.0100598L},
          {"X3", -0.328817L, 0.0382726L},
          {"X4", 0.799691L, 0.0172696L}}},
        {"AnnualMacroFile",
         {"OPTIONS CRT;", "FREQ A;", "SMPL 1976 2003;", "READ(FILE='annual.txt') Y GDP;",
          "OLSQ      C GDP;", "END;", ""},
         {{"OLSQ      C GDP;", "OLSQ      Y C GDP;"}},
         {"annual.txt"},
         {"Error in line 5: OLSQ: C (the constant) cannot be the dependent variable"},
         {{"C", 28.5165L, 1.54284L}, {"GDP", 0.606174L, 0.00484019L}}},
        {"MonthlyMacroFile",
         {"OPTIONS CRT;", "FREQ M;", "SMPL 1976:1 2003:12;", "READ(FILE='monthly.txt') Y  M1 RATE;",
          "OLSQ      C M1 RATE;", "END;", ""},
         {{"OLSQ      C M1 RATE;", "OLSQ      Y C M1 RATE;"}},
         {"monthly.txt"},
         {"Error in line 5: OLSQ: C (the constant) cannot be the dependent variable"},
         {{"C", 100.264L, 0.991143L},
          {"M1", 0.249906L, 0.000844404L},
          {"RATE", -6.05629L, 0.140216L}}},
        {"PanelFinancialFile",
         {"OPTIONS CRT;", "FREQ(PANEL,ID=CD);", "SMPL 1 150;",
          "READ(FILE='" + kPlaceholder + "') CD Y  SALES COST;", "PANEL      SALES COST;", "END;",
          ""},
         {{"READ(FILE='" + kPlaceholder + "') CD Y  SALES COST;",
           "READ(FILE='fin.csv') CD Y  SALES COST;"},
          {"PANEL      SALES COST;", "PANEL      Y SALES COST;"}},
         {"fin.csv"},
         {"Error in line 4: the data file '" + kPlaceholder + "' cannot be read"},
         {{"SALES", 0.426799L, 0.0125011L}, {"COST", -0.196097L, 0.0163900L}},
         "Within"},
    };
}

std::string Text(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// Six significant digits, as both print them.
void ExpectFigure(const std::string& printed, long double expected, const std::string& what) {
    const long double value = std::strtold(printed.c_str(), nullptr);
    EXPECT_NEAR(static_cast<double>(value), static_cast<double>(expected),
                static_cast<double>(std::fabs(expected)) * 6e-6)
        << what << " printed " << printed;
}

class FormWrittenProgram : public ::testing::TestWithParam<FormProgram> {};

TEST_P(FormWrittenProgram, SaysWhatToWriteThenRunsOnceCompleted) {
    const FormProgram& p = GetParam();
    TempFolder folder;
    for (const char* file : p.dataFiles)
        std::filesystem::copy_file(std::filesystem::path(TAMVEL_ENGINE_DATA_DIR) / file,
                                   folder.Path() / file);

    const EngineRun uncompleted = RunEngine(folder, Text(p.generated), "new.tsp");
    EXPECT_EQ(uncompleted.status, 1);
    for (const std::string& error : p.uncompletedErrors)
        EXPECT_TRUE(uncompleted.Has(error)) << error << "\n" << uncompleted.result;

    std::vector<std::string> lines = p.generated;
    for (const auto& [from, to] : p.completion) {
        const auto line = std::find(lines.begin(), lines.end(), from);
        ASSERT_NE(line, lines.end()) << from;
        *line = to;
    }
    const EngineRun completed = RunEngine(folder, Text(lines), "done.tsp");
    EXPECT_EQ(completed.status, 0) << completed.result;
    for (const Estimate& e : p.estimates) {
        const std::vector<std::string> row = completed.Row(e.name, p.heading ? p.heading : "");
        ASSERT_GE(row.size(), 3u) << e.name << "\n" << completed.result;
        ExpectFigure(row[1], e.coefficient, std::string(e.name) + " estimate");
        ExpectFigure(row[2], e.standardError, std::string(e.name) + " standard error");
    }
}

INSTANTIATE_TEST_SUITE_P(Engine, FormWrittenProgram, ::testing::ValuesIn(Programs()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tamvel::engine
