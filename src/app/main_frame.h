#pragma once
// The main frame: the program's top-level window. It holds the control panel form and has
// no menu bar, tool bar or status bar; its accelerator keys are the only commands besides the
// form's buttons. The splash screen goes up as it is created.

#include <wx/frame.h>

#include <functional>

class wxCommandEvent;
class wxWindowDestroyEvent;

namespace tamvel {

class CMainFrame : public wxFrame {
  public:
    /// Creates the (hidden) frame with its icon and accelerator keys and puts up the splash.
    CMainFrame();

    /// Puts the form into the frame, sizes the frame to fit it and centres it on the screen.
    void SetForm(wxWindow* form);

    /// Called while the frame is being destroyed, before its window is gone.
    void SetOnDestroy(std::function<void()> onDestroy) { m_onDestroy = std::move(onDestroy); }

  private:
    /// Menu commands go to the form first, as to the active view; unhandled ones go on to the
    /// application.
    void OnCommand(wxCommandEvent& event);
    void OnDestroy(wxWindowDestroyEvent& event);

    wxWindow* m_form = nullptr;
    std::function<void()> m_onDestroy;
};

}  // namespace tamvel
