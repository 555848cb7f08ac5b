#include "app/tamvel_app.h"

#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>

#include <algorithm>
#include <chrono>
#include <system_error>
#include <vector>

#include "app/control_panel_form.h"
#include "app/main_frame.h"
#include "app/message_box.h"
#include "app/model_dialog.h"
#include "app/splash_wnd.h"
#include "app/tamvel_resources.h"
#include "app/wx_text.h"
#include "platform/desktop_registration.h"
#include "platform/xdg_dirs.h"
#include "ui/about_box.h"

wxIMPLEMENT_APP_NO_MAIN(tamvel::CTamvelApp);

namespace tamvel {
namespace {

/// How long a later copy waits for the running one to confirm that it came forward.
constexpr std::chrono::milliseconds kBringForwardTimeout{3000};

/// The open dialog's filters: the document's file type, then every file.
const char* const kOpenFilter = "Tsp ﾌｧｲﾙ (*.tsp)|*.tsp|すべてのﾌｧｲﾙ (*.*)|*";

/// The file named on the command line: the first argument that is not a switch.
std::optional<std::filesystem::path> CommandLineFile(const wxCmdLineArgsArray& arguments) {
    for (int i = 1; i < static_cast<int>(arguments.GetArguments().size()); ++i) {
        const wxString& argument = arguments[i];
        if (!argument.empty() && !argument.StartsWith("-")) return ToHostPath(argument);
    }
    return std::nullopt;
}

std::filesystem::path RunningProgram(const wxString& argv0) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::absolute(ToHostPath(argv0), error) : program;
}

/// Lets the desktop open *.tsp files with this program, for this user.
void RegisterFileType(const std::filesystem::path& program) {
    const std::filesystem::path dataHome = DataHome();
    RefreshDesktopDatabases(RegisterFileTypeForUser(program, dataHome, SystemDataDirs()), dataHome);
}

}  // namespace

/// Serves the requests that later copies send to the endpoint.
class CTamvelApp::EndpointHandler : public wxEventLoopSourceHandler {
  public:
    explicit EndpointHandler(CTamvelApp& app) : m_app(app) {}
    void OnReadWaiting() override {
        if (m_app.m_instance) m_app.m_instance->ServeRequests([this] { m_app.BringForward(); });
    }
    void OnWriteWaiting() override {}
    void OnExceptionWaiting() override {}

  private:
    CTamvelApp& m_app;
};

/// Keeps the modal dialogs that are open, message boxes included, innermost last.
class CTamvelApp::ModalDialogTracker : public wxModalDialogHook {
  public:
    wxDialog* Innermost() const { return m_open.empty() ? nullptr : m_open.back(); }

