// The new-program form through its dialog model: opening values, the boxes' rules, the data
// file chooser, the save folder button, the guide buttons and OK's refusals.

#include "wizard/new_tsp_file_dlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "integration/scripted_ui.h"
#include "platform/text.h"
#include "support/temp_prefix.h"

namespace tamvel {
namespace {

using testing::ScriptedUi;
using testing::TempPrefix;

// The boxes and years a person sees, in one comparable line.
struct Seen {
    int kind;  // the id of the radio button that is on, or 0
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
    return out << "radio " << s.kind << ", " << s.start << " to " << s.end << ", general "
               << s.general << " macro " << s.macro << " financial " << s.financial << " none "
               << s.noDataFile << ", OLSQ " << s.leastSquares << " PANEL " << s.panelAnalysis;
}

Seen SeenOf(const DialogModel& form) {
    int kind = 0;
    for (int id : kDataKindIds) {
        if (form.Checked(id)) kind = kind == 0 ? id : -1;  // -1: two are on
    }
    return {kind,
            form.Text(kIdSampleStart),
            form.Text(kIdSampleEnd),
            form.Checked(kIdReadGeneralFile),
            form.Checked(kIdReadMacroFile),
            form.Checked(kIdReadFinancialFile),
            form.Checked(kIdNoDataFile),
            form.Checked(kIdRunLeastSquares),
            form.Checked(kIdRunPanelAnalysis)};
}

class NewTspFileDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_prefix.Ensure());
        TempPrefix::WriteFile(m_prefix.DriveC() / "temp" / "existing.tsp", "kept");
    }

    /// Runs the form; `drive` acts on it once it is shown and gives OK or Cancel.
    std::optional<NewTspFileChoices> Run(const std::function<int(DialogModel&)>& drive) {
        NewTspFileDlgHost host;
        host.saveFolder = [this] { return m_saveFolder; };
        host.changeSaveFolder = [this] {
            m_log.push_back("settings");
            m_saveFolder = m_folderAfterSettings;
        };
        host.openAddress = [this](std::string_view address) {
            m_log.push_back("open " + std::string(address));
        };
        host.macroSeriesGuide = "https://guide/macro";
        host.financialSeriesGuide = "https://guide/series";
        host.financialCrossGuide = "https://guide/cross";
        CNewTspFileDlg dialog(m_ui, m_fs, std::move(host));
        m_ui.dialogAnswer = drive;
        return dialog.DoModal();
    }

    TempPrefix m_prefix;
    FileSystem m_fs{m_prefix.Drives()};
    ScriptedUi m_ui;
    std::string m_saveFolder = "C:\\temp\\";
    std::string m_folderAfterSettings = "C:\\temp\\";
    std::vector<std::string> m_log;
};

TEST_F(NewTspFileDlgTest, OpensWithTheRecordsDefaultsThePlaceholderAndTheSample) {
    m_saveFolder = "D:\\work\\";
    const std::optional<NewTspFileChoices> choices = Run([](DialogModel& form) {
        EXPECT_EQ(form.Id(), 131);
        EXPECT_EQ(SeenOf(form),
                  (Seen{kIdQuarterlyKind, "1975", "2003", true, false, false, false, true, false}));
        EXPECT_EQ(form.Text(kIdDataFileName), Cp932("ここをデータのファイル名に！"));
        EXPECT_EQ(form.Text(kIdNewFileFolder), "D:\\work\\");
        EXPECT_EQ(form.Text(kIdNewFileName), "");
        for (int id : kVariableNameIds) EXPECT_EQ(form.Text(id), "") << id;
        return kDialogCancel;
    });
    EXPECT_FALSE(choices);
    EXPECT_EQ(m_ui.Log(), (std::vector<std::string>{"dialog 131"}));
}

