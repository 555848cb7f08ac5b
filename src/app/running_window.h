#pragma once
// The small window of Tamvel's own that stands in for the hidden main window while TSP
// runs: the TSP file's name, the seconds elapsed, and a "中止" button that signals the stop
// event. It is shown modally while the wait for TSP runs on a thread of its own, and closes
// by itself once that wait is over.

#include <wx/dialog.h>
#include <wx/timer.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string_view>

class wxStaticText;
class wxButton;

namespace tamvel {

class StopEvent;

class RunningWindow : public wxDialog {
  public:
    /// The window for a run on `tspFile` (CP932); `stop` may be null (then 中止 is disabled).
    RunningWindow(std::string_view tspFile, StopEvent* stop);

    /// Runs `wait` on a thread of its own and shows the window until it has returned.
    void ShowWhile(const std::function<void()>& wait);

    /// The text of the seconds elapsed, as the window shows it.
    static wxString ElapsedText(long seconds);

  private:
    void OnTick(wxTimerEvent& event);
    void OnStop(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void Stop();

    StopEvent* m_stop;
    wxStaticText* m_elapsed = nullptr;
    wxButton* m_stopButton = nullptr;
    wxTimer m_timer;
    std::chrono::steady_clock::time_point m_started;
    std::atomic<bool> m_finished{false};
};

}  // namespace tamvel
