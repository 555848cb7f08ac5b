#include "panel/stop_event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace tamvel {

StopEvent::StopEvent() : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopEvent::~StopEvent() {
    if (m_fd >= 0) ::close(m_fd);
}

// The counter only grows while set; Reset reads it back to zero.
void StopEvent::Signal() {
    const std::uint64_t one = 1;
    if (m_fd >= 0) [[maybe_unused]]
        auto written = ::write(m_fd, &one, sizeof one);
}

void StopEvent::Reset() {
    std::uint64_t count = 0;
    if (m_fd >= 0) [[maybe_unused]]
        auto read = ::read(m_fd, &count, sizeof count);
}

bool StopEvent::IsSignalled() const {
    if (m_fd < 0) return false;
    pollfd watch{m_fd, POLLIN, 0};
    return ::poll(&watch, 1, 0) == 1 && (watch.revents & POLLIN) != 0;
}

}  // namespace tamvel
