// The environment settings command over a real prefix: what OK takes over, the save folder
// it enters or creates, the environment file it writes, and the dialog's three buttons.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "environment/env_settings_dlg.h"
#include "startup_fixture.h"
#include "ui/control_ids.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;

// What start-up settles on in a fresh prefix with TSP installed and no drive A or H.
constexpr const char* kStartTspExe = "C:\\temp\\Tsp.EXE";
constexpr const char* kStartEditor = "C:\\WINDOWS\\Notepad.exe";
constexpr const char* kStartSaveFolder = "C:\\temp\\";

class EnvSettingsTest : public StartupFixture {
  protected:
    void SetUp() override {
        StartupFixture::SetUp();
        InstallTsp();
        m_driveD = m_prefix.MapDrive('D');
        fs::create_directories(m_driveD / "data");
        TempPrefix::WriteFile(Temp() / "a.tsp");
        RunStartup();
        ASSERT_EQ(m_ui.Log().size(), 0u);
        ASSERT_EQ(Setting(&WorkingEnvironment::saveFolder), kStartSaveFolder);
        m_ui.SetFieldText(kIdTspFileField, Cp932("C:\\temp\\a.tsp"));
        m_view.OnFieldChanged(kIdTspFileField);
    }

    /// Opens the dialog; `drive` acts on it as the person would, then OK is pressed (or
    /// Cancel, when `ok` is false).
    void OpenSettings(const std::function<void(DialogModel&)>& drive, bool ok = true) {
        m_ui.dialogAnswer = [&drive, ok](DialogModel& dialog) {
            if (drive) drive(dialog);
            return ok && dialog.Ok() ? kDialogOk : kDialogCancel;
        };
        m_view.OnEnvSettings();
        m_ui.dialogAnswer = nullptr;
    }
    /// Types UTF-8 text into a field of the dialog.
    static void Type(DialogModel& dialog, int id, const std::string& utf8) {
        ASSERT_TRUE(dialog.Type(id, Cp932(utf8)));
    }
    static std::string Text(const DialogModel& dialog, int id) {
        return Cp932ToUtf8(dialog.Text(id)).value_or("<not CP932>");
    }
    std::string Setting(std::string WorkingEnvironment::*member) const {
        return Cp932ToUtf8(m_view.Environment().*member).value_or("<not CP932>");
    }
    fs::path Temp() const { return m_prefix.DriveC() / "temp"; }
    static fs::path EnvFileIn(const fs::path& folder) { return folder / "TamvelEnvFile.TXT"; }

    fs::path m_driveD;
};

