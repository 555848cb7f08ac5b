#pragma once
// The listed series over the current sample, free of missing values, as columns for the
// estimators and the statistics commands. When the sample is one range, no series is
// lagged and none has a missing value there, the columns are views into the series
// themselves; otherwise the complete observations are copied out.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/period.h"
#include "engine/series.h"
#include "engine/statement.h"

namespace tamvel::engine {

/// Columns of equal length, one per listed series.
template <class T>
struct SampleColumns {
    std::vector<std::span<const T>> columns;
    std::size_t observations = 0;
    /// The periods of the observations kept.
    std::vector<long long> periods;
    /// Names of listed series that have missing values in the sample (those observations
    /// are left out).
    std::vector<std::string> withMissing;
    /// Copies, when the columns could not be views.
    std::vector<std::vector<T>> storage;
};

/// The positions of the observations that do not follow the one before them (a gap in the
/// sample, or a missing value left out), ascending.
std::vector<std::size_t> GapsBefore(const std::vector<long long>& periods);

/// The name of a listed series as printed: X, X(-1), X(+1).
std::string DisplayName(const SeriesRef& ref);

/// An error text when the sample reaches periods that an unlagged listed series does not
/// hold (the SMPL lies outside the data); nullopt when every one is covered. Every listed
/// series must exist.
std::optional<std::string> CheckCoverage(const std::vector<SeriesRef>& refs,
                                         const Workspace& workspace, const Sample& sample,
                                         Frequency frequency);

/// True when every listed series is kept in extended precision.
bool AllExtended(const std::vector<SeriesRef>& refs, const Workspace& workspace);

/// The columns of the listed series (which must exist) over the sample; `unit` as with
/// LaggedValue.
SampleColumns<Real> GatherExtended(const std::vector<SeriesRef>& refs, const Workspace& workspace,
                                   const Sample& sample, const Series* unit);
SampleColumns<double> GatherDouble(const std::vector<SeriesRef>& refs, const Workspace& workspace,
                                   const Sample& sample, const Series* unit);

}  // namespace tamvel::engine
