#include "app/ext_file_dlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/drive_dir_ctrl.h"
#include "app/message_box.h"
#include "app/tamvel_resources.h"
#include "app/wx_text.h"

namespace tamvel {

namespace {

// The part of a filter after its description: "*.exe".
wxString PatternOf(const wxString& filter) { return filter.AfterFirst('|'); }

}  // namespace

wxString CExtFileDlg::FilterOf(ChooserKind kind) {
    switch (kind) {
        case ChooserKind::Program:
            return wxString::FromUTF8("ファイル選択 (*.exe)|*.exe");
        case ChooserKind::TspFile:
            return wxString::FromUTF8("ファイル選択 (*.tsp)|*.tsp");
        case ChooserKind::DataFile:
            break;
    }
    return wxString::FromUTF8("ファイル選択 (*.*)|*.*");
}

CExtFileDlg::CExtFileDlg(wxWindow* parent, ChooserKind kind, const DriveMap& drives)
    : m_drives(drives) {
    Create(parent, wxID_ANY, wxString::FromUTF8("ファイルの選択"), wxDefaultPosition, wxDefaultSize,
           wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
    SetFont(DialogFont());

    const wxString filter = FilterOf(kind);
    m_tree = new DriveDirCtrl(this, wxID_ANY, m_drives, PatternOf(filter),
                              wxDLG_UNIT(this, wxSize(220, 150)));
    m_fileName = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                wxTE_READONLY);
    m_chooseButton = new wxButton(this, wxID_OK, wxString::FromUTF8("選択する"));
    auto* cancelButton = new wxButton(this, wxID_CANCEL, wxString::FromUTF8("キャンセル"));
    m_chooseButton->Disable();

    auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
    nameRow->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8("ファイル名:")), 0,
                 wxALIGN_CENTER_VERTICAL | wxRIGHT, wxDLG_UNIT(this, wxSize(4, 0)).x);
    nameRow->Add(m_fileName, 1, wxALIGN_CENTER_VERTICAL);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(m_chooseButton, 0, wxRIGHT, wxDLG_UNIT(this, wxSize(4, 0)).x);
    buttons->Add(cancelButton);

    const int border = wxDLG_UNIT(this, wxSize(7, 7)).x;
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(m_tree, 1, wxEXPAND | wxALL, border);
    column->Add(nameRow, 0, wxEXPAND | wxLEFT | wxRIGHT, border);
    column->Add(buttons, 0, wxEXPAND | wxALL, border);
    SetSizerAndFit(column);
    CentreOnParent();

    m_tree->Bind(wxEVT_DIRCTRL_SELECTIONCHANGED, &CExtFileDlg::OnSelectionChanged, this);
    m_tree->Bind(wxEVT_DIRCTRL_FILEACTIVATED, &CExtFileDlg::OnFileActivated, this);
    m_chooseButton->Bind(wxEVT_BUTTON, &CExtFileDlg::OnChoose, this);
}

void CExtFileDlg::OnSelectionChanged(wxTreeEvent& event) {
    const bool isFile = m_tree->IsFileSelected();
    m_chooseButton->Enable(isFile);
    m_fileName->ChangeValue(isFile ? m_tree->SelectedDisplayName() : wxString());
    event.Skip();
}

void CExtFileDlg::OnFileActivated(wxTreeEvent&) { ChooseSelectedFile(); }

void CExtFileDlg::OnChoose(wxCommandEvent&) { ChooseSelectedFile(); }

void CExtFileDlg::ChooseSelectedFile() {
    if (!m_tree->IsFileSelected()) return;
    std::optional<std::string> windowsPath = m_tree->SelectedWindowsPath();
    if (!windowsPath) {
        ShowTamvelMessage(this,
                          wxString::FromUTF8("選択したファイルの名前には、使えない文字が含まれて"
                                             "います。\n") +
                              m_tree->SelectedHostPath());
        EndModal(wxID_CANCEL);
        return;
    }
    m_pathName = *windowsPath;
    EndModal(wxID_OK);
}

}  // namespace tamvel
