#pragma once
// The control panel form (dialog template 101) inside the main frame: the wx side of
// CTamvelView. It implements the Ui port with real windows.

#include <wx/panel.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "panel/deployment_config.h"
#include "panel/tamvel_session.h"
#include "panel/tamvel_view.h"
#include "ui/ui.h"

class wxUpdateUIEvent;

namespace tamvel {

class ControlPanelForm : public wxPanel, public Ui {
  public:
    /// Loads the form into `parent` and makes `session`'s view, which talks through it.
    ControlPanelForm(wxWindow* parent, TamvelSession& session);
    /// Saves the working environment and drops the view (the view's destruction handling).
    ~ControlPanelForm() override;

    /// Runs the start-up sequence (first show, and every renewal of the document).
    void RunStartup();

    CTamvelView& View() { return m_view; }

    // Ui
    void ShowMessage(std::string_view text) override;
    std::optional<std::string> ChooseFile(ChooserKind kind) override;
    std::optional<FolderItem> BrowseForFolder() override;
    std::string FieldText(int controlId) const override;
    void SetFieldText(int controlId, std::string_view text) override;
    int RunDialog(DialogModel& dialog) override;
    void ShowMainWindow(bool visible) override;
    void WhileTspRuns(std::string_view tspFile, StopEvent* stop,
                      const std::function<void()>& wait) override;

  private:
    /// Puts the installation's texts (seminar, university, e-mail) on the form.
    void ApplyDeploymentTexts(const DeploymentConfig& config);
    void BindEvents();
    void OnUpdateButton(wxUpdateUIEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnTspFileTyped(wxCommandEvent& event);
    wxWindow* MainWindow() const;

    TamvelSession& m_session;
    CTamvelView& m_view;
    /// Per field, the text last set by the program as shown and as CP932, so that reading a
    /// field the person has not changed gives back the very bytes that were set.
    std::map<int, std::pair<wxString, std::string>> m_setTexts;
};

}  // namespace tamvel
