#include "app/tamvel_app.h"

#include <wx/frame.h>
#include <wx/sizer.h>

#include "app/control_panel_form.h"

wxIMPLEMENT_APP_NO_MAIN(tamvel::CTamvelApp);

namespace tamvel {

// Interim start-up: a plain frame holding the control panel.
bool CTamvelApp::OnInit() {
    static DriveMap drives(DriveMap::DefaultPrefix());
    drives.EnsurePrefix();
    static FileSystem fileSystem(drives);
    static DeploymentConfig config = DeploymentConfig::Load();
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Tamvel");
    auto* form = new ControlPanelForm(frame, fileSystem, config);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(form, 1, wxEXPAND);
    frame->SetSizerAndFit(sizer);
    form->RunStartup();
    frame->Show();
    return true;
}

}  // namespace tamvel
