#pragma once
// Outside programs as child processes: started directly by host path with an argument
// vector (posix_spawn, never a shell), owned by a ChildProcess that waits for the program
// together with a stop event, ends it, or lets it run on. Every child is reaped: one that is
// dropped unwaited is handed to a reaper that collects it when it ends, so no zombie stays.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unique_fd.h"
#include "platform/win_error.h"

namespace tamvel {

/// How a program is started.
struct SpawnOptions {
    /// The child's current directory; empty: this process's, inherited.
    std::filesystem::path workingDirectory;
    /// Sends the child's standard output and error to /dev/null.
    bool discardOutput = false;
    /// Gives the child /dev/null as its standard input, so it never reads this process's.
    bool discardInput = false;
    /// "NAME=value" entries set in the child's environment on top of this process's.
    std::vector<std::string> environment;
};

/// Which of the two things waited on ended the wait.
enum class WaitEnd {
    ChildEnded,  ///< the program ended; exitCode holds its status
    Stopped,     ///< the stop descriptor became readable first; the program still runs
    TimedOut,    ///< the time limit passed first
    Failed,      ///< nothing to wait for, or the wait itself failed
};

/// The result of a wait.
struct WaitResult {
    WaitEnd end = WaitEnd::Failed;
    /// The exit status when the program ended, or 128 + the signal that ended it.
    int exitCode = 0;
};

class ChildProcess;

/// A started program, or the Windows error number of a start that failed.
struct SpawnResult;

class ChildProcess {
  public:
    ChildProcess() = default;
    /// Hands a child that was never waited for to the reaper; it keeps running.
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    /// Starts `program` (a host path, not searched for) with `arguments` as argv[1...];
    /// argv[0] is the program path. Not found 2, path not found 3, access denied 5, not an
    /// executable 193, a working directory that is not a folder 267.
    static SpawnResult Spawn(const std::filesystem::path& program,
                             const std::vector<std::string>& arguments,
                             const SpawnOptions& options = {});

    /// True while a child is owned (started and not yet collected).
    bool Valid() const { return m_pid > 0; }
    /// The process id, or -1.
    pid_t Pid() const { return m_pid; }
    /// True while the program has not ended.
    bool Running() const;

    /// Sends `signal` to the program; false when none is owned or it could not be sent.
    bool Signal(int signal) const;
    /// Waits, with no time limit, until the program ends or `stopFd` (if not negative)
    /// becomes readable, whichever comes first; a program that ended is collected.
    WaitResult Wait(int stopFd = -1);
    /// As Wait, giving up after `timeout`.
    WaitResult WaitFor(std::chrono::milliseconds timeout, int stopFd = -1);
    /// Ends the program: SIGTERM, then SIGKILL once `grace` has passed; collects it.
    WaitResult Terminate(std::chrono::milliseconds grace = std::chrono::milliseconds(2000));
    /// Lets the program run on by itself; the reaper collects it when it ends.
    void Detach();

  private:
    ChildProcess(pid_t pid, UniqueFd pidFd) : m_pid(pid), m_pidFd(std::move(pidFd)) {}
    WaitResult WaitUntil(int timeoutMs, int stopFd);
    WaitResult Collect();

    pid_t m_pid = -1;
    UniqueFd m_pidFd;
};

struct SpawnResult {
    ChildProcess child;
    WinError error = kErrorSuccess;

    /// True when the program was started.
    explicit operator bool() const { return error == kErrorSuccess; }
};

/// The Windows error number for a failed start of `program` with errno `error`.
WinError SpawnErrorNumber(int error, const std::filesystem::path& program);

/// `name` searched for in $PATH as a shell would (a name with a slash is taken as it
/// stands); empty when no executable file is found.
std::filesystem::path FindOnPath(std::string_view name);

}  // namespace tamvel
