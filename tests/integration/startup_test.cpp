// The control panel's start-up checks over a real prefix, with a scripted person.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "startup_fixture.h"
#include "ui/control_ids.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;
using Log = std::vector<std::string>;

const std::string kInstalledTspMissing =
    "message: ＴＳＰ実行プログラムが見つかりません。\nC:\\Program Files (x86)\\TSP 5.1\\Tsp.exe\n"
    "のようなTsp.exeという名のファイルを発見してください";
const std::string kFindDizi = "message: DIZI.EXEを発見し，選択してください";
const std::string kDiziNotFound = "message: DIZI.EXEが発見できませんので，TSPを実行できません";
const std::string kTspRunnerMissing =
    "message: ＴＳＰファイルを実行するプログラムが見つかりません。\nC:\\temp\\Tsp.exe\n"
    "のようなファイルを選択してください";
const std::string kRefuseA =
    "message: A:\\Tamvel.exeは設定できません。DドライブのDIZI.EXEを選択してください";
const std::string kRefuseH =
    "message: H:\\Tamvel.exeは設定できません。C:\\tempのTXP.EXEを選択してください";
const std::string kRefuseTemp =
    "message: C:\\temp\\Tamvel.exeは設定できません。C:\\tempのTXP.EXEを選択してください";
const std::string kEditorNotSet =
    "message: "
    "ＴＳＰファイルを作成するエディター/ワープロが指定されていません。\n設定してください。";
const std::string kChooseProgram = "choose program";
const std::string kBrowseFolder = "browse folder";

// A machine with TSP installed and no medium: nothing to ask, C:\temp\ as the save folder,
// and the environment saved where the next start will not look.
TEST_F(StartupFixture, PlainMachineNeedsNoAnswersAndSavesIntoTemp) {
    InstallTsp();
    RunStartup();

    EXPECT_EQ(m_ui.Log(), Log{});
    EXPECT_FALSE(m_view.IsDriveAAvailable());
    EXPECT_FALSE(m_view.IsDriveHAvailable());
    EXPECT_TRUE(fs::exists(m_prefix.DriveC() / "temp" / "tsp.exe"));
    EXPECT_EQ(m_ui.Field(kIdTspExeField), "C:\\temp\\Tsp.EXE");
    EXPECT_EQ(m_ui.Field(kIdEditorField), "C:\\WINDOWS\\Notepad.exe");
    EXPECT_EQ(m_ui.Field(kIdSaveFolderField), "C:\\temp\\");
    EXPECT_FALSE(m_ui.WasFieldSet(kIdTspFileField));
    EXPECT_FALSE(m_ui.WasFieldSet(kIdResultFileField));
    EXPECT_TRUE(EqualsNoCase(m_fileSystem.CurrentDirectory(), "C:\\temp"));
    EXPECT_EQ(m_view.WindowsFolder(), "C:\\WINDOWS");
    ASSERT_NE(m_view.Stop(), nullptr);
    EXPECT_FALSE(m_view.Stop()->IsSignalled());

    m_view.OnDestroy();
    EXPECT_EQ(m_view.Stop(), nullptr);
    EXPECT_EQ(EnvironmentTextIn(m_prefix.DriveC() / "temp" / "TamvelEnvFile.TXT"),
              "TspExe|C:\\temp\\Tsp.EXE;Editor|C:\\WINDOWS\\Notepad.exe;SaveFolder|C:\\temp\\;"
              "TspFile|;");
}

