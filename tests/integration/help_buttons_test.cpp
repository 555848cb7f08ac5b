// The help, class-service, data, reference and exit buttons, clicked in a console session
// over a real prefix: what each hands to the system, what the person is told when that
// fails or when an address is not configured, the reference dialog's lines, and exit.

#include "panel/help_buttons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "console/console_session.h"
#include "panel/help_pages.h"
#include "panel/tamvel_session.h"
#include "platform/text.h"
#include "reference/tsp_command_list.h"
#include "support/scoped_env.h"
#include "support/temp_prefix.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

// A deployment that gives every address button an address of its own; the help keys it
// leaves out keep their shipped pages.
constexpr const char* kDeployment =
    "help_data_collection = https://example.ac.jp/data\n"
    "help_tsp = https://example.ac.jp/tsp\n"
    "tsp_command_site = https://tsp.example.org/\n"
    "webmail = https://mail.example.ac.jp/\n"
    "teacher_page = https://example.ac.jp/~teacher/\n"
    "web_disk = https://disk.example.ac.jp/ \n";

// The shell's "no association" text: what a browser launch reports when no opener exists.
const std::string kNoBrowserText = "拡張子と関連付けられたプログラムがありません. ";

class HelpButtonsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_prefix.Ensure());
        m_prefix.InstallTsp();
        fs::create_directories(EmptyPath());
        fs::create_directories(Records());
        // No test may reach a real browser: no $BROWSER, and no xdg-open on PATH.
        m_env.Set("BROWSER", nullptr);
        m_env.Set("PATH", EmptyPath().string());
        m_env.Set("FAKE_RECORD_DIR", Records().string());
        SetDeployment(kDeployment);
    }

    void SetDeployment(const std::string& text) {
        const fs::path file = m_prefix.Root() / "deployment.conf";
        TempPrefix::WriteFile(file, text);
        m_env.Set("TAMVEL_DEPLOYMENT", file.string());
    }

    // A fake browser, recording how it was started, as the one $BROWSER names.
    void InstallFakeBrowser() {
        const fs::path browser = m_prefix.Root() / "bin" / "browser";
        fs::create_directories(browser.parent_path());
        fs::copy_file(fs::path(TAMVEL_FAKES_DIR) / "fake_program", browser);
        m_env.Set("BROWSER", browser.string());
    }

    fs::path EmptyPath() const { return m_prefix.Root() / "empty-path"; }
    fs::path Records() const { return m_prefix.Root() / "records"; }

    // The fake browser's recorded starts, waiting up to two seconds for `count` of them.
    std::vector<Json> BrowserStarts(std::size_t count) const {
        std::vector<Json> starts;
        for (int tries = 0; tries < 200; ++tries) {
            starts.clear();
            std::istringstream lines(TempPrefix::ReadFile(Records() / "browser.jsonl"));
            for (std::string line; std::getline(lines, line);) starts.push_back(Json::parse(line));
            if (starts.size() >= count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return starts;
    }

    /// Runs a session on `input`: the events after "ready", up to and without "exit".
    std::vector<Json> Run(const std::string& input) {
        std::istringstream in(input);
        std::ostringstream out;
        EventWriter events(out);
        TamvelSession session;  // the prefix and deployment that the environment names
        ConsoleSession console(in, events, session);
        console.Run();
        std::vector<Json> after;
        bool ready = false;
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);) {
            Json event = Json::parse(line);
            if (event["event"] == "exit") break;
            if (ready) after.push_back(std::move(event));
            ready = ready || event["event"] == "ready";
        }
        return after;
    }

    static Json Launch(const std::string& file, const std::string& params, int result) {
        return {{"event", "launch"},
                {"file", file},
                {"params", params},
                {"dir", "C:\\temp"},
                {"result", result}};
    }
    static Json Message(const std::string& text) { return {{"event", "message"}, {"text", text}}; }

    TempPrefix m_prefix;
    ScopedEnv m_env;
};

