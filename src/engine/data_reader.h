#pragma once
// Data files for READ(FILE=...): free-format numbers (any blanks and line ends between
// them, observation after observation) or CSV (one observation a line), either one with an
// optional header row of names; "." (or an empty CSV field, or NA) is a missing value.
// The file is read in small chunks, twice: once to count its lines, so that each column is
// reserved exactly, and once to parse (fast_float for double, from_chars for extended
// precision). Anything but a regular file is refused before it is read.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/regression.h"

namespace tamvel::engine {

/// The columns read from a data file, in extended precision or in double.
struct DataTable {
    bool extended = true;
    std::size_t rows = 0;
    std::vector<std::vector<Real>> wide;
    std::vector<std::vector<double>> narrow;
    /// The header row's names (CP932), when the file has one.
    std::vector<std::string> header;
    /// Observations left unread because `maxRows` was reached.
    bool truncated = false;
};

/// A table, or why there is none (CP932 text).
struct DataReadResult {
    std::optional<DataTable> table;
    std::string error;
};

/// Reads `columns` series from the file at a host path (UTF-8), at most `maxRows`
/// observations (0: all); in extended precision up to kExtendedPrecisionObservations.
DataReadResult ReadDataFile(const std::string& hostPath, std::size_t columns, std::size_t maxRows);

}  // namespace tamvel::engine