TEST_F(EnvSettingsTest, DialogShowsTheSettingsAndOkWithNothingNewWritesNothing) {
    struct Case {
        const char* name;
        bool ok;
        std::function<void(DialogModel&)> drive;
    };
    const Case cases[] = {
        {"unchanged", true, {}},
        {"differing only in letter case", true,
         [](DialogModel& d) {
             Type(d, kIdTspExeText, "c:\\TEMP\\tsp.exe");
             Type(d, kIdEditorText, "c:\\windows\\NOTEPAD.EXE");
             Type(d, kIdSaveFolderText, "c:\\TEMP\\");
         }},
        {"emptied", true,
         [](DialogModel& d) {
             Type(d, kIdTspExeText, "");
             Type(d, kIdEditorText, "");
             Type(d, kIdSaveFolderText, "");
         }},
        {"cancelled after typing", false,
         [](DialogModel& d) {
             Type(d, kIdEditorText, "C:\\temp\\a.tsp");
             Type(d, kIdSaveFolderText, "D:\\data");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> shown;
        OpenSettings(
            [&](DialogModel& d) {
                shown = {Text(d, kIdTspExeText), Text(d, kIdEditorText),
                         Text(d, kIdSaveFolderText)};
                if (c.drive) c.drive(d);
            },
            c.ok);
        EXPECT_EQ(shown, (std::vector<std::string>{kStartTspExe, kStartEditor, kStartSaveFolder}));
        EXPECT_EQ(Setting(&WorkingEnvironment::tspExe), kStartTspExe);
        EXPECT_EQ(Setting(&WorkingEnvironment::editor), kStartEditor);
        EXPECT_EQ(Setting(&WorkingEnvironment::saveFolder), kStartSaveFolder);
        EXPECT_EQ(m_fileSystem.CurrentDirectory(), "C:\\temp");
        EXPECT_FALSE(fs::exists(EnvFileIn(Temp())));
        EXPECT_EQ(m_ui.Messages(), std::vector<std::string>{});
    }
}

// A new save folder: entered when it exists, else created one level deep; the TSP file's
// path follows it (the file stays where it is) and the environment file goes into it.
struct NewFolderCase {
    const char* typed;
    const char* saveFolder;  // as taken over
    const char* current;     // the current directory afterwards
    char drive;              // 'C' or 'D'
    const char* hostFolder;  // below that drive's folder
};

void PrintTo(const NewFolderCase& c, std::ostream* out) { *out << c.typed; }

class NewSaveFolderTest : public EnvSettingsTest,
                          public ::testing::WithParamInterface<NewFolderCase> {};

TEST_P(NewSaveFolderTest, IsEnteredAndReceivesTheTspFileAndTheEnvironment) {
    const NewFolderCase& c = GetParam();
    const fs::path host = (c.drive == 'C' ? m_prefix.DriveC() : m_driveD) / c.hostFolder;
    OpenSettings([&](DialogModel& d) { Type(d, kIdSaveFolderText, c.typed); });

    const std::string folder = c.saveFolder;
    const std::string tspFile = folder + (folder.ends_with('\\') ? "" : "\\") + "a.tsp";
    EXPECT_TRUE(fs::is_directory(host));
    EXPECT_EQ(Setting(&WorkingEnvironment::saveFolder), folder);
    EXPECT_EQ(m_ui.Field(kIdSaveFolderField), folder);
    EXPECT_EQ(Cp932ToUtf8(m_fileSystem.CurrentDirectory()), c.current);
    EXPECT_EQ(Setting(&WorkingEnvironment::tspFile), tspFile);
    EXPECT_EQ(m_ui.Field(kIdTspFileField), tspFile);
    EXPECT_EQ(m_ui.Field(kIdResultFileField), tspFile.substr(0, tspFile.size() - 3) + "out");
    EXPECT_FALSE(fs::exists(host / "a.tsp"));
    EXPECT_TRUE(fs::exists(Temp() / "a.tsp"));
    EXPECT_EQ(EnvironmentTextIn(EnvFileIn(host)), std::string("TspExe|") + kStartTspExe +
                                                      ";Editor|" + kStartEditor + ";SaveFolder|" +
                                                      folder + ";TspFile|" + tspFile + ";");
    EXPECT_FALSE(fs::exists(EnvFileIn(Temp())));
    EXPECT_EQ(m_ui.Messages(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Folders, NewSaveFolderTest,
    ::testing::Values(
        NewFolderCase{"D:\\data\\new", "D:\\data\\new", "D:\\data\\new", 'D', "data/new"},
        NewFolderCase{"D:\\data\\new\\", "D:\\data\\new\\", "D:\\data\\new", 'D', "data/new"},
        // The last byte of 表 is the code of '\', but the folder does not end in a separator.
        NewFolderCase{"d:\\data\\ソ表", "d:\\data\\ソ表", "D:\\data\\ソ表", 'D', "data/ソ表"},
        NewFolderCase{"D:\\DATA", "D:\\DATA", "D:\\DATA", 'D', "data"},
        // A relative name is made full against the folder current at OK.
        NewFolderCase{"new", "C:\\temp\\new", "C:\\temp\\new", 'C', "temp/new"}));

// A save folder that can be neither entered nor created leaves the old one current; the
// file is written (into the old folder) only when another setting was taken over.
struct RefusedFolderCase {
    const char* name;
    const char* typed;
    bool newEditor;
};

class RefusedSaveFolderTest : public EnvSettingsTest,
                              public ::testing::WithParamInterface<RefusedFolderCase> {};

TEST_P(RefusedSaveFolderTest, LeavesTheOldFolderCurrent) {
    const RefusedFolderCase& c = GetParam();
    TempPrefix::WriteFile(m_driveD / "data" / "file.txt");
    fs::create_directory_symlink(m_driveD / "nowhere", m_driveD / "data" / "dangling");
    TempPrefix::WriteFile(m_prefix.DriveC() / "tools" / "editor.exe");
    OpenSettings([&](DialogModel& d) {
        Type(d, kIdSaveFolderText, c.typed);
        if (c.newEditor) Type(d, kIdEditorText, "C:\\tools\\editor.exe");
    });

    const std::string editor = c.newEditor ? "C:\\tools\\editor.exe" : kStartEditor;
    EXPECT_EQ(Setting(&WorkingEnvironment::saveFolder), kStartSaveFolder);
    EXPECT_EQ(m_fileSystem.CurrentDirectory(), "C:\\temp");
    EXPECT_EQ(Setting(&WorkingEnvironment::tspFile), "C:\\temp\\a.tsp");
    EXPECT_EQ(Setting(&WorkingEnvironment::editor), editor);
    EXPECT_FALSE(fs::exists(m_driveD / "data" / "a"));
    EXPECT_FALSE(fs::exists(m_driveD / "nowhere"));
    EXPECT_EQ(EnvironmentTextIn(EnvFileIn(Temp())),
              c.newEditor ? std::string("TspExe|") + kStartTspExe + ";Editor|" + editor +
                                ";SaveFolder|" + kStartSaveFolder + ";TspFile|C:\\temp\\a.tsp;"
                          : "");
    EXPECT_EQ(m_ui.Field(kIdEditorField), editor);
    EXPECT_EQ(m_ui.Messages(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RefusedSaveFolderTest,
    ::testing::Values(RefusedFolderCase{"two levels", "D:\\data\\a\\b", false},
                      RefusedFolderCase{"two levels, new editor", "D:\\data\\a\\b", true},
                      RefusedFolderCase{"a file", "D:\\data\\file.txt", false},
                      RefusedFolderCase{"a dangling link", "D:\\data\\dangling", true},
                      RefusedFolderCase{"an unmapped drive", "Q:\\new", false},
                      RefusedFolderCase{"a name Windows forbids", "D:\\data\\a?b", true}),
    [](const ::testing::TestParamInfo<RefusedFolderCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

// The TSP executable is looked for before it is compared, the editor only after: an
// unchanged TSP executable that vanished is reported, an unchanged editor is not.
TEST_F(EnvSettingsTest, ProgramsAreLookedForInTheOrderOfTheirTests) {
    TempPrefix::WriteFile(m_prefix.DriveC() / "tools" / "tsp.exe");
    fs::remove(Temp() / "tsp.exe");  // the copy keeps the installed file's name
    ASSERT_FALSE(m_fileSystem.Exists(kStartTspExe));
    RemoveNotepad();
    struct Case {
        const char* name;
        const char* tspExe;  // typed, or nullptr to leave the field
        const char* editor;
        std::vector<std::string> messages;
        const char* takenTspExe;
    };
    const Case cases[] = {
        {"both unchanged and missing",
         nullptr,
         nullptr,
         {"ファイルC:\\temp\\Tsp.EXEが発見できません!"},
         kStartTspExe},
        {"new ones missing",
         "C:\\tools\\none.exe",
         "C:\\tools\\none2.exe",
         {"ファイルC:\\tools\\none.exeが発見できません!",
          "ファイルC:\\tools\\none2.exeが発見できません!"},
         kStartTspExe},
        {"a new TSP executable that exists",
         "C:\\tools\\tsp.exe",
         nullptr,
         {},
         "C:\\tools\\tsp.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = m_ui.Messages().size();
        OpenSettings([&](DialogModel& d) {
            if (c.tspExe) Type(d, kIdTspExeText, c.tspExe);
            if (c.editor) Type(d, kIdEditorText, c.editor);
        });
        const std::vector<std::string> messages = m_ui.Messages();
        EXPECT_EQ(std::vector<std::string>(messages.begin() + before, messages.end()), c.messages);
        EXPECT_EQ(Setting(&WorkingEnvironment::tspExe), c.takenTspExe);
        EXPECT_EQ(Setting(&WorkingEnvironment::editor), kStartEditor);
    }
    EXPECT_EQ(m_ui.Field(kIdTspExeField), "C:\\tools\\tsp.exe");
    EXPECT_EQ(EnvironmentTextIn(EnvFileIn(Temp())),
              std::string("TspExe|C:\\tools\\tsp.exe;Editor|") + kStartEditor + ";SaveFolder|" +
                  kStartSaveFolder + ";TspFile|C:\\temp\\a.tsp;");
}

// Button 211 opens the chooser again after each refused program, a cancel included, until
// another program is chosen.
TEST_F(EnvSettingsTest, RefusedProgramsBringTheirMessageAndTheChooserAgain) {
    m_ui.AnswerFile("a:\\TAMVEL.exe");
    m_ui.CancelFile();
    m_ui.AnswerFile("C:\\program files\\tsp 4.5\\TSP.EXE");
    m_ui.AnswerFile("C:\\temp\\a.tsp");
    std::string shown;
    OpenSettings(
        [&](DialogModel& d) {
            ASSERT_TRUE(d.Click(kIdChangeTspExe));
            shown = Text(d, kIdTspExeText);
        },
        false);

    const std::string refusedA =
        "message: A:\\Tamvel.exeは設定できません。DドライブのDIZI.EXEを選択してください";
    EXPECT_EQ(m_ui.Log(), (std::vector<std::string>{
                              "dialog 130", "choose program", refusedA, "choose program", refusedA,
                              "choose program",
                              "message: C:\\Program Files\\TSP 4.5\\Tsp.exeは設定できません。"
                              "DドライブのDIZI.EXEを選択してください",
                              "choose program"}));
    EXPECT_EQ(shown, "C:\\temp\\a.tsp");
    EXPECT_EQ(Setting(&WorkingEnvironment::tspExe), kStartTspExe);
}

// Each button shows the three members again, so typed text not yet confirmed goes; a
// folder that is the same but for letter case changes nothing, not even the fields.
TEST_F(EnvSettingsTest, ButtonsShowTheMembersAgainOverTypedText) {
    m_ui.AnswerFolder("D:\\data");
    m_ui.AnswerFolder("d:\\DATA");
    m_ui.CancelFile();
    std::vector<std::vector<std::string>> steps;
    OpenSettings([&](DialogModel& d) {
        const auto snapshot = [&] {
            steps.push_back(
                {Text(d, kIdTspExeText), Text(d, kIdEditorText), Text(d, kIdSaveFolderText)});
        };
        Type(d, kIdEditorText, "C:\\typed\\editor.exe");
        Type(d, kIdTspExeText, "C:\\typed\\tsp.exe");
        d.Click(kIdChooseSaveFolder);
        snapshot();
        Type(d, kIdEditorText, "C:\\typed\\editor.exe");
        d.Click(kIdChooseSaveFolder);
        snapshot();
        d.Click(kIdChangeEditor);
        snapshot();
    });

    EXPECT_EQ(steps, (std::vector<std::vector<std::string>>{
                         {kStartTspExe, kStartEditor, "D:\\data"},
                         {kStartTspExe, "C:\\typed\\editor.exe", "D:\\data"},
                         {kStartTspExe, kStartEditor, "D:\\data"},
                     }));
    EXPECT_EQ(Setting(&WorkingEnvironment::saveFolder), "D:\\data");
    EXPECT_EQ(m_ui.PendingAnswers(), 0u);
}

}  // namespace
}  // namespace tamvel::testing
