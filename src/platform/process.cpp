#include "platform/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>
#include <utility>

#include "platform/host_file.h"
#include "platform/xdg_dirs.h"

extern char** environ;

namespace tamvel {
namespace {

/// Slice of a wait when no process descriptor is to be had (kernels before 5.3).
constexpr int kFallbackSliceMs = 20;

UniqueFd OpenPidFd(pid_t pid) {
    return UniqueFd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
}

/// The exit status, or 128 + the signal that ended the program.
int ExitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

/// This process's environment with `overrides` ("NAME=value") put in place of their names.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& overrides) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text = *entry;
        const std::string_view name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const std::string& change : overrides) {
            replaced = replaced || std::string_view(change).substr(0, change.find('=')) == name;
        }
        if (!replaced) entries.emplace_back(text);
    }
    entries.insert(entries.end(), overrides.begin(), overrides.end());
    return entries;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

/// Owns the posix_spawn attribute and file-action objects for one start.
class SpawnSetup {
  public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawnattr_init(&m_attributes);
        // The child starts with default signal handling and nothing blocked, whatever this
        // process ignores or blocks (a program that ignores SIGPIPE would pass it on).
        sigset_t all;
        sigfillset(&all);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&m_attributes, &all);
        posix_spawnattr_setsigmask(&m_attributes, &none);
        posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&m_attributes);
        posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attributes;
};

/// Collects `pid` on a thread of its own once it ends.
void ReapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

// What differs from the file operations' numbers: a missing program is "path not found"
// when its folder is missing too, and a file that is no program is "bad format".
WinError SpawnErrorNumber(int error, const std::filesystem::path& program) {
    switch (error) {
        case ENOENT: {
            std::error_code ignored;
            const std::filesystem::path folder = program.parent_path();
            return folder.empty() || std::filesystem::is_directory(folder, ignored)
                       ? kErrorFileNotFound
                       : kErrorPathNotFound;
        }
        case ELOOP:
            return kErrorPathNotFound;
        case ENOEXEC:
        case ELIBBAD:
            return kErrorBadExeFormat;
        default:
            return WinErrorFromErrno(error);
    }
}

SpawnResult ChildProcess::Spawn(const std::filesystem::path& program,
                                const std::vector<std::string>& arguments,
                                const SpawnOptions& options) {
    SpawnResult result;
    if (program.empty()) {
        result.error = kErrorFileNotFound;
        return result;
    }
    SpawnSetup setup;
    if (!options.workingDirectory.empty()) {
        std::error_code ignored;
        if (!std::filesystem::is_directory(options.workingDirectory, ignored)) {
            result.error = kErrorDirectory;
            return result;
        }
        posix_spawn_file_actions_addchdir_np(&setup.m_actions, options.workingDirectory.c_str());
    }
    if (options.discardInput) {
        posix_spawn_file_actions_addopen(&setup.m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    if (options.discardOutput) {
        posix_spawn_file_actions_addopen(&setup.m_actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&setup.m_actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    std::vector<std::string> argvStrings{program.string()};
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envStrings = ChildEnvironment(options.environment);
    std::vector<char*> argv = PointersTo(argvStrings);
    std::vector<char*> envp = PointersTo(envStrings);

    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, program.c_str(), &setup.m_actions, &setup.m_attributes,
                                    argv.data(), envp.data());
    if (error != 0) {
        result.error = SpawnErrorNumber(error, program);
        return result;
    }
    result.child = ChildProcess(pid, OpenPidFd(pid));
    return result;
}

ChildProcess::~ChildProcess() { Detach(); }

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_pid(std::exchange(other.m_pid, -1)), m_pidFd(std::move(other.m_pidFd)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        Detach();
        m_pid = std::exchange(other.m_pid, -1);
        m_pidFd = std::move(other.m_pidFd);
    }
    return *this;
}

bool ChildProcess::Running() const {
    if (!Valid()) return false;
    if (m_pidFd) {
        pollfd entry{m_pidFd.Get(), POLLIN, 0};
        return ::poll(&entry, 1, 0) == 0;
    }
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

bool ChildProcess::Signal(int signal) const {
    // The child is not collected yet, so its pid cannot have been reused.
    return Valid() && ::kill(m_pid, signal) == 0;
}

WaitResult ChildProcess::Wait(int stopFd) { return WaitUntil(-1, stopFd); }

WaitResult ChildProcess::WaitFor(std::chrono::milliseconds timeout, int stopFd) {
    return WaitUntil(static_cast<int>(timeout.count()), stopFd);
}

WaitResult ChildProcess::WaitUntil(int timeoutMs, int stopFd) {
    if (!Valid()) return {};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int sliceMs = timeoutMs;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            sliceMs = static_cast<int>(std::max<long long>(0, left.count()));
        }
        if (!m_pidFd && (sliceMs < 0 || sliceMs > kFallbackSliceMs)) sliceMs = kFallbackSliceMs;
        pollfd entries[2] = {{m_pidFd.Get(), POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int ready = ::poll(entries, 2, sliceMs);
        if (ready < 0 && errno != EINTR) return {};
        if (m_pidFd ? (entries[0].revents != 0) : !Running()) return Collect();
        if (stopFd >= 0 && entries[1].revents != 0) return {WaitEnd::Stopped, 0};
        if (timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline) {
            return {WaitEnd::TimedOut, 0};
        }
    }
}

WaitResult ChildProcess::Collect() {
    int status = 0;
    pid_t done = -1;
    while ((done = ::waitpid(m_pid, &status, 0)) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    m_pidFd.Reset();
    if (done < 0) return {};
    return {WaitEnd::ChildEnded, ExitCodeOf(status)};
}

WaitResult ChildProcess::Terminate(std::chrono::milliseconds grace) {
    if (!Valid()) return {};
    Signal(SIGTERM);
    const WaitResult ended = WaitFor(grace);
    if (ended.end == WaitEnd::ChildEnded) return ended;
    Signal(SIGKILL);
    return Collect();
}

void ChildProcess::Detach() {
    if (!Valid()) return;
    ReapInBackground(std::exchange(m_pid, -1));
    m_pidFd.Reset();
}

std::filesystem::path FindOnPath(std::string_view name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string_view::npos) return std::filesystem::path(name);
    const char* path = std::getenv("PATH");
    for (const std::filesystem::path& folder :
         SplitFolderList(path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin")) {
        const std::filesystem::path candidate = folder / name;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

}  // namespace tamvel