// The three browser buttons start "IEXPLORE.EXE" with their page and report a failure in
// the shell's words; the others hand over their address or program and stay silent.
TEST_F(HelpButtonsTest, OnlyTheBrowserButtonsReportThatNothingCouldBeStarted) {
    const std::string screenPage = DefaultHelpAddress("help_screen");
    ASSERT_FALSE(screenPage.empty());
    struct Case {
        int button;
        std::vector<Json> events;
    };
    const Case cases[] = {
        {1042, {Launch("IEXPLORE.EXE", "https://example.ac.jp/data", 31), Message(kNoBrowserText)}},
        {1045, {Launch("IEXPLORE.EXE", "https://example.ac.jp/tsp", 31), Message(kNoBrowserText)}},
        {1046, {Launch("IEXPLORE.EXE", screenPage, 31), Message(kNoBrowserText)}},
        {1044, {Launch("https://tsp.example.org/", "", 31)}},
        {1019, {Launch("https://mail.example.ac.jp/", "", 31)}},
        {1020, {Launch("https://example.ac.jp/~teacher/", "", 31)}},
        {1021, {Launch("https://disk.example.ac.jp/", "", 31)}},
        {1018, {Launch("C:\\Program Files (x86)\\NEEDS\\Needs_Macro.exe", "", 3)}},
        {1022,
         {Launch("C:\\Program Files (x86)\\NEEDS\\NEEDS-CD ROM 日経財務データ DVD版\\finDVD.exe",
                 "", 3)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        EXPECT_EQ(Run("click " + std::to_string(c.button) + "\n"), c.events);
    }
}

TEST_F(HelpButtonsTest, EachAddressReachesTheBrowserAsItsOnlyArgument) {
    InstallFakeBrowser();
    const std::vector<Json> events =
        Run("click 1042\nclick 1046\nclick 1044\nclick 1019\nclick 1020\nclick 1021\n");

    const std::string screenPage = DefaultHelpAddress("help_screen");
    EXPECT_EQ(events, (std::vector<Json>{Launch("IEXPLORE.EXE", "https://example.ac.jp/data", 42),
                                         Launch("IEXPLORE.EXE", screenPage, 42),
                                         Launch("https://tsp.example.org/", "", 42),
                                         Launch("https://mail.example.ac.jp/", "", 42),
                                         Launch("https://example.ac.jp/~teacher/", "", 42),
                                         Launch("https://disk.example.ac.jp/", "", 42)}));
    // The browsers run on by themselves, so they record in any order.
    std::vector<std::vector<std::string>> arguments;
    for (const Json& start : BrowserStarts(6)) arguments.push_back(start["argv"]);
    std::sort(arguments.begin(), arguments.end());
    std::vector<std::vector<std::string>> expected = {
        {"https://example.ac.jp/data"},      {screenPage},
        {"https://tsp.example.org/"},        {"https://mail.example.ac.jp/"},
        {"https://example.ac.jp/~teacher/"}, {"https://disk.example.ac.jp/"}};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(arguments, expected);
}

// A key set to nothing takes even a shipped page away; a key not set has no address.
TEST_F(HelpButtonsTest, AnUnconfiguredAddressLaunchesNothingAndNamesItsKey) {
    SetDeployment("help_data_collection =\nhelp_tsp=\nhelp_screen =\n");
    InstallFakeBrowser();
    for (const HelpButton& button : HelpButtons()) {
        if (button.launch == HelpLaunch::Program) continue;
        SCOPED_TRACE(button.what);
        const std::string key(button.what);
        const std::vector<Json> events = Run("click " + std::to_string(button.id) + "\n");
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0]["event"], "message");
        EXPECT_EQ(events[0]["text"], *Cp932ToUtf8(AddressNotConfiguredMessage(key)));
        EXPECT_NE(events[0]["text"].get<std::string>().find(key), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(Records() / "browser.jsonl"));
}

TEST_F(HelpButtonsTest, CommandListShowsTheReferenceUntilOkOrCancel) {
    std::vector<std::string> lines;
    for (const std::string& line : TspCommandLines()) lines.push_back(*Cp932ToUtf8(line));
    const Json opened = {{"event", "dialog"}, {"id", 135}, {"controls", {{"1068", lines}}}};

    const std::vector<Json> events = Run("click 1043\nclick 1068\nstate\nok\nclick 1043\ncancel\n");
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0], opened);
    EXPECT_EQ(events[1]["event"], "error");  // a line of the list is no button
    EXPECT_EQ(events[2], opened);            // and clicking it changed nothing
    EXPECT_EQ(events[3], (Json{{"event", "dialog-closed"}, {"id", 135}, {"result", 1}}));
    EXPECT_EQ(events[4], opened);  // every opening starts afresh
    EXPECT_EQ(events[5], (Json{{"event", "dialog-closed"}, {"id", 135}, {"result", 2}}));
}

// The exit button and the close box end the session on one path: the working environment
// is written to the save folder, and nothing after it runs.
TEST_F(HelpButtonsTest, ExitSavesTheEnvironmentAsTheCloseBoxDoes) {
    TempPrefix::WriteFile(m_prefix.DriveC() / "temp" / "a.tsp");
    const fs::path environmentFile = m_prefix.DriveC() / "temp" / "TamvelEnvFile.TXT";
    std::string saved[2];
    const char* const closers[] = {"click 1016", "quit"};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(closers[i]);
        fs::remove(environmentFile);
        EXPECT_EQ(Run("set 1007 C:\\temp\\a.tsp\n" + std::string(closers[i]) + "\nstate\n"),
                  std::vector<Json>{});
        saved[i] = TempPrefix::ReadFile(environmentFile);
        EXPECT_NE(saved[i].find("C:\\temp\\a.tsp"), std::string::npos);
    }
    EXPECT_EQ(saved[0], saved[1]);
}

}  // namespace
}  // namespace tamvel::testing
