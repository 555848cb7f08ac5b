#pragma once
// The control panel's stop event: a manual-reset event, created not signalled, that a TSP
// run watches beside the TSP process. The running window's "中止" button and the console's
// `stop` signal it; the wait then ends and TSP is ended. It is an eventfd, so a wait can
// poll it together with the process, and signalling it is safe from any thread.

#include "platform/unique_fd.h"

namespace tamvel {

class StopEvent {
  public:
    /// A new event, not signalled. Fd() is -1 when the system could not make one.
    StopEvent();

    /// Sets the event; it stays set (manual reset) until Reset.
    void Signal();

    /// Clears the event, so that a stop of an earlier run does not end the next one at once.
    void Reset();

    /// Whether the event has been set.
    bool IsSignalled() const;

    /// The descriptor to poll: readable while the event is set.
    int Fd() const { return m_fd.Get(); }

  private:
    UniqueFd m_fd;
};

}  // namespace tamvel
