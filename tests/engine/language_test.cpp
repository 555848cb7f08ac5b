// The TSP language through the real engine: a table of small programs, each run in its own
// folder, with what its result file must and must not show.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "engine_run.h"

namespace tamvel::engine {
namespace {

using testing::CrLf;
using testing::RunEngine;
using testing::TempFolder;

struct DataFile {
    const char* name;
    std::string bytes;
};

struct LanguageCase {
    const char* name;
    std::string program;
    std::vector<DataFile> files;
    int status;
    /// Lines (blanks squeezed) that must hold these texts, and texts no line may hold.
    std::vector<std::string> shown;
    std::vector<std::string> absent;
};

// "データ" in CP932, for a data file named in Japanese.
const std::string kDataCp932 = "\x83\x66\x81\x5B\x83\x5E";

const LanguageCase kCases[] = {
    {"LoadSectionRunsBeforeTheProgram",
     CrLf({"FREQ N;", "SMPL 1 8;", "READ;", "OLSQ Y C X1 X2 X3;", "END;", "", "SMPL 1 8;",
           "READ  Y   X1  X2  X3;", "      100 101 102 103", "      108 110 101 102",
           "      100 101 102 102", "      104 101 109 101", "      114 107 116 102",
           "      109 108 102 103", "      107 101 109 101", "      115 101 102 118;", "END;"}),
     {},
     0,
     {"Number of observations: 8", "C -145.638 31.7576 -4.58593 [.010]",
      "X3 .882074 .128917 6.84219 [.002]"},
     {"*** Error"}},
    {"LoadSectionTakesTheProgramsFrequencyAndSample",
     "FREQ Q; SMPL 1990:1 1990:3; PRINT X;\nEND;\nREAD X; 7 8 9;\nEND;",
     {},
     0,
     {"1990:1 7", "1990:3 9"},
     {"*** Error"}},
    {"StatementsShareLinesSpanLinesAndIgnoreCaseAndComments",
     "\xEF\xBB\xBFsmpl 1 3; read x; 1 2 3; ? the data\n y = x*2;\nPRINT\n x,\n   Y ;   ? both\n",
     {},
     0,
     {"Obs X Y", "1 1 2", "3 3 6"},
     {"*** Error"}},
    {"SampleOfQuartersWithSeveralRanges",
     "FREQ Q; SMPL 1975:1 1975:4; READ X; 1 2 3 4;\n"
     "SMPL 1975:1 1975:2, 1975:4 1975:4; PRINT X; MSD X;",
     {},
     0,
     {"1975:1 1", "1975:2 2", "1975:4 4", "Current sample: 1975:1 to 1975:2, 1975:4 to 1975:4",
      "X 3 2.33333"},
     {"1975:3 3"}},
    {"MonthsAndYears",
     "FREQ M; SMPL 2000:11 2001:2; READ X; 1 2 3 4; PRINT X;\n"
     "FREQ A; SMPL 1976 1977; READ Z; 5 6; PRINT Z;",
     {},
     0,
     {"2000:12 2", "2001:1 3", "2001:2 4", "1977 6"},
     {"*** Error"}},
    {"LagsAndLeadsAreMissingBeyondTheData",
     "SMPL 1 4; READ X; 1 2 4 8; D = X - X(-1); F = X(+1); GENR S = X(-2); PRINT D F S;",
     {},
     0,
     {"Obs D F S", "1 . 2 .", "2 1 4 .", "3 2 8 1", "4 4 . 2"},
     {"*** Error"}},
    {"PanelLagsStayWithinAnIndividual",
     "FREQ(PANEL,ID=FIRM); SMPL 1 4; READ FIRM X; 1 10 1 20 2 30 2 40; D = X(-1);\n"
     "PRINT D X(+1);",
     {},
     0,
     {"1 . 20", "2 10 .", "3 . 40", "4 30 ."},
     {"*** Error"}},
    {"GenrCountsUpWithItsOwnLag",
     "SMPL 1 4; READ Y; 1 0 0 0; SMPL 2 4; Y = Y(-1) * 2 + 1; SMPL 1 4; PRINT Y;",
     {},
     0,
     {"2 3", "3 7", "4 15"},
     {"*** Error"}},
    {"ExpressionLanguage",
     "SMPL 1 3; READ X; 1 4 9;\n"
     "A = -X**2/2 + (X+1)*3; B = SQRT(X) + ABS(-X) + EXP(0) + LOG(1);\n"
     "G = X > 3; H = (X >= 4) & (X < 9); N = X .NE. 4; P = 2**-1 + 2**3**2 / 512;\n"
     "PRINT A B G H N P;",
     {},
     0,
     {"1 5.5 3 0 0 1 1.5", "2 7 7 1 1 0 1.5", "3 -10.5 13 1 0 1 1.5"},
     {"*** Error"}},
    {"MissingValuesAreLeftOutOfOlsq",
     "SMPL 1 6; READ Y X; 1 1 2 2 . 3 4 4 5 5 6 7;\n"
     "L = LOG(X - 1); OLSQ Y C X; MSD L;",
     {},
     0,
     {"Warning in line 2: missing values in Y", "Number of observations: 5", "L 5"},
     {"*** Error"}},
    {"RegressionWithoutAConstant",
     "SMPL 1 4; READ Y X; 2 1 4 2 6.5 3 8 4; OLSQ Y X;",
     {},
     0,
     {"Number of observations: 4", "X 2.05 "},
     {"F (zero slopes)", "*** Error"}},
    {"FreeFormatFileReadsObservationAfterObservation",
     "SMPL 1 3; READ(FILE='data.txt') X Y; PRINT X Y;",
     {{"data.txt", "1 2\n3   4 5\n\n6\n"}},
     0,
     {"1 1 2", "2 3 4", "3 5 6"},
     {"*** Error"}},
    {"CsvWithHeaderAndMissingValues",
     "READ(FILE='data.csv') A B; PRINT A B;",
     {{"data.csv", "a,b\r\n1,2\r\n3,.\r\n5,\r\n"}},
     0,
     {"1 1 2", "2 3 .", "3 5 ."},
     {"*** Error"}},
    {"DataFileWithAJapaneseName",
     "READ(FILE='" + kDataCp932 + ".csv') A; MSD A;",
     {{"データ.csv", "1\n2\n3\n"}},
     0,
     {"A 3 2 1 1 3 6"},
     {"*** Error"}},
    {"FileLongerThanTheSampleIsReadToTheSample",
     "SMPL 1 2; READ(FILE='d.txt') A; SMPL 1 2; MSD A;",
     {{"d.txt", "1\n2\n3\n"}},
     0,
     {"Note in line 1: the data file holds more observations than the sample", "A 2 1.5"},
     {"*** Error"}},
    {"SignificantDigitsAndOtherOptions",
     "OPTIONS CRT, SIGNIF=3, LIMWARN=5; SMPL 1 1; READ X; 3.14159; PRINT X;",
     {},
     0,
     {"1 3.14", "Note in line 1: option LIMWARN is accepted but has no effect"},
     {"*** Error"}},
    {"StopEndsTheRun",
     "SMPL 1 1; READ X; 1; STOP; PRINT NOSUCH;",
     {},
     0,
     {},
     {"unknown series", "*** Error"}},
};

void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.name; }

class LanguageProgram : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageProgram, ShowsWhatItComputes) {
    const LanguageCase& c = GetParam();
    TempFolder folder;
    for (const DataFile& file : c.files) folder.Write(file.name, file.bytes);
    const testing::EngineRun run = RunEngine(folder, c.program);
    EXPECT_EQ(run.status, c.status) << run.result;
    for (const std::string& text : c.shown)
        EXPECT_TRUE(run.Has(text)) << text << "\n" << run.result;
    for (const std::string& text : c.absent)
        EXPECT_FALSE(run.Has(text)) << text << "\n" << run.result;
}

