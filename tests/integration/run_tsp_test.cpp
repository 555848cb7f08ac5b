// Running TSP from the control panel with real processes: the fake TSP and the fake editor of
// tests/fakes in a fresh prefix, the person scripted.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
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

class RunTspTest : public StartupFixture {
  protected:
    void SetUp() override {
        StartupFixture::SetUp();
        m_driveC = fs::canonical(m_prefix.DriveC());
    }
    // Start-up with the fakes in place, then the TSP file typed into its field (UTF-8).
    void StartWithTspFile(const std::string& tspFile) {
        RunStartup();
        ASSERT_TRUE(m_ui.Messages().empty()) << m_ui.Messages().front();
        m_ui.SetFieldText(kIdTspFileField, Cp932(tspFile));
        m_view.OnFieldChanged(kIdTspFileField);
        m_logStart = m_ui.Log().size();
    }
    // What the person saw from the click on.
    Strings LogSinceClick() const {
        return Strings(m_ui.Log().begin() + static_cast<long>(m_logStart), m_ui.Log().end());
    }
    // Runs the command and tells how long it took.
    std::chrono::milliseconds Run() {
        const auto start = std::chrono::steady_clock::now();
        m_view.OnRunTspFile();
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
    }
    fs::path TempTsp() const { return m_driveC / "temp" / "tsp.exe"; }

    FakePrograms m_fakes{m_prefix};
    fs::path m_driveC;
    std::size_t m_logStart = 0;
};

TEST_F(RunTspTest, RunsABareNameAsTheSaveFolderJoinedWithItAndOpensTheResult) {
    TempPrefix::WriteFile(m_driveC / "temp" / "model.tsp");
    StartWithTspFile("model.tsp");
    Run();

    EXPECT_EQ(LogSinceClick(),
              (Strings{"window hidden", "running C:\\temp\\model.tsp", "window shown"}));
    const auto tsp = m_fakes.Starts("tsp.exe");
    ASSERT_EQ(tsp.size(), 1u);
    EXPECT_EQ(tsp[0]["argv"], (Strings{(m_driveC / "temp" / "model.tsp").string()}));
    EXPECT_EQ(tsp[0]["cwd"], (m_driveC / "temp").string());
    const auto editor = m_fakes.AwaitStarts("notepad.exe", 1);
    ASSERT_EQ(editor.size(), 1u);
    EXPECT_EQ(editor[0]["argv"], (Strings{(m_driveC / "temp" / "model.out").string()}));
    EXPECT_EQ(editor[0]["cwd"], (m_driveC / "windows").string());
    EXPECT_GT(m_view.LastShellResult(), 32);
    // The field still shows the bare name; the working strings hold full paths.
    EXPECT_EQ(m_ui.Field(kIdTspFileField), "model.tsp");
    EXPECT_EQ(m_view.Environment().tspFile, "C:\\temp\\model.tsp");
    EXPECT_EQ(m_view.ResultFilePath(), "C:\\temp\\model.out");
    EXPECT_EQ(m_fileSystem.CurrentDirectory(), "C:\\temp");
}

TEST_F(RunTspTest, RunsAFileInADriveRootFromThatRootAndComesBackToTheSaveFolder) {
    const fs::path medium = fs::canonical(m_prefix.MapDrive('D'));
    TempPrefix::WriteFile(medium / "root.tsp");
    StartWithTspFile("D:\\root.tsp");
    Run();

    const auto tsp = m_fakes.Starts("tsp.exe");
    ASSERT_EQ(tsp.size(), 1u);
    EXPECT_EQ(tsp[0]["cwd"], medium.string());
    EXPECT_EQ(tsp[0]["argv"], (Strings{(medium / "root.tsp").string()}));
    EXPECT_EQ(m_fakes.AwaitStarts("notepad.exe", 1).at(0)["argv"],
              (Strings{(medium / "root.out").string()}));
    EXPECT_EQ(m_fileSystem.CurrentDirectory(), "C:\\temp");
}

