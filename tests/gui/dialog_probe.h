#pragma once
// Looks at real modal dialogs while their modal loops run: a probe's check runs on each
// dialog it takes once the dialog is shown, and the dialog then ends as cancelled unless the
// check ended it itself. Modal windows it does not take are kept from showing, as if
// cancelled at once.

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>

#include <functional>
#include <string>
#include <utility>

namespace tamvel::testing {

class DialogProbe : public wxModalDialogHook {
  public:
    /// Takes the dialogs titled `title` (every modal window when empty) and runs `check` on
    /// them.
    explicit DialogProbe(std::function<void(wxDialog&)> check = {}, std::string title = {})
        : m_check(std::move(check)), m_title(std::move(title)) {
        Register();
    }
    ~DialogProbe() override { Unregister(); }
    DialogProbe(const DialogProbe&) = delete;
    DialogProbe& operator=(const DialogProbe&) = delete;

    /// Sets the check, for a probe that must be in place before the dialog's owner exists.
    void SetCheck(std::function<void(wxDialog&)> check) { m_check = std::move(check); }

    /// Whether a dialog was taken.
    bool Seen() const { return m_seen; }

  protected:
    int Enter(wxDialog* dialog) override {
        if (!m_title.empty() && dialog->GetTitle().utf8_string() != m_title) return wxID_CANCEL;
        m_seen = true;
        wxTheApp->CallAfter([this, dialog] {
            if (m_check) m_check(*dialog);
            if (dialog->IsModal()) dialog->EndModal(wxID_CANCEL);
        });
        return wxID_NONE;  // shown as usual
    }
    void Exit(wxDialog*) override {}

  private:
    std::function<void(wxDialog&)> m_check;
    std::string m_title;
    bool m_seen = false;
};

}  // namespace tamvel::testing
