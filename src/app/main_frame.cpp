#include "app/main_frame.h"

#include <wx/accel.h>
#include <wx/icon.h>
#include <wx/sizer.h>

#include <array>

#include "app/splash_wnd.h"
#include "tamvel.xpm"  // resources/: the application icon

namespace tamvel {
namespace {

/// Accelerator table 128. Keys whose command has no handler reach the focused control as
/// usual (for example, Ctrl+C copies from a field).
wxAcceleratorTable MakeAccelerators() {
    const std::array<wxAcceleratorEntry, 14> entries = {{
        {wxACCEL_CTRL, 'N', wxID_NEW},
        {wxACCEL_CTRL, 'O', wxID_OPEN},
        {wxACCEL_CTRL, 'S', wxID_SAVE},
        {wxACCEL_CTRL, 'P', wxID_PRINT},
        {wxACCEL_CTRL, 'Z', wxID_UNDO},
        {wxACCEL_ALT, WXK_BACK, wxID_UNDO},
        {wxACCEL_CTRL, 'X', wxID_CUT},
        {wxACCEL_SHIFT, WXK_DELETE, wxID_CUT},
        {wxACCEL_CTRL, 'C', wxID_COPY},
        {wxACCEL_CTRL, WXK_INSERT, wxID_COPY},
        {wxACCEL_CTRL, 'V', wxID_PASTE},
        {wxACCEL_SHIFT, WXK_INSERT, wxID_PASTE},
        {wxACCEL_NORMAL, WXK_F6, wxID_FORWARD},
        {wxACCEL_SHIFT, WXK_F6, wxID_BACKWARD},
    }};
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

}  // namespace

CMainFrame::CMainFrame() : wxFrame(nullptr, wxID_ANY, "Tamvel") {
    SetIcon(wxIcon(tamvel_xpm));
    SetAcceleratorTable(MakeAccelerators());
    Bind(wxEVT_MENU, &CMainFrame::OnCommand, this);
    Bind(wxEVT_DESTROY, &CMainFrame::OnDestroy, this);
    CSplashWnd::ShowSplashScreen(this);
}

void CMainFrame::SetForm(wxWindow* form) {
    m_form = form;
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(form, 1, wxEXPAND);
    SetSizerAndFit(sizer);
    CentreOnScreen();
}

void CMainFrame::OnCommand(wxCommandEvent& event) {
    if (m_form && m_form->ProcessWindowEventLocally(event)) return;
    event.Skip();
}

void CMainFrame::OnDestroy(wxWindowDestroyEvent& event) {
    event.Skip();
    if (event.GetEventObject() != this) return;  // a child's destruction
    if (m_onDestroy) std::exchange(m_onDestroy, nullptr)();
}

}  // namespace tamvel
