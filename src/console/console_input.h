#pragma once
// The console's input lines, from a stream or straight from a descriptor. Read from the
// descriptor, the lines already received are known, so a wait for TSP can also wait for the
// next line (the person's `stop`) without a line sitting unseen in a buffer.

#include <istream>
#include <optional>
#include <string>

namespace tamvel {

class ConsoleInput {
  public:
    /// The lines of a stream, which always has its next line or its end at hand.
    ConsoleInput(std::istream& in) : m_in(&in) {}  // NOLINT: a stream is an input
    /// The lines read from a descriptor (standard input); it is not closed here.
    explicit ConsoleInput(int fd) : m_fd(fd) {}

    /// The next line without its line end (a trailing CR dropped), or nullopt at the end of
    /// input. Blocks until a line is there.
    std::optional<std::string> ReadLine();

    /// Blocks until ReadLine would not block, or until `otherFd` is readable. True when the
    /// input is ready (a line, or its end), false when `otherFd` woke the wait.
    bool WaitForInputOr(int otherFd);

  private:
    /// Reads what the descriptor has; false at its end or on an error.
    bool Fill();

    std::istream* m_in = nullptr;
    int m_fd = -1;
    std::string m_buffer;
    bool m_ended = false;
};

}  // namespace tamvel
