#pragma once
// Makes writes beyond a size fail for as long as it lives: the file-size limit stops root
// too, unlike permission bits, so tests can make a write fail half-way. SIGXFSZ is ignored
// meanwhile so the write fails with EFBIG instead of ending the process.

#include <signal.h>
#include <sys/resource.h>

namespace tamvel::testing {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        m_ok = ::sigaction(SIGXFSZ, &ignore, &m_oldAction) == 0 &&
               ::getrlimit(RLIMIT_FSIZE, &m_oldLimit) == 0;
        rlimit small = m_oldLimit;
        small.rlim_cur = bytes;
        m_ok = m_ok && ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_oldLimit);
        ::sigaction(SIGXFSZ, &m_oldAction, nullptr);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    /// False when the limit could not be set.
    bool Active() const { return m_ok; }

  private:
    struct sigaction m_oldAction {};
    rlimit m_oldLimit{};
    bool m_ok = false;
};

}  // namespace tamvel::testing
