#include "app/model_dialog.h"

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

#include <map>
#include <memory>

#ifdef __WXGTK3__
#include <gtk/gtk.h>
#endif

#include "app/about_dlg.h"
#include "app/reference_list_layout.h"
#include "app/tamvel_resources.h"
#include "app/wx_text.h"
#include "reference/tsp_command_dlg.h"
#include "ui/control_ids.h"

namespace tamvel {
namespace {

/// Sizes the dialog's client area as its template says. XRC sizes a dialog before it sets
/// the dialog's own font, on which the template's dialog units are based.
void ApplyTemplateSize(wxDialog& dialog, const wxString& name) {
    const wxXmlNode* node = wxXmlResource::Get()->GetResourceNode(name);
    for (const wxXmlNode* child = node ? node->GetChildren() : nullptr; child;
         child = child->GetNext()) {
        if (child->GetName() != "size") continue;
        long width = 0;
        long height = 0;
        const wxString size = child->GetNodeContent();
        if (size.EndsWith("d") && size.BeforeFirst(',').ToLong(&width) &&
            size.AfterFirst(',').BeforeLast('d').ToLong(&height)) {
            dialog.SetClientSize(dialog.ConvertDialogToPixels(wxSize(width, height)));
        }
        return;
    }
}

/// Gives an edit the narrow inner margins of the dialogs it was laid out for: GTK's theme
/// pads an entry so much that a year no longer fits its 25 dialog units.
void UseNarrowMargins(wxTextCtrl& edit) {
#ifdef __WXGTK3__
    static GtkCssProvider* const provider = [] {
        GtkCssProvider* css = gtk_css_provider_new();
        gtk_css_provider_load_from_data(css, "entry { padding-left: 2px; padding-right: 2px; }", -1,
                                        nullptr);
        return css;
    }();
    gtk_style_context_add_provider(gtk_widget_get_style_context(edit.GetHandle()),
                                   GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
#else
    (void)edit;
#endif
}

/// The wx dialog of template `id`.
std::unique_ptr<wxDialog> LoadTemplate(wxWindow* parent, int id) {
    if (id == kDialogAbout) return std::make_unique<CAboutDlg>(parent);
    LoadTamvelResources();
    auto dialog = std::make_unique<wxDialog>();
    const wxString name = wxString::Format("%d", id);
    if (!wxXmlResource::Get()->LoadDialog(dialog.get(), parent, name)) return nullptr;
    ApplyTemplateSize(*dialog, name);
    if (id == kDialogReference) FollowSizeWithListBox(*dialog, kIdCommandListBox);
    return dialog;
}

/// Binds one model to one loaded template for the time it is shown.
class ModelBinding {
  public:
    ModelBinding(wxDialog& dialog, DialogModel& model) : m_dialog(dialog), m_model(model) {
        for (const DialogControl& control : m_model.Controls()) {
            if (auto* edit = wxDynamicCast(m_dialog.FindWindow(control.id), wxTextCtrl)) {
                UseNarrowMargins(*edit);
            }
        }
        ToWindows();
        for (const DialogControl& control : m_model.Controls()) {
            if (control.kind == ControlKind::Button) {
                m_dialog.Bind(wxEVT_BUTTON, &ModelBinding::OnClick, this, control.id);
            } else if (control.kind == ControlKind::Check) {
                m_dialog.Bind(wxEVT_CHECKBOX, &ModelBinding::OnBoxClicked, this, control.id);
            } else if (control.kind == ControlKind::Radio) {
                m_dialog.Bind(wxEVT_RADIOBUTTON, &ModelBinding::OnBoxClicked, this, control.id);
            } else if (control.kind == ControlKind::Edit && control.maxBytes != 0) {
                m_dialog.Bind(wxEVT_TEXT, &ModelBinding::OnTyped, this, control.id);
            }
        }
        m_dialog.Bind(wxEVT_BUTTON, &ModelBinding::OnOk, this, wxID_OK);
        // Runs in the modal loop, when the dialog is on the screen with its values.
        m_dialog.CallAfter([this] { Run([this] { m_model.Init(); }); });
    }

    /// Puts the model's values and enabled states on the controls.
    void ToWindows() {
        for (const DialogControl& control : m_model.Controls()) {
            wxWindow* window = m_dialog.FindWindow(control.id);
            if (!window) continue;
            window->Enable(control.enabled);
            if (auto* edit = wxDynamicCast(window, wxTextCtrl)) {
                m_accepted[control.id] = FromCp932(control.text);
                edit->ChangeValue(m_accepted[control.id]);
            } else if (auto* check = wxDynamicCast(window, wxCheckBox)) {
                check->SetValue(control.checked);
            } else if (auto* radio = wxDynamicCast(window, wxRadioButton)) {
                radio->SetValue(control.checked);
            } else if (auto* list = wxDynamicCast(window, wxListBox)) {
                wxArrayString lines;
                for (const std::string& line : control.lines) lines.Add(FromCp932(line));
                list->Set(lines);
            }
        }
    }

    /// Reads what the person changed back into the model.
    void FromWindows() {
        for (const DialogControl& control : m_model.Controls()) {
            wxWindow* window = m_dialog.FindWindow(control.id);
            if (auto* edit = wxDynamicCast(window, wxTextCtrl)) {
                if (edit->GetValue() != FromCp932(control.text)) {
                    m_model.SetText(control.id, ToCp932Replacing(edit->GetValue()));
                }
            } else if (auto* check = wxDynamicCast(window, wxCheckBox)) {
                m_model.SetChecked(control.id, check->GetValue());
            } else if (auto* radio = wxDynamicCast(window, wxRadioButton)) {
                if (radio->GetValue()) m_model.SetChecked(control.id, true);
            }
        }
    }

  private:
    /// Runs a handler of the model on the values the person sees, and shows what it changed.
    template <class Handler>
    void Run(Handler handler) {
        FromWindows();
        handler();
        ToWindows();
    }
    void OnClick(wxCommandEvent& event) {
        Run([&] { m_model.Click(event.GetId()); });
    }
    // The box has toggled itself (automatic boxes); the model's handler follows.
    void OnBoxClicked(wxCommandEvent& event) {
        Run([&] { m_model.RunClickHandler(event.GetId()); });
    }
    void OnOk(wxCommandEvent&) {
        FromWindows();
        const bool close = m_model.Ok();
        ToWindows();
        if (close) m_dialog.EndModal(wxID_OK);
    }
    // A change that takes the text beyond its limit in bytes is undone.
    void OnTyped(wxCommandEvent& event) {
        auto* edit = wxDynamicCast(m_dialog.FindWindow(event.GetId()), wxTextCtrl);
        const DialogControl* control = m_model.Find(event.GetId());
        if (!edit || !control) return;
        if (ToCp932Replacing(edit->GetValue()).size() <= control->maxBytes) {
            m_accepted[event.GetId()] = edit->GetValue();
            return;
        }
        const long insertion = edit->GetInsertionPoint();
        edit->ChangeValue(m_accepted[event.GetId()]);
        edit->SetInsertionPoint(std::min<long>(insertion, edit->GetLastPosition()));
        wxBell();
    }

    wxDialog& m_dialog;
    DialogModel& m_model;
    std::map<int, wxString> m_accepted;
};

}  // namespace

int ShowModelDialog(wxWindow* parent, DialogModel& model) {
    std::unique_ptr<wxDialog> dialog = LoadTemplate(parent, model.Id());
    if (!dialog) return kDialogCancel;
    ModelBinding binding(*dialog, model);
    return dialog->ShowModal() == wxID_OK ? kDialogOk : kDialogCancel;
}

}  // namespace tamvel
