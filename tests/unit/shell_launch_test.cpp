#include "platform/shell_launch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/text.h"
#include "support/scoped_env.h"
#include "support/temp_prefix.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::TempPrefix;
using Args = std::vector<std::string>;

TEST(ShellLaunch, TellsAddressesTheBrowserAndProgramsApart) {
    struct Case {
        const char* file;
        LaunchKind kind;
    };
    const Case cases[] = {
        {"https://example.org/a b", LaunchKind::Address},
        {"http://x", LaunchKind::Address},
        {"mailto:t@example.org", LaunchKind::Address},
        {"IEXPLORE.EXE", LaunchKind::Browser},
        {"iexplore.exe", LaunchKind::Browser},
        {"C:\\WINDOWS\\notepad.exe", LaunchKind::Program},
        {"c:/x.exe", LaunchKind::Program},
        {"C:\\Program Files\\IEXPLORE.EXE", LaunchKind::Program},
        {"notepad.exe", LaunchKind::Program},
        {"1http://x", LaunchKind::Program},
        {"", LaunchKind::Program},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(ClassifyLaunch(c.file), c.kind);
    }
}

TEST(ShellLaunch, ParameterStringsBecomeOneArgumentOrTheSwitchAndTheFile) {
    EXPECT_EQ(ShellParameterArguments(""), Args{});
    EXPECT_EQ(ShellParameterArguments("C:\\a b\\x.out"), Args{"C:\\a b\\x.out"});
    EXPECT_EQ(ShellParameterArguments("/p C:\\a b\\x.out"), (Args{"/p", "C:\\a b\\x.out"}));
    EXPECT_EQ(ShellParameterArguments("/P x"), (Args{"/P", "x"}));
    EXPECT_EQ(ShellParameterArguments("/px"), Args{"/px"});
    EXPECT_EQ(ProcessArguments(""), Args{});
    EXPECT_EQ(ProcessArguments(" "), Args{});
    EXPECT_EQ(ProcessArguments("\"\""), Args{});
    EXPECT_EQ(ProcessArguments("  "), Args{"  "});
    EXPECT_EQ(ProcessArguments("\"a b\" `x` $(y);z"), Args{"\"a b\" `x` $(y);z"});
}

class PlanLaunchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_prefix.Ensure());
        fs::create_directories(m_bin);
    }
    // A host file under drive C with the given bytes and permissions.
    fs::path MakeFile(const std::string& relative, const std::string& bytes, mode_t mode) {
        const fs::path file = m_prefix.DriveC() / relative;
        TempPrefix::WriteFile(file, bytes);
        ::chmod(file.c_str(), mode);
        return file;
    }
    // A program named `name` in the test's own PATH folder.
    fs::path PutOnPath(const std::string& name) {
        const fs::path program = m_bin / name;
        TempPrefix::WriteFile(program, "#!/bin/sh\n");
        ::chmod(program.c_str(), 0755);
        return program;
    }

    TempPrefix m_prefix;
    FileSystem m_fileSystem{m_prefix.Drives()};
    fs::path m_bin = m_prefix.Root() / "bin";
    ScopedEnv m_path{"PATH", m_bin.c_str()};
    ScopedEnv m_browser{"BROWSER", nullptr};
};

TEST_F(PlanLaunchTest, GivesTheShellCodeOfAProgramThatCannotBeStarted) {
    MakeFile("tools/plain.txt", "text", 0644);
    MakeFile("tools/locked.exe", "#!/bin/sh\n", 0644);
    MakeFile("tools/win.exe", "MZ\x90", 0644);
    struct Case {
        const char* program;
        int result;
    };
    const Case cases[] = {
        {"C:\\tools\\missing.exe", kShellFileNotFound},
        {"C:\\nowhere\\x.exe", kShellPathNotFound},
        {"Q:\\x.exe", kShellPathNotFound},
        {"", kShellFileNotFound},
        {"C:\\tools\\plain.txt", kShellAccessDenied},
        {"C:\\tools\\locked.exe", kShellAccessDenied},
        {"C:\\tools", kShellAccessDenied},
        {"C:\\tools\\win.exe", kShellBadFormat},  // no wine on PATH
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        const LaunchPlan plan = PlanProgramLaunch(m_fileSystem, c.program, {}, "");
        EXPECT_EQ(ShellResultOf(plan.error), c.result);
        EXPECT_TRUE(plan.argv.empty());
    }
    EXPECT_EQ(PlanProgramLaunch(m_fileSystem, "C:\\WINDOWS\\notepad.exe", {}, "C:\\nowhere").error,
              kErrorPathNotFound);
}

TEST_F(PlanLaunchTest, RunsAProgramDirectlyWithItsArgumentsInHostForm) {
    const fs::path tool = MakeFile("tools/t.exe", "#!/bin/sh\n", 0755);
    const fs::path medium = m_prefix.MapDrive('A');
    const std::string japanese = Cp932("C:\\データ\\モデル 1.tsp");
    const LaunchPlan plan = PlanProgramLaunch(
        m_fileSystem, "c:\\TOOLS\\T.EXE",
        {"/p", "A:\\a b;$(x)`y`.tsp", japanese, "Q:\\unmapped", "-x"}, "C:\\WINDOWS");
    EXPECT_EQ(plan.error, kErrorSuccess);
    EXPECT_EQ(plan.argv, (Args{tool.string(), "/p", (medium / "a b;$(x)`y`.tsp").string(),
                               (m_prefix.DriveC() / "データ" / "モデル 1.tsp").string(),
                               "Q:\\unmapped", "-x"}));
    EXPECT_EQ(plan.workingFolder, fs::canonical(m_prefix.DriveC() / "windows"));
}

