#include "wizard/new_tsp_file_dlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"

namespace tamvel {
namespace {

// The boxes and years a person sees, in one comparable line.
struct Seen {
    DataKind kind;
    std::string start;
    std::string end;
    bool general;
    bool macro;
    bool financial;
    bool noDataFile;
    bool leastSquares;
    bool panelAnalysis;

    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
    return out << "kind " << static_cast<int>(s.kind) << ", " << s.start << " to " << s.end
               << ", general " << s.general << " macro " << s.macro << " financial " << s.financial
               << " none " << s.noDataFile << ", OLSQ " << s.leastSquares << " PANEL "
               << s.panelAnalysis;
}

Seen SeenOf(const NewTspFileForm& form) {
    const NewTspFileChoices& c = form.choices;
    return {c.dataKind,        c.sampleStart,       c.sampleEnd,           c.readGeneralFile,
            c.readMacroFile,   c.readFinancialFile, form.noDataFileTicked, c.runLeastSquares,
            c.runPanelAnalysis};
}

TEST(NewTspFileFormTest, OpensWithTheRecordsDefaultsThePlaceholderAndTheSample) {
    const NewTspFileForm form = OpeningForm("D:\\work\\");
    EXPECT_EQ(SeenOf(form),
              (Seen{DataKind::Quarterly, "1975", "2003", true, false, false, false, true, false}));
    EXPECT_EQ(form.choices.dataFileName, Cp932("ここをデータのファイル名に！"));
    EXPECT_EQ(form.saveFolder, "D:\\work\\");
    EXPECT_TRUE(form.typedName.empty());
    for (const std::string& name : form.choices.variableNames) EXPECT_TRUE(name.empty());
    EXPECT_TRUE(IsBoxTicked(form, kIdQuarterlyKind));
    EXPECT_FALSE(IsBoxTicked(form, kIdPanelKind));
}

TEST(NewTspFileFormTest, ClicksFromTheOpeningStateFollowTheFormsRules) {
    using K = DataKind;
    struct Case {
        const char* what;
        std::vector<int> clicks;
        Seen seen;
    };
    const Case cases[] = {
        {"panel data keeps the general box and ticks the financial one",
         {kIdPanelKind},
         {K::Panel, "1", "150", true, false, true, false, false, true}},
        {"least squares while panel data is selected: quarterly, years kept",
         {kIdPanelKind, kIdRunLeastSquares},
         {K::Quarterly, "1", "150", true, false, true, false, true, false}},
        {"panel analysis selects panel data",
         {kIdRunPanelAnalysis},
         {K::Panel, "1", "150", true, false, true, false, false, true}},
        {"panel analysis unticked again stays panel data with neither estimation",
         {kIdRunPanelAnalysis, kIdRunPanelAnalysis},
         {K::Panel, "1", "150", true, false, true, false, false, false}},
        {"the ticked general box stays ticked",
         {kIdReadGeneralFile},
         {K::Quarterly, "1975", "2003", true, false, false, false, true, false}},
        {"a ticked macro box stays ticked",
         {kIdReadMacroFile, kIdReadMacroFile},
         {K::Quarterly, "1975", "2003", false, true, false, false, true, false}},
        {"a ticked financial box stays ticked, the others unticked",
         {kIdPanelKind, kIdReadFinancialFile, kIdReadFinancialFile},
         {K::Panel, "1", "150", false, false, true, false, false, true}},
        {"box 1023 clears the sources and ticks itself",
         {kIdNoDataFile},
         {K::Quarterly, "1975", "2003", false, false, false, true, true, false}},
        {"box 1023 unticks itself on the second click",
         {kIdNoDataFile, kIdNoDataFile},
         {K::Quarterly, "1975", "2003", false, false, false, false, true, false}},
        {"a source box leaves box 1023 ticked",
         {kIdNoDataFile, kIdReadMacroFile},
         {K::Quarterly, "1975", "2003", false, true, false, true, true, false}},
        {"the selected quarterly button presets the time series years",
         {kIdQuarterlyKind},
         {K::Quarterly, "1976", "2003", true, false, false, false, true, false}},
        {"annual data",
         {kIdAnnualKind},
         {K::Annual, "1976", "2003", true, false, false, false, true, false}},
        {"monthly data after panel data keeps panel analysis",
         {kIdPanelKind, kIdMonthlyKind},
         {K::Monthly, "1976", "2003", true, false, true, false, false, true}},
        {"cross-section data",
         {kIdCrossSectionKind},
         {K::CrossSection, "1", "50", true, false, false, false, true, false}},
        {"an id that is no box changes nothing",
         {kIdChooseDataFile, kIdNewFileName},
         {K::Quarterly, "1975", "2003", true, false, false, false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewTspFileForm form = OpeningForm("C:\\temp\\");
        for (int id : c.clicks) ClickBox(form, id);
        EXPECT_EQ(SeenOf(form), c.seen);
        EXPECT_FALSE(form.choices.runLeastSquares && form.choices.runPanelAnalysis);
    }
}

TEST(NewTspFileFormTest, AsksAboutTheTempFolderInAnyCaseOnly) {
    const std::string question = Cp932("ＴＳＰファイル保存フォルダがC\\temp\\です．ＯＫですか？");
    struct Case {
        const char* folder;
        bool asks;
    };
    for (const Case& c : {Case{"C:\\temp\\", true}, Case{"c:\\TEMP\\", true},
                          Case{"C:\\temp", false}, Case{"D:\\temp\\", false}, Case{"", false}}) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(SaveFolderQuestion(c.folder), c.asks ? question : "");
    }
}

TEST(NewTspFileFormTest, KeepsOnlyTheBareNameOfTheChosenDataFile) {
    struct Case {
        std::string chosen;
        std::string kept;
    };
    const Case cases[] = {
        {"C:\\data\\macro.txt", "macro.txt"},
        {"C:\\macro.txt", "macro.txt"},
        {"macro.txt", "macro.txt"},
        // "表" ends in the byte of '\', which is no separator there.
        {Cp932("C:\\データ\\表.csv"), Cp932("表.csv")},
        {Cp932("C:\\表"), Cp932("表")},
        {"C:\\" + std::string(250, 'a') + ".csv", std::string(250, 'a') + ".csv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        EXPECT_EQ(DataFileNameOf(c.chosen), c.kept);
    }
}

}  // namespace
}  // namespace tamvel
