#pragma once
// The control panel's logic: the working environment, the start-up checks, the update
// rules of the buttons and the command handlers. It talks to a person only through Ui.

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "environment/environment_file.h"
#include "panel/deployment_config.h"
#include "panel/panel_context.h"
#include "panel/stop_event.h"
#include "platform/bundled_engine.h"
#include "platform/file_system.h"
#include "platform/shell_launch.h"
#include "ui/ui.h"

namespace tamvel {

/// The TSP installed on the machine (the engine's link, or the student's own TSP); start-up
/// copies it into the working folder.
inline constexpr std::string_view kInstalledTspPath = kBundledEnginePlace;
/// The working folder that receives the copy of TSP, and the last fallback save folder.
inline constexpr const char* kTempFolder = "C:\\temp\\";
/// The TSP executable that start-up sets once TSP has been copied into the working folder.
inline constexpr const char* kTempTspPath = "C:\\temp\\Tsp.EXE";

class CTamvelView;

/// One button of the control panel: its id, the command it starts, its update rule (null:
/// always enabled) and whether the form shows it (1004 and 1005 exist but stay hidden).
struct PanelButton {
    int id;
    void (CTamvelView::*handler)();
    bool (CTamvelView::*updateRule)() const;
    bool shown;
};

class CTamvelView {
  public:
    /// Every button of the form, in the order of its template.
    static std::span<const PanelButton> Buttons();
    /// The button with `id`, or nullptr.
    static const PanelButton* FindButton(int id);

    /// A view of the installation `config` describes (the help buttons' addresses); `config`
    /// must outlive it.
    CTamvelView(Ui& ui, FileSystem& fileSystem, const DeploymentConfig& config);
    /// A view with the built-in deployment configuration.
    CTamvelView(Ui& ui, FileSystem& fileSystem);

    /// The start-up sequence: runs when the form is first shown and whenever the document
    /// is renewed.
    void OnInitialUpdate();

    /// The form is being destroyed: saves the working environment.
    void OnDestroy();

    /// Whether a button is enabled now, by its update rule. Reads the fields anew each time.
    bool IsButtonEnabled(int controlId) const;

    /// A button was clicked: runs its command. False when the form has no such button.
    bool OnButtonClicked(int controlId);

    // Update rules.
    /// Rule A (1002, 1005): the TSP file field names an existing file.
    bool OnUpdateTspFileCommand() const;
    /// Rule B (1001): the TSP file field is not empty.
    bool OnUpdateEditTspFile() const;
    /// Rule C (203, 1004): the result file field names an existing file.
    bool OnUpdateResultFileCommand() const;

    // Commands of the buttons, one per button.
    void OnChangeTspFile();       ///< 1000: another existing TSP file
    void OnEditTspFile();         ///< 1001: open the TSP file in the editor
    void OnRunTspFile();          ///< 1002: run TSP on the TSP file
    void OnViewResultFile();      ///< 203: open the result file
    void OnPrintResultFile();     ///< 1004: print the result file
    void OnPrintTspFile();        ///< 1005: print the TSP file
    void OnExit();                ///< 1016: close the main window
    void OnEnvSettings();         ///< 210, and the new-program form's 1026: the settings
    void OnNewTspFile();          ///< 215: write a new TSP file
    void OnMacroData();           ///< 1018: the macro-economic data program
    void OnDataCollectionHelp();  ///< 1042: the page on collecting data for TSP
    void OnCommandList();         ///< 1043: the TSP command reference
    void OnCommandSite();         ///< 1044: the site that explains TSP commands
    void OnHowToUseTsp();         ///< 1045: the page on using TSP
    void OnHowToUseScreen();      ///< 1046: the page on using this panel
    void OnWebMail();             ///< 1019: the university's web mail
    void OnTeacherPage();         ///< 1020: the teacher's home page
    void OnWebDisk();             ///< 1021: the university's web disk
    void OnFinancialData();       ///< 1022: the financial data program

    /// The text of a field changed (typed by the person, or set by the program).
    void OnFieldChanged(int controlId);

    /// Lets the person pick a program into `path` (kept on cancel); true when one was taken.
    bool ChooseProgram(std::string& path);

    /// The four settings as they stand.
    const WorkingEnvironment& Environment() const { return m_environment; }

    /// The result file derived from the TSP file.
    const std::string& ResultFilePath() const { return m_resultFilePath; }

    /// Notepad in the Windows folder, or empty when start-up did not find it.
    const std::string& NotepadPath() const { return m_notepadPath; }

    /// The Windows folder (working folder of editor launches).
    const std::string& WindowsFolder() const { return m_windowsFolder; }

    /// Whether drive A or H could be made the current drive at the last start-up.
    bool IsDriveAAvailable() const { return m_driveAAvailable; }
    bool IsDriveHAvailable() const { return m_driveHAvailable; }

    /// The stop event of the last start-up; null before start-up and after destruction.
    const StopEvent* Stop() const { return m_stopEvent.get(); }

    /// The launcher of every outside program (a front-end may watch its launches).
    ShellLauncher& Launcher() { return m_launcher; }

    /// The value of the latest reported shell launch.
    int LastShellResult() const { return m_lastShellResult; }

    /// Whether `path` exists in its own folder; tells the person when not (see open_print.h).
    bool LocateFile(const std::string& path, bool showMessage = true) const;

    /// The text for a failed shell launch code, shown when it has one.
    void ReportShellError(int code);

  private:
    // Start-up, one function per group of steps, in the order they run.
    void ProbeDrives();
    void CreateStopEvent();
    void SetDefaultSaveFolder();
    std::string FindInstalledTsp();
    void CopyTspIntoTempFolder(const std::string& candidate);
    void LoadEnvironmentFromMedium();
    void ShowTspFile();
    void CheckTspExe();
    void AskForTspExe();
    void CheckConfiguredTspExe();
    void FindNotepad();
    void CheckEditor();
    void EnterSaveFolder();

    /// Sets the TSP file field and runs its change notification, as the program's own
    /// changes of that field do.
    void SetTspFileField(const std::string& text);

    /// Field 1007 changed: the TSP file path follows it and the result file is derived.
    void OnTspFileChanged();

    /// Whether the text of a field names an existing file or folder (and is not empty).
    bool FieldNamesExistingPath(int fieldId) const;

    /// The panel's working strings lent to a command.
    PanelContext Context();

    /// Runs the launch of a help, service or data button (help_buttons.h).
    void LaunchHelpButton(int controlId);

    Ui& m_ui;
    FileSystem& m_fileSystem;
    const DeploymentConfig& m_config;
    WorkingEnvironment m_environment;
    std::string m_resultFilePath;
    std::string m_notepadPath;
    std::string m_windowsFolder;
    bool m_driveAAvailable = false;
    bool m_driveHAvailable = false;
    std::unique_ptr<StopEvent> m_stopEvent;
    int m_lastShellResult = 0;
    ShellLauncher m_launcher;
};

}  // namespace tamvel