TEST_F(StartupFixture, ReadsTheEnvironmentFileFromTheRootOfDriveAElseH) {
    struct Case {
        bool mapA, mapH;
        bool fileOnA, fileOnH;
        std::string saveFolder;
    };
    const Case cases[] = {
        {true, false, false, false, "A:\\"},
        {false, true, false, false, "H:\\"},
        {true, false, true, false, "A:\\fromA"},
        {false, true, false, true, "H:\\fromH"},
        {true, true, true, true, "A:\\fromA"},
        {true, true, false, true, "A:\\"},  // H's file is not read while A is usable
    };
    for (const Case& c : cases) {
        TempPrefix prefix;
        ASSERT_TRUE(prefix.Ensure());
        prefix.InstallTsp();
        for (auto [mapped, withFile, letter] :
             {std::tuple{c.mapA, c.fileOnA, 'A'}, std::tuple{c.mapH, c.fileOnH, 'H'}}) {
            if (!mapped) continue;
            const fs::path medium = prefix.MapDrive(letter);
            const std::string folder = std::string("from") + letter;
            fs::create_directory(medium / folder);
            if (withFile) {
                WriteEnvironmentFile(medium, "C:\\temp\\Tsp.EXE", "C:\\WINDOWS\\Notepad.exe",
                                     std::string(1, letter) + ":\\" + folder, "");
            }
        }
        FileSystem fileSystem(prefix.Drives());
        ScriptedUi ui;
        CTamvelView view(ui, fileSystem);
        view.OnInitialUpdate();

        SCOPED_TRACE(c.saveFolder);
        EXPECT_EQ(view.IsDriveAAvailable(), c.mapA);
        EXPECT_EQ(view.IsDriveHAvailable(), c.mapH);
        EXPECT_EQ(ui.Log(), Log{});
        EXPECT_EQ(ui.Field(kIdSaveFolderField), c.saveFolder);
        EXPECT_EQ(Cp932ToUtf8(view.Environment().saveFolder), c.saveFolder);
    }
}

TEST_F(StartupFixture, ShowsEverySettingOfAnEnvironmentFileThatHoldsUp) {
    InstallTsp();
    const fs::path medium = m_prefix.MapDrive('A');
    TempPrefix::WriteFile(medium / "bin" / "mytsp.exe");
    TempPrefix::WriteFile(medium / "bin" / "edit.exe");
    TempPrefix::WriteFile(medium / "作業" / "model.tsp");
    WriteEnvironmentFile(medium, "A:\\bin\\mytsp.exe", "A:\\bin\\edit.exe", "A:\\作業",
                         "A:\\作業\\model.tsp");
    RunStartup();

    EXPECT_EQ(m_ui.Log(), Log{});
    EXPECT_EQ(m_ui.Field(kIdTspExeField), "A:\\bin\\mytsp.exe");
    EXPECT_EQ(m_ui.Field(kIdEditorField), "A:\\bin\\edit.exe");
    EXPECT_EQ(m_ui.Field(kIdSaveFolderField), "A:\\作業");
    EXPECT_EQ(m_ui.Field(kIdTspFileField), "A:\\作業\\model.tsp");
    EXPECT_EQ(m_ui.Field(kIdResultFileField), "A:\\作業\\model.out");
    EXPECT_EQ(Cp932ToUtf8(m_view.ResultFilePath()), "A:\\作業\\model.out");
    EXPECT_EQ(Cp932ToUtf8(m_fileSystem.CurrentDirectory()), "A:\\作業");
}

TEST_F(StartupFixture, SavedTspFileThatVanishedIsNotShownButSavedAgain) {
    InstallTsp();
    const fs::path medium = m_prefix.MapDrive('A');
    WriteEnvironmentFile(medium, "C:\\temp\\Tsp.EXE", "C:\\WINDOWS\\Notepad.exe", "A:\\",
                         "A:\\gone.tsp");
    RunStartup();

    EXPECT_EQ(m_ui.Log(), Log{});
    EXPECT_FALSE(m_ui.WasFieldSet(kIdTspFileField));
    EXPECT_FALSE(m_ui.WasFieldSet(kIdResultFileField));
    for (int button : {kIdEditTspFile, kIdRunTspFile, kIdViewResult}) {
        EXPECT_FALSE(m_view.IsButtonEnabled(button)) << button;
    }
    m_view.OnDestroy();
    EXPECT_EQ(EnvironmentTextIn(medium / "TamvelEnvFile.TXT"),
              "TspExe|C:\\temp\\Tsp.EXE;Editor|C:\\WINDOWS\\Notepad.exe;SaveFolder|A:\\;"
              "TspFile|A:\\gone.tsp;");
}

