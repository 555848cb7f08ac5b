// Button 215 end to end: the real program with --console in a temporary prefix, the form as
// dialog events, the file on disk, the panel's fields and the editor (a fake that records
// how it was started).

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

constexpr const char* kQuestion = "ＴＳＰファイル保存フォルダがC\\temp\\です．ＯＫですか？";

class NewTspFileCommandTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_prefix.Ensure()); }

    fs::path Editor() const { return m_prefix.DriveC() / "windows" / "notepad.exe"; }

    /// The events of one kind, in order.
    static std::vector<Json> EventsOf(const ConsoleRun& run, const std::string& kind) {
        std::vector<Json> found;
        for (const Json& event : run.events) {
            if (event["event"] == kind) found.push_back(event);
        }
        return found;
    }

    std::vector<Json> EditorStarts(std::size_t expected) const {
        return m_fakes.AwaitStarts("notepad.exe", expected);
    }

    TempPrefix m_prefix;
    FakePrograms m_fakes{m_prefix};  // TSP, and the recorder as Notepad, the default editor
};

TEST_F(NewTspFileCommandTest, TheOpeningStateWritesTheFileSetsTheFieldsAndStartsTheEditor) {
    const ConsoleRun run = RunBinary(m_prefix, "click 215\nset 313 test\nok\nstate\nquit\n");
    ASSERT_EQ(run.exitStatus, 0);

    const std::vector<Json> dialogs = EventsOf(run, "dialog");
    ASSERT_EQ(dialogs.size(), 1u);
    const Json& controls = dialogs[0]["controls"];
    EXPECT_EQ(dialogs[0]["id"], 131);
    EXPECT_EQ(controls["314"], "C:\\temp\\");
    EXPECT_EQ(controls["315"], "ここをデータのファイル名に！");
    EXPECT_EQ(controls["316"], "1975");
    EXPECT_EQ(controls["317"], "2003");
    EXPECT_EQ(controls["1019"], true);
    EXPECT_EQ(controls["1021"], true);
    EXPECT_EQ(controls["1022"], true);
    EXPECT_EQ(controls["1027"], false);
    EXPECT_EQ(controls["1055"], "");
    EXPECT_EQ(EventsOf(run, "message"),
              (std::vector<Json>{{{"event", "message"}, {"text", kQuestion}}}));
    EXPECT_EQ(EventsOf(run, "dialog-closed"),
              (std::vector<Json>{{{"event", "dialog-closed"}, {"id", 131}, {"result", 1}}}));

    const fs::path file = m_prefix.DriveC() / "temp" / "test.tsp";
    EXPECT_EQ(TempPrefix::ReadFile(file),
              TempPrefix::ReadFile(fs::path(TAMVEL_TEST_DATA_DIR) / "tsp_programs" /
                                   "opening_state.tsp"));
    const std::vector<Json> states = EventsOf(run, "state");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0]["fields"]["1007"], "C:\\temp\\test.tsp");
    EXPECT_EQ(states[0]["fields"]["1008"], "C:\\temp\\test.out");

    const std::vector<Json> starts = EditorStarts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["argv"], Json::array({file.string()}));
    EXPECT_EQ(fs::path(starts[0]["cwd"].get<std::string>()),
              fs::canonical(m_prefix.DriveC() / "windows"));
}

// The form keeps its limits for `set` as for typing; cancel writes nothing.
TEST_F(NewTspFileCommandTest, CancelWritesNothingAndLeavesThePanelAsItWas) {
    const ConsoleRun run =
        RunBinary(m_prefix,
                  "state\nclick 215\nset 313 test\nset 1044 山田太郎花\nset 315 x.txt\n"
                  "state\ncancel\nstate\nquit\n");
    ASSERT_EQ(run.exitStatus, 0);
    const std::vector<Json> dialogs = EventsOf(run, "dialog");
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1]["controls"]["1044"], "山田太郎");
    EXPECT_EQ(dialogs[1]["controls"]["315"], "ここをデータのファイル名に！");
    const std::vector<Json> errors = EventsOf(run, "error");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0]["text"], "field 1044 takes 8 bytes; the rest was refused");
    EXPECT_EQ(errors[1]["text"], "field 315 cannot be typed into");

    const std::vector<Json> states = EventsOf(run, "state");
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0], states[1]);
    EXPECT_FALSE(fs::exists(m_prefix.DriveC() / "temp" / "test.tsp"));
    EXPECT_TRUE(EditorStarts(0).empty());
}

// A file that cannot be created is silent: the panel takes the path and the editor starts.
TEST_F(NewTspFileCommandTest, AMissingFolderWritesNoFileShowsNothingAndStillStartsTheEditor) {
    const ConsoleRun run =
        RunBinary(m_prefix, "click 215\nset 313 C:\\missing\\test\nok\nstate\nquit\n");
    ASSERT_EQ(run.exitStatus, 0);
    EXPECT_EQ(EventsOf(run, "message").size(), 1u);  // the folder question only
    EXPECT_FALSE(fs::exists(m_prefix.DriveC() / "missing"));
    const std::vector<Json> states = EventsOf(run, "state");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0]["fields"]["1007"], "C:\\missing\\test.tsp");
    EXPECT_EQ(states[0]["fields"]["1008"], "C:\\missing\\test.out");
    const std::vector<Json> starts = EditorStarts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["argv"],
              Json::array({(m_prefix.DriveC() / "missing" / "test.tsp").string()}));
}

// With no Notepad (a link to nothing stands in its place), start-up asks for an editor and
// takes the one the person names, which does not exist.
TEST_F(NewTspFileCommandTest, AnEditorThatCannotBeFoundIsNamedAndTheFieldStillTakesThePath) {
    fs::remove(Editor());
    fs::create_symlink(m_prefix.Root() / "nothing", Editor());
    const ConsoleRun run =
        RunBinary(m_prefix, "C:\\gone\\editor.exe\nclick 215\nset 313 test\nok\nstate\nquit\n");
    ASSERT_EQ(run.exitStatus, 0);
    const std::vector<Json> messages = EventsOf(run, "message");
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back()["text"], "ファイルC:\\gone\\editor.exeが発見できません!");
    EXPECT_TRUE(EventsOf(run, "launch").empty());
    EXPECT_TRUE(fs::exists(m_prefix.DriveC() / "temp" / "test.tsp"));
    const std::vector<Json> states = EventsOf(run, "state");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0]["fields"]["1007"], "C:\\temp\\test.tsp");
    EXPECT_EQ(states[0]["fields"]["1014"], "C:\\gone\\editor.exe");
}

}  // namespace
}  // namespace tamvel::testing
