#include "app/folder_browser.h"

#include <wx/button.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/drive_dir_ctrl.h"
#include "app/message_box.h"
#include "app/tamvel_resources.h"
#include "app/wx_text.h"

namespace tamvel {

FolderBrowser::FolderBrowser(wxWindow* owner, const DriveMap& drives) {
    Create(owner, wxID_ANY, wxString::FromUTF8("ＴＳＰファイル格納フォルダの変更"),
           wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
    SetFont(DialogFont());

    auto* title = new wxStaticText(this, wxID_ANY, wxString::FromUTF8("選択してください。"));
    // The toolkit draws no border around a label, so the status line sits in a framed panel.
    auto* statusFrame =
        new wxPanel(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN);
    m_status = new wxStaticText(statusFrame, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                wxDefaultSize, wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_MIDDLE);
    m_status->SetMinSize(wxSize(-1, GetCharHeight()));
    auto* statusSizer = new wxBoxSizer(wxHORIZONTAL);
    statusSizer->Add(m_status, 1, wxALL, 2);
    statusFrame->SetSizer(statusSizer);
    m_tree =
        new DriveDirCtrl(this, wxID_ANY, drives, wxEmptyString, wxDLG_UNIT(this, wxSize(200, 140)));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    m_okButton = new wxButton(this, wxID_OK, "OK");
    m_okButton->Disable();  // until a folder is chosen
    buttons->Add(m_okButton, 0, wxRIGHT, wxDLG_UNIT(this, wxSize(4, 0)).x);
    buttons->Add(new wxButton(this, wxID_CANCEL, wxString::FromUTF8("キャンセル")));

    const int border = wxDLG_UNIT(this, wxSize(7, 7)).x;
    const int gap = wxDLG_UNIT(this, wxSize(0, 4)).y;
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(title, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, border);
    column->Add(statusFrame, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, border);
    column->Add(m_tree, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, border);
    column->AddSpacer(gap);
    column->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, border);
    SetSizerAndFit(column);
    CentreOnParent();

    m_tree->Bind(wxEVT_DIRCTRL_SELECTIONCHANGED, &FolderBrowser::OnSelectionChanged, this);
    m_okButton->Bind(wxEVT_BUTTON, &FolderBrowser::OnOk, this);
}

std::optional<FolderItem> FolderBrowser::Browse() {
    m_chosen.reset();
    if (ShowModal() != wxID_OK) return std::nullopt;
    return m_chosen;
}

wxString FolderBrowser::StatusText() const { return m_status->GetLabel(); }

void FolderBrowser::OnSelectionChanged(wxTreeEvent& event) {
    // Empty for a selection that has no Windows path.
    std::optional<std::string> path = m_tree->SelectedWindowsPath();
    m_status->SetLabelText(path ? FromCp932(*path) : wxString());
    m_okButton->Enable(!m_tree->SelectedHostPath().empty());
    event.Skip();
}

void FolderBrowser::OnOk(wxCommandEvent&) {
    const wxString hostPath = m_tree->SelectedHostPath();
    std::optional<std::string> path = m_tree->SelectedWindowsPath();
    if (!hostPath.empty() && !path) {
        ShowTamvelMessage(this,
                          wxString::FromUTF8("選択したフォルダの名前には、使えない文字が含まれて"
                                             "います。\n") +
                              hostPath);
        EndModal(wxID_CANCEL);
        return;
    }
    // Nothing selected: an item outside the file system, as the browser's own root would be.
    m_chosen =
        FolderItem{path.value_or(std::string()), ToCp932Replacing(m_tree->SelectedDisplayName())};
    EndModal(wxID_OK);
}

}  // namespace tamvel
