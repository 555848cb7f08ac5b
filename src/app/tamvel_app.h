#pragma once
// The application object: decides whether this copy runs at all (one copy per executable
// name), sets up the document, the main frame with the splash screen and the control panel,
// and answers the document commands (new, open, dropped files) and the About command.

#include <wx/app.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "panel/deployment_config.h"
#include "panel/tamvel_session.h"
#include "platform/single_instance.h"

class wxDropFilesEvent;
class wxEventLoopSource;

namespace tamvel {

class CMainFrame;
class ControlPanelForm;

class CTamvelApp : public wxApp {
  public:
    CTamvelApp();
    ~CTamvelApp() override;

    /// Start-up: the single-instance rule, the document, the frame and the control panel;
    /// the main window is shown and captioned, then marked as the running copy.
    bool OnInit() override;

    /// Ends at once, without a window, for a copy that only brought the running one forward.
    int OnRun() override;

    /// Every event goes to the splash screen's input filter first.
    int FilterEvent(wxEvent& event) override;

    /// Brings the main window forward: restored if minimised, raised, and an open dialog or
    /// message box in front of it. What a later copy asks for.
    void BringForward();

    /// Renews the document (a new one, or `file`) and reruns the control panel's start-up.
    void RenewDocument(const std::optional<std::filesystem::path>& file);

  private:
    class EndpointHandler;
    class ModalDialogTracker;

    void OnAppAbout(wxCommandEvent& event);
    void OnFileNew(wxCommandEvent& event);
    void OnFileOpen(wxCommandEvent& event);
    void OnDropFiles(wxDropFilesEvent& event);
    /// Opens the endpoint and watches it in every event loop, modal ones included.
    void OpenEndpoint();
    void CloseEndpoint();

    bool m_endAtOnce = false;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<EndpointHandler> m_endpointHandler;
    wxEventLoopSource* m_endpointSource = nullptr;
    std::unique_ptr<ModalDialogTracker> m_modalDialogs;
    std::unique_ptr<TamvelSession> m_session;
    CMainFrame* m_frame = nullptr;
    ControlPanelForm* m_form = nullptr;
};

/// The main window's caption after start-up: the seminar's name, then the program's.
wxString MainCaption(const DeploymentConfig& config);

}  // namespace tamvel

wxDECLARE_APP(tamvel::CTamvelApp);
