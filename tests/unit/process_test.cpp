#include "platform/process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/host_file.h"
#include "support/temp_folder.h"

namespace tamvel {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(ProcessTest, ExitStatusOfAProgramThatEnds) {
    const struct {
        const char* name;
        fs::path program;
        std::vector<std::string> arguments;
        int exitCode;
    } cases[] = {
        {"true", "/bin/true", {}, 0},
        {"exit 3", "/bin/sh", {"-c", "exit 3"}, 3},
        {"killed by a signal", "/bin/sh", {"-c", "kill -9 $$"}, 128 + SIGKILL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpawnResult started = ChildProcess::Spawn(c.program, c.arguments);
        ASSERT_TRUE(started);
        const WaitResult result = started.child.Wait();
        EXPECT_EQ(result.end, WaitEnd::ChildEnded);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_FALSE(started.child.Valid());  // collected
    }
}

TEST(ProcessTest, FailedStartsGiveTheWindowsErrorNumbers) {
    testing::TempFolder folder("process");
    ASSERT_EQ(ReplaceHostFile(folder / "plain.txt", "not a program\n", 0644), kErrorSuccess);
    ASSERT_EQ(ReplaceHostFile(folder / "garbage.exe", "MZ\x90\x00 garbage", 0755), kErrorSuccess);
    fs::create_directory(folder / "folder");
    const struct {
        const char* name;
        fs::path program;
        WinError error;
    } cases[] = {
        {"missing file", folder / "missing", kErrorFileNotFound},
        {"missing folder", folder / "no-such-folder" / "program", kErrorPathNotFound},
        {"a file used as a folder", folder / "plain.txt" / "program", kErrorPathNotFound},
        {"not executable", folder / "plain.txt", kErrorAccessDenied},
        {"a directory", folder / "folder", kErrorAccessDenied},
        {"no known format", folder / "garbage.exe", kErrorBadExeFormat},
        {"empty path", fs::path(), kErrorFileNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SpawnResult started = ChildProcess::Spawn(c.program, {});
        EXPECT_FALSE(started);
        EXPECT_EQ(started.error, c.error);
        EXPECT_FALSE(started.child.Valid());
    }
}

TEST(ProcessTest, WorkingFolderArgumentsAndEnvironmentReachTheChild) {
    testing::TempFolder folder("process");
    const fs::path out = folder / "out.txt";
    SpawnOptions options;
    options.workingDirectory = folder.Path();
    options.environment = {"TAMVEL_PROCESS_TEST=value with blanks"};
    // The argument with blanks and quotes arrives as one argument: no shell splits it.
    SpawnResult started = ChildProcess::Spawn(
        "/bin/sh",
        {"-c", "pwd > out.txt; echo \"$1|$TAMVEL_PROCESS_TEST\" >> out.txt", "sh", "a 'b' \"c\""},
        options);
    ASSERT_TRUE(started);
    EXPECT_EQ(started.child.Wait().exitCode, 0);
    std::ifstream in(out);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(text, fs::canonical(folder.Path()).string() + "\na 'b' \"c\"|value with blanks\n");

    options.workingDirectory = folder / "missing";
    EXPECT_EQ(ChildProcess::Spawn("/bin/true", {}, options).error, kErrorDirectory);
}

TEST(ProcessTest, ChildStartsWithDefaultSignalsWhateverThisProcessIgnores) {
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGPIPE, &ignore, &old), 0);
    SpawnResult started =
        ChildProcess::Spawn("/bin/sh", {"-c", "kill -PIPE $$; exit 0"}, SpawnOptions{});
    ::sigaction(SIGPIPE, &old, nullptr);
    ASSERT_TRUE(started);
    EXPECT_EQ(started.child.Wait().exitCode, 128 + SIGPIPE);
}

TEST(ProcessTest, StopEventEndsTheWaitAndTerminateEndsTheProgram) {
    SpawnResult started = ChildProcess::Spawn("/bin/sleep", {"30"});
    ASSERT_TRUE(started);
    UniqueFd stop(::eventfd(0, EFD_CLOEXEC));
    ASSERT_TRUE(stop);

    EXPECT_EQ(started.child.WaitFor(50ms, stop.Get()).end, WaitEnd::TimedOut);
    const std::uint64_t one = 1;
    ASSERT_EQ(::write(stop.Get(), &one, sizeof one), static_cast<ssize_t>(sizeof one));
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(started.child.Wait(stop.Get()).end, WaitEnd::Stopped);
    EXPECT_TRUE(started.child.Running());

    const WaitResult ended = started.child.Terminate(2s);
    EXPECT_EQ(ended.end, WaitEnd::ChildEnded);
    EXPECT_EQ(ended.exitCode, 128 + SIGTERM);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 2s);
    EXPECT_FALSE(started.child.Running());
}

TEST(ProcessTest, TerminateKillsAProgramThatIgnoresTheRequest) {
    testing::TempFolder folder("process");
    const fs::path ready = folder / "ready";
    SpawnResult started = ChildProcess::Spawn(
        "/bin/sh", {"-c", "trap '' TERM; : > \"$0\"; while :; do sleep 0.05; done", ready});
    ASSERT_TRUE(started);
    while (!fs::exists(ready)) std::this_thread::sleep_for(10ms);  // the trap is set
    const WaitResult ended = started.child.Terminate(200ms);
    EXPECT_EQ(ended.end, WaitEnd::ChildEnded);
    EXPECT_EQ(ended.exitCode, 128 + SIGKILL);
}

// Programs that are left to run on (an editor, a browser) are reaped when they end: after
// many such starts, this process has no child left, running or ended.
TEST(ProcessTest, DroppedChildrenAreReapedWhenTheyEnd) {
    for (int i = 0; i < 50; ++i) {
        SpawnResult started = ChildProcess::Spawn("/bin/true", {});
        ASSERT_TRUE(started);
    }  // each child dropped here unwaited
    {
        ChildProcess moved = ChildProcess::Spawn("/bin/sleep", {"0.1"}).child;
        ChildProcess other = std::move(moved);
        other.Detach();
    }
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    bool anyLeft = true;
    while (anyLeft && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
        siginfo_t info{};
        // ECHILD: no child of this process exists any more, not even a zombie.
        anyLeft = ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0;
    }
    EXPECT_FALSE(anyLeft);
}

TEST(ProcessTest, FindOnPathLooksForExecutableFilesOnly) {
    EXPECT_EQ(FindOnPath("sh").filename(), "sh");
    EXPECT_TRUE(FindOnPath("tamvel-no-such-program").empty());
    EXPECT_EQ(FindOnPath("/bin/true"), "/bin/true");
    EXPECT_TRUE(FindOnPath("").empty());
}

}  // namespace
}  // namespace tamvel
