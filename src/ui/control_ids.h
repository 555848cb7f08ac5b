#pragma once
// Resource ids of the control panel's controls and of the program's dialogs.

namespace tamvel {

inline constexpr int kIdChangeTspFile = 1000;    ///< button: another existing TSP file
inline constexpr int kIdEditTspFile = 1001;      ///< button: modify this TSP file
inline constexpr int kIdRunTspFile = 1002;       ///< button: run this TSP file
inline constexpr int kIdViewResult = 203;        ///< button: view the result file
inline constexpr int kIdPrintResult = 1004;      ///< button, hidden: print the result file
inline constexpr int kIdPrintTspFile = 1005;     ///< button, hidden: print the TSP file
inline constexpr int kIdExit = 1016;             ///< button: exit
inline constexpr int kIdTspFileField = 1007;     ///< edit: TSP file path
inline constexpr int kIdResultFileField = 1008;  ///< edit, read-only: result file path
inline constexpr int kIdEnvSettings = 210;       ///< button: environment settings
inline constexpr int kIdTspExeField = 212;       ///< edit, read-only: TSP executable
inline constexpr int kIdEditorField = 1014;      ///< edit, read-only: editor
inline constexpr int kIdSaveFolderField = 1015;  ///< edit, read-only: save folder
inline constexpr int kIdNewTspFile = 215;        ///< button: create a new TSP file
inline constexpr int kIdMacroData = 1018;
inline constexpr int kIdDataCollectionSite = 1042;
inline constexpr int kIdCommandList = 1043;
inline constexpr int kIdCommandSite = 1044;
inline constexpr int kIdTspHowTo = 1045;
inline constexpr int kIdScreenHowTo = 1046;
inline constexpr int kIdWebMail = 1019;
inline constexpr int kIdTeacherPage = 1020;
inline constexpr int kIdWebDisk = 1021;
inline constexpr int kIdFinancialData = 1022;

inline constexpr int kDialogAbout = 100;
inline constexpr int kDialogControlPanel = 101;
inline constexpr int kDialogSettings = 130;
inline constexpr int kDialogNewFile = 131;
inline constexpr int kDialogReference = 135;

}  // namespace tamvel
