#pragma once
// The new-program form (dialog 131): the name of the new TSP file, the folder it goes into,
// and the choices the program generator needs. Its rules keep the choices consistent: the
// source boxes act as a set of options, least squares and panel analysis exclude each
// other, and the kinds of data preset the sample years. All text is CP932.

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "wizard/new_tsp_file_choices.h"
#include "wizard/tsp_file_path.h"

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

/// What the form's controls hold.
struct NewTspFileForm {
    std::string typedName;          ///< edit 313
    std::string saveFolder;         ///< edit 314: the control panel's save folder
    bool noDataFileTicked = false;  ///< box 1023's own tick, which belongs to no field
    NewTspFileChoices choices;      ///< every other control
};

/// The form as it opens: the record as constructed, the data file placeholder, the sample
/// 1975 to 2003, and `saveFolder` shown.
NewTspFileForm OpeningForm(std::string saveFolder);

/// The question the form asks once it is filled when the save folder is C:\temp\ (in any
/// case), or empty when it asks none.
std::string SaveFolderQuestion(std::string_view saveFolder);

/// A click on a check box or radio button: the box's own toggle (a radio button turns on),
/// then the form's rule for that box. Other ids change nothing.
void ClickBox(NewTspFileForm& form, int controlId);

/// Whether a check box or radio button is ticked.
bool IsBoxTicked(const NewTspFileForm& form, int controlId);

/// The data file chooser's answer as the form keeps it: the bare file name.
std::string DataFileNameOf(std::string_view chosenPath);

/// OK: the path of the new file made from the typed name and the save folder, or the
/// refusal to show while the form stays open.
TspFilePathResult ValidateNewTspFile(const NewTspFileForm& form, const FileSystem& fileSystem);

}  // namespace tamvel