TEST_F(NewTspFileDlgTest, ClicksFromTheOpeningStateFollowTheFormsRules) {
    struct Case {
        const char* what;
        std::vector<int> clicks;
        Seen seen;
    };
    const Case cases[] = {
        {"panel data keeps the general box and ticks the financial one",
         {kIdPanelKind},
         {kIdPanelKind, "1", "150", true, false, true, false, false, true}},
        {"least squares while panel data is selected: quarterly, years kept",
         {kIdPanelKind, kIdRunLeastSquares},
         {kIdQuarterlyKind, "1", "150", true, false, true, false, true, false}},
        {"panel analysis selects panel data",
         {kIdRunPanelAnalysis},
         {kIdPanelKind, "1", "150", true, false, true, false, false, true}},
        {"panel analysis unticked again leaves neither estimation",
         {kIdRunPanelAnalysis, kIdRunPanelAnalysis},
         {kIdPanelKind, "1", "150", true, false, true, false, false, false}},
        {"the ticked general box stays ticked",
         {kIdReadGeneralFile},
         {kIdQuarterlyKind, "1975", "2003", true, false, false, false, true, false}},
        {"a ticked macro box stays ticked",
         {kIdReadMacroFile, kIdReadMacroFile},
         {kIdQuarterlyKind, "1975", "2003", false, true, false, false, true, false}},
        {"a ticked financial box stays ticked, the others unticked",
         {kIdPanelKind, kIdReadFinancialFile, kIdReadFinancialFile},
         {kIdPanelKind, "1", "150", false, false, true, false, false, true}},
        {"box 1023 clears the sources and ticks itself",
         {kIdNoDataFile},
         {kIdQuarterlyKind, "1975", "2003", false, false, false, true, true, false}},
        {"box 1023 unticks itself on the second click",
         {kIdNoDataFile, kIdNoDataFile},
         {kIdQuarterlyKind, "1975", "2003", false, false, false, false, true, false}},
        {"a source box leaves box 1023 ticked",
         {kIdNoDataFile, kIdReadMacroFile},
         {kIdQuarterlyKind, "1975", "2003", false, true, false, true, true, false}},
        {"the selected quarterly button presets the time series years",
         {kIdQuarterlyKind},
         {kIdQuarterlyKind, "1976", "2003", true, false, false, false, true, false}},
        {"annual data",
         {kIdAnnualKind},
         {kIdAnnualKind, "1976", "2003", true, false, false, false, true, false}},
        {"monthly data after panel data keeps panel analysis",
         {kIdPanelKind, kIdMonthlyKind},
         {kIdMonthlyKind, "1976", "2003", true, false, true, false, false, true}},
        {"cross-section data",
         {kIdCrossSectionKind},
         {kIdCrossSectionKind, "1", "50", true, false, false, false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Run([&](DialogModel& form) {
            for (int id : c.clicks) EXPECT_TRUE(form.Click(id)) << id;
            EXPECT_EQ(SeenOf(form), c.seen);
            return kDialogCancel;
        });
    }
}

TEST_F(NewTspFileDlgTest, AsksAboutTheTempFolderOnceTheFieldsAreFilled) {
    const std::string question = "message: ＴＳＰファイル保存フォルダがC\\temp\\です．ＯＫですか？";
    struct Case {
        const char* folder;
        bool asks;
    };
    for (const Case& c : {Case{"C:\\temp\\", true}, Case{"c:\\TEMP\\", true},
                          Case{"C:\\temp", false}, Case{"D:\\temp\\", false}, Case{"", false}}) {
        SCOPED_TRACE(c.folder);
        m_saveFolder = c.folder;
        m_ui = ScriptedUi();
        Run([&](DialogModel& form) {
            EXPECT_EQ(form.Text(kIdNewFileFolder), c.folder);
            return kDialogCancel;
        });
        const std::vector<std::string> expected =
            c.asks ? std::vector<std::string>{"dialog 131", question}
                   : std::vector<std::string>{"dialog 131"};
        EXPECT_EQ(m_ui.Log(), expected);
    }
}

TEST_F(NewTspFileDlgTest, TheDataFileChooserLeavesTheBareNameOrKeepsTheField) {
    const std::string tooLong = "C:\\" + std::string(196, 'a') + ".csv";  // 203 bytes
    m_ui.AnswerFile("C:\\data\\macro.txt");
    m_ui.AnswerFile("C:\\データ\\表.csv");  // "表" ends in the byte of '\', no separator
    m_ui.CancelFile();
    m_ui.AnswerFile(tooLong);
    Run([](DialogModel& form) {
        form.Click(kIdChooseDataFile);
        EXPECT_EQ(form.Text(kIdDataFileName), "macro.txt");
        form.Click(kIdChooseDataFile);
        EXPECT_EQ(form.Text(kIdDataFileName), Cp932("表.csv"));
        form.Click(kIdChooseDataFile);
        EXPECT_EQ(form.Text(kIdDataFileName), Cp932("表.csv"));
        form.Click(kIdChooseDataFile);
        EXPECT_EQ(form.Text(kIdDataFileName), Cp932("表.csv"));
        return kDialogCancel;
    });
    EXPECT_EQ(m_ui.PendingAnswers(), 0u);
    EXPECT_EQ(DataFileNameOf("macro.txt"), "macro.txt");
}

TEST_F(NewTspFileDlgTest, OkRefusesWithTheFormOpenAndTheTypedTextKept) {
    struct Case {
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"", "message: ＴＳＰファイル名を入力してください"},
        {"D:a", "message: 入力されたフォルダ名が誤っています。"},
        {"existing", "message: 同名ファイルが存在します。"},
    };
    const std::optional<NewTspFileChoices> choices = Run([&](DialogModel& form) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed);
            EXPECT_TRUE(form.Type(kIdNewFileName, c.typed));
            EXPECT_FALSE(form.Ok());
            EXPECT_EQ(m_ui.Log().back(), c.message);
            EXPECT_EQ(form.Text(kIdNewFileName), c.typed);
        }
        form.Type(kIdNewFileName, "model");
        form.Type(kVariableNameIds[0], "GDP");
        return form.Ok() ? kDialogOk : kDialogCancel;
    });
    ASSERT_TRUE(choices);
    EXPECT_EQ(choices->tspFilePath, "C:\\temp\\model.tsp");
    EXPECT_EQ(choices->variableNames[0], "GDP");
    EXPECT_EQ(choices->dataFileName, Cp932("ここをデータのファイル名に！"));
    EXPECT_EQ(TempPrefix::ReadFile(m_prefix.DriveC() / "temp" / "existing.tsp"), "kept");
}

