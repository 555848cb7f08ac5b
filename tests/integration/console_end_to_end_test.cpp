// The real program with --console, driven through a pipe with no display.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/console_run.h"
#include "support/temp_prefix.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

TEST(ConsoleEndToEnd, FirstStartCreatesThePrefixAndEndsCleanlyAtEndOfInput) {
    TempPrefix prefix;
    const ConsoleRun run = RunBinary(prefix, "");

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

}  // namespace
}  // namespace tamvel::testing