TEST_F(PlanLaunchTest, RunsAWindowsExecutableThroughWineWithZPaths) {
    const fs::path wine = PutOnPath("wine");
    const fs::path exe = MakeFile("temp/Tsp.exe", "MZ\x90\x00", 0644);
    MakeFile("work/a b.tsp", "x", 0644);
    const LaunchPlan plan =
        PlanProgramLaunch(m_fileSystem, "C:\\temp\\Tsp.exe", {"C:\\work\\a b.tsp", "x"}, "");
    EXPECT_EQ(plan.error, kErrorSuccess);
    std::string zForm = "Z:" + (m_prefix.DriveC() / "work" / "a b.tsp").string();
    for (char& c : zForm) c = c == '/' ? '\\' : c;
    EXPECT_EQ(plan.argv, (Args{wine.string(), exe.string(), zForm, "x"}));
    EXPECT_EQ(WineZPath("/"), "Z:\\");
}

TEST_F(PlanLaunchTest, SendsAddressesToBrowserOrElseXdgOpen) {
    const std::string address = "https://example.org/?q=a b&x=$(y)";
    EXPECT_EQ(PlanShellLaunch(m_fileSystem, address, "", "").error, kErrorNoAssociation);
    EXPECT_EQ(PlanShellLaunch(m_fileSystem, "IEXPLORE.EXE", address, "").error,
              kErrorNoAssociation);

    const fs::path opener = PutOnPath("xdg-open");
    EXPECT_EQ(PlanShellLaunch(m_fileSystem, address, "", "").argv,
              (Args{opener.string(), address}));
    EXPECT_EQ(PlanShellLaunch(m_fileSystem, "iexplore.exe", address, "").argv,
              (Args{opener.string(), address}));
    EXPECT_EQ(PlanShellLaunch(m_fileSystem, "IEXPLORE.EXE", "", "").error, kErrorNoAssociation);

    const fs::path browser = PutOnPath("my-browser");
    {
        ScopedEnv set("BROWSER", "absent-browser:my-browser --new-tab");
        EXPECT_EQ(PlanShellLaunch(m_fileSystem, address, "", "").argv,
                  (Args{browser.string(), "--new-tab", address}));
    }
    {
        ScopedEnv set("BROWSER", (browser.string() + " --url=%s").c_str());
        EXPECT_EQ(PlanShellLaunch(m_fileSystem, address, "", "").argv,
                  (Args{browser.string(), "--url=" + address}));
    }
    {
        ScopedEnv set("BROWSER", "absent-browser");
        EXPECT_EQ(PlanShellLaunch(m_fileSystem, address, "", "").argv,
                  (Args{opener.string(), address}));
    }
}

TEST(ShellLaunch, MapsStartErrorsToShellCodes) {
    EXPECT_GT(ShellResultOf(kErrorSuccess), 32);
    EXPECT_EQ(ShellResultOf(kErrorFileNotFound), 2);
    EXPECT_EQ(ShellResultOf(kErrorPathNotFound), 3);
    EXPECT_EQ(ShellResultOf(kErrorAccessDenied), 5);
    EXPECT_EQ(ShellResultOf(kErrorBadExeFormat), 11);
    EXPECT_EQ(ShellResultOf(kErrorNoAssociation), 31);
    EXPECT_EQ(ShellResultOf(kErrorNotReady), 0);
}

// The children of this process that have ended and not been collected.
int ZombieChildren() {
    int zombies = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        // pid (name) state ppid ...: the name may hold blanks, so read after its ')'.
        std::istringstream rest(line.substr(line.rfind(')') + 1));
        char state = 0;
        long parent = 0;
        rest >> state >> parent;
        if (state == 'Z' && parent == ::getpid()) ++zombies;
    }
    return zombies;
}

TEST_F(PlanLaunchTest, LeavesNoZombieHoweverManyProgramsItStarts) {
    MakeFile("windows/editor.exe", "#!/bin/sh\nexit 0\n", 0755);
    ScopedEnv shell{"PATH", "/usr/bin:/bin"};
    ShellLauncher launcher(m_fileSystem);
    for (int i = 0; i < 20; ++i) {
        EXPECT_GT(launcher.Open("C:\\windows\\editor.exe", "C:\\x.txt", ""), 32);
    }
    int zombies = ZombieChildren();
    for (int wait = 0; wait < 100 && zombies > 0; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        zombies = ZombieChildren();
    }
    EXPECT_EQ(zombies, 0);
}

TEST_F(PlanLaunchTest, ReportsEveryLaunchStartedOrNot) {
    MakeFile("windows/editor.exe", "#!/bin/sh\nexit 0\n", 0755);
    ScopedEnv shell{"PATH", "/usr/bin:/bin"};
    ShellLauncher launcher(m_fileSystem);
    std::vector<LaunchReport> reports;
    launcher.SetObserver([&](const LaunchReport& report) { reports.push_back(report); });
    launcher.Open("C:\\windows\\editor.exe", "/p C:\\x.txt", "C:\\WINDOWS");
    launcher.Open("C:\\windows\\missing.exe", "", "");
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].file, "C:\\windows\\editor.exe");
    EXPECT_EQ(reports[0].params, "/p C:\\x.txt");
    EXPECT_EQ(reports[0].directory, "C:\\WINDOWS");
    EXPECT_EQ(reports[0].result, kShellSuccess);
    EXPECT_EQ(reports[1].directory, m_fileSystem.CurrentDirectory());
    EXPECT_EQ(reports[1].result, kShellFileNotFound);
}

}  // namespace
}  // namespace tamvel
