#include "console/console_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/termination_signals.h"

namespace tamvel {

ConsoleInput::int_type ConsoleInput::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    for (;;) {
        if (TerminationRequested()) return traits_type::eof();
        pollfd waits[2] = {{m_fd, POLLIN, 0}, {m_signalFd, POLLIN, 0}};
        if (::poll(waits, m_signalFd >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR) continue;
            return traits_type::eof();
        }
        if (TerminationRequested()) return traits_type::eof();
        if (waits[0].revents == 0) continue;
        const ssize_t got = ::read(m_fd, m_buffer.data(), m_buffer.size());
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return traits_type::eof();
        setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + got);
        return traits_type::to_int_type(*gptr());
    }
}

}  // namespace tamvel
