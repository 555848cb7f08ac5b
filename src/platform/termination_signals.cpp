#include "platform/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

namespace tamvel {
namespace {

volatile sig_atomic_t s_requested = 0;
int s_readEnd = -1;
int s_writeEnd = -1;

void OnTerminationSignal(int) {
    const int savedErrno = errno;
    s_requested = 1;
    const char byte = 1;
    [[maybe_unused]] ssize_t ignored = ::write(s_writeEnd, &byte, 1);
    errno = savedErrno;
}

void OnFailedWriteSignal(int) {}

void Install(int signal, void (*handler)(int), int flags) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
}

}  // namespace

int WatchTerminationSignals() {
    static std::once_flag once;
    std::call_once(once, [] {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
            s_readEnd = ends[0];
            s_writeEnd = ends[1];
        }
        // No SA_RESTART: a blocking wait returns, and the waiter sees the request.
        for (int signal : {SIGTERM, SIGHUP, SIGINT}) Install(signal, OnTerminationSignal, 0);
        for (int signal : {SIGPIPE, SIGXFSZ}) Install(signal, OnFailedWriteSignal, SA_RESTART);
    });
    return s_readEnd;
}

bool TerminationRequested() { return s_requested != 0; }

void DrainTerminationSignals() {
    char buffer[64];
    while (s_readEnd >= 0 && ::read(s_readEnd, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace tamvel