TEST_F(NewTspFileDlgTest, TheFolderButtonRunsTheSettingsAndTheNameJoinsTheNewFolder) {
    m_folderAfterSettings = "D:\\data\\new";
    const std::optional<NewTspFileChoices> choices = Run([&](DialogModel& form) {
        form.Click(kIdChangeSaveFolder);
        EXPECT_EQ(form.Text(kIdNewFileFolder), "D:\\data\\new");
        form.Type(kIdNewFileName, "a");
        return form.Ok() ? kDialogOk : kDialogCancel;
    });
    ASSERT_TRUE(choices);
    EXPECT_EQ(choices->tspFilePath, "D:\\data\\new\\a.tsp");
    EXPECT_EQ(m_log, (std::vector<std::string>{"settings"}));
}

TEST_F(NewTspFileDlgTest, GuideButtonsOpenTheirAddressesAndEditsKeepTheirByteLimits) {
    Run([](DialogModel& form) {
        form.Click(kIdMacroSeriesGuide);
        form.Click(kIdFinancialSeriesGuide);
        form.Click(kIdFinancialCrossGuide);
        EXPECT_FALSE(form.Type(kIdSampleStart, "19755"));
        EXPECT_EQ(form.Text(kIdSampleStart), "1975");
        EXPECT_TRUE(form.Type(kVariableNameIds[11], Cp932("山田太郎")));
        EXPECT_FALSE(form.Type(kVariableNameIds[0], Cp932("山田太郎花")));
        EXPECT_EQ(form.Text(kVariableNameIds[0]), Cp932("山田太郎"));
        EXPECT_FALSE(form.Type(kIdDataFileName, "typed.txt"));  // read-only
        EXPECT_FALSE(form.Type(kIdNewFileFolder, "D:\\"));
        return kDialogCancel;
    });
    EXPECT_EQ(m_log,
              (std::vector<std::string>{"open https://guide/macro", "open https://guide/series",
                                        "open https://guide/cross"}));
}

}  // namespace
}  // namespace tamvel