// Without the installed TSP the person is asked for a file named TSP.exe, twice at most.
TEST_F(StartupFixture, MissingInstalledTspAsksUntilATspExeOrTheSecondMiss) {
    struct Case {
        std::vector<std::optional<std::string>> answers;  // nullopt: cancel
        Log log;
        std::string tspExe;
    };
    const Case cases[] = {
        // Cancelling keeps the installed path, whose name is tsp.exe: the loop ends at once.
        {{std::nullopt, std::nullopt},
         {kInstalledTspMissing, kChooseProgram, kTspRunnerMissing, kChooseProgram},
         ""},
        {{"C:\\tools\\other.exe", std::nullopt},
         {kInstalledTspMissing, kChooseProgram, kFindDizi, kChooseProgram, kFindDizi, kDiziNotFound,
          "message: 設定されているＴＳＰ実行プログラム(C:\\temp\\Tsp.EXE)が存在しません。\n"
          "ＴＳＰ実行ファイルを選択してください"},
         ""},
        {{"C:\\tools\\other.exe", "C:\\tools\\TSP.EXE"},
         {kInstalledTspMissing, kChooseProgram, kFindDizi, kChooseProgram},
         "C:\\temp\\Tsp.EXE"},
        {{"C:\\tools\\tsp.exe"}, {kInstalledTspMissing, kChooseProgram}, "C:\\temp\\Tsp.EXE"},
        // A second miss ends the loop even when the file was copied: its name is not TSP.exe.
        {{"C:\\tools\\other.exe", "C:\\tools\\other.exe"},
         {kInstalledTspMissing, kChooseProgram, kFindDizi, kChooseProgram, kFindDizi, kDiziNotFound,
          "message: 設定されているＴＳＰ実行プログラム(C:\\temp\\Tsp.EXE)が存在しません。\n"
          "ＴＳＰ実行ファイルを選択してください"},
         ""},
    };
    for (const Case& c : cases) {
        TempPrefix prefix;
        ASSERT_TRUE(prefix.Ensure());
        TempPrefix::WriteFile(prefix.DriveC() / "tools" / "other.exe");
        TempPrefix::WriteFile(prefix.DriveC() / "tools" / "TSP.EXE");
        FileSystem fileSystem(prefix.Drives());
        ScriptedUi ui;
        for (const auto& answer : c.answers) answer ? ui.AnswerFile(*answer) : ui.CancelFile();
        CTamvelView view(ui, fileSystem);
        view.OnInitialUpdate();

        EXPECT_EQ(ui.Log(), c.log);
        EXPECT_EQ(view.Environment().tspExe, c.tspExe);
        EXPECT_EQ(ui.PendingAnswers(), 0u);
    }
}

TEST_F(StartupFixture, ConfiguredTspExeThatVanishedIsReportedAndDroppedWithoutAChooser) {
    InstallTsp();
    const fs::path medium = m_prefix.MapDrive('A');
    WriteEnvironmentFile(medium, "A:\\gone\\tsp.exe", "C:\\WINDOWS\\Notepad.exe", "A:\\", "");
    RunStartup();

    EXPECT_EQ(m_ui.Log(), Log{"message: 設定されているＴＳＰ実行プログラム(A:\\gone\\tsp.exe)"
                              "が存在しません。\nＴＳＰ実行ファイルを選択してください"});
    EXPECT_EQ(m_view.Environment().tspExe, "");
    EXPECT_FALSE(m_ui.WasFieldSet(kIdTspExeField));
}

TEST_F(StartupFixture, ConfiguredKnownWrongTspExeIsReportedAndKept) {
    struct Case {
        std::string tspExe;
        std::string message;
    };
    const Case cases[] = {
        {"A:\\Tamvel.exe",
         "message: "
         "A:\\Tamvel.exeは設定できません。\n環境設定で，DドライブのDIZI.EXEを選択してください"},
        {"c:\\program files (x86)\\tsp 5.1\\TSP.EXE",
         "message: C:\\Program Files (x86)\\TSP 5.1\\Tsp.exeは設定できません。\n"
         "境設定で，DドライブのDIZI.EXEを選択してください"},
    };
    for (const Case& c : cases) {
        TempPrefix prefix;
        ASSERT_TRUE(prefix.Ensure());
        prefix.InstallTsp();
        const fs::path medium = prefix.MapDrive('A');
        TempPrefix::WriteFile(medium / "Tamvel.exe");
        WriteEnvironmentFile(medium, c.tspExe, "C:\\WINDOWS\\Notepad.exe", "A:\\", "");
        FileSystem fileSystem(prefix.Drives());
        ScriptedUi ui;
        CTamvelView view(ui, fileSystem);
        view.OnInitialUpdate();

        EXPECT_EQ(ui.Log(), Log{c.message});
        EXPECT_EQ(ui.Field(kIdTspExeField), c.tspExe);
    }
}

