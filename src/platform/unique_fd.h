#pragma once
// The one owner of a POSIX file descriptor: move-only, closes what it holds when it goes.

#include <unistd.h>

#include <utility>

namespace tamvel {

class UniqueFd {
  public:
    UniqueFd() = default;
    /// Takes ownership of `fd` (a negative value holds nothing).
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    /// The descriptor, still owned; -1 when none is held.
    int Get() const { return m_fd; }
    /// True when a descriptor is held.
    bool Valid() const { return m_fd >= 0; }
    explicit operator bool() const { return Valid(); }
    /// Gives the descriptor up without closing it.
    int Release() { return std::exchange(m_fd, -1); }
    /// Closes what is held now, with the result of close(2) (a write may fail only here).
    bool Close() {
        const int fd = Release();
        return fd < 0 || ::close(fd) == 0;
    }
    /// Closes what is held and takes `fd` instead.
    void Reset(int fd = -1) {
        if (m_fd >= 0 && m_fd != fd) ::close(m_fd);
        m_fd = fd;
    }

  private:
    int m_fd = -1;
};

}  // namespace tamvel
