#pragma once
// The control panel's stop event: a manual-reset event, created not signalled, that a TSP
// run watches beside the TSP process. Nothing in the program signals it, so a run always
// ends with the process; it is kept so that the run has one place to learn of a stop.

#include <atomic>

namespace tamvel {

class StopEvent {
  public:
    /// Sets the event; it stays set (manual reset).
    void Signal() { m_signalled.store(true); }

    /// Whether the event has been set.
    bool IsSignalled() const { return m_signalled.load(); }

  private:
    std::atomic<bool> m_signalled{false};
};

}  // namespace tamvel
