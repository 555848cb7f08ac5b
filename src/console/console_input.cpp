#include "console/console_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/termination_signals.h"

namespace tamvel {

bool ConsoleInput::Fill(int otherFd) {
    for (;;) {
        if (TerminationRequested()) break;
        pollfd waits[3] = {{m_fd, POLLIN, 0}, {m_signalFd, POLLIN, 0}, {otherFd, POLLIN, 0}};
        if (::poll(waits, 3, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (TerminationRequested() || waits[1].revents != 0) break;
        if (waits[2].revents != 0) return false;
        if (waits[0].revents == 0) continue;
        char chunk[4096];
        const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) break;
        m_buffer.append(chunk, static_cast<std::size_t>(got));
        return true;
    }
    m_ended = true;
    return true;
}

std::optional<std::string> ConsoleInput::ReadLine() {
    std::string line;
    if (m_in != nullptr) {
        if (!std::getline(*m_in, line)) return std::nullopt;
    } else {
        std::size_t end;
        while ((end = m_buffer.find('\n')) == std::string::npos && !m_ended) Fill();
        if (end == std::string::npos) {
            // The last line may lack its line end, as std::getline takes it.
            if (m_buffer.empty()) return std::nullopt;
            end = m_buffer.size();
        }
        line = m_buffer.substr(0, end);
        m_buffer.erase(0, end + 1);
    }
    if (line.ends_with('\r')) line.pop_back();
    return line;
}

bool ConsoleInput::WaitForInputOr(int otherFd) {
    if (m_in != nullptr) return true;
    while (m_buffer.find('\n') == std::string::npos && !m_ended) {
        if (!Fill(otherFd)) return false;
    }
    return true;
}

}  // namespace tamvel