  protected:
    int Enter(wxDialog* dialog) override {
        m_open.push_back(dialog);
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override { std::erase(m_open, dialog); }

  private:
    std::vector<wxDialog*> m_open;
};

wxString MainCaption(const DeploymentConfig& config) {
    const wxString seminar = FromCp932(config.seminar);
    const wxString program = wxString::FromUTF8("ＴＳＰユティリティプログラム");
    return seminar.empty() ? program : seminar + wxString::FromUTF8("　") + program;
}

CTamvelApp::CTamvelApp() = default;

CTamvelApp::~CTamvelApp() = default;

bool CTamvelApp::OnInit() {
    // One copy per instance key. A later copy asks the running one to come forward and ends;
    // its command line is not passed on.
    m_instance =
        std::make_unique<SingleInstance>(InstanceRuntimeDir(), InstanceKey(argv[0].utf8_string()));
    if (m_instance->Acquire() == InstanceRole::Second) {
        m_instance->RequestBringForward(kBringForwardTimeout);
        m_instance.reset();
        m_endAtOnce = true;
        return true;
    }
    SetAppDisplayName(wxString::FromUTF8(kApplicationTitle.data(), kApplicationTitle.size()));
    CSplashWnd::EnableSplashScreen(true);
    m_modalDialogs = std::make_unique<ModalDialogTracker>();
    m_modalDialogs->Register();

    // The document: a file named on the command line becomes it (nothing is read from it).
    m_session = std::make_unique<TamvelSession>();
    const std::optional<std::filesystem::path> file = CommandLineFile(argv);
    if (file && !m_session->RenewDocument(file)) {
        ShowTamvelMessage(nullptr, FromCp932(OpenDocumentFailedMessage(*file)));
        return false;
    }
    m_session->PreparePrefix();
    LoadTamvelResources();

    m_frame = new CMainFrame();  // puts up the splash
    SetTopWindow(m_frame);
    m_form = new ControlPanelForm(m_frame, *m_session);
    m_frame->SetForm(m_form);
    m_form->RunStartup();

    m_frame->Show();
    m_frame->Update();
    m_frame->SetTitle(MainCaption(m_session->Config()));
    m_frame->DragAcceptFiles(true);
    m_frame->Bind(wxEVT_DROP_FILES, &CTamvelApp::OnDropFiles, this);
    Bind(wxEVT_MENU, &CTamvelApp::OnAppAbout, this, wxID_ABOUT);
    Bind(wxEVT_MENU, &CTamvelApp::OnFileNew, this, wxID_NEW);
    Bind(wxEVT_MENU, &CTamvelApp::OnFileOpen, this, wxID_OPEN);
    m_frame->SetOnDestroy([this] {
        CloseEndpoint();
        m_frame = nullptr;
        m_form = nullptr;
    });
    OpenEndpoint();  // last: a copy started before this point finds no running copy
    // Nothing the window needs: done once the event loop runs, after the window shows.
    CallAfter([program = RunningProgram(argv[0])] { RegisterFileType(program); });
    return true;
}

int CTamvelApp::OnRun() { return m_endAtOnce ? 0 : wxApp::OnRun(); }

int CTamvelApp::FilterEvent(wxEvent& event) {
    return CSplashWnd::PreTranslateAppMessage(event) ? Event_Processed : Event_Skip;
}

void CTamvelApp::BringForward() {
    if (m_frame && m_frame->IsShown()) {
        if (m_frame->IsIconized()) m_frame->Iconize(false);
        m_frame->Raise();
    }
    if (wxDialog* dialog = m_modalDialogs ? m_modalDialogs->Innermost() : nullptr) dialog->Raise();
}

void CTamvelApp::RenewDocument(const std::optional<std::filesystem::path>& file) {
    if (!m_form) return;
    if (!m_session->RenewDocument(file)) {
        ShowTamvelMessage(DialogOwner(m_frame), FromCp932(OpenDocumentFailedMessage(*file)));
        return;
    }
    if (m_frame) m_frame->SetTitle(wxString::FromUTF8(m_session->Document().Caption()));
}

void CTamvelApp::OnAppAbout(wxCommandEvent&) {
    DialogModel about = AboutBox();
    ShowModelDialog(m_frame, about);
}

void CTamvelApp::OnFileNew(wxCommandEvent&) { RenewDocument(std::nullopt); }

void CTamvelApp::OnFileOpen(wxCommandEvent&) {
    wxFileDialog dialog(m_frame, wxEmptyString, wxEmptyString, wxEmptyString,
                        wxString::FromUTF8(kOpenFilter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return;
    RenewDocument(ToHostPath(dialog.GetPath()));
}

void CTamvelApp::OnDropFiles(wxDropFilesEvent& event) {
    // One document at a time: the first file dropped becomes it.
    if (event.GetNumberOfFiles() > 0) RenewDocument(ToHostPath(event.GetFiles()[0]));
}

void CTamvelApp::OpenEndpoint() {
    if (!m_instance || !m_instance->OpenEndpoint()) return;
    m_endpointHandler = std::make_unique<EndpointHandler>(*this);
    m_endpointSource = wxEventLoopBase::AddSourceForFD(
        m_instance->EndpointDescriptor(), m_endpointHandler.get(), wxEVENT_SOURCE_INPUT);
}

void CTamvelApp::CloseEndpoint() {
    delete std::exchange(m_endpointSource, nullptr);
    if (m_instance) m_instance->CloseEndpoint();
}

}  // namespace tamvel
