#include "app/control_panel_form.h"

// Placeholder: the form is being written.
namespace tamvel {
ControlPanelForm::ControlPanelForm(wxWindow* parent, FileSystem& fileSystem, const DeploymentConfig&)
    : wxPanel(parent), m_fileSystem(fileSystem),
      m_view(std::make_unique<CTamvelView>(*this, fileSystem)) {}
ControlPanelForm::~ControlPanelForm() = default;
void ControlPanelForm::RunStartup() { m_view->OnInitialUpdate(); }
void ControlPanelForm::ShowMessage(std::string_view) {}
std::optional<std::string> ControlPanelForm::ChooseFile(ChooserKind) { return std::nullopt; }
std::optional<FolderItem> ControlPanelForm::BrowseForFolder() { return std::nullopt; }
std::string ControlPanelForm::FieldText(int) const { return {}; }
void ControlPanelForm::SetFieldText(int, std::string_view) {}
void ControlPanelForm::ShowMainWindow(bool) {}
}  // namespace tamvel
