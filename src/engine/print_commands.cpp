#include "engine/print_commands.h"

#include "engine/data_commands.h"
#include "engine/descriptive.h"
#include "engine/number_format.h"
#include "engine/sample_columns.h"

namespace tamvel::engine {
namespace {

// The sample, after checking that the list is usable; null after an error.
const Sample* Prepare(RunState& state, const Statement& statement, const char* command) {
    NoteIgnoredOptions(state, statement, {});
    if (statement.series.empty()) {
        ReportError(state, statement.line, std::string(command) + " needs a list of series");
        return nullptr;
    }
    if (!state.RequireSeries(statement.line, statement.series)) return nullptr;
    const Sample* sample = state.RequireSample(statement.line, command);
    if (!sample) return nullptr;
    if (auto error = CheckCoverage(statement.series, state.workspace, *sample, state.frequency)) {
        ReportError(state, statement.line, *error);
        return nullptr;
    }
    return sample;
}

std::vector<std::string> Names(const std::vector<SeriesRef>& refs) {
    std::vector<std::string> names;
    for (const SeriesRef& ref : refs) names.push_back(DisplayName(ref));
    return names;
}

}  // namespace

void ExecutePrint(RunState& state, const Statement& statement) {
    const Sample* sample = Prepare(state, statement, "PRINT");
    if (!sample) return;
    std::vector<std::string> rows;
    std::vector<std::vector<std::string>> cells;
    for (long long p : sample->Periods()) {
        rows.push_back(FormatPeriod(p, state.frequency));
        std::vector<std::string> row;
        for (const SeriesRef& ref : statement.series)
            row.push_back(FormatNumber(
                LaggedValue(*state.workspace.Find(ref.name), p, ref.lag, state.PanelUnits()),
                state.significantDigits));
        cells.push_back(std::move(row));
    }
    AppendTable(state.body, "Obs", Names(statement.series), rows, cells);
}

void ExecuteMsd(RunState& state, const Statement& statement) {
    const Sample* sample = Prepare(state, statement, "MSD");
    if (!sample) return;
    const int digits = state.significantDigits;
    std::vector<std::vector<std::string>> cells;
    for (const SeriesRef& ref : statement.series) {
        // Each series over its own complete observations.
        const SampleColumns<Real> column =
            GatherExtended({ref}, state.workspace, *sample, state.PanelUnits());
        std::vector<std::string> row;
        if (column.observations == 0) {
            row = {"0"};
        } else {
            const UnivariateStatistics s = Describe(column.columns[0]);
            row = {std::to_string(s.observations),
                   FormatNumber(s.mean, digits),
                   FormatNumber(s.standardDeviation, digits),
                   FormatNumber(s.minimum, digits),
                   FormatNumber(s.maximum, digits),
                   FormatNumber(s.sum, digits),
                   FormatNumber(s.variance, digits)};
        }
        cells.push_back(std::move(row));
    }
    state.body.push_back("");
    state.body.push_back("Univariate statistics");
    state.body.push_back("=====================");
    state.body.push_back("");
    state.body.push_back("Current sample:  " + FormatSample(*sample, state.frequency));
    state.body.push_back("");
    AppendTable(state.body, "Variable",
                {"Obs", "Mean", "Std Dev", "Minimum", "Maximum", "Sum", "Variance"},
                Names(statement.series), cells);
}

void ExecuteCorr(RunState& state, const Statement& statement) {
    const Sample* sample = Prepare(state, statement, "CORR");
    if (!sample) return;
    const SampleColumns<Real> columns =
        GatherExtended(statement.series, state.workspace, *sample, state.PanelUnits());
    std::vector<std::vector<std::string>> cells;
    for (std::size_t i = 0; i < columns.columns.size(); ++i) {
        std::vector<std::string> row;
        for (std::size_t j = 0; j < columns.columns.size(); ++j)
            row.push_back(FormatNumber(Correlation(columns.columns[i], columns.columns[j]),
                                       state.significantDigits));
        cells.push_back(std::move(row));
    }
    state.body.push_back("");
    state.body.push_back("Correlation matrix");
    state.body.push_back("==================");
    state.body.push_back("");
    state.body.push_back("Number of observations:  " + std::to_string(columns.observations));
    state.body.push_back("");
    const std::vector<std::string> names = Names(statement.series);
    AppendTable(state.body, "", names, names, cells);
}

}  // namespace tamvel::engine
