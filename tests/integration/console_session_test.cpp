// The console front-end in process: input lines in, JSON events out, over a real prefix.

#include "console/console_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_prefix.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

class ConsoleSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_prefix.Ensure());
        m_prefix.InstallTsp();
    }

    /// Runs a session on `input`; every output line parsed, and the exit code.
    std::vector<Json> Run(const std::string& input, int* exitCode = nullptr) {
        std::istringstream in(input);
        std::ostringstream out;
        EventWriter events(out);
        TamvelSession session;
        ConsoleSession console(in, events, session);
        const int code = console.Run();
        if (exitCode != nullptr) *exitCode = code;
        std::vector<Json> lines;
        std::istringstream outLines(out.str());
        for (std::string line; std::getline(outLines, line);) lines.push_back(Json::parse(line));
        return lines;
    }

    static std::vector<std::string> Names(const std::vector<Json>& events) {
        std::vector<std::string> names;
        for (const Json& event : events) names.push_back(event.at("event"));
        return names;
    }

    TempPrefix m_prefix;
};

TEST_F(ConsoleSessionTest, ReportsStateAndFollowsTypedText) {
    TempPrefix::WriteFile(m_prefix.DriveC() / "temp" / "モデル.tsp");
    int exitCode = -1;
    const std::vector<Json> events =
        Run("state\nset 1007 C:\\temp\\モデル.tsp\nstate\nset 1007\nstate\n", &exitCode);

    ASSERT_EQ(Names(events),
              (std::vector<std::string>{"ready", "state", "state", "state", "exit"}));
    const Json& first = events[1];
    EXPECT_EQ(first, Json::parse(R"({"event":"state",
                  "fields":{"1007":"","1008":"","212":"C:\\temp\\Tsp.EXE",
                            "1014":"C:\\WINDOWS\\Notepad.exe","1015":"C:\\temp\\"},
                  "enabled":{"1001":false,"1002":false,"203":false,"1004":false,"1005":false},
                  "cwd":"C:\\temp"})"));
    EXPECT_EQ(events[2]["fields"]["1007"], "C:\\temp\\モデル.tsp");
    EXPECT_EQ(events[2]["fields"]["1008"], "C:\\temp\\モデル.out");
    EXPECT_EQ(events[2]["enabled"]["1001"], true);
    EXPECT_EQ(events[2]["enabled"]["1002"], true);
    EXPECT_EQ(events[2]["enabled"]["203"], false);
    EXPECT_EQ(events[3]["fields"]["1008"], "");
    EXPECT_EQ(events[4]["code"], 0);
    EXPECT_EQ(exitCode, 0);
}

// A refused line says why and changes nothing; the session goes on.
TEST_F(ConsoleSessionTest, MalformedOrImpossibleLinesGetAnErrorAndChangeNothing) {
    const std::vector<Json> events =
        Run("bogus\nset 1008 C:\\x.out\nset 1007 \xF0\x9F\x98\x80\nclick 1002\nclick 1004\n"
            "click 7\nok\nstate\nquit\nstate\n");

    ASSERT_EQ(Names(events),
              (std::vector<std::string>{"ready", "error", "error", "error", "error", "error",
                                        "error", "error", "state", "exit"}));
    for (int i = 1; i <= 7; ++i) EXPECT_FALSE(events[i]["text"].get<std::string>().empty());
    const char* const texts[] = {
        "unknown command 'bogus'",
        "field 1008 cannot be typed into",
        "the text has characters CP932 lacks",
        "button 1002 is disabled",
        "button 1004 is disabled",
        "no button 7",
        "no dialog is open",
    };
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(events[i]["text"], texts[i - 1]) << "line " << i;
    EXPECT_EQ(events[8]["fields"]["1007"], "");
    EXPECT_EQ(events[8]["fields"]["1008"], "");
}

TEST_F(ConsoleSessionTest, ChoosersTakeTheNextLineAndEndOfInputCancelsThem) {
    fs::remove(m_prefix.DriveC() / "Program Files (x86)" / "TSP 5.1" / "tsp.exe");
    TempPrefix::WriteFile(m_prefix.DriveC() / "tools" / "tsp.exe");
    const std::vector<Json> events = Run("C:\\tools\\tsp.exe\nstate\n");

    ASSERT_EQ(Names(events),
              (std::vector<std::string>{"message", "choose", "ready", "state", "exit"}));
    EXPECT_EQ(events[1]["kind"], "program");
    EXPECT_EQ(events[3]["fields"]["212"], "C:\\temp\\Tsp.EXE");

    // With no input at all, every chooser is cancelled and the program still ends cleanly.
    const std::vector<Json> cancelled = Run("");
    EXPECT_EQ(Names(cancelled).back(), "exit");
    EXPECT_EQ(Names(cancelled)[Names(cancelled).size() - 2], "ready");
}

