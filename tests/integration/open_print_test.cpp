// Opening and printing the TSP file and the result file, and the LocateFile check, with the
// fake editor as Notepad in a fresh prefix.

#include "panel/open_print.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "startup_fixture.h"
#include "support/fake_programs.h"
#include "ui/control_ids.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

TEST_F(StartupFixture, LocateFileSearchesOnlyThePathsOwnFolderAndNamesTheFullName) {
    const fs::path driveC = fs::canonical(m_prefix.DriveC());
    TempPrefix::WriteFile(driveC / "root.txt");
    TempPrefix::WriteFile(driveC / "temp" / "here.txt");
    TempPrefix::WriteFile(driveC / "work" / "here.txt");
    ASSERT_EQ(m_fileSystem.SetCurrentDirectory("C:\\temp"), kErrorSuccess);
    struct Case {
        const char* path;
        const char* missingMessage;  // nullptr: found
    };
    const Case cases[] = {
        {"C:\\root.txt", nullptr},
        {"c:\\ROOT.TXT", nullptr},
        {"here.txt", nullptr},               // the current directory
        {"root.txt", "C:\\temp\\root.txt"},  // nowhere else
        {"C:\\work\\here.txt", nullptr},
        {"C:\\work\\", "C:\\work\\"},  // a path that ends in '\'
        {"C:\\work", "C:\\work"},      // a folder is no file
        {"C:\\nowhere\\here.txt", "C:\\nowhere\\here.txt"},
        {"", "C:\\temp\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ScriptedUi ui;
        const bool found = LocateFile(ui, m_fileSystem, Cp932(c.path), true);
        EXPECT_EQ(found, c.missingMessage == nullptr);
        EXPECT_EQ(ui.Messages(),
                  c.missingMessage == nullptr
                      ? Strings{}
                      : Strings{std::string("ファイル") + c.missingMessage + "が発見できません!"});
    }
    ScriptedUi quiet;
    EXPECT_FALSE(LocateFile(quiet, m_fileSystem, "C:\\missing.txt", false));
    EXPECT_TRUE(quiet.Log().empty());
}

// A bare name joins its folder with one '\', also when the folder ends in a double-byte
// character whose second byte is the byte of '\' ("表").
TEST(JoinFolderAndNameTest, AddsOneSeparatorWhateverTheFoldersLastCharacter) {
    struct Case {
        const char* folder;
        const char* joined;
    };
    const Case cases[] = {
        {"C:\\temp", "C:\\temp\\a.tsp"},
        {"C:\\temp\\", "C:\\temp\\a.tsp"},
        {"C:\\", "C:\\a.tsp"},
        {"D:\\ソ表", "D:\\ソ表\\a.tsp"},
        {"", "\\a.tsp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(JoinFolderAndName(Cp932(c.folder), "a.tsp"), Cp932(c.joined));
    }
}

class OpenPrintTest : public StartupFixture {
  protected:
    void SetUp() override {
        StartupFixture::SetUp();
        m_driveC = fs::canonical(m_prefix.DriveC());
        RunStartup();
        ASSERT_TRUE(m_ui.Messages().empty()) << m_ui.Messages().front();
    }
    void Type(const std::string& tspFile) {
        m_ui.SetFieldText(kIdTspFileField, Cp932(tspFile));
        m_view.OnFieldChanged(kIdTspFileField);
        m_logStart = m_ui.Log().size();
    }
    Strings LogSinceClick() const {
        return Strings(m_ui.Log().begin() + static_cast<long>(m_logStart), m_ui.Log().end());
    }
    std::string Host(const std::string& relative) const { return (m_driveC / relative).string(); }

    FakePrograms m_fakes{m_prefix};
    fs::path m_driveC;
    std::size_t m_logStart = 0;
};

TEST_F(OpenPrintTest, EditsTheTspFileResolvedAgainstTheSaveFolderWhetherOrNotItExists) {
    Type("new model.tsp");
    m_view.OnEditTspFile();
    const auto starts = m_fakes.AwaitStarts("notepad.exe", 1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["argv"], Strings{Host("temp/new model.tsp")});
    EXPECT_EQ(starts[0]["cwd"], Host("windows"));
    EXPECT_EQ(m_view.Environment().tspFile, "C:\\temp\\new model.tsp");
    EXPECT_TRUE(LogSinceClick().empty());
}

TEST_F(OpenPrintTest, ViewsTheResultWithTheMainWindowHiddenAroundTheLaunch) {
    TempPrefix::WriteFile(m_driveC / "work" / "a b.tsp");
    TempPrefix::WriteFile(m_driveC / "work" / "a b.out");
    Type("C:\\work\\a b.tsp");
    m_view.OnViewResultFile();
    EXPECT_EQ(LogSinceClick(), (Strings{"window hidden", "window shown"}));
    EXPECT_EQ(m_fakes.AwaitStarts("notepad.exe", 1).at(0)["argv"], Strings{Host("work/a b.out")});

    fs::remove(m_driveC / "work" / "a b.out");
    m_logStart = m_ui.Log().size();
    m_view.OnViewResultFile();
    EXPECT_EQ(LogSinceClick(), Strings{"message: ファイルC:\\work\\a b.outが発見できません!"});
}

TEST_F(OpenPrintTest, PrintsEitherFileWithNotepadsSwitchAsItsOwnArgument) {
    TempPrefix::WriteFile(m_driveC / "temp" / "my model.tsp");
    TempPrefix::WriteFile(m_driveC / "temp" / "my model.out");
    Type("my model.tsp");
    m_view.OnPrintTspFile();
    m_view.OnPrintResultFile();
    // The two run side by side, so either may record first.
    std::vector<Strings> printed;
    for (const auto& start : m_fakes.AwaitStarts("notepad.exe", 2))
        printed.push_back(start["argv"]);
    std::sort(printed.begin(), printed.end());
    EXPECT_EQ(printed, (std::vector<Strings>{{"/p", Host("temp/my model.out")},
                                             {"/p", Host("temp/my model.tsp")}}));
    EXPECT_TRUE(LogSinceClick().empty());
    EXPECT_EQ(m_view.ResultFilePath(), "C:\\temp\\my model.out");
}

TEST_F(OpenPrintTest, ReportsAMissingFileOrAFailedLaunchAndStartsNothing) {
    TempPrefix::WriteFile(m_driveC / "temp" / "model.tsp");
    Type("model.tsp");
    m_view.OnPrintResultFile();  // no result file yet
    ::chmod((m_driveC / "windows" / "notepad.exe").c_str(), 0644);
    m_view.OnEditTspFile();
    EXPECT_EQ(LogSinceClick(), (Strings{"message: ファイルC:\\temp\\model.outが発見できません!",
                                        "message: ＯＳがファイルへのアクセスを拒否しました. "}));
    EXPECT_EQ(m_view.LastShellResult(), 5);
    EXPECT_TRUE(m_fakes.Starts("notepad.exe").empty());
}

TEST_F(OpenPrintTest, ChoosingATspFileOpensInTheSaveFolderAndSetsBothFields) {
    m_fileSystem.SetCurrentDirectory("C:\\WINDOWS");
    m_ui.CancelFile();
    m_ui.AnswerFile("C:\\work\\model.tsp");
    m_view.OnChangeTspFile();
    EXPECT_EQ(m_fileSystem.CurrentDirectory(), "C:\\temp");
    EXPECT_EQ(m_ui.Field(kIdTspFileField), "");
    EXPECT_EQ(m_ui.Field(kIdResultFileField), "");

    m_view.OnChangeTspFile();
    EXPECT_EQ(m_ui.Field(kIdTspFileField), "C:\\work\\model.tsp");
    EXPECT_EQ(m_ui.Field(kIdResultFileField), "C:\\work\\model.out");
    EXPECT_EQ(LogSinceClick(), (Strings{"choose tsp-file", "choose tsp-file"}));

    // Clearing the field clears the result field; the result file path stays.
    Type("");
    EXPECT_EQ(m_ui.Field(kIdResultFileField), "");
    EXPECT_EQ(m_view.ResultFilePath(), "C:\\work\\model.out");
}

}  // namespace
}  // namespace tamvel::testing