INSTANTIATE_TEST_SUITE_P(Engine, LanguageProgram, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Mistakes a student makes: each is reported with its line, the statements after it are
// still checked (the last line of each program has a second mistake), and the run ends
// with status 1.
struct MistakeCase {
    const char* name;
    std::string program;
    std::string message;  ///< the first error, as "line N: text"
};

const MistakeCase kMistakes[] = {
    {"UnknownCommand", "SMPL 1 2;\nREGRESS Y X;\nREAD X; 1 2;\nPRINT Z;",
     "Error in line 2: unknown command REGRESS"},
    {"SyntaxErrorInAnExpression", "SMPL 1 2; READ X; 1 2;\nY = (X + ;\nPRINT Z;",
     "Error in line 2: syntax error: expected a number, a series or '(', found ';'"},
    {"UnknownSeries", "SMPL 1 2; READ X; 1 2;\n\nY = X + W;\nPRINT Z;",
     "Error in line 3: unknown series W"},
    {"MissingDataFile", "READ(FILE='nosuch.csv') X;\nPRINT Z;",
     "Error in line 1: the data file 'nosuch.csv' cannot be read"},
    {"FileWithoutNames", "READ(FILE='data.csv');\nPRINT Z;",
     "Error in line 1: READ names no series: list the names of the file's columns"},
    {"FolderAsDataFile", "READ(FILE='.') X;\nPRINT Z;",
     "Error in line 1: the data file '.' cannot be read: the data file is a folder"},
    {"SampleOutsideTheData", "SMPL 1 3; READ X Y; 1 2 3 4 5 6;\nSMPL 1 5;\nOLSQ Y C X;\nPRINT Z;",
     "Error in line 3: the sample (SMPL 1 to 5) lies outside the data: Y holds 1 to 3"},
    {"ConstantAsDependentVariable",
     "SMPL 1 4; READ X1 X2; 1 2 3 4 5 6 7 8;\nOLSQ      C  X1 X2;\nPRINT Z;",
     "Error in line 2: OLSQ: C (the constant) cannot be the dependent variable. Write the "
     "dependent variable's name first and then the regressors, as in OLSQ Y C X1 X2;"},
    {"QuarterMissingFromAPeriod", "FREQ Q;\nSMPL 1975 2003;\nPRINT Z;",
     "Error in line 2: SMPL: give the quarter of each period, as in SMPL 1975:1 2003:4;"},
    {"SampleSpanningTooManyPeriods", "SMPL 1 1, 999999999 999999999;\nPRINT Z;",
     "Error in line 1: SMPL: the sample spans more than 10000000 periods"},
    {"DataWithoutTheirSemicolon", "SMPL 1 2;\nREAD X;\n1 2\nPRINT Z;",
     "Error in line 4: syntax error: expected a number in the data of READ"},
    {"CollinearRegressors",
     "SMPL 1 4; READ Y X; 1 2 3 5 2 3 7 1;\nZ = 2*X;\nOLSQ Y C X Z;\nPRINT NOSUCH;",
     "Error in line 3: OLSQ: the regressors are perfectly collinear (rank deficient): Z"},
};

void PrintTo(const MistakeCase& c, std::ostream* os) { *os << c.name; }

class StudentMistake : public ::testing::TestWithParam<MistakeCase> {};

TEST_P(StudentMistake, IsReportedWithItsLineAndTheRestIsChecked) {
    const MistakeCase& c = GetParam();
    TempFolder folder;
    const testing::EngineRun run = RunEngine(folder, c.program);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.Has(c.message)) << run.result;
    const int lastLine = static_cast<int>(std::count(c.program.begin(), c.program.end(), '\n')) + 1;
    EXPECT_TRUE(run.Has("Error in line " + std::to_string(lastLine) + ": ")) << run.result;
}

