#include "app/running_window.h"

#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include <thread>

#include "app/tamvel_resources.h"
#include "app/wx_text.h"
#include "panel/stop_event.h"
#include "platform/text.h"

namespace tamvel {
namespace {

constexpr int kTickMilliseconds = 200;

// What follows the last '\' of a path, or the whole path.
std::string_view FileNameOf(std::string_view path) {
    const std::size_t separator = FindLastChar(path, '\\');
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace

RunningWindow::RunningWindow(std::string_view tspFile, StopEvent* stop)
    : m_stop(stop), m_timer(this) {
    LoadTamvelResources();
    wxXmlResource::Get()->LoadDialog(this, nullptr, "running");
    // The template's size is in the units of the window's own font, which XRC sets only after
    // sizing the window.
    SetClientSize(ConvertDialogToPixels(wxSize(220, 62)));
    if (auto* file = XRCCTRL(*this, "file", wxStaticText)) {
        file->SetLabelText(FromCp932(FileNameOf(tspFile)));
        file->SetToolTip(FromCp932(tspFile));
    }
    m_elapsed = XRCCTRL(*this, "elapsed", wxStaticText);
    m_stopButton = XRCCTRL(*this, "stop", wxButton);
    if (m_stopButton && !m_stop) m_stopButton->Disable();
    CentreOnScreen();
    Bind(wxEVT_TIMER, &RunningWindow::OnTick, this);
    Bind(wxEVT_BUTTON, &RunningWindow::OnStop, this, XRCID("stop"));
    Bind(wxEVT_CLOSE_WINDOW, &RunningWindow::OnClose, this);
}

wxString RunningWindow::ElapsedText(long seconds) {
    return wxString::FromUTF8("経過時間 ") + wxString::Format("%ld", seconds) +
           wxString::FromUTF8(" 秒");
}

void RunningWindow::ShowWhile(const std::function<void()>& wait) {
    m_started = std::chrono::steady_clock::now();
    m_finished = false;
    std::thread waiter([this, &wait] {
        wait();
        m_finished = true;
    });
    m_timer.Start(kTickMilliseconds);
    ShowModal();
    m_timer.Stop();
    waiter.join();
}

void RunningWindow::OnTick(wxTimerEvent&) {
    if (m_finished) {
        if (IsModal()) EndModal(wxID_OK);
        return;
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::steady_clock::now() - m_started);
    if (m_elapsed) m_elapsed->SetLabelText(ElapsedText(static_cast<long>(seconds.count())));
}

void RunningWindow::Stop() {
    if (!m_stop) return;
    m_stop->Signal();
    if (m_stopButton) m_stopButton->Disable();
}

void RunningWindow::OnStop(wxCommandEvent&) { Stop(); }

// The close box asks for a stop too; the window goes once the run is over.
void RunningWindow::OnClose(wxCloseEvent& event) {
    if (event.CanVeto()) event.Veto();
    Stop();
}

}  // namespace tamvel
