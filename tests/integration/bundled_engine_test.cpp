// The TSP engine that ships with Tamvel, as the real program puts it into a prefix and runs
// it: start-up finds it where it looks for TSP, and the run command runs a completed program
// with it and opens the result in the editor.

#include "platform/bundled_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/console_run.h"
#include "support/fake_programs.h"
#include "support/temp_prefix.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

const Json kTspMissing = {
    {"event", "message"},
    {"text",
     "ＴＳＰ実行プログラムが見つかりません。\nC:\\Program Files (x86)\\TSP 5.1\\Tsp.exe\n"
     "のようなTsp.exeという名のファイルを発見してください"}};

// The real program on `input` (a final quit is added) over the test's prefix.
ConsoleRun Start(const TempPrefix& prefix, const std::string& input = "") {
    const fs::path inputFile = prefix.Root() / "input.txt";
    TempPrefix::WriteFile(inputFile, input + "quit\n");
    return RunAndParse(ConsoleCommandLine() + " < '" + inputFile.string() + "'");
}

std::vector<std::string> EventNames(const ConsoleRun& run) {
    std::vector<std::string> names;
    for (const Json& event : run.events) names.push_back(event["event"]);
    return names;
}

fs::path Marker(const TempPrefix& prefix) {
    return prefix.Prefix() / std::string(kBundledEngineMarker);
}

// A prefix as a Tamvel without the engine left it: made, with no TSP and no marker.
void MakeEarlierPrefix(const TempPrefix& prefix) {
    ASSERT_TRUE(prefix.Ensure());
    fs::remove(Marker(prefix));
}

TEST(BundledEngine, AFreshPrefixStartsWithTheEngineAsItsTsp) {
    TempPrefix prefix;
    const ConsoleRun run = Start(prefix, "state\n");

    EXPECT_EQ(run.exitStatus, 0);
    ASSERT_EQ(EventNames(run), (std::vector<std::string>{"ready", "state", "exit"}));
    EXPECT_EQ(run.events[1]["fields"]["212"], "C:\\temp\\Tsp.EXE");
    EXPECT_EQ(fs::read_symlink(prefix.TspPath()), fs::canonical(TAMVEL_ENGINE_BINARY));
    const std::string engine = TempPrefix::ReadFile(TAMVEL_ENGINE_BINARY);
    ASSERT_FALSE(engine.empty());
    EXPECT_FALSE(fs::is_symlink(prefix.DriveC() / "temp" / "tsp.exe"));
    EXPECT_TRUE(TempPrefix::ReadFile(prefix.DriveC() / "temp" / "tsp.exe") == engine);
    EXPECT_TRUE(fs::exists(Marker(prefix)));
}