// Blanks, quotes, ';', $( ), backquotes and Japanese reach TSP and the editor as one argument
// each; were a shell involved, $(touch PWNED) would leave a file behind.
TEST_F(RunTspTest, HandsAPathWithShellMetacharactersOverAsOneArgumentWithNoShell) {
    const std::string folder = "my work データ";
    const std::string name = "a b;$(touch PWNED)`touch PWNED2` '&";
    TempPrefix::WriteFile(m_driveC / folder / (name + ".tsp"));
    StartWithTspFile("C:\\" + folder + "\\" + name + ".tsp");
    Run();

    EXPECT_EQ(m_fakes.Starts("tsp.exe").at(0)["argv"],
              (Strings{(m_driveC / folder / (name + ".tsp")).string()}));
    EXPECT_EQ(m_fakes.AwaitStarts("notepad.exe", 1).at(0)["argv"],
              (Strings{(m_driveC / folder / (name + ".out")).string()}));
    for (const auto& entry : fs::recursive_directory_iterator(m_prefix.Root())) {
        const std::string file = entry.path().filename().string();
        EXPECT_TRUE(file != "PWNED" && file != "PWNED2") << entry.path();
    }
}

// Whatever TSP does, the window comes back; the result file is opened when it is there.
TEST_F(RunTspTest, ReportsWhatEachWayOfEndingLeavesBehind) {
    struct Case {
        const char* mode;
        bool resultOpened;
    };
    const Case cases[] = {{"write", true}, {"fail", true}, {"nothing", false}, {"crash", false}};
    TempPrefix::WriteFile(m_driveC / "work" / "model.tsp");
    StartWithTspFile("C:\\work\\model.tsp");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        fs::remove(m_driveC / "work" / "model.out");
        m_fakes.SetTspMode(c.mode);
        const std::size_t editorStarts = m_fakes.Starts("notepad.exe").size();
        m_logStart = m_ui.Log().size();
        Run();

        Strings expected = {"window hidden", "running C:\\work\\model.tsp"};
        if (!c.resultOpened)
            expected.push_back("message: ファイルC:\\work\\model.outが発見できません!");
        expected.push_back("window shown");
        EXPECT_EQ(LogSinceClick(), expected);
        const std::size_t expectedStarts = editorStarts + (c.resultOpened ? 1 : 0);
        EXPECT_EQ(m_fakes.AwaitStarts("notepad.exe", expectedStarts).size(), expectedStarts);
        EXPECT_EQ(m_fileSystem.CurrentDirectory(), "C:\\temp");
    }
}

TEST_F(RunTspTest, AFailedStartIsReportedWithItsCommandLineAndAnEarlierResultIsStillOpened) {
    TempPrefix::WriteFile(m_driveC / "work" / "model.tsp");
    TempPrefix::WriteFile(m_driveC / "work" / "model.out", "earlier result");
    StartWithTspFile("C:\\work\\model.tsp");
    TempPrefix::WriteFile(TempTsp(), "not a program");
    ::chmod(TempTsp().c_str(), 0755);
    Run();

    EXPECT_EQ(LogSinceClick(),
              (Strings{"window hidden",
                       "message: \"C:\\temp\\Tsp.EXE\"  C:\\work\\model.tspを実行できません。"
                       "エラーコード＝193",
                       "window shown"}));
    EXPECT_EQ(m_fakes.AwaitStarts("notepad.exe", 1).at(0)["argv"],
              (Strings{(m_driveC / "work" / "model.out").string()}));
}

TEST_F(RunTspTest, RunsAWindowsTspThroughWineWithZPathsAndRefusesItWithoutWine) {
    TempPrefix::WriteFile(m_driveC / "work" / "model.tsp");
    StartWithTspFile("C:\\work\\model.tsp");
    TempPrefix::WriteFile(TempTsp(), std::string("MZ\x90\0\3", 5));

    Run();
    EXPECT_EQ(m_ui.Messages().at(0),
              "\"C:\\temp\\Tsp.EXE\"  C:\\work\\model.tspを実行できません。エラーコード＝193");

    m_fakes.PutWineOnPath();
    Run();
    const auto wine = m_fakes.Starts("wine");
    ASSERT_EQ(wine.size(), 1u);
    std::string zPath = "Z:" + (m_driveC / "work" / "model.tsp").string();
    for (char& c : zPath) c = c == '/' ? '\\' : c;
    EXPECT_EQ(wine[0]["argv"], (Strings{TempTsp().string(), zPath}));
    EXPECT_EQ(wine[0]["cwd"], (m_driveC / "work").string());
}

