#include "environment/env_settings_dlg.h"

#include <optional>
#include <string_view>

#include "environment/choosers.h"
#include "platform/text.h"
#include "platform/windows_path.h"
#include "ui/control_ids.h"

namespace tamvel {
namespace {

// Programs that must never run TSP files, with what the dialog says when one is chosen
// (UTF-8 here; shown as CP932).
struct RefusedTspExe {
    std::string_view path;
    std::string_view refusal;
};
constexpr RefusedTspExe kRefusedTspExes[] = {
    {"A:\\Tamvel.exe", "A:\\Tamvel.exeは設定できません。DドライブのDIZI.EXEを選択してください"},
    {"C:\\Program Files\\TSP 4.5\\Tsp.exe",
     "C:\\Program Files\\TSP 4.5\\Tsp.exeは設定できません。DドライブのDIZI.EXEを選択してください"},
};

const RefusedTspExe* FindRefusedTspExe(std::string_view path) {
    for (const RefusedTspExe& refused : kRefusedTspExes) {
        if (EqualsNoCase(path, refused.path)) return &refused;
    }
    return nullptr;
}

// A drive letter, ':' and a separator, or a network path: nothing to resolve.
bool IsFullPath(std::string_view path) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (StartsWithDrive(path)) return path.size() > 2 && separator(path[2]);
    return path.size() > 1 && separator(path[0]) && separator(path[1]);
}

// Enters the folder, or creates it (one level) and enters it. Silent.
bool EnterOrCreateFolder(FileSystem& fileSystem, const std::string& folder) {
    if (fileSystem.SetCurrentDirectory(folder) == kErrorSuccess) return true;
    return fileSystem.CreateDirectory(folder) == kErrorSuccess &&
           fileSystem.SetCurrentDirectory(folder) == kErrorSuccess;
}

// The TSP file's name in the new save folder; nullopt for a path without '\', which stays.
std::optional<std::string> MoveIntoFolder(const std::string& tspFile, const std::string& folder) {
    const std::size_t separator = FindLastChar(tspFile, '\\');
    if (separator == std::string::npos) return std::nullopt;
    std::string moved = folder;
    if (!EndsWithSeparator(moved)) moved += '\\';
    moved += tspFile.substr(separator + 1);
    return moved;
}

// Whether a text names a setting that differs from the current one, ignoring case.
bool Differs(const std::string& text, const std::string& current) {
    return !text.empty() && !EqualsNoCase(text, current);
}

}  // namespace

CEnvSettingsDlg::CEnvSettingsDlg(Ui& ui) : m_ui(ui), m_model(kDialogSettings) {
    // Template order: the editor's pair, the TSP executable's pair, the save folder's pair.
    m_model.AddButton(kIdChangeEditor, [this](DialogModel&) { OnChangeEditor(); });
    m_model.AddEdit(kIdEditorText);
    m_model.AddButton(kIdChangeTspExe, [this](DialogModel&) { OnChangeTspExe(); });
    m_model.AddEdit(kIdTspExeText);
    m_model.AddButton(kIdChooseSaveFolder, [this](DialogModel&) { OnChooseSaveFolder(); });
    m_model.AddEdit(kIdSaveFolderText);
}

int CEnvSettingsDlg::DoModal() {
    UpdateFields();
    const int result = m_ui.RunDialog(m_model);
    if (result == kDialogOk) {
        m_tspExeText = m_model.Text(kIdTspExeText);
        m_editorText = m_model.Text(kIdEditorText);
        m_saveFolderText = m_model.Text(kIdSaveFolderText);
    }
    return result;
}

// Without the person there is no other answer to wait for (the console's input has ended).
void CEnvSettingsDlg::OnChangeTspExe() {
    for (;;) {
        ChooseProgram(m_ui, m_tspExeText);
        const RefusedTspExe* refused = FindRefusedTspExe(m_tspExeText);
        if (refused == nullptr) break;
        m_ui.ShowMessage(Cp932(refused->refusal));
        if (!m_ui.CanAnswer()) break;
    }
    UpdateFields();
}

void CEnvSettingsDlg::OnChangeEditor() {
    ChooseProgram(m_ui, m_editorText);
    UpdateFields();
}

void CEnvSettingsDlg::OnChooseSaveFolder() {
    std::string folder;
    if (!ChooseFolder(m_ui, folder) || EqualsNoCase(folder, m_saveFolderText)) return;
    m_saveFolderText = std::move(folder);
    UpdateFields();
}

void CEnvSettingsDlg::UpdateFields() {
    m_model.SetText(kIdTspExeText, m_tspExeText);
    m_model.SetText(kIdEditorText, m_editorText);
    m_model.SetText(kIdSaveFolderText, m_saveFolderText);
}

void RunEnvSettings(const EnvSettingsPanel& panel) {
    CEnvSettingsDlg dialog(panel.ui);
    dialog.m_editorText = panel.environment.editor;
    dialog.m_tspExeText = panel.environment.tspExe;
    dialog.m_saveFolderText = panel.environment.saveFolder;
    if (dialog.DoModal() == kDialogCancel) return;
    TakeOverEnvSettings(dialog, panel);
}

void TakeOverEnvSettings(const CEnvSettingsDlg& dialog, const EnvSettingsPanel& panel) {
    WorkingEnvironment& environment = panel.environment;
    bool changed = false;
    // The existence test comes first, so an unchanged program that vanished is reported too.
    if (!dialog.m_tspExeText.empty() && panel.locateFile(dialog.m_tspExeText) &&
        !EqualsNoCase(dialog.m_tspExeText, environment.tspExe)) {
        environment.tspExe = dialog.m_tspExeText;
        panel.ui.SetFieldText(kIdTspExeField, environment.tspExe);
        changed = true;
    }
    if (Differs(dialog.m_editorText, environment.editor) && panel.locateFile(dialog.m_editorText)) {
        environment.editor = dialog.m_editorText;
        panel.ui.SetFieldText(kIdEditorField, environment.editor);
        changed = true;
    }
    if (Differs(dialog.m_saveFolderText, environment.saveFolder)) {
        // A relative name is made full against the folder current now, before it is
        // entered, so that the save folder still names it from anywhere.
        const std::string& text = dialog.m_saveFolderText;
        const std::string folder = IsFullPath(text) ? text : panel.fileSystem.FullPath(text);
        if (EnterOrCreateFolder(panel.fileSystem, folder)) {
            environment.saveFolder = folder;
            panel.ui.SetFieldText(kIdSaveFolderField, environment.saveFolder);
            if (std::optional<std::string> moved = MoveIntoFolder(environment.tspFile, folder)) {
                panel.setTspFileField(*moved);
            }
            SaveEnvironment(panel.fileSystem, environment);
            return;
        }
    }
    if (changed) SaveEnvironment(panel.fileSystem, environment);
}

}  // namespace tamvel
