// The real program with --console, driven through a pipe with no display.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/console_run.h"
#include "support/fake_programs.h"
#include "support/tamvel_without_engine.h"
#include "support/temp_prefix.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

// A Tamvel without its engine: the new prefix has no TSP, and start-up asks for one.
TEST(ConsoleEndToEnd, FirstStartCreatesThePrefixAndEndsCleanlyAtEndOfInput) {
    TempPrefix prefix;
    const ConsoleRun run = RunBinary(prefix, "", TamvelWithoutEngine(prefix.Root() / "bin"));

    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(fs::is_symlink(prefix.Prefix() / "dosdevices" / "c:"));
    ASSERT_GE(run.events.size(), 3u);
    EXPECT_EQ(run.events.front(),
              (Json{{"event", "message"},
                    {"text",
                     "ＴＳＰ実行プログラムが見つかりません。\nC:\\Program Files (x86)\\TSP "
                     "5.1\\Tsp.exe\nのようなTsp.exeという名のファイルを発見してください"}}));
    EXPECT_EQ(run.events[1], (Json{{"event", "choose"}, {"kind", "program"}}));
    EXPECT_EQ(run.events[run.events.size() - 2], (Json{{"event", "ready"}}));
    EXPECT_EQ(run.events.back(), (Json{{"event", "exit"}, {"code", 0}}));
    EXPECT_TRUE(fs::exists(prefix.DriveC() / "temp" / "TamvelEnvFile.TXT"));
}

TEST(ConsoleEndToEnd, PreparedPrefixTakesCommandsUntilQuit) {
    TempPrefix prefix;
    ASSERT_TRUE(prefix.Ensure());
    prefix.InstallTsp();
    TempPrefix::WriteFile(prefix.DriveC() / "temp" / "a.tsp");
    const ConsoleRun run =
        RunBinary(prefix, "set 1007 C:\\temp\\a.tsp\nstate\nnonsense\nquit\nstate\n");

    EXPECT_EQ(run.exitStatus, 0);
    ASSERT_EQ(run.events.size(), 4u);
    EXPECT_EQ(run.events[0], (Json{{"event", "ready"}}));
    EXPECT_EQ(run.events[1]["event"], "state");
    EXPECT_EQ(run.events[1]["fields"]["1008"], "C:\\temp\\a.out");
    EXPECT_EQ(run.events[1]["enabled"]["1002"], true);
    EXPECT_EQ(run.events[2]["event"], "error");
    EXPECT_EQ(run.events[3], (Json{{"event", "exit"}, {"code", 0}}));
}

// The prefix's own files are made with the prefix only: a Notepad its owner deleted stays
// deleted, so start-up reaches "no editor and no Notepad" and asks for one.
TEST(ConsoleEndToEnd, ADeletedNotepadIsNotMadeAgain) {
    TempPrefix prefix;
    ASSERT_TRUE(prefix.Ensure());
    TempPrefix::WriteFile(prefix.DriveC() / "Program Files (x86)" / "TSP 5.1" / "tsp.exe");
    fs::remove(prefix.DriveC() / "windows" / "notepad.exe");
    fs::remove(prefix.Prefix() / "dosdevices" / "z:");
    const ConsoleRun run = RunBinary(prefix, "");

    EXPECT_EQ(run.exitStatus, 0);
    ASSERT_GE(run.events.size(), 2u);
    EXPECT_EQ(run.events[0],
              (Json{{"event", "message"},
                    {"text",
                     "ＴＳＰファイルを作成するエディター/ワープロが指定されていません。\n"
                     "設定してください。"}}));
    EXPECT_EQ(run.events[1], (Json{{"event", "choose"}, {"kind", "program"}}));
    EXPECT_FALSE(fs::exists(prefix.DriveC() / "windows" / "notepad.exe"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(prefix.Prefix() / "dosdevices" / "z:")));
}

// A relative TAMVEL_PREFIX is taken from the folder the program started in, once: after
// start-up has moved into C:\temp the drives are still there and the environment is saved.
TEST(ConsoleEndToEnd, ARelativePrefixMeansTheSamePlaceThroughoutTheRun) {
    TempPrefix prefix;
    ASSERT_TRUE(prefix.Ensure());
    prefix.InstallTsp();
    const std::string command = "cd '" + prefix.Root().string() +
                                "' && printf 'state\\n' | env -u DISPLAY TAMVEL_PREFIX=prefix '" +
                                TAMVEL_BINARY + "' --console";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<Json> events;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) events.push_back(Json::parse(line));
    EXPECT_EQ(::pclose(pipe), 0);

    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1]["fields"]["212"], "C:\\temp\\Tsp.EXE");
    EXPECT_EQ(events[1]["cwd"], "C:\\temp");
    EXPECT_TRUE(fs::exists(prefix.DriveC() / "temp" / "TamvelEnvFile.TXT"));
    EXPECT_FALSE(fs::exists(prefix.DriveC() / "temp" / "prefix"));
}

// TSP runs while the console reads on: `stop` arriving through the pipe ends the run at once,
// a line sent during the run waits for its end, and every launch is reported in order.
TEST(ConsoleEndToEnd, ReportsTheRunAndItsLaunchesAndTakesStopWhileTspRuns) {
    TempPrefix prefix;
    ASSERT_TRUE(prefix.Ensure());
    FakePrograms fakes(prefix);
    fakes.SetTspMode("hang");
    const fs::path driveC = fs::canonical(prefix.DriveC());
    TempPrefix::WriteFile(driveC / "work" / "a b.tsp");
    TempPrefix::WriteFile(driveC / "work" / "a b.out", "earlier result");
    const fs::path input = prefix.Root() / "input.txt";
    TempPrefix::WriteFile(input, "set 1007 C:\\work\\a b.tsp\nclick 1002\n");

    const auto start = std::chrono::steady_clock::now();
    const ConsoleRun run = RunAndParse("(cat '" + input.string() +
                                       "'; sleep 1; echo state; echo stop; sleep 3; echo quit) | " +
                                       ConsoleCommandLine());
    const auto took = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(run.exitStatus, 0);
    std::vector<std::string> names;
    for (const Json& event : run.events) names.push_back(event["event"]);
    ASSERT_EQ(names, (std::vector<std::string>{"ready", "window", "launch", "running", "launch",
                                               "window", "state", "exit"}));
    EXPECT_EQ(run.events[1]["visible"], false);
    EXPECT_EQ(run.events[2], (Json{{"event", "launch"},
                                   {"file", "C:\\temp\\Tsp.EXE"},
                                   {"params", "C:\\work\\a b.tsp"},
                                   {"dir", "C:\\work"},
                                   {"result", 42}}));
    EXPECT_EQ(run.events[3], (Json{{"event", "running"}, {"file", "C:\\work\\a b.tsp"}}));
    EXPECT_EQ(run.events[4], (Json{{"event", "launch"},
                                   {"file", "C:\\WINDOWS\\Notepad.exe"},
                                   {"params", "C:\\work\\a b.out"},
                                   {"dir", "C:\\WINDOWS"},
                                   {"result", 42}}));
    EXPECT_EQ(run.events[5]["visible"], true);
    // The whole input takes four seconds to arrive; a stop that did not end TSP would hold the
    // run (and the deferred state) until quit came.
    EXPECT_LT(took, std::chrono::seconds(6));
    EXPECT_EQ(fakes.AwaitStarts("notepad.exe", 1).at(0)["argv"],
              std::vector<std::string>{(driveC / "work" / "a b.out").string()});
}

}  // namespace
}  // namespace tamvel::testing