// With no TSP anywhere the runner is asked for; this program's own executable is refused,
// and after the second refusal the refused value stays.
TEST_F(StartupFixture, RunnerChooserRefusesThisProgramTwiceAtMost) {
    struct Case {
        std::vector<std::optional<std::string>> answers;
        Log refusals;  // the log after the runner's first chooser
        std::string tspExe;
    };
    const Case cases[] = {
        {{"A:\\Tamvel.exe", "A:\\Tamvel.exe"},
         {kRefuseA, kChooseProgram, kRefuseA},
         "A:\\Tamvel.exe"},
        {{"a:\\tamvel.EXE", "C:\\tools\\run.exe"},
         {kRefuseA, kChooseProgram},
         "C:\\tools\\run.exe"},
        {{"H:\\Tamvel.exe", "c:\\TEMP\\tamvel.exe"},
         {kRefuseH, kChooseProgram, kRefuseTemp},
         "c:\\TEMP\\tamvel.exe"},
        // Cancelling after a refusal keeps the refused value, which is refused once more.
        {{"A:\\Tamvel.exe", std::nullopt}, {kRefuseA, kChooseProgram, kRefuseA}, "A:\\Tamvel.exe"},
        {{std::nullopt}, {}, ""},
    };
    for (const Case& c : cases) {
        TempPrefix prefix;
        ASSERT_TRUE(prefix.Ensure());
        FileSystem fileSystem(prefix.Drives());
        ScriptedUi ui;
        ui.CancelFile();
        for (const auto& answer : c.answers) answer ? ui.AnswerFile(*answer) : ui.CancelFile();
        CTamvelView view(ui, fileSystem);
        view.OnInitialUpdate();

        Log expected = {kInstalledTspMissing, kChooseProgram, kTspRunnerMissing, kChooseProgram};
        expected.insert(expected.end(), c.refusals.begin(), c.refusals.end());
        EXPECT_EQ(ui.Log(), expected);
        EXPECT_EQ(Cp932ToUtf8(view.Environment().tspExe), c.tspExe);
        EXPECT_EQ(ui.Field(kIdTspExeField), c.tspExe);
        EXPECT_EQ(ui.PendingAnswers(), 0u);
    }
}

TEST_F(StartupFixture, EditorFallsBackToNotepadOnlyWhenNoneWasSet) {
    struct Case {
        bool notepad;
        std::string configuredEditor;  // empty: the file sets none
        std::optional<std::string> answer;
        Log log;
        std::string editor;
    };
    const std::string missingEditor =
        "message: 設定されているエディター/ワープロ(A:\\gone\\edit.exe)が存在しません。\n"
        "設定してください。";
    const Case cases[] = {
        {true, "", std::nullopt, {}, "C:\\WINDOWS\\Notepad.exe"},
        {false, "", "C:\\tools\\ed.exe", {kEditorNotSet, kChooseProgram}, "C:\\tools\\ed.exe"},
        {false, "", std::nullopt, {kEditorNotSet, kChooseProgram}, ""},
        {true, "A:\\gone\\edit.exe", std::nullopt, {missingEditor, kChooseProgram}, ""},
        {true,
         "A:\\gone\\edit.exe",
         "C:\\tools\\ed.exe",
         {missingEditor, kChooseProgram},
         "C:\\tools\\ed.exe"},
    };
    for (const Case& c : cases) {
        TempPrefix prefix;
        ASSERT_TRUE(prefix.Ensure());
        prefix.InstallTsp();
        if (!c.notepad) {
            for (const auto& entry : fs::directory_iterator(prefix.DriveC() / "windows")) {
                fs::remove(entry.path());
            }
        }
        if (!c.configuredEditor.empty()) {
            WriteEnvironmentFile(prefix.MapDrive('A'), "C:\\temp\\Tsp.EXE", c.configuredEditor,
                                 "A:\\", "");
        }
        FileSystem fileSystem(prefix.Drives());
        ScriptedUi ui;
        if (c.answer) ui.AnswerFile(*c.answer);
        CTamvelView view(ui, fileSystem);
        view.OnInitialUpdate();

        EXPECT_EQ(ui.Log(), c.log);
        EXPECT_EQ(view.Environment().editor, c.editor);
        EXPECT_EQ(ui.Field(kIdEditorField), c.editor);
        EXPECT_EQ(ui.WasFieldSet(kIdEditorField), !c.editor.empty());
    }
}

