#pragma once
// What a run of a TSP program carries from statement to statement: frequency, sample,
// series, the options in force, the result file's body, and the count of errors.

#include <optional>
#include <string>

#include "engine/diagnostic.h"
#include "engine/period.h"
#include "engine/report.h"
#include "engine/series.h"
#include "engine/statement.h"

namespace tamvel::engine {

/// The state of one run.
struct RunState {
    Frequency frequency = Frequency::Undated;
    /// FREQ(PANEL,ID=name): the series that tells the individuals apart.
    std::optional<std::string> panelId;
    /// The current sample; none until SMPL or a READ that sets it.
    std::optional<Sample> sample;
    Workspace workspace;
    int significantDigits = 6;
    /// Equations estimated so far; each OLSQ and PANEL estimate is numbered.
    int equations = 0;
    ReportLines body;
    int errors = 0;

    /// Writes a message for a line into the body ("*** Error in line 5: ...").
    void Report(Severity severity, int line, const std::string& text);
    /// The current sample, or an error that says to give one.
    const Sample* RequireSample(int line, const char* command);
    /// With FREQ(PANEL,ID=name): the identifier series, if it has been read; else null.
    const Series* PanelUnits() const { return panelId ? workspace.Find(*panelId) : nullptr; }
    /// True when the workspace holds every listed series; else an error names the others.
    bool RequireSeries(int line, const std::vector<SeriesRef>& refs);
};

/// Shorthand for an error message.
inline void ReportError(RunState& state, int line, const std::string& text) {
    state.Report(Severity::Error, line, text);
}

}  // namespace tamvel::engine