TEST_F(RunTspTest, AStoppedRunEndsTspAndGoesOnAsAfterAnyRun) {
    struct Case {
        const char* mode;
        long atLeastMs;
        long belowMs;
    };
    // TSP that ends on SIGTERM goes at once; one that ignores it is killed after 2 s.
    const Case cases[] = {{"hang", 300, 1300}, {"hang-hard", 2300, 3500}};
    TempPrefix::WriteFile(m_driveC / "work" / "model.tsp");
    TempPrefix::WriteFile(m_driveC / "work" / "model.out", "earlier result");
    StartWithTspFile("C:\\work\\model.tsp");
    m_ui.StopRunsAfter(std::chrono::milliseconds(300));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        m_fakes.SetTspMode(c.mode);
        const std::size_t editorStarts = m_fakes.Starts("notepad.exe").size();
        const long took = Run().count();
        EXPECT_GE(took, c.atLeastMs);
        EXPECT_LT(took, c.belowMs);
        EXPECT_EQ(m_fakes.AwaitStarts("notepad.exe", editorStarts + 1).size(), editorStarts + 1);
        EXPECT_EQ(m_ui.Log().back(), "window shown");
    }
}

TEST_F(RunTspTest, AnEditorThatCannotBeStartedIsReportedWithTheTextOfItsCode) {
    TempPrefix::WriteFile(m_driveC / "work" / "model.tsp");
    StartWithTspFile("C:\\work\\model.tsp");
    ::chmod((m_driveC / "windows" / "notepad.exe").c_str(), 0644);
    Run();

    EXPECT_EQ(LogSinceClick(),
              (Strings{"window hidden", "running C:\\work\\model.tsp",
                       "message: ＯＳがファイルへのアクセスを拒否しました. ", "window shown"}));
    EXPECT_EQ(m_view.LastShellResult(), 5);
}

TEST_F(RunTspTest, RefusesThisProgramAsTspInAnyCaseAndStartsNothing) {
    const fs::path medium = m_prefix.MapDrive('A');
    TempPrefix::WriteFile(medium / "Tamvel.exe");
    TempPrefix::WriteFile(m_driveC / "work" / "model.tsp");
    for (const char* configured : {"A:\\Tamvel.exe", "a:\\TAMVEL.EXE", "A:\\tamVEL.exe"}) {
        SCOPED_TRACE(configured);
        WriteEnvironmentFile(medium, configured, "C:\\WINDOWS\\notepad.exe", "C:\\temp\\",
                             "C:\\work\\model.tsp");
        RunStartup();
        m_logStart = m_ui.Log().size();
        Run();
        EXPECT_EQ(LogSinceClick(),
                  Strings{"message: TSP実行ﾌｧｲﾙに，A:\\Tamvel.exeは設定できません。\n"
                          "環境設定でDドライブのDIZI.EXEを選択してください"});
    }
    EXPECT_TRUE(m_fakes.Starts("tsp.exe").empty());
}

TEST_F(RunTspTest, ReplacesAnyOtherTspByTheFixedOneAndSaysWhenItIsMissing) {
    const fs::path medium = m_prefix.MapDrive('A');
    TempPrefix::WriteFile(medium / "other.exe");
    TempPrefix::WriteFile(m_driveC / "work" / "model.tsp");
    WriteEnvironmentFile(medium, "A:\\other.exe", "C:\\WINDOWS\\notepad.exe", "C:\\temp\\",
                         "C:\\work\\model.tsp");
    RunStartup();
    fs::remove(TempTsp());
    m_logStart = m_ui.Log().size();
    Run();

    EXPECT_EQ(LogSinceClick(), Strings{"message: ファイルC:\\temp\\Tsp.exeが発見できません!"});
    EXPECT_EQ(m_view.Environment().tspExe, "C:\\temp\\Tsp.exe");
}

TEST_F(RunTspTest, ABareDriveSaveFolderGainsItsBackslashWhenEnteredAgainAfterARun) {
    const fs::path medium = m_prefix.MapDrive('A');
    TempPrefix::WriteFile(m_driveC / "work" / "model.tsp");
    WriteEnvironmentFile(medium, "C:\\temp\\Tsp.exe", "C:\\WINDOWS\\notepad.exe",
                         "C:", "C:\\work\\model.tsp");
    RunStartup();
    ASSERT_EQ(m_view.Environment().saveFolder, "C:");
    Run();
    EXPECT_EQ(m_view.Environment().saveFolder, "C:\\");
    EXPECT_EQ(m_fakes.AwaitStarts("tsp.exe", 1).at(0)["cwd"], (m_driveC / "work").string());
}

}  // namespace
}  // namespace tamvel::testing
