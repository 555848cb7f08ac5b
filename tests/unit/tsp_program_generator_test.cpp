#include "wizard/tsp_program_generator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/temp_prefix.h"

namespace tamvel {
namespace {

// The record as the form leaves it when the student changes nothing.
NewTspFileChoices OpeningChoices() {
    NewTspFileChoices choices;
    choices.dataFileName = Cp932(kDataFilePlaceholder);
    choices.sampleStart = std::string(kOpeningSampleStart);
    choices.sampleEnd = std::string(kOpeningSampleEnd);
    return choices;
}

// The source boxes, as bits.
enum Source : int { kNoSource = 0, kGeneral = 1, kFinancial = 2, kMacro = 4 };

// A record with the given kind, sample, source boxes and names (positions 1 onwards, "" an
// empty position), neither analysis ticked and the data file "f".
NewTspFileChoices Choices(DataKind kind, const char* start, const char* end,
                          int sources = kNoSource, const std::vector<std::string>& names = {}) {
    NewTspFileChoices choices;
    choices.dataKind = kind;
    choices.sampleStart = start;
    choices.sampleEnd = end;
    choices.readGeneralFile = (sources & kGeneral) != 0;
    choices.readFinancialFile = (sources & kFinancial) != 0;
    choices.readMacroFile = (sources & kMacro) != 0;
    choices.runLeastSquares = false;
    choices.dataFileName = "f";
    for (std::size_t i = 0; i < names.size(); ++i) choices.variableNames.at(i) = names[i];
    return choices;
}

// The line of `lines` that starts with `start`, or empty.
std::string LineStartingWith(const std::vector<std::string>& lines, std::string_view start) {
    for (const std::string& line : lines) {
        if (line.starts_with(start)) return line;
    }
    return {};
}

TEST(TspProgramGenerator, WritesTheExampleProgramsByteForByte) {
    struct Case {
        const char* goldenFile;
        NewTspFileChoices choices;
    };
    NewTspFileChoices macro =
        Choices(DataKind::Quarterly, "1975", "2003", kMacro, {"GDP", "CONS", "INV"});
    macro.dataFileName = "macro.txt";
    macro.runLeastSquares = true;
    NewTspFileChoices panel =
        Choices(DataKind::Panel, "1", "150", kGeneral | kFinancial, {"SALES", "COST"});
    panel.dataFileName = "fin.csv";
    panel.runPanelAnalysis = true;
    const Case cases[] = {
        {"opening_state.tsp", OpeningChoices()},
        {"quarterly_macro.tsp", macro},
        {"panel_financial.tsp", panel},
        {"cross_section_example_data.tsp", Choices(DataKind::CrossSection, "1", "8")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.goldenFile);
        const std::string golden = testing::TempPrefix::ReadFile(
            std::filesystem::path(TAMVEL_TEST_DATA_DIR) / "tsp_programs" / c.goldenFile);
        ASSERT_FALSE(golden.empty());
        EXPECT_EQ(TspFileText(GenerateTspProgram(c.choices)), golden);
    }
}

TEST(TspProgramGenerator, FileTextEndsEveryLineInCrLfAndKeepsTrailingBlanks) {
    EXPECT_EQ(TspFileText({"A  ", "", Cp932("表 ")}), "A  \r\n\r\n" + Cp932("表 ") + "\r\n");
    EXPECT_EQ(TspFileText({}), "");
}

TEST(TspProgramGenerator, SampleLineFollowsTheDataKind) {
    struct Case {
        DataKind kind;
        const char* sample;
    };
    const Case cases[] = {
        {DataKind::CrossSection, "SMPL 1976 2003;"},  {DataKind::Annual, "SMPL 1976 2003;"},
        {DataKind::Quarterly, "SMPL 1976:1 2003:4;"}, {DataKind::Monthly, "SMPL 1976:1 2003:12;"},
        {DataKind::Panel, "SMPL 1976 2003;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sample);
        const NewTspFileChoices choices = Choices(c.kind, "1976", "2003", kGeneral);
        EXPECT_EQ(GenerateTspProgram(choices).at(2), c.sample);
    }
}

TEST(TspProgramGenerator, ReadLineListsTheNamesUpToTheFirstEmptyPosition) {
    struct Case {
        std::vector<std::string> names;  // positions 1 onwards; "" is an empty position
        std::string readLine;
    };
    std::vector<std::string> twelve;
    std::string twelveListed;
    for (int i = 1; i <= 12; ++i) {
        twelve.push_back("V" + std::to_string(i));
        twelveListed += (i == 1 ? "" : " ") + twelve.back();
    }
    std::vector<std::string> eleven(twelve.begin(), twelve.end() - 1);
    const std::string elevenListed = twelveListed.substr(0, twelveListed.rfind(' '));
    const std::string japanese = Cp932("売上原価");  // four double-byte characters, 8 bytes
    const Case cases[] = {
        {{"A", "B", "", "D"}, "READ(FILE='f') A B;"},
        {{"", "B", "C"}, "READ(FILE='f')  X1 X2 X3 X4;"},
        {{}, "READ(FILE='f')  X1 X2 X3 X4;"},
        {twelve, "READ(FILE='f') " + twelveListed + ";"},
        {eleven, "READ(FILE='f') " + elevenListed + ";"},
        {{" ", "B"}, "READ(FILE='f')   B;"},  // a blank name is not empty
        {{japanese, "X"}, "READ(FILE='f') " + japanese + " X;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readLine);
        const NewTspFileChoices choices =
            Choices(DataKind::Quarterly, "1975", "2003", kGeneral, c.names);
        EXPECT_EQ(GenerateTspProgram(choices).at(3), c.readLine);
    }
}

// Which source wins when several boxes are ticked, and what each source names before the
// student's variables.
TEST(TspProgramGenerator, ReadPrefixFollowsTheLaterSourceThatApplies) {
    struct Case {
        DataKind kind;
        int sources;
        const char* readLine;
    };
    const Case cases[] = {
        {DataKind::Quarterly, kGeneral, "READ(FILE='f') GDP;"},
        {DataKind::Quarterly, kGeneral | kFinancial, "READ(FILE='f') CD Y  GDP;"},
        {DataKind::Annual, kMacro, "READ(FILE='f') Y GDP;"},
        {DataKind::Quarterly, kMacro, "READ(FILE='f') Y  GDP;"},
        {DataKind::Monthly, kMacro, "READ(FILE='f') Y  GDP;"},
        {DataKind::Annual, kGeneral | kFinancial | kMacro, "READ(FILE='f') Y GDP;"},
        {DataKind::Panel, kGeneral | kFinancial | kMacro, "READ(FILE='f') CD Y  GDP;"},
        {DataKind::CrossSection, kGeneral | kMacro, "READ(FILE='f') GDP;"},
        {DataKind::CrossSection, kFinancial | kMacro, "READ(FILE='f') CD Y  GDP;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readLine);
        EXPECT_EQ(GenerateTspProgram(Choices(c.kind, "1", "50", c.sources, {"GDP"})).at(3),
                  c.readLine);
    }
}

// The estimation lines list the student's regressors: the READ line's variables without
// the names its source reads first, cut as whole names whatever their lengths.
TEST(TspProgramGenerator, EstimationLineCutsWholeNames) {
    struct Case {
        const char* label;
        DataKind kind;
        int sources;
        std::vector<std::string> names;
        std::string dataFile;
        std::string tail;  // what follows "OLSQ      C " and "PANEL      "
    };
    const Case cases[] = {
        {"annual macro", DataKind::Annual, kMacro, {"GDP", "CONS"}, "f", "GDP CONS;"},
        {"general file", DataKind::Quarterly, kGeneral, {"SALES", "COST"}, "f", " COST;"},
        {"general, one name", DataKind::Quarterly, kGeneral, {"SALES"}, "f", ";"},
        {"general, blank in the first name",
         DataKind::Quarterly,
         kGeneral,
         {"A B", "C2"},
         "f",
         " C2;"},
        {"general, Japanese names",
         DataKind::Quarterly,
         kGeneral,
         {Cp932("売上高"), Cp932("原価")},
         "f",
         " " + Cp932("原価") + ";"},
        {"financial, long names",
         DataKind::Annual,
         kFinancial,
         {"REVENUES", "C"},
         "f",
         "REVENUES C;"},
        {"monthly macro, one-letter names", DataKind::Monthly, kMacro, {"A", "B"}, "f", "A B;"},
        {"a parenthesis in the data file name",
         DataKind::Quarterly,
         kGeneral,
         {"SALES", "COST"},
         "data(1).txt",
         " COST;"},
        {"macro, default names", DataKind::Quarterly, kMacro, {}, "f", " X1 X2 X3 X4;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        NewTspFileChoices choices = Choices(c.kind, "1975", "2003", c.sources, c.names);
        choices.dataFileName = c.dataFile;
        choices.runLeastSquares = true;
        EXPECT_EQ(LineStartingWith(GenerateTspProgram(choices), "OLSQ"), "OLSQ      C " + c.tail);
        choices.runLeastSquares = false;
        choices.runPanelAnalysis = true;
        EXPECT_EQ(LineStartingWith(GenerateTspProgram(choices), "PANEL"), "PANEL      " + c.tail);
    }
}

// Without a data file the program reads the example data below its END, whose first
// column Y is the variable to explain: the estimation lists the other three.
TEST(TspProgramGenerator, EstimationWithoutDataFileListsTheExampleRegressors) {
    NewTspFileChoices choices = Choices(DataKind::CrossSection, "1", "8", kNoSource, {"IGNORED"});
    choices.runLeastSquares = true;
    std::vector<std::string> lines = GenerateTspProgram(choices);
    EXPECT_EQ(lines.at(3), "READ;");
    EXPECT_EQ(lines.at(4), "OLSQ      C X1 X2 X3;");
    EXPECT_EQ(lines.at(8), "READ  Y   X1  X2  X3;");
    choices.runLeastSquares = false;
    choices.runPanelAnalysis = true;
    EXPECT_EQ(GenerateTspProgram(choices).at(4), "PANEL      X1 X2 X3;");
}

// Macro data alone of an undated kind: read as annual data is, with Y first; as panel data,
// with the identifier CD that the panel FREQ line names.
TEST(TspProgramGenerator, MacroDataOfUndatedKindsNamesItsFirstColumns) {
    struct Case {
        DataKind kind;
        const char* readLine;
        const char* olsq;
    };
    const Case cases[] = {
        {DataKind::CrossSection, "READ(FILE='m.txt') Y GDP CONS;", "OLSQ      C GDP CONS;"},
        {DataKind::Panel, "READ(FILE='m.txt') CD Y  GDP CONS;", "OLSQ      C GDP CONS;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readLine);
        NewTspFileChoices choices = Choices(c.kind, "1", "50", kMacro, {"GDP", "CONS"});
        choices.dataFileName = "m.txt";
        choices.runLeastSquares = true;
        const std::vector<std::string> lines = GenerateTspProgram(choices);
        EXPECT_EQ(lines.at(3), c.readLine);
        EXPECT_EQ(lines.at(4), c.olsq);
    }
}

std::vector<std::string> Words(std::string_view text) {
    std::istringstream in{std::string(text)};
    return {std::istream_iterator<std::string>(in), {}};
}

// Every combination of kind, source boxes, analysis boxes and names: the skeleton's lines
// come in their order, every statement of the program part is closed by ';', and the
// estimation lines keep the end of the READ line from a name boundary on.
TEST(TspProgramGenerator, EveryCombinationGivesTheLinesInOrder) {
    const DataKind kinds[] = {DataKind::CrossSection, DataKind::Annual, DataKind::Quarterly,
                              DataKind::Monthly, DataKind::Panel};
    const std::vector<std::vector<std::string>> nameSets = {{}, {"GDP", "CONS", "INV"}};
    int combinations = 0;
    for (DataKind kind : kinds) {
        for (int sources = 0; sources < 8; ++sources) {
            for (int analyses = 0; analyses < 4; ++analyses) {
                for (const auto& names : nameSets) {
                    NewTspFileChoices choices = Choices(kind, "1980", "1999", sources, names);
                    choices.runLeastSquares = (analyses & 1) != 0;
                    choices.runPanelAnalysis = (analyses & 2) != 0;
                    SCOPED_TRACE(::testing::Message()
                                 << "kind " << static_cast<int>(kind) << " sources " << sources
                                 << " analyses " << analyses << " names " << names.size());
                    ++combinations;
                    const bool readsFile = sources != 0;
                    const std::vector<std::string> lines = GenerateTspProgram(choices);

                    std::size_t at = 0;
                    EXPECT_EQ(lines.at(at++), "OPTIONS CRT;");
                    EXPECT_TRUE(lines.at(at++).starts_with("FREQ"));
                    const std::string sample = lines.at(at++);
                    EXPECT_TRUE(sample.starts_with("SMPL 1980"));
                    EXPECT_TRUE(sample.find(" 1999") != std::string::npos);
                    const std::string read = lines.at(at++);
                    EXPECT_TRUE(read.starts_with(readsFile ? "READ(FILE='f') " : "READ;"));
                    std::vector<std::string> estimations;
                    if (choices.runLeastSquares) estimations.push_back(lines.at(at++));
                    if (choices.runPanelAnalysis) estimations.push_back(lines.at(at++));
                    EXPECT_EQ(lines.at(at++), "END;");
                    EXPECT_EQ(lines.at(at++), "");
                    for (std::size_t i = 0; i + 1 < at; ++i) EXPECT_TRUE(lines[i].ends_with(';'));

                    for (std::size_t i = 0; i < estimations.size(); ++i) {
                        const std::string& line = estimations[i];
                        const bool olsq = choices.runLeastSquares && i == 0;
                        const std::string head = olsq ? "OLSQ      C " : "PANEL      ";
                        ASSERT_TRUE(line.starts_with(head)) << line;
                        const std::string tail = line.substr(head.size());
                        if (!readsFile) {
                            EXPECT_EQ(Words(tail).size(), 3u) << line;
                            continue;
                        }
                        // The tail is the READ line's end, cut before a blank or after one.
                        ASSERT_TRUE(read.ends_with(tail)) << read << " / " << line;
                        const std::size_t cut = read.size() - tail.size();
                        EXPECT_TRUE(tail.starts_with(' ') || read[cut - 1] == ' ') << line;
                        // The tail holds no name the source reads before the regressors,
                        // and at most one fewer name than the variables read.
                        const std::vector<std::string> words = Words(tail);
                        for (const std::string& word : words) {
                            EXPECT_NE(word, "CD");
                            EXPECT_NE(word, "Y");
                        }
                        const std::size_t listed = names.empty() ? 4 : names.size();
                        EXPECT_GE(words.size(), listed - 1) << line;
                    }

                    if (readsFile) {
                        EXPECT_EQ(lines.size(), at);
                    } else {
                        ASSERT_EQ(lines.size(), at + 11);
                        EXPECT_EQ(lines.at(at), sample);
                        EXPECT_EQ(lines.at(at + 1), "READ  Y   X1  X2  X3;");
                        EXPECT_EQ(lines.back(), "END;");
                    }
                }
            }
        }
    }
    EXPECT_EQ(combinations, 5 * 8 * 4 * 2);
}

}  // namespace
}  // namespace tamvel
