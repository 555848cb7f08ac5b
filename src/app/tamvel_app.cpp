#include "app/tamvel_app.h"

#include <wx/frame.h>

wxIMPLEMENT_APP_NO_MAIN(tamvel::CTamvelApp);

namespace tamvel {

bool CTamvelApp::OnInit() {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Tamvel");
    frame->Show();
    return true;
}

}  // namespace tamvel