TEST_F(StartupFixture, UnusableSaveFolderAsksForAFolderThenFallsBackToTemp) {
    struct Case {
        std::optional<std::string> path;  // nullopt: the browser is cancelled
        std::string displayName;
        std::string saveFolder;
        std::string currentDirectory;
    };
    const Case cases[] = {
        {std::nullopt, "", "C:\\temp\\", "C:\\temp"},
        {"C:\\chosen", "chosen", "C:\\chosen", "C:\\chosen"},
        {"", "USB (A:)", "A:\\", "A:\\"},
        {"C:\\nothere", "nothere", "C:\\temp\\", "C:\\temp"},
        {"", "Network", "C:\\temp\\", "C:\\temp"},
    };
    for (const Case& c : cases) {
        TempPrefix prefix;
        ASSERT_TRUE(prefix.Ensure());
        prefix.InstallTsp();
        fs::create_directory(prefix.DriveC() / "chosen");
        WriteEnvironmentFile(prefix.MapDrive('A'), "C:\\temp\\Tsp.EXE", "C:\\WINDOWS\\Notepad.exe",
                             "A:\\old\\", "");
        FileSystem fileSystem(prefix.Drives());
        ScriptedUi ui;
        c.path ? ui.AnswerFolder(*c.path, c.displayName) : ui.CancelFolder();
        CTamvelView view(ui, fileSystem);
        view.OnInitialUpdate();

        SCOPED_TRACE(c.saveFolder);
        EXPECT_EQ(ui.Log(), (Log{"message: A:\\old\\に変更できません。\n"
                                 "ＴＳＰファイルなどを保存するフォルダを選択してください。",
                                 kBrowseFolder}));
        EXPECT_EQ(view.Environment().saveFolder, c.saveFolder);
        EXPECT_EQ(ui.Field(kIdSaveFolderField), c.saveFolder);
        EXPECT_TRUE(EqualsNoCase(fileSystem.CurrentDirectory(), c.currentDirectory))
            << fileSystem.CurrentDirectory();
    }
}

TEST_F(StartupFixture, WithoutTempEvenTheLastFallbackIsReported) {
    InstallTsp();
    fs::remove_all(m_prefix.DriveC() / "temp");
    RunStartup();

    const std::vector<std::string> messages = m_ui.Messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(
        messages[messages.size() - 2],
        "C:\\temp\\に変更できません。\nＴＳＰファイルなどを保存するフォルダを選択してください。");
    EXPECT_EQ(messages.back(), "C:\\temp\\に変更できません");
    EXPECT_EQ(m_view.Environment().saveFolder, "C:\\temp\\");
    EXPECT_FALSE(m_ui.WasFieldSet(kIdSaveFolderField));
}

// Renewing the document runs start-up again: the medium's file replaces what is in memory.
TEST_F(StartupFixture, RenewalReadsTheEnvironmentFileAgain) {
    InstallTsp();
    const fs::path medium = m_prefix.MapDrive('A');
    fs::create_directory(medium / "first");
    fs::create_directory(medium / "second");
    WriteEnvironmentFile(medium, "C:\\temp\\Tsp.EXE", "C:\\WINDOWS\\Notepad.exe", "A:\\first", "");
    RunStartup();
    EXPECT_EQ(m_ui.Field(kIdSaveFolderField), "A:\\first");

    WriteEnvironmentFile(medium, "C:\\temp\\Tsp.EXE", "C:\\WINDOWS\\Notepad.exe", "A:\\second", "");
    RunStartup();
    EXPECT_EQ(m_ui.Field(kIdSaveFolderField), "A:\\second");
    EXPECT_NE(m_view.Stop(), nullptr);
    EXPECT_EQ(m_ui.Log(), Log{});
}

}  // namespace
}  // namespace tamvel::testing
