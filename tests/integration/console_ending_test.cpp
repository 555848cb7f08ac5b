// How the real console program ends when it is not asked to quit: a terminating signal (a
// logout, a closed terminal, Ctrl+C), a reader of its output that went away, a file-size
// limit. Each time it ends as at quit: the environment saved, exit status 0.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/text.h"
#include "platform/unique_fd.h"
#include "support/temp_prefix.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Json = nlohmann::json;

/// `tamvel --console` with its input and output on pipes held by the test.
class ConsoleProcess {
  public:
    ConsoleProcess() {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        m_input.Reset(in[1]);
        m_output.Reset(out[0]);
        UniqueFd childIn(in[0]), childOut(out[1]);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, childIn.Get(), STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, childOut.Get(), STDOUT_FILENO);
        char* argv[] = {const_cast<char*>(TAMVEL_BINARY), const_cast<char*>("--console"), nullptr};
        if (posix_spawn(&m_pid, TAMVEL_BINARY, &actions, nullptr, argv, environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ConsoleProcess() {
        if (m_pid > 0 && !m_status) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    bool Started() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }

    void Send(const std::string& line) {
        const std::string text = line + "\n";
        ASSERT_EQ(::write(m_input.Get(), text.data(), text.size()),
                  static_cast<ssize_t>(text.size()));
    }
    /// Closes the test's end of the output: the reader goes away.
    void CloseOutput() { m_output.Reset(); }

    /// The next event, or nullopt when none comes within `timeout`.
    std::optional<Json> NextEvent(std::chrono::milliseconds timeout = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (const std::size_t end = m_buffer.find('\n'); end != std::string::npos) {
                Json event = Json::parse(m_buffer.substr(0, end));
                m_buffer.erase(0, end + 1);
                return event;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd wait{m_output.Get(), POLLIN, 0};
            if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0) {
                return std::nullopt;
            }
            char chunk[4096];
            const ssize_t got = ::read(m_output.Get(), chunk, sizeof chunk);
            if (got <= 0) return std::nullopt;
            m_buffer.append(chunk, static_cast<std::size_t>(got));
        }
    }
    /// Events until one named `name` (included); empty when it does not come.
    std::vector<Json> EventsUntil(const std::string& name) {
        std::vector<Json> events;
        while (std::optional<Json> event = NextEvent()) {
            events.push_back(*event);
            if ((*event)["event"] == name) return events;
        }
        return {};
    }

    /// The wait status once the process has ended within `timeout`.
    std::optional<int> WaitForEnd(std::chrono::milliseconds timeout = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!m_status && std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_status = status;
            } else {
                std::this_thread::sleep_for(10ms);
            }
        }
        return m_status;
    }

  private:
    pid_t m_pid = -1;
    UniqueFd m_input;
    UniqueFd m_output;
    std::string m_buffer;
    std::optional<int> m_status;
};

class ConsoleEndingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_prefix.Ensure());
        m_stick = m_prefix.MapDrive('a');
    }
    void InstallTsp(const std::string& bytes = "tsp") {
        TempPrefix::WriteFile(m_prefix.DriveC() / "Program Files (x86)" / "TSP 5.1" / "tsp.exe",
                              bytes);
    }
    /// The TspFile value of the environment file the program saved on the stick.
    std::string SavedTspFile() const {
        const std::string bytes = TempPrefix::ReadFile(m_stick / "TamvelEnvFile.TXT");
        const std::size_t key = bytes.find("TspFile|");
        if (key == std::string::npos) return "<not saved>";
        return bytes.substr(key + 8, bytes.size() - key - 9);
    }
    static void ExpectEndedWithStatusZero(const std::optional<int>& status) {
        ASSERT_TRUE(status) << "still running";
        ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
        EXPECT_EQ(WEXITSTATUS(*status), 0);
    }

    TempPrefix m_prefix;
    fs::path m_stick;
};

