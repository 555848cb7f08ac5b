#include "panel/tamvel_view.h"

#include <optional>
#include <string_view>
#include <utility>

#include "environment/choosers.h"
#include "environment/env_settings_dlg.h"
#include "panel/help_buttons.h"
#include "panel/message_text.h"
#include "panel/new_tsp_file.h"
#include "panel/open_print.h"
#include "panel/result_file_name.h"
#include "panel/run_tsp.h"
#include "panel/shell_error_text.h"
#include "platform/text.h"
#include "reference/tsp_command_dlg.h"
#include "ui/control_ids.h"

namespace tamvel {
namespace {

constexpr std::string_view kEnvironmentOnDriveA = "A:\\TamvelEnvFile.TXT";
constexpr std::string_view kEnvironmentOnDriveH = "H:\\TamvelEnvFile.TXT";

// Start-up messages (UTF-8 here; shown as CP932).
constexpr std::string_view kInstalledTspMissing =
    "ＴＳＰ実行プログラムが見つかりません。\nC:\\Program Files (x86)\\TSP 5.1\\Tsp.exe\n"
    "のようなTsp.exeという名のファイルを発見してください";
constexpr std::string_view kFindDizi = "DIZI.EXEを発見し，選択してください";
constexpr std::string_view kDiziNotFound = "DIZI.EXEが発見できませんので，TSPを実行できません";
constexpr std::string_view kTspRunnerMissing =
    "ＴＳＰファイルを実行するプログラムが見つかりません。\nC:\\temp\\Tsp.exe\n"
    "のようなファイルを選択してください";
constexpr std::string_view kConfiguredTspMissing =
    "設定されているＴＳＰ実行プログラム(%s)が存在しません。\nＴＳＰ実行ファイルを選択してください";
constexpr std::string_view kInstalledTspRefused =
    "C:\\Program Files (x86)\\TSP 5.1\\Tsp.exeは設定できません。\n"
    "境設定で，DドライブのDIZI.EXEを選択してください";
constexpr std::string_view kConfiguredSelfRefused =
    "A:\\Tamvel.exeは設定できません。\n環境設定で，DドライブのDIZI.EXEを選択してください";
constexpr std::string_view kEditorNotSet =
    "ＴＳＰファイルを作成するエディター/ワープロが指定されていません。\n設定してください。";
constexpr std::string_view kConfiguredEditorMissing =
    "設定されているエディター/ワープロ(%s)が存在しません。\n設定してください。";
constexpr std::string_view kCannotEnterSaveFolder =
    "%sに変更できません。\nＴＳＰファイルなどを保存するフォルダを選択してください。";
constexpr std::string_view kCannotEnterTempFolder = "C:\\temp\\に変更できません";

// This program's own executable in the places students keep it: never a TSP executable.
struct SelfPath {
    std::string_view path;
    std::string_view refusal;
};
constexpr SelfPath kSelfPaths[] = {
    {"A:\\Tamvel.exe", "A:\\Tamvel.exeは設定できません。DドライブのDIZI.EXEを選択してください"},
    {"H:\\Tamvel.exe", "H:\\Tamvel.exeは設定できません。C:\\tempのTXP.EXEを選択してください"},
    {"C:\\temp\\Tamvel.exe",
     "C:\\temp\\Tamvel.exeは設定できません。C:\\tempのTXP.EXEを選択してください"},
};

constexpr int kMaxTspMisses = 2;
constexpr int kMaxSelfRefusals = 2;

// What follows the last '\' of a path, or the whole path.
std::string_view FileNamePart(std::string_view path) {
    const std::size_t separator = FindLastChar(path, '\\');
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

const SelfPath* FindSelfPath(std::string_view path) {
    for (const SelfPath& self : kSelfPaths) {
        if (EqualsNoCase(path, self.path)) return &self;
    }
    return nullptr;
}

// The form's buttons, one line each: id, command, update rule, shown.
using V = CTamvelView;
constexpr PanelButton kButtons[] = {
    {kIdChangeTspFile, &V::OnChangeTspFile, nullptr, true},
    {kIdEditTspFile, &V::OnEditTspFile, &V::OnUpdateEditTspFile, true},
    {kIdRunTspFile, &V::OnRunTspFile, &V::OnUpdateTspFileCommand, true},
    {kIdViewResult, &V::OnViewResultFile, &V::OnUpdateResultFileCommand, true},
    {kIdPrintResult, &V::OnPrintResultFile, &V::OnUpdateResultFileCommand, false},
    {kIdPrintTspFile, &V::OnPrintTspFile, &V::OnUpdateTspFileCommand, false},
    {kIdExit, &V::OnExit, nullptr, true},
    {kIdEnvSettings, &V::OnEnvSettings, nullptr, true},
    {kIdNewTspFile, &V::OnNewTspFile, nullptr, true},
    {kIdMacroData, &V::OnMacroData, nullptr, true},
    {kIdDataCollectionSite, &V::OnDataCollectionHelp, nullptr, true},
    {kIdCommandList, &V::OnCommandList, nullptr, true},
    {kIdCommandSite, &V::OnCommandSite, nullptr, true},
    {kIdTspHowTo, &V::OnHowToUseTsp, nullptr, true},
    {kIdScreenHowTo, &V::OnHowToUseScreen, nullptr, true},
    {kIdWebMail, &V::OnWebMail, nullptr, true},
    {kIdTeacherPage, &V::OnTeacherPage, nullptr, true},
    {kIdWebDisk, &V::OnWebDisk, nullptr, true},
    {kIdFinancialData, &V::OnFinancialData, nullptr, true},
};

// The configuration of a view made without one; it lives as long as the program.
const DeploymentConfig& BuiltInDeployment() {
    static const DeploymentConfig config = DeploymentConfig::Defaults();
    return config;
}

}  // namespace

std::span<const PanelButton> CTamvelView::Buttons() { return kButtons; }

const PanelButton* CTamvelView::FindButton(int id) {
    for (const PanelButton& button : kButtons) {
        if (button.id == id) return &button;
    }
    return nullptr;
}

CTamvelView::CTamvelView(Ui& ui, FileSystem& fileSystem, const DeploymentConfig& config)
    : m_ui(ui), m_fileSystem(fileSystem), m_config(config), m_launcher(fileSystem) {}

CTamvelView::CTamvelView(Ui& ui, FileSystem& fileSystem)
    : CTamvelView(ui, fileSystem, BuiltInDeployment()) {}

// The form's own layout (fit and centre in the frame) is the front-end's part of start-up;
// everything that follows it is here.
void CTamvelView::OnInitialUpdate() {
    ProbeDrives();
    CreateStopEvent();
    SetDefaultSaveFolder();
    CopyTspIntoTempFolder(FindInstalledTsp());
    LoadEnvironmentFromMedium();
    ShowTspFile();
    CheckTspExe();
    FindNotepad();
    CheckEditor();
    EnterSaveFolder();
}

void CTamvelView::ProbeDrives() {
    m_driveAAvailable = m_fileSystem.SetCurrentDrive('A') == kErrorSuccess;
    m_driveHAvailable = m_fileSystem.SetCurrentDrive('H') == kErrorSuccess;
}

// Each start-up makes a new event; the one of an earlier run goes with it.
void CTamvelView::CreateStopEvent() { m_stopEvent = std::make_unique<StopEvent>(); }

void CTamvelView::SetDefaultSaveFolder() {
    if (m_driveAAvailable) {
        m_environment.saveFolder = "A:\\";
    } else if (m_driveHAvailable) {
        m_environment.saveFolder = "H:\\";
    } else {
        m_environment.saveFolder = kTempFolder;
    }
}

// The installed TSP, or what the person picks instead: the chooser opens until a file
// named TSP.exe is picked or the second miss.
std::string CTamvelView::FindInstalledTsp() {
    std::string candidate(kInstalledTspPath);
    if (m_fileSystem.Exists(candidate)) return candidate;
    m_ui.ShowMessage(Cp932(kInstalledTspMissing));
    for (int misses = 0;;) {
        ChooseProgram(candidate);
        if (EqualsNoCase(FileNamePart(candidate), "TSP.exe")) break;
        m_ui.ShowMessage(Cp932(kFindDizi));
        if (++misses == kMaxTspMisses) {
            m_ui.ShowMessage(Cp932(kDiziNotFound));
            break;
        }
    }
    return candidate;
}

// Tried whatever the candidate is; only a copy that worked sets the TSP executable.
void CTamvelView::CopyTspIntoTempFolder(const std::string& candidate) {
    if (m_fileSystem.CopyFileInto(candidate, kTempFolder) < 32) {
        m_environment.tspExe = kTempTspPath;
    }
}

// Only the roots of drives A and H are read; the file saved elsewhere is not found again.
void CTamvelView::LoadEnvironmentFromMedium() {
    std::string_view path;
    if (m_driveAAvailable) {
        path = kEnvironmentOnDriveA;
    } else if (m_driveHAvailable) {
        path = kEnvironmentOnDriveH;
    }
    LoadEnvironment(m_fileSystem, path, m_environment);
}

// A TSP file that no longer exists is not shown but kept, so it is saved again at exit.
void CTamvelView::ShowTspFile() {
    if (m_environment.tspFile.empty() || !m_fileSystem.Exists(m_environment.tspFile)) return;
    SetTspFileField(m_environment.tspFile);
}

void CTamvelView::CheckTspExe() {
    if (m_environment.tspExe.empty()) {
        std::optional<std::string> found = m_fileSystem.SearchPath(kTempFolder, "Tsp.exe");
        if (found) {
            m_environment.tspExe = *found;
        } else {
            AskForTspExe();
        }
    } else {
        CheckConfiguredTspExe();
    }
    if (!m_environment.tspExe.empty()) m_ui.SetFieldText(kIdTspExeField, m_environment.tspExe);
}

// The chooser opens again after the first refusal of this program's own executable; after
// the second refusal the refused value stays.
void CTamvelView::AskForTspExe() {
    m_ui.ShowMessage(Cp932(kTspRunnerMissing));
    for (int refusals = 0;;) {
        ChooseProgram(m_environment.tspExe);
        const SelfPath* self = FindSelfPath(m_environment.tspExe);
        if (self == nullptr) break;
        m_ui.ShowMessage(Cp932(self->refusal));
        if (++refusals == kMaxSelfRefusals) break;
    }
}

// A configured TSP executable that is missing is reported and dropped; the settings
// dialog is where a new one is chosen. Two known wrong choices are reported and kept.
void CTamvelView::CheckConfiguredTspExe() {
    std::string& tspExe = m_environment.tspExe;
    if (!m_fileSystem.Exists(tspExe)) {
        m_ui.ShowMessage(FormatMessageText(kConfiguredTspMissing, tspExe));
        tspExe.clear();
    }
    if (EqualsNoCase(tspExe, kInstalledTspPath)) m_ui.ShowMessage(Cp932(kInstalledTspRefused));
    if (EqualsNoCase(tspExe, "A:\\Tamvel.exe")) m_ui.ShowMessage(Cp932(kConfiguredSelfRefused));
}

void CTamvelView::FindNotepad() {
    m_windowsFolder = m_fileSystem.WindowsDirectory();
    if (m_windowsFolder.empty()) {
        m_windowsFolder = "C:\\";
        return;
    }
    m_notepadPath = m_fileSystem.SearchPath(m_windowsFolder, "Notepad.exe").value_or("");
}

// Notepad stands in only for an editor that was never set, not for one that vanished.
void CTamvelView::CheckEditor() {
    std::string& editor = m_environment.editor;
    if (editor.empty()) {
        if (m_notepadPath.empty()) {
            m_ui.ShowMessage(Cp932(kEditorNotSet));
            ChooseProgram(editor);
        } else {
            editor = m_notepadPath;
        }
    } else if (!m_fileSystem.Exists(editor)) {
        m_ui.ShowMessage(FormatMessageText(kConfiguredEditorMissing, editor));
        editor.clear();
        ChooseProgram(editor);
    }
    if (!editor.empty()) m_ui.SetFieldText(kIdEditorField, editor);
}

// The save folder becomes the current directory; else a chosen folder; else C:\temp\.
void CTamvelView::EnterSaveFolder() {
    std::string& saveFolder = m_environment.saveFolder;
    if (m_fileSystem.SetCurrentDirectory(saveFolder) == kErrorSuccess) {
        m_ui.SetFieldText(kIdSaveFolderField, saveFolder);
        return;
    }
    m_ui.ShowMessage(FormatMessageText(kCannotEnterSaveFolder, saveFolder));
    if (ChooseFolder(m_ui, saveFolder) &&
        m_fileSystem.SetCurrentDirectory(saveFolder) == kErrorSuccess) {
        m_ui.SetFieldText(kIdSaveFolderField, saveFolder);
        return;
    }
    saveFolder = kTempFolder;
    if (m_fileSystem.SetCurrentDirectory(saveFolder) == kErrorSuccess) {
        m_ui.SetFieldText(kIdSaveFolderField, saveFolder);
    } else {
        m_ui.ShowMessage(Cp932(kCannotEnterTempFolder));
    }
}

void CTamvelView::OnDestroy() {
    SaveEnvironment(m_fileSystem, m_environment);
    m_stopEvent.reset();
}

bool CTamvelView::FieldNamesExistingPath(int fieldId) const {
    const std::string text = m_ui.FieldText(fieldId);
    return !text.empty() && m_fileSystem.Exists(text);
}

bool CTamvelView::OnUpdateTspFileCommand() const { return FieldNamesExistingPath(kIdTspFileField); }

bool CTamvelView::OnUpdateEditTspFile() const { return !m_ui.FieldText(kIdTspFileField).empty(); }

bool CTamvelView::OnUpdateResultFileCommand() const {
    return FieldNamesExistingPath(kIdResultFileField);
}

bool CTamvelView::IsButtonEnabled(int controlId) const {
    const PanelButton* button = FindButton(controlId);
    return !button || !button->updateRule || (this->*button->updateRule)();
}

bool CTamvelView::OnButtonClicked(int controlId) {
    const PanelButton* button = FindButton(controlId);
    if (!button) return false;
    (this->*button->handler)();
    return true;
}

// The commands are added one by one, each in the file that owns it; until then a click on
// its button does nothing.
PanelContext CTamvelView::Context() {
    return {m_ui,          m_fileSystem,    m_launcher,        m_environment,    m_resultFilePath,
            m_notepadPath, m_windowsFolder, m_lastShellResult, m_stopEvent.get()};
}

// The chooser opens in the save folder. A chosen path is kept whole, however long: cutting
// it to the chooser's old 199 bytes would name another file.
void CTamvelView::OnChangeTspFile() {
    m_fileSystem.SetCurrentDirectory(m_environment.saveFolder);
    std::optional<std::string> chosen = m_ui.ChooseFile(ChooserKind::TspFile);
    if (!chosen) return;
    SetTspFileField(*chosen);
    m_resultFilePath = MakeResultFileName(m_environment.tspFile);
    m_ui.SetFieldText(kIdResultFileField, m_resultFilePath);
}

void CTamvelView::OnEditTspFile() { EditTspFile(Context()); }

void CTamvelView::OnRunTspFile() { RunTspFile(Context()); }

void CTamvelView::OnViewResultFile() { ViewResultFile(Context()); }

void CTamvelView::OnPrintResultFile() { PrintResultFile(Context()); }

void CTamvelView::OnPrintTspFile() { PrintTspFile(Context()); }

bool CTamvelView::LocateFile(const std::string& path, bool showMessage) const {
    return tamvel::LocateFile(m_ui, m_fileSystem, path, showMessage);
}

void CTamvelView::ReportShellError(int code) { tamvel::ReportShellError(m_ui, code); }
void CTamvelView::OnNewTspFile() {
    PanelContext panel = Context();
    NewTspFilePanel command{panel, m_config, [this] { OnEnvSettings(); },
                            [this](const std::string& path) { SetTspFileField(path); }};
    NewTspFile(command);
}

// The exit button closes the main window as its close box does, so the view's destruction
// saves the working environment on both paths.
void CTamvelView::OnExit() { m_ui.CloseMainWindow(); }

// A new reference each time: nothing of an earlier opening survives. Its result is not used.
void CTamvelView::OnCommandList() {
    CTspCommandDlg reference;
    reference.DoModal(m_ui);
}

void CTamvelView::LaunchHelpButton(int controlId) {
    PressHelpButton(Context(), m_config, controlId);
}

void CTamvelView::OnDataCollectionHelp() { LaunchHelpButton(kIdDataCollectionSite); }
void CTamvelView::OnHowToUseTsp() { LaunchHelpButton(kIdTspHowTo); }
void CTamvelView::OnHowToUseScreen() { LaunchHelpButton(kIdScreenHowTo); }
void CTamvelView::OnCommandSite() { LaunchHelpButton(kIdCommandSite); }
void CTamvelView::OnMacroData() { LaunchHelpButton(kIdMacroData); }
void CTamvelView::OnFinancialData() { LaunchHelpButton(kIdFinancialData); }
void CTamvelView::OnWebMail() { LaunchHelpButton(kIdWebMail); }
void CTamvelView::OnTeacherPage() { LaunchHelpButton(kIdTeacherPage); }
void CTamvelView::OnWebDisk() { LaunchHelpButton(kIdWebDisk); }

void CTamvelView::OnEnvSettings() {
    RunEnvSettings(EnvSettingsPanel{m_ui, m_fileSystem, m_environment,
                                    [this](const std::string& path) { return LocateFile(path); },
                                    [this](const std::string& path) { SetTspFileField(path); }});
}

void CTamvelView::OnFieldChanged(int controlId) {
    if (controlId == kIdTspFileField) OnTspFileChanged();
}

bool CTamvelView::ChooseProgram(std::string& path) { return tamvel::ChooseProgram(m_ui, path); }

void CTamvelView::SetTspFileField(const std::string& text) {
    m_ui.SetFieldText(kIdTspFileField, text);
    OnTspFileChanged();
}

// An emptied field empties the result field; the result file path keeps its last value.
void CTamvelView::OnTspFileChanged() {
    m_environment.tspFile = m_ui.FieldText(kIdTspFileField);
    if (m_environment.tspFile.empty()) {
        m_ui.SetFieldText(kIdResultFileField, "");
        return;
    }
    m_resultFilePath = MakeResultFileName(m_environment.tspFile);
    m_ui.SetFieldText(kIdResultFileField, m_resultFilePath);
}

}  // namespace tamvel
