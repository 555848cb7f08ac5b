#pragma once
// The wx application object.

#include <wx/app.h>

namespace tamvel {

class CTamvelApp : public wxApp {
public:
    bool OnInit() override;
};

}  // namespace tamvel

wxDECLARE_APP(tamvel::CTamvelApp);
