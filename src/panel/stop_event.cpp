#include "panel/stop_event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace tamvel {

StopEvent::StopEvent() : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

// The counter only grows while set; Reset reads it back to zero. Neither call blocks.
void StopEvent::Signal() {
    if (!m_fd) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_fd.Get(), &one, sizeof one);
}

void StopEvent::Reset() {
    if (!m_fd) return;
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_fd.Get(), &count, sizeof count);
}

bool StopEvent::IsSignalled() const {
    if (!m_fd) return false;
    pollfd watch{m_fd.Get(), POLLIN, 0};
    return ::poll(&watch, 1, 0) == 1 && (watch.revents & POLLIN) != 0;
}

}  // namespace tamvel