INSTANTIATE_TEST_SUITE_P(Engine, StudentMistake, ::testing::ValuesIn(kMistakes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EngineInput, RefusesAFifoAsDataFileWithoutWaitingForAWriter) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder.Path() / "pipe").c_str(), 0600), 0);
    const testing::EngineRun run = RunEngine(folder, "READ(FILE='pipe') X;");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.Has("the data file is not a regular file")) << run.result;
}

TEST(EngineInput, SurvivesBinaryProgramsAndHugeLines) {
    TempFolder folder;
    std::string binary;
    for (int i = 0; i < 200000; ++i) binary += static_cast<char>((i * 7919) % 256);
    const testing::EngineRun garbage = RunEngine(folder, binary, "garbage.tsp");
    EXPECT_EQ(garbage.status, 1);
    EXPECT_TRUE(garbage.Has("further messages are not shown")) << garbage.result.substr(0, 2000);

    folder.Write("wide.csv", std::string(3 << 20, '1') + "\n");
    const testing::EngineRun wide = RunEngine(folder, "READ(FILE='wide.csv') X;");
    EXPECT_TRUE(wide.Has("is longer than 1 MiB")) << wide.result;

    const testing::EngineRun deep =
        RunEngine(folder, "SMPL 1 1; X = " + std::string(100000, '(') + "1;", "deep.tsp");
    EXPECT_TRUE(deep.Has("nested too deeply")) << deep.result.substr(0, 2000);
}

TEST(EngineCommandLine, WritesTheResultNextToTheTspFileAndSaysWhenItCannotRead) {
    TempFolder folder;
    std::filesystem::create_directory(folder.Path() / "sub");
    folder.Write("sub/model.tsp", "SMPL 1 1; READ X; 1; PRINT X;");
    const std::string binary = TAMVEL_ENGINE_BINARY;
    const std::string tsp = (folder.Path() / "sub" / "model.tsp").string();
    EXPECT_EQ(std::system(("'" + binary + "' '" + tsp + "'").c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "sub" / "model.out"));

    const std::string missing = (folder.Path() / "none.tsp").string();
    const int raw = std::system(("'" + binary + "' '" + missing + "' 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 2);
}

}  // namespace
}  // namespace tamvel::engine
