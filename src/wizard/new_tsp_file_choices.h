#pragma once
// The choices behind a new TSP file: what the new-program form gathers and what the
// program generator turns into TSP text. Every string is CP932; limits are bytes.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tamvel {

/// The kind of data: decides the FREQ and SMPL lines. The values are the positions of the
/// form's radio buttons in their group.
enum class DataKind : int {
    CrossSection = 0,  ///< FREQ N; undated observations
    Annual = 1,        ///< FREQ A
    Quarterly = 2,     ///< FREQ Q
    Monthly = 3,       ///< FREQ M
    Panel = 4,         ///< FREQ(PANEL,ID=CD)
};

/// How many variable names the form offers.
inline constexpr std::size_t kVariableNameCount = 12;
/// Longest sample year, in bytes.
inline constexpr std::size_t kMaxSampleYearBytes = 4;
/// Longest variable name, in bytes.
inline constexpr std::size_t kMaxVariableNameBytes = 8;

/// The data file name the form shows until a file is chosen (UTF-8; held as CP932).
inline constexpr std::string_view kDataFilePlaceholder = "ここをデータのファイル名に！";
/// The sample period the form shows when it opens.
inline constexpr std::string_view kOpeningSampleStart = "1975";
inline constexpr std::string_view kOpeningSampleEnd = "2003";

/// The record of choices, as constructed: the boxes the form opens with ticked, texts empty.
struct NewTspFileChoices {
    std::string tspFilePath;                  ///< full path of the file to create
    bool runLeastSquares = true;              ///< write an OLSQ line
    bool readGeneralFile = true;              ///< data source: a general data file
    DataKind dataKind = DataKind::Quarterly;  ///< decides the FREQ and SMPL lines
    std::string sampleStart;                  ///< first period, at most kMaxSampleYearBytes
    std::string sampleEnd;                    ///< last period, at most kMaxSampleYearBytes
    bool readMacroFile = false;               ///< data source: macro data, first column Y
    bool readFinancialFile = false;  ///< data source: financial data, first columns CD and Y
    std::string dataFileName;        ///< data file named in the READ line, without folder
    std::array<std::string, kVariableNameCount> variableNames;  ///< positions 1 to 12
    bool runPanelAnalysis = false;                              ///< write a PANEL line
};

}  // namespace tamvel
