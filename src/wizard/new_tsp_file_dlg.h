#pragma once
// The new-program form (dialog 131): the name of the new TSP file, the folder it goes into,
// and the choices the program generator needs. Its rules keep the choices consistent: the
// source boxes act as a set of options, least squares and panel analysis exclude each
// other, and the kinds of data preset the sample years. On OK the typed name must give a
// new file's path. All text is CP932.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "ui/dialog_model.h"
#include "ui/ui.h"
#include "wizard/new_tsp_file_choices.h"

namespace tamvel {

inline constexpr int kIdNewFileName = 313;            ///< edit: the name typed for the new file
inline constexpr int kIdNewFileFolder = 314;          ///< edit, read-only: the save folder
inline constexpr int kIdDataFileName = 315;           ///< edit, read-only: the data file name
inline constexpr int kIdSampleStart = 316;            ///< edit: first period
inline constexpr int kIdSampleEnd = 317;              ///< edit: last period
inline constexpr int kIdCrossSectionKind = 1018;      ///< radio, first of the kinds
inline constexpr int kIdAnnualKind = 1017;            ///< radio
inline constexpr int kIdQuarterlyKind = 1019;         ///< radio
inline constexpr int kIdMonthlyKind = 1020;           ///< radio
inline constexpr int kIdPanelKind = 1028;             ///< radio
inline constexpr int kIdReadGeneralFile = 1021;       ///< check: source, a general file
inline constexpr int kIdReadMacroFile = 1024;         ///< check: source, macro data
inline constexpr int kIdReadFinancialFile = 1025;     ///< check: source, financial data
inline constexpr int kIdNoDataFile = 1023;            ///< check: clears the three sources
inline constexpr int kIdRunLeastSquares = 1022;       ///< check
inline constexpr int kIdRunPanelAnalysis = 1027;      ///< check
inline constexpr int kIdChooseDataFile = 1016;        ///< button: the data file chooser
inline constexpr int kIdChangeSaveFolder = 1026;      ///< button: the settings dialog
inline constexpr int kIdMacroSeriesGuide = 1029;      ///< button: a guide page
inline constexpr int kIdFinancialSeriesGuide = 1030;  ///< button: a guide page
inline constexpr int kIdFinancialCrossGuide = 1031;   ///< button: a guide page

/// The radio buttons of the kinds of data, in the order of DataKind's values.
inline constexpr int kDataKindIds[] = {kIdCrossSectionKind, kIdAnnualKind, kIdQuarterlyKind,
                                       kIdMonthlyKind, kIdPanelKind};

/// The name edits, position 1 to 12.
inline constexpr int kVariableNameIds[kVariableNameCount] = {1044, 1045, 1046, 1047, 1048, 1049,
                                                             1050, 1051, 1052, 1053, 1054, 1055};

/// What the form needs of the control panel and the deployment.
struct NewTspFileDlgHost {
    std::function<std::string()> saveFolder;  ///< the control panel's save folder, as it is now
    std::function<void()> changeSaveFolder;   ///< button 1026: the environment settings command
    std::function<void(std::string_view)> openAddress;  ///< a guide page; its result unexamined
    std::string macroSeriesGuide;                       ///< address of button 1029's page
    std::string financialSeriesGuide;                   ///< address of button 1030's page
    std::string financialCrossGuide;                    ///< address of button 1031's page
};

/// The record as the form opens with it: the record as constructed, the data file
/// placeholder, and the sample 1975 to 2003.
NewTspFileChoices OpeningChoices();

/// What a box's handler does once the box has toggled itself (a radio button: turned on).
/// Ids of other controls change nothing.
void ApplyBoxRule(NewTspFileChoices& choices, int controlId);

/// The question asked once the form is filled when the save folder is C:\temp\ (in any
/// case), or empty when none is asked.
std::string SaveFolderQuestion(std::string_view saveFolder);

/// The data file chooser's answer as the form keeps it: the bare file name.
std::string DataFileNameOf(std::string_view chosenPath);

class CNewTspFileDlg {
  public:
    /// The form for one run of the new-file command; it talks to a person through `ui`, and
    /// tests on `fileSystem` whether a typed name names an existing file.
    CNewTspFileDlg(Ui& ui, const FileSystem& fileSystem, NewTspFileDlgHost host);
    CNewTspFileDlg(const CNewTspFileDlg&) = delete;
    CNewTspFileDlg& operator=(const CNewTspFileDlg&) = delete;

    /// Shows the form until OK accepts the name or the person cancels; the choices, with
    /// the new file's path, after OK.
    std::optional<NewTspFileChoices> DoModal();

    /// The form's controls and handlers (the front-ends show it; tests drive it).
    DialogModel& Model() { return m_model; }

    /// The record as the controls hold it now (the exchange from the controls).
    NewTspFileChoices ReadControls() const;

  private:
    void AddControls();
    /// The exchange to the controls.
    void ShowRecord(const NewTspFileChoices& choices);
    void OnInitDialog();
    void OnBox(int controlId);
    void OnChooseDataFile();
    void OnChangeSaveFolder();
    bool OnOK();

    Ui& m_ui;
    const FileSystem& m_fileSystem;
    NewTspFileDlgHost m_host;
    DialogModel m_model;
    NewTspFileChoices m_choices;
};

}  // namespace tamvel
