#pragma once
// The console's standard input as a stream that also ends when a terminating signal comes:
// the session then ends as at the end of input (quit), settings saved. The standard stream
// would go on waiting, as its reads retry when a signal interrupts them.

#include <array>
#include <streambuf>

namespace tamvel {

class ConsoleInput : public std::streambuf {
  public:
    /// Reads `fd`; ends when `signalFd` (may be -1) turns readable or a termination was
    /// requested.
    ConsoleInput(int fd, int signalFd) : m_fd(fd), m_signalFd(signalFd) {}

  protected:
    int_type underflow() override;

  private:
    int m_fd;
    int m_signalFd;
    std::array<char, 4096> m_buffer{};
};

}  // namespace tamvel
