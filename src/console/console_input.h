#pragma once
// The console's input lines, from a stream or straight from a descriptor. Read from the
// descriptor, the lines already received are known, so a wait for TSP can also wait for the
// next line (the person's `stop`) without a line sitting unseen in a buffer. The descriptor's
// input also ends when a terminating signal comes: the session then ends as at the end of
// input (quit), settings saved, where a plain read would go on waiting.

#include <istream>
#include <optional>
#include <string>

namespace tamvel {

class ConsoleInput {
  public:
    /// The lines of a stream, which always has its next line or its end at hand.
    ConsoleInput(std::istream& in) : m_in(&in) {}  // NOLINT: a stream is an input
    /// The lines read from a descriptor (standard input), which is not closed here; they end
    /// when `signalFd` (may be -1) turns readable or a termination was requested.
    explicit ConsoleInput(int fd, int signalFd = -1) : m_fd(fd), m_signalFd(signalFd) {}

    /// The next line without its line end (a trailing CR dropped), or nullopt at the end of
    /// input. Blocks until a line is there.
    std::optional<std::string> ReadLine();

    /// Blocks until ReadLine would not block, or until `otherFd` is readable. True when the
    /// input is ready (a line, or its end), false when `otherFd` woke the wait.
    bool WaitForInputOr(int otherFd);

  private:
    /// Waits for the descriptor, `otherFd` (may be -1) or a signal, and reads what the
    /// descriptor has. False when `otherFd` woke the wait; the input ends at the descriptor's
    /// end, an error or a signal.
    bool Fill(int otherFd = -1);

    std::istream* m_in = nullptr;
    int m_fd = -1;
    int m_signalFd = -1;
    std::string m_buffer;
    bool m_ended = false;
};

}  // namespace tamvel