TEST_F(ConsoleEndingTest, ATerminatingSignalEndsTheSessionAsQuitDoes) {
    InstallTsp();
    TempPrefix::WriteFile(m_stick / "model.tsp");
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        fs::remove(m_stick / "TamvelEnvFile.TXT");
        ConsoleProcess console;
        ASSERT_TRUE(console.Started());
        ASSERT_FALSE(console.EventsUntil("ready").empty());
        console.Send("set 1007 A:\\model.tsp");
        console.Send("state");
        ASSERT_FALSE(console.EventsUntil("state").empty());

        ::kill(console.Pid(), signal);  // the input stays open: only the signal ends it
        EXPECT_EQ(console.NextEvent(), (Json{{"event", "exit"}, {"code", 0}}));
        ExpectEndedWithStatusZero(console.WaitForEnd());
        EXPECT_EQ(SavedTspFile(), "A:\\model.tsp");
    }
}

// A signal while a start-up chooser waits for its answer cancels it; start-up goes on to its
// end with every later chooser cancelled, and the session ends.
TEST_F(ConsoleEndingTest, ASignalWhileAChooserWaitsEndsTheSessionToo) {
    ConsoleProcess console;  // no TSP: start-up asks for it
    ASSERT_TRUE(console.Started());
    ASSERT_FALSE(console.EventsUntil("choose").empty());
    ::kill(console.Pid(), SIGTERM);
    const std::vector<Json> rest = console.EventsUntil("exit");
    ASSERT_GE(rest.size(), 2u);
    EXPECT_EQ(rest[rest.size() - 2], (Json{{"event", "ready"}}));
    EXPECT_EQ(rest.back(), (Json{{"event", "exit"}, {"code", 0}}));
    ExpectEndedWithStatusZero(console.WaitForEnd());
    EXPECT_NE(SavedTspFile(), "<not saved>");
}

// `tamvel --console | head -c1`: the reader takes one byte and goes; the next event finds the
// output closed, which ends the session as the end of input does.
TEST_F(ConsoleEndingTest, AClosedOutputEndsTheSessionAndSaves) {
    InstallTsp();
    const fs::path status = m_prefix.Root() / "status";
    const fs::path script = m_prefix.Root() / "pipeline.sh";
    TempPrefix::WriteFile(script,
                          R"((sleep 0.5; printf 'set 1007 A:\\gone.tsp\nstate\nstate\n'; sleep 2) |
"$1" --console | head -c1
echo "${PIPESTATUS[1]}" > "$2"
)");
    const std::string command =
        "bash '" + script.string() + "' '" + TAMVEL_BINARY + "' '" + status.string() + "'";
    FILE* shell = ::popen(command.c_str(), "r");
    ASSERT_NE(shell, nullptr);
    std::string output;
    for (int c; (c = std::fgetc(shell)) != EOF;) output += static_cast<char>(c);
    ::pclose(shell);
    EXPECT_EQ(output, "{");
    EXPECT_EQ(TempPrefix::ReadFile(status), "0\n");  // 141 when SIGPIPE ended it
    EXPECT_EQ(SavedTspFile(), "A:\\gone.tsp");
}

// Under a file-size limit smaller than TSP, the copy into C:\temp fails as a write (EFBIG),
// not by SIGXFSZ: start-up goes on, the environment is saved, no temporary file stays.
TEST_F(ConsoleEndingTest, AFileSizeLimitFailsTheCopyButNotTheProgram) {
    InstallTsp(std::string(64 * 1024, 't'));
    const std::string command = "prlimit --fsize=4096 '" + std::string(TAMVEL_BINARY) +
                                "' --console < /dev/null > /dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(fs::exists(m_prefix.DriveC() / "temp" / "tsp.exe"));
    EXPECT_NE(SavedTspFile(), "<not saved>");
    for (const auto& entry : fs::directory_iterator(m_prefix.DriveC() / "temp")) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".tamvel-")) << entry.path();
    }
}

}  // namespace
}  // namespace tamvel::testing
