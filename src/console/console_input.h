#pragma once
// The console's input lines, from a stream or straight from a descriptor. Read from the
// descriptor, the lines already received are known, so a wait for TSP can also wait for the
// next line (the person's `stop`) without a line sitting unseen in a buffer. A terminating
// signal (a logout, Ctrl+C) ends the input as its end does: the session then ends as at
// quit, settings saved; the standard stream would go on waiting.

#include <istream>
#include <optional>
#include <string>

namespace tamvel {

class ConsoleInput {
  public:
    /// The lines of a stream, which always has its next line or its end at hand.
    ConsoleInput(std::istream& in) : m_in(&in) {}  // NOLINT: a stream is an input
    /// The lines read from a descriptor (standard input), which is not closed here; the
    /// input also ends when `signalFd` (may be -1) turns readable or a termination was
    /// requested.
    explicit ConsoleInput(int fd, int signalFd = -1) : m_fd(fd), m_signalFd(signalFd) {}

    /// The next line without its line end (a trailing CR dropped), or nullopt at the end of
    /// input. Blocks until a line is there.
    std::optional<std::string> ReadLine();

    /// Blocks until ReadLine would not block, or until `otherFd` is readable. True when the
    /// input is ready (a line, or its end), false when `otherFd` woke the wait.
    bool WaitForInputOr(int otherFd);

    /// Whether the input ended because a terminating signal came.
    bool Terminated() const { return m_terminated; }

  private:
    /// Waits for the descriptor (and `otherFd`, unless -1) and reads what it has. False at
    /// the input's end, on an error, on a termination, or when `otherFd` woke the wait.
    bool Fill(int otherFd = -1);

    /// Ends the input when a termination was requested; true then.
    bool CheckTermination();

    std::istream* m_in = nullptr;
    int m_fd = -1;
    int m_signalFd = -1;
    std::string m_buffer;
    bool m_ended = false;
    bool m_terminated = false;
    bool m_otherWoke = false;
};

}  // namespace tamvel
