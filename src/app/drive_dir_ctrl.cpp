#include "app/drive_dir_ctrl.h"

#include <wx/treectrl.h>

#include <system_error>
#include <vector>

#include "app/wx_text.h"

namespace tamvel {

DriveDirCtrl::DriveDirCtrl(wxWindow* parent, wxWindowID id, const DriveMap& drives,
                           const wxString& filePattern, const wxSize& size)
    : m_drives(drives) {
    long style = wxBORDER_SUNKEN;
    style |= wxDIRCTRL_3D_INTERNAL;
    wxString filter;
    if (filePattern.empty()) {
        style |= wxDIRCTRL_DIR_ONLY;
    } else {
        // On Windows "*.*" matches every file, also one without a dot.
        const wxString match = filePattern == "*.*" ? wxString("*") : filePattern;
        filter = filePattern + "|" + CaseInsensitivePatterns(match);
    }
    // Created here rather than by the base constructor, so that the tree is filled by this
    // class's SetupSections.
    Create(parent, id, wxEmptyString, wxDefaultPosition, size, style, filter);
    // The base opens and selects "/" while it is created; the choosers start with the drives
    // listed and nothing chosen.
    GetTreeCtrl()->CollapseAll();
    GetTreeCtrl()->UnselectAll();
    m_created = true;
}

bool DriveDirCtrl::ExpandPath(const wxString& path) {
    // While it is created the base opens and selects the root folder ("/", or an empty path);
    // the choosers start with nothing chosen.
    if (!m_created || path.empty()) return false;
    return wxGenericDirCtrl::ExpandPath(path);
}

void DriveDirCtrl::SetupSections() {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        std::optional<std::filesystem::path> root = m_drives.DriveRoot(letter);
        if (!root) continue;
        std::error_code error;
        std::filesystem::path folder = std::filesystem::canonical(*root, error);
        if (error) folder = *root;
        AddSection(FromHostPath(folder), DriveDisplayName(letter, folder), wxFileIconsTable::drive);
    }
}

namespace {

// What the tree knows of its selected item, or null.
const wxDirItemData* SelectedItemData(const wxTreeCtrl* tree) {
    wxTreeItemId item = tree->GetSelection();
    if (!item.IsOk()) return nullptr;
    return static_cast<const wxDirItemData*>(tree->GetItemData(item));
}

}  // namespace

wxString DriveDirCtrl::SelectedHostPath() const {
    const wxDirItemData* data = SelectedItemData(GetTreeCtrl());
    return data ? data->m_path : wxString();
}

bool DriveDirCtrl::IsFileSelected() const {
    const wxDirItemData* data = SelectedItemData(GetTreeCtrl());
    return data && !data->m_isDir;
}

wxString DriveDirCtrl::SelectedDisplayName() const {
    wxTreeItemId item = GetTreeCtrl()->GetSelection();
    if (!item.IsOk()) return {};
    return GetTreeCtrl()->GetItemText(item);
}

std::optional<std::string> DriveDirCtrl::SelectedWindowsPath() const {
    const wxString hostPath = SelectedHostPath();
    if (hostPath.empty()) return std::nullopt;
    return m_drives.ToWindows(ToHostPath(hostPath));
}

wxString DriveDirCtrl::DriveDisplayName(char letter, const std::filesystem::path& root) {
    std::filesystem::path name = root.filename();
    if (name.empty()) name = root;  // "/" has no name of its own
    return wxString::Format("%s (%c:)", FromHostPath(name), letter);
}

wxString DriveDirCtrl::CaseInsensitivePatterns(const wxString& pattern) {
    std::vector<wxString> variants{wxString()};
    for (wxUniChar ch : pattern) {
        const bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
        if (!letter) {
            for (wxString& variant : variants) variant += ch;
            continue;
        }
        const wxChar lower = wxTolower(ch.GetValue());
        const wxChar upper = wxToupper(ch.GetValue());
        std::vector<wxString> grown;
        for (const wxString& variant : variants) {
            grown.push_back(variant + lower);
            grown.push_back(variant + upper);
        }
        variants = std::move(grown);
    }
    wxString joined;
    for (const wxString& variant : variants) {
        if (!joined.empty()) joined += ';';
        joined += variant;
    }
    return joined;
}

}  // namespace tamvel