// A chooser's answer must be a full Windows path: a relative one would be taken from whatever
// folder is current, and a save folder "sub" would save the environment nowhere. It is
// refused with an error, and the chooser waits for another answer.
TEST_F(ConsoleSessionTest, AChooserRefusesAnAnswerThatIsNotAnAbsolutePath) {
    const std::string refused =
        "not an absolute Windows path (such as C:\\temp\\a.tsp); the chooser is still open";
    fs::remove(m_prefix.DriveC() / "Program Files (x86)" / "TSP 5.1" / "tsp.exe");
    TempPrefix::WriteFile(m_prefix.DriveC() / "tools" / "tsp.exe");
    const std::vector<Json> events =
        Run("tsp.exe\nC:tools\\tsp.exe\n\\tools\\tsp.exe\nC:\\tools\\tsp.exe\nstate\n");
    ASSERT_EQ(Names(events), (std::vector<std::string>{"message", "choose", "error", "error",
                                                       "error", "ready", "state", "exit"}));
    for (int i = 2; i <= 4; ++i) EXPECT_EQ(events[i]["text"], refused);
    EXPECT_EQ(events[6]["fields"]["212"], "C:\\temp\\Tsp.EXE");

    // The save folder's chooser: "sub" is refused, the cancel falls back to C:\temp\.
    TempPrefix::WriteFile(m_prefix.DriveC() / "Program Files (x86)" / "TSP 5.1" / "tsp.exe");
    const fs::path stick = m_prefix.MapDrive('a');
    const std::string text =
        "TspExe|C:\\temp\\Tsp.EXE;Editor|C:\\WINDOWS\\Notepad.exe;SaveFolder|A:\\gone;";
    TempPrefix::WriteFile(stick / "TamvelEnvFile.TXT",
                          std::string(1, static_cast<char>(text.size())) + text);
    const std::vector<Json> folder = Run("sub\n\nstate\n");
    ASSERT_EQ(Names(folder),
              (std::vector<std::string>{"message", "choose", "error", "ready", "state", "exit"}));
    EXPECT_EQ(folder[1]["kind"], "folder");
    EXPECT_EQ(folder[2]["text"], refused);
    EXPECT_EQ(folder[4]["fields"]["1015"], "C:\\temp\\");
}

// A message that names a path with a byte that is not CP932 keeps its Japanese text; only
// that byte is marked.
TEST_F(ConsoleSessionTest, AnInvalidByteInAMessageIsMarkedAndTheRestStaysReadable) {
    const fs::path stick = m_prefix.MapDrive('a');
    const std::string text = "TspExe|C:\\temp\\\x81.exe;";
    TempPrefix::WriteFile(stick / "TamvelEnvFile.TXT",
                          std::string(1, static_cast<char>(text.size())) + text);
    const std::vector<Json> events = Run("state\n");
    ASSERT_EQ(Names(events), (std::vector<std::string>{"message", "ready", "state", "exit"}));
    EXPECT_EQ(events[0]["text"],
              "設定されているＴＳＰ実行プログラム(C:\\temp\\\\x81.exe)が存在しません。\n"
              "ＴＳＰ実行ファイルを選択してください");
}

// Without Notepad each start-up asks for an editor, which shows when start-up runs again.
// An opened file is recorded in the recent-file list; one that cannot be opened is reported
// and changes nothing.
TEST_F(ConsoleSessionTest, RenewingTheDocumentRunsStartUpAgain) {
    for (const auto& entry : fs::directory_iterator(m_prefix.DriveC() / "windows")) {
        fs::remove(entry.path());
    }
    TempPrefix::WriteFile(m_prefix.DriveC() / "temp" / "x.tsp");
    const std::vector<Json> events =
        Run("\nkey CTRL+N\n\nkey CTRL+O\n\nkey CTRL+O\nC:\\TEMP\\x.tsp\n\n"
            "key CTRL+O\nC:\\temp\\missing.tsp\nkey CTRL+O\nQ:\\x.tsp\n");

    EXPECT_EQ(Names(events),
              (std::vector<std::string>{"message", "choose", "ready",   // start-up
                                        "message", "choose",            // CTRL+N
                                        "choose",                       // CTRL+O, cancelled
                                        "choose", "message", "choose",  // CTRL+O, opened
                                        "choose", "message",            // CTRL+O, no such file
                                        "choose", "message",            // CTRL+O, unmapped drive
                                        "exit"}));
    EXPECT_EQ(events[1]["kind"], "program");
    EXPECT_EQ(events[5]["kind"], "tsp-file");
    EXPECT_EQ(events[6]["kind"], "tsp-file");
    EXPECT_EQ(events[8]["kind"], "program");
    EXPECT_EQ(events[10]["text"], std::string("C:\\temp\\missing.tsp\nを開けません。"));
    EXPECT_EQ(events[12]["text"], std::string("Q:\\x.tsp\nを開けません。"));

    RecentFileList recent(RecentFileList::DefaultFile("Tamvel"));
    recent.Load();
    ASSERT_EQ(recent.Entries().size(), 1u);
    EXPECT_EQ(recent.Entries()[0], m_prefix.DriveC() / "temp" / "x.tsp");
}

}  // namespace
}  // namespace tamvel::testing
