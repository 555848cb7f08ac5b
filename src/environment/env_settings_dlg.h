#pragma once
// The environment settings command: dialog 130, where the person changes the TSP executable,
// the editor and the save folder, and the steps that take the confirmed values over into the
// control panel, create and enter a new save folder, and save the environment file.

#include <functional>
#include <string>

#include "environment/environment_file.h"
#include "platform/file_system.h"
#include "ui/dialog_model.h"
#include "ui/ui.h"

namespace tamvel {

inline constexpr int kIdChangeTspExe = 211;      ///< button: choose the TSP executable
inline constexpr int kIdTspExeText = 213;        ///< edit: proposed TSP executable
inline constexpr int kIdChangeEditor = 1010;     ///< button: choose the editor
inline constexpr int kIdEditorText = 1012;       ///< edit: proposed editor
inline constexpr int kIdChooseSaveFolder = 214;  ///< button: choose the save folder
inline constexpr int kIdSaveFolderText = 1015;   ///< edit: proposed save folder

/// Dialog 130: three texts and the choosers that fill them. It never touches the control
/// panel; its messages are its own.
class CEnvSettingsDlg {
  public:
    explicit CEnvSettingsDlg(Ui& ui);
    CEnvSettingsDlg(const CEnvSettingsDlg&) = delete;
    CEnvSettingsDlg& operator=(const CEnvSettingsDlg&) = delete;

    /// Shows the dialog with the members' values; on OK the members take the fields' texts.
    /// kDialogOk or kDialogCancel.
    int DoModal();

    /// Button 211: a program is chosen until it is none of the refused ones; a cancel keeps
    /// the refused value and opens the chooser again.
    void OnChangeTspExe();
    /// Button 1010: any program becomes the editor text.
    void OnChangeEditor();
    /// Button 214: a chosen folder that differs, without regard to case, becomes the text.
    void OnChooseSaveFolder();

    std::string m_tspExeText;      ///< edit 213: proposed TSP executable
    std::string m_editorText;      ///< edit 1012: proposed editor
    std::string m_saveFolderText;  ///< edit 1015: proposed save folder

  private:
    /// The three fields show the members again; text typed and not confirmed is replaced.
    void UpdateFields();

    Ui& m_ui;
    DialogModel m_model;
};

/// What the settings command reads and writes on the control panel.
struct EnvSettingsPanel {
    Ui& ui;
    FileSystem& fileSystem;
    WorkingEnvironment& environment;
    /// True when the file exists in its own folder; otherwise says so and gives false.
    std::function<bool(const std::string&)> locateFile;
    /// Sets the TSP file field (1007) as the program does, so the result file follows it.
    std::function<void(const std::string&)> setTspFileField;
};

/// The whole command: the dialog filled with the panel's settings and, after OK, the texts
/// taken over. Cancel changes nothing.
void RunEnvSettings(const EnvSettingsPanel& panel);

/// Takes the confirmed texts over, in order: the TSP executable, the editor, then the save
/// folder (entered, or created one level deep and entered; the TSP file path follows it).
/// The environment file is written into a new save folder, else only when a setting was
/// taken over.
void TakeOverEnvSettings(const CEnvSettingsDlg& dialog, const EnvSettingsPanel& panel);

}  // namespace tamvel
