#pragma once
// The control panel form (dialog template 101) inside the main frame: the wx side of
// CTamvelView. It implements the Ui port with real windows.

#include <wx/panel.h>

#include <memory>

#include "panel/deployment_config.h"
#include "panel/tamvel_view.h"
#include "panel/ui.h"
#include "platform/file_system.h"

namespace tamvel {

class ControlPanelForm : public wxPanel, public Ui {
public:
    ControlPanelForm(wxWindow* parent, FileSystem& fileSystem, const DeploymentConfig& config);
    ~ControlPanelForm() override;

    /// Runs the start-up sequence (first show, and every renewal of the document).
    void RunStartup();

    CTamvelView& View() { return *m_view; }

    // Ui
    void ShowMessage(std::string_view text) override;
    std::optional<std::string> ChooseFile(ChooserKind kind) override;
    std::optional<FolderItem> BrowseForFolder() override;
    std::string FieldText(int controlId) const override;
    void SetFieldText(int controlId, std::string_view text) override;
    void ShowMainWindow(bool visible) override;

private:
    FileSystem& m_fileSystem;
    std::unique_ptr<CTamvelView> m_view;
};

}  // namespace tamvel
