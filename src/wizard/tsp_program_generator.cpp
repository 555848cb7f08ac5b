#include "wizard/tsp_program_generator.h"

#include <optional>
#include <string_view>

namespace tamvel {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kDefaultVariableList = " X1 X2 X3 X4;";
// The default list's first name with the blank before it.
constexpr std::string_view kDefaultFirstName = " X1";

// The example data written when no data file is read: the READ line and its rows.
constexpr std::string_view kExampleRead = "READ  Y   X1  X2  X3;";
constexpr std::string_view kExampleRows[] = {
    "      100 101 102 103", "      108 110 101 102",  "      100 101 102 102",
    "      104 101 109 101", "      114 107 116 102",  "      109 108 102 103",
    "      107 101 109 101", "      115 101 102 118;",
};
// Without a data file the estimation names the example data's regressors; the student
// writes its first column, Y, as the dependent variable in the blanks before C.
constexpr std::string_view kExampleRegressors = "X1 X2 X3;";

// What the READ line names before the student's variables. A general file names nothing of
// its own: its first variable is the one to explain.
enum class ReadLayout {
    General,         // ') X1 ...: the first name is the dependent variable
    Financial,       // ') CD Y  ...: the panel identifier and the dependent variable
    MacroOneBlank,   // ') Y ...
    MacroTwoBlanks,  // ') Y  ...
};

std::string_view OwnNames(ReadLayout layout) {
    switch (layout) {
        case ReadLayout::General:
            return "";
        case ReadLayout::Financial:
            return "CD Y  ";
        case ReadLayout::MacroOneBlank:
            return "Y ";
        case ReadLayout::MacroTwoBlanks:
            return "Y  ";
    }
    return "";
}

bool ReadsDataFile(const NewTspFileChoices& choices) {
    return choices.readGeneralFile || choices.readFinancialFile || choices.readMacroFile;
}

// The boxes can be ticked together; a later source wins: general, financial, macro.
// Macro data of an undated kind reads as annual data does (SMPL has the same form), and as
// panel data it reads the identifier CD that FREQ(PANEL,ID=CD) names, as a financial file
// does; either applies only when no other source is ticked.
ReadLayout SettleReadLayout(const NewTspFileChoices& choices) {
    std::optional<ReadLayout> layout;
    if (choices.readGeneralFile) layout = ReadLayout::General;
    if (choices.readFinancialFile) layout = ReadLayout::Financial;
    if (choices.readMacroFile) {
        switch (choices.dataKind) {
            case DataKind::Annual:
                layout = ReadLayout::MacroOneBlank;
                break;
            case DataKind::Quarterly:
            case DataKind::Monthly:
                layout = ReadLayout::MacroTwoBlanks;
                break;
            case DataKind::CrossSection:
                if (!layout) layout = ReadLayout::MacroOneBlank;
                break;
            case DataKind::Panel:
                if (!layout) layout = ReadLayout::Financial;
                break;
        }
    }
    return layout.value_or(ReadLayout::General);
}

std::string_view FreqLine(DataKind kind) {
    switch (kind) {
        case DataKind::CrossSection:
            return "FREQ N;";
        case DataKind::Annual:
            return "FREQ A;";
        case DataKind::Quarterly:
            return "FREQ Q;";
        case DataKind::Monthly:
            return "FREQ M;";
        case DataKind::Panel:
            return "FREQ(PANEL,ID=CD);";
    }
    return "FREQ N;";
}

std::string SampleLine(const NewTspFileChoices& choices) {
    const std::string& start = choices.sampleStart;
    const std::string& end = choices.sampleEnd;
    switch (choices.dataKind) {
        case DataKind::Quarterly:
            return "SMPL " + start + ":1 " + end + ":4;";
        case DataKind::Monthly:
            return "SMPL " + start + ":1 " + end + ":12;";
        case DataKind::CrossSection:
        case DataKind::Annual:
        case DataKind::Panel:
            break;
    }
    return "SMPL " + start + " " + end + ";";
}

// The student's names up to the first empty position, or X1 to X4 when the first is empty.
std::string VariableList(const NewTspFileChoices& choices) {
    const auto& names = choices.variableNames;
    if (names.front().empty()) return std::string(kDefaultVariableList);
    std::string list;
    for (const std::string& name : names) {
        if (name.empty()) break;
        if (!list.empty()) list += ' ';
        list += name;
    }
    return list + ";";
}

std::size_t FirstNameLength(const NewTspFileChoices& choices) {
    const std::string& first = choices.variableNames.front();
    return first.empty() ? kDefaultFirstName.size() : first.size();
}

// The names the estimation lines list after C: the READ line's variables without the
// layout's own names, and for a general file without its first name (the dependent
// variable), the rest as it stands. Whole names are cut, whatever their lengths.
std::string EstimationTail(const NewTspFileChoices& choices, ReadLayout layout) {
    if (!ReadsDataFile(choices)) return std::string(kExampleRegressors);
    const std::string list = VariableList(choices);
    if (layout != ReadLayout::General) return list;
    return list.substr(FirstNameLength(choices));
}

std::string ReadLine(const NewTspFileChoices& choices, ReadLayout layout) {
    if (!ReadsDataFile(choices)) return "READ;";
    return "READ(FILE='" + choices.dataFileName + "') " + std::string(OwnNames(layout)) +
           VariableList(choices);
}

}  // namespace

std::vector<std::string> GenerateTspProgram(const NewTspFileChoices& choices) {
    const ReadLayout layout = SettleReadLayout(choices);
    const std::string sample = SampleLine(choices);
    std::vector<std::string> lines = {"OPTIONS CRT;", std::string(FreqLine(choices.dataKind)),
                                      sample, ReadLine(choices, layout)};
    const std::string tail = EstimationTail(choices, layout);
    if (choices.runLeastSquares) lines.push_back("OLSQ      C " + tail);
    if (choices.runPanelAnalysis) lines.push_back("PANEL      " + tail);
    lines.push_back("END;");
    lines.push_back("");
    if (!ReadsDataFile(choices)) {
        lines.push_back(sample);
        lines.push_back(std::string(kExampleRead));
        for (std::string_view row : kExampleRows) lines.emplace_back(row);
        lines.push_back("END;");
    }
    return lines;
}

std::string TspFileText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += kLineEnd;
    }
    return text;
}

}  // namespace tamvel