// Whatever stands at the TSP path, in whatever case its names are written, is the student's:
// it stays as it was and is what start-up finds.
TEST(BundledEngine, AnythingAtTheTspPathIsLeftAlone) {
    struct Case {
        const char* name;
        bool earlierPrefix;
        fs::path where;      // below drive C
        const char* linkTo;  // a link instead of a file
    };
    const Case cases[] = {
        {"TSP put there before the first start", false, "Program Files (x86)/TSP 5.1/tsp.exe",
         nullptr},
        {"earlier prefix, names in other case", true, "program files (x86)/tsp 5.1/TSP.EXE",
         nullptr},
        {"earlier prefix, a link that leads nowhere", true, "Program Files (x86)/TSP 5.1/tsp.exe",
         "/nonexistent/tsp.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempPrefix prefix;
        if (c.earlierPrefix) MakeEarlierPrefix(prefix);
        const fs::path own = prefix.DriveC() / c.where;
        if (c.linkTo) {
            fs::create_directories(own.parent_path());
            fs::create_symlink(c.linkTo, own);
        } else {
            TempPrefix::WriteFile(own, "the student's TSP");
        }
        const ConsoleRun run = Start(prefix);

        EXPECT_EQ(run.exitStatus, 0);
        std::vector<fs::path> entries(fs::directory_iterator(own.parent_path()), {});
        EXPECT_EQ(entries, std::vector<fs::path>{own});
        if (c.linkTo) {
            EXPECT_EQ(fs::read_symlink(own), c.linkTo);
            EXPECT_EQ(run.events.at(0), kTspMissing);
        } else {
            EXPECT_EQ(TempPrefix::ReadFile(own), "the student's TSP");
            EXPECT_EQ(EventNames(run), (std::vector<std::string>{"ready", "exit"}));
            EXPECT_EQ(TempPrefix::ReadFile(*prefix.Drives().ToHost("C:\\temp\\Tsp.exe")),
                      "the student's TSP");
        }
    }
}

// Once: a student who removes the engine from an earlier Tamvel's prefix keeps it removed.
TEST(BundledEngine, APrefixOfAnEarlierTamvelGetsTheEngineOnce) {
    TempPrefix prefix;
    MakeEarlierPrefix(prefix);

    EXPECT_EQ(EventNames(Start(prefix)), (std::vector<std::string>{"ready", "exit"}));
    EXPECT_EQ(fs::read_symlink(prefix.TspPath()), fs::canonical(TAMVEL_ENGINE_BINARY));
    EXPECT_TRUE(fs::exists(Marker(prefix)));

    fs::remove(prefix.TspPath());
    const ConsoleRun again = Start(prefix);
    ASSERT_FALSE(again.events.empty());
    EXPECT_EQ(again.events[0], kTspMissing);
    EXPECT_FALSE(fs::exists(fs::symlink_status(prefix.TspPath())));
}

// A student's first run on a fresh prefix: a completed program and its data file in the save
// folder, the run button, and the result file open in the editor with the regression in it.
TEST(BundledEngine, TheRunCommandRunsACompletedProgramAndOpensItsResult) {
    TempPrefix prefix;
    FakePrograms fakes(prefix);    // the recorder as Notepad,
    fs::remove(prefix.TspPath());  // and the engine, not the fake, as TSP
    const fs::path data = TAMVEL_TEST_DATA_DIR "/completed";
    const fs::path temp = prefix.DriveC() / "temp";
    fs::create_directories(temp);
    fs::copy_file(data / "quarterly_macro.tsp", temp / "quarterly_macro.tsp");
    fs::copy_file(data / "macro.txt", temp / "macro.txt");

    // The state line is read while TSP runs and answered after the run, before the end of
    // input ends the session.
    const ConsoleRun run =
        Start(prefix, "set 1007 C:\\temp\\quarterly_macro.tsp\nclick 1002\nstate\n");

    EXPECT_EQ(run.exitStatus, 0);
    ASSERT_EQ(EventNames(run), (std::vector<std::string>{"ready", "window", "launch", "running",
                                                         "launch", "window", "state", "exit"}));
    EXPECT_EQ(run.events[2]["file"], "C:\\temp\\Tsp.EXE");
    EXPECT_EQ(run.events[2]["params"], "C:\\temp\\quarterly_macro.tsp");
    EXPECT_EQ(run.events[4]["params"], "C:\\temp\\quarterly_macro.out");
    EXPECT_GT(run.events[4]["result"], 32);
    const fs::path result = fs::canonical(temp) / "quarterly_macro.out";
    const std::vector<Json> editor = fakes.AwaitStarts("notepad.exe", 1);
    ASSERT_EQ(editor.size(), 1u);
    EXPECT_EQ(editor[0]["argv"], std::vector<std::string>{result.string()});

    const std::string out = TempPrefix::ReadFile(result);
    for (const char* expected :
         {"Method of estimation = Ordinary Least Squares\r\n", "Dependent variable: Y\r\n",
          "Number of observations:  116\r\n", "\r\nGDP ", "Run ended without errors."}) {
        EXPECT_NE(out.find(expected), std::string::npos) << expected << " in\n" << out;
    }
}

}  // namespace
}  // namespace tamvel::testing
