#include "app/control_panel_form.h"

#include <wx/button.h>
#include <wx/evtloop.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>
#include <wx/xrc/xmlres.h>

#include "app/ext_file_dlg.h"
#include "app/folder_browser.h"
#include "app/message_box.h"
#include "app/model_dialog.h"
#include "app/running_window.h"
#include "app/tamvel_resources.h"
#include "app/wx_text.h"
#include "ui/control_ids.h"

namespace tamvel {

namespace {

// Dialog units are based on the top-level window's font (wxWindow::GetDlgUnitBase), so while
// the form is loaded its window carries the form's font; the old font comes back afterwards.
class ScopedDialogUnitFont {
  public:
    ScopedDialogUnitFont(wxWindow* topLevel, const wxFont& font)
        : m_topLevel(topLevel), m_oldFont(topLevel ? topLevel->GetFont() : wxFont()) {
        if (m_topLevel) m_topLevel->SetFont(font);
    }
    ~ScopedDialogUnitFont() {
        if (m_topLevel) m_topLevel->SetFont(m_oldFont);
    }
    ScopedDialogUnitFont(const ScopedDialogUnitFont&) = delete;
    ScopedDialogUnitFont& operator=(const ScopedDialogUnitFont&) = delete;

  private:
    wxWindow* m_topLevel;
    wxFont m_oldFont;
};

}  // namespace

ControlPanelForm::ControlPanelForm(wxWindow* parent, TamvelSession& session)
    : m_session(session), m_view(session.CreateView(*this)) {
    LoadTamvelResources();
    {
        ScopedDialogUnitFont dialogUnits(wxGetTopLevelParent(parent), DialogFont());
        wxXmlResource::Get()->LoadPanel(this, parent, wxString::Format("%d", kDialogControlPanel));
    }
    ApplyDeploymentTexts(session.Config());
    BindEvents();
}

ControlPanelForm::~ControlPanelForm() { m_session.ReleaseView(); }

void ControlPanelForm::RunStartup() { m_view.OnInitialUpdate(); }

void ControlPanelForm::ApplyDeploymentTexts(const DeploymentConfig& config) {
    const wxString seminar = FromCp932(config.seminar);
    // The template's caption: the form shows none of its own.
    SetLabel(seminar);
    if (auto* helpBox = wxDynamicCast(FindWindow(XRCID("help_box")), wxStaticBox)) {
        const wxString help = wxString::FromUTF8("ヘルプ");
        helpBox->SetLabelText(seminar.empty() ? help
                                              : help + wxString::FromUTF8("（") + seminar +
                                                    wxString::FromUTF8("）"));
    }
    if (auto* commandSite = wxDynamicCast(FindWindow(kIdCommandSite), wxButton)) {
        wxString label = commandSite->GetLabel();
        if (!config.university.empty()) label += "\n(" + FromCp932(config.university) + ")";
        commandSite->SetLabel(label);
    }
    if (auto* mail = wxDynamicCast(FindWindow(XRCID("mail_line")), wxStaticText)) {
        mail->SetLabelText(FromCp932(config.teacherMail));
    }
}

void ControlPanelForm::BindEvents() {
    // The buttons with an update rule follow the fields at every idle pass.
    for (const PanelButton& button : CTamvelView::Buttons()) {
        if (button.updateRule) {
            Bind(wxEVT_UPDATE_UI, &ControlPanelForm::OnUpdateButton, this, button.id);
        }
    }
    Bind(wxEVT_BUTTON, &ControlPanelForm::OnButton, this);
    Bind(wxEVT_TEXT, &ControlPanelForm::OnTspFileTyped, this, kIdTspFileField);
}

void ControlPanelForm::OnUpdateButton(wxUpdateUIEvent& event) {
    event.Enable(m_view.IsButtonEnabled(event.GetId()));
}

void ControlPanelForm::OnButton(wxCommandEvent& event) { m_view.OnButtonClicked(event.GetId()); }

void ControlPanelForm::OnTspFileTyped(wxCommandEvent&) { m_view.OnFieldChanged(kIdTspFileField); }

wxWindow* ControlPanelForm::MainWindow() const {
    return wxGetTopLevelParent(const_cast<ControlPanelForm*>(this));
}

void ControlPanelForm::ShowMessage(std::string_view text) {
    ShowTamvelMessage(DialogOwner(MainWindow()), FromCp932(text));
}

std::optional<std::string> ControlPanelForm::ChooseFile(ChooserKind kind) {
    CExtFileDlg chooser(DialogOwner(MainWindow()), kind, m_session.Drives());
    if (chooser.ShowModal() != wxID_OK) return std::nullopt;
    return chooser.GetPathName();
}

std::optional<FolderItem> ControlPanelForm::BrowseForFolder() {
    FolderBrowser browser(MainWindow(), m_session.Drives());
    return browser.Browse();
}

std::string ControlPanelForm::FieldText(int controlId) const {
    auto* field = wxDynamicCast(FindWindow(controlId), wxTextCtrl);
    if (!field) return {};
    const wxString value = field->GetValue();
    auto set = m_setTexts.find(controlId);
    if (set != m_setTexts.end() && set->second.first == value) return set->second.second;
    return ToCp932Replacing(value);
}

void ControlPanelForm::SetFieldText(int controlId, std::string_view text) {
    auto* field = wxDynamicCast(FindWindow(controlId), wxTextCtrl);
    if (!field) return;
    const wxString shown = FromCp932(text);
    m_setTexts[controlId] = {shown, std::string(text)};
    field->ChangeValue(shown);
}

int ControlPanelForm::RunDialog(DialogModel& dialog) {
    return ShowModelDialog(DialogOwner(MainWindow()), dialog);
}

void ControlPanelForm::ShowMainWindow(bool visible) {
    wxWindow* mainWindow = MainWindow();
    if (!mainWindow) return;
    mainWindow->Show(visible);
    // Let the window system see the change before a long command blocks this thread.
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) loop->YieldFor(wxEVT_CATEGORY_UI);
}

void ControlPanelForm::WhileTspRuns(std::string_view tspFile, StopEvent* stop,
                                    const std::function<void()>& wait) {
    RunningWindow running(tspFile, stop);
    running.ShowWhile(wait);
}

}  // namespace tamvel
