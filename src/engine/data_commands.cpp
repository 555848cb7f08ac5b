#include "engine/data_commands.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "engine/data_reader.h"
#include "engine/evaluator.h"
#include "platform/text.h"

namespace tamvel::engine {
namespace {

constexpr Real kMissing = std::numeric_limits<Real>::quiet_NaN();

// No sample, and no series made by GENR, spans more periods than this: the memory of a
// series stays bounded whatever periods a program names.
constexpr long long kMaxPeriods = 10000000;

// Stores the columns read over the sample (the first `rows` of its periods).
template <class T>
void StoreColumns(RunState& state, const std::vector<SeriesRef>& names,
                  std::vector<std::vector<T>>& columns, std::size_t rows, const Sample& sample) {
    const bool oneRange = sample.ranges.size() == 1;
    std::vector<long long> periods;
    if (!oneRange) {
        periods = sample.Periods();
        periods.resize(std::min(periods.size(), rows));
    }
    for (std::size_t j = 0; j < names.size(); ++j) {
        if (oneRange) {
            columns[j].resize(rows);
            state.workspace.Put(names[j].name, Series::FromValues(sample.ranges.front().first,
                                                                  std::move(columns[j])));
            continue;
        }
        Series series = Series::Empty(std::is_same_v<T, Real>);
        for (std::size_t i = 0; i < periods.size(); ++i) series.Set(periods[i], columns[j][i]);
        state.workspace.Put(names[j].name, std::move(series));
    }
}

// The sample a READ fills: the current one, or for undated data without SMPL one that
// starts at 1 and holds what was read.
const Sample* SampleForRead(RunState& state, const Statement& statement, std::size_t rows) {
    if (state.sample) return &*state.sample;
    if (state.frequency != Frequency::Undated) return state.RequireSample(statement.line, "READ");
    state.sample = Sample{{{1, static_cast<long long>(rows)}}};
    return &*state.sample;
}

void NoteFill(RunState& state, const Statement& statement, std::size_t rows, const Sample& sample) {
    const long long size = sample.Size();
    if (static_cast<long long>(rows) < size) {
        state.Report(Severity::Note, statement.line,
                     "READ found " + std::to_string(rows) + " observations for a sample of " +
                         std::to_string(size) + "; the rest of the sample is not in the data");
    }
}

void ReadFromFile(RunState& state, const Statement& statement, const std::string& fileName) {
    const std::optional<std::string> hostName = Cp932ToUtf8(fileName);
    if (!hostName || fileName.empty()) {
        ReportError(state, statement.line, "the data file name '" + fileName + "' is not valid");
        return;
    }
    const std::size_t maxRows = state.sample ? static_cast<std::size_t>(state.sample->Size()) : 0;
    DataReadResult read = ReadDataFile(*hostName, statement.series.size(), maxRows);
    if (!read.table) {
        ReportError(state, statement.line,
                    "the data file '" + fileName + "' cannot be read: " + read.error +
                        " (write the data file's name, relative to the TSP file's folder, "
                        "between the quotes of READ(FILE='...'))");
        return;
    }
    DataTable& table = *read.table;
    const Sample* sample = SampleForRead(state, statement, table.rows);
    if (!sample) return;
    NoteFill(state, statement, table.rows, *sample);
    if (table.truncated) {
        state.Report(Severity::Note, statement.line,
                     "the data file holds more observations than the sample; the first " +
                         std::to_string(table.rows) + " are read");
    }
    if (table.extended)
        StoreColumns(state, statement.series, table.wide, table.rows, *sample);
    else
        StoreColumns(state, statement.series, table.narrow, table.rows, *sample);
}

void ReadInline(RunState& state, const Statement& statement) {
    const std::size_t count = statement.series.size();
    if (statement.data.size() % count != 0) {
        ReportError(state, statement.line,
                    "READ has " + std::to_string(statement.data.size()) +
                        " numbers, which is not a whole number of observations of its " +
                        std::to_string(count) + " series");
        return;
    }
    std::size_t rows = statement.data.size() / count;
    const Sample* sample = SampleForRead(state, statement, rows);
    if (!sample) return;
    const std::size_t size = static_cast<std::size_t>(sample->Size());
    if (rows > size) {
        state.Report(Severity::Warning, statement.line,
                     "READ has " + std::to_string(rows) + " observations for a sample of " +
                         std::to_string(size) + "; the ones after the sample are ignored");
        rows = size;
    }
    NoteFill(state, statement, rows, *sample);
    // By observation: the first number of each row to the first series, and so on.
    const bool extended = rows <= kExtendedPrecisionObservations;
    if (extended) {
        std::vector<std::vector<Real>> columns(count, std::vector<Real>(rows));
        for (std::size_t i = 0; i < rows; ++i)
            for (std::size_t j = 0; j < count; ++j) columns[j][i] = statement.data[i * count + j];
        StoreColumns(state, statement.series, columns, rows, *sample);
    } else {
        std::vector<std::vector<double>> columns(count, std::vector<double>(rows));
        for (std::size_t i = 0; i < rows; ++i)
            for (std::size_t j = 0; j < count; ++j)
                columns[j][i] = static_cast<double>(statement.data[i * count + j]);
        StoreColumns(state, statement.series, columns, rows, *sample);
    }
}

}  // namespace

void NoteIgnoredOptions(RunState& state, const Statement& statement,
                        std::initializer_list<const char*> known) {
    for (const Option& option : statement.options) {
        if (std::find(known.begin(), known.end(), option.name) != known.end()) continue;
        state.Report(Severity::Note, statement.line,
                     "option " + option.name + " is accepted but has no effect in this engine");
    }
}

void ExecuteOptions(RunState& state, const Statement& statement) {
    for (const Option& option : statement.options) {
        if (option.name == "CRT") continue;
        if (option.name == "SIGNIF") {
            int digits = 0;
            const std::string value = option.value.value_or("");
            const auto [end, ec] =
                std::from_chars(value.data(), value.data() + value.size(), digits);
            if (ec != std::errc() || end != value.data() + value.size() || digits < 1 ||
                digits > 15) {
                ReportError(
                    state, statement.line,
                    "SIGNIF takes a number of digits from 1 to 15, as in OPTIONS SIGNIF=8;");
                continue;
            }
            state.significantDigits = digits;
            continue;
        }
        state.Report(Severity::Note, statement.line,
                     "option " + option.name + " is accepted but has no effect in this engine");
    }
}

void ExecuteFreq(RunState& state, const Statement& statement) {
    const bool panel = std::any_of(statement.options.begin(), statement.options.end(),
                                   [](const Option& o) { return o.name == "PANEL"; });
    if (panel) {
        const auto id = std::find_if(statement.options.begin(), statement.options.end(),
                                     [](const Option& o) { return o.name == "ID"; });
        if (id == statement.options.end() || !id->value) {
            ReportError(state, statement.line,
                        "FREQ(PANEL) needs the series that identifies the individuals, as in "
                        "FREQ(PANEL,ID=CD);");
            return;
        }
        if (state.frequency != Frequency::Undated) state.sample.reset();
        state.frequency = Frequency::Undated;
        state.panelId = *id->value;
        NoteIgnoredOptions(state, statement, {"PANEL", "ID"});
        return;
    }
    static const std::pair<const char*, Frequency> kLetters[] = {
        {"N", Frequency::Undated},   {"NONE", Frequency::Undated}, {"A", Frequency::Annual},
        {"Q", Frequency::Quarterly}, {"M", Frequency::Monthly},
    };
    if (statement.series.size() == 1) {
        for (const auto& [letter, frequency] : kLetters) {
            if (statement.series[0].name == letter) {
                // A sample of another frequency means other periods: it is given anew.
                if (state.frequency != frequency) state.sample.reset();
                state.frequency = frequency;
                state.panelId.reset();
                NoteIgnoredOptions(state, statement, {});
                return;
            }
        }
    }
    ReportError(state, statement.line,
                "FREQ takes N (undated), A (annual), Q (quarterly) or M (monthly), or "
                "(PANEL,ID=name)");
}

void ExecuteSmpl(RunState& state, const Statement& statement) {
    Sample sample;
    for (std::size_t i = 0; i + 1 < statement.periods.size(); i += 2) {
        std::string error;
        const std::optional<long long> first =
            ToPeriod(statement.periods[i], state.frequency, error);
        const std::optional<long long> last =
            first ? ToPeriod(statement.periods[i + 1], state.frequency, error) : std::nullopt;
        if (!first || !last) {
            ReportError(state, statement.line, "SMPL: " + error);
            return;
        }
        if (*first > *last) {
            ReportError(state, statement.line,
                        "SMPL: the range " + FormatPeriod(*first, state.frequency) + " to " +
                            FormatPeriod(*last, state.frequency) +
                            " ends before it starts; give the first period, then the last");
            return;
        }
        sample.ranges.push_back({*first, *last});
    }
    const PeriodRange span = sample.Span();
    if (span.last - span.first >= kMaxPeriods) {
        ReportError(state, statement.line,
                    "SMPL: the sample spans more than " + std::to_string(kMaxPeriods) + " periods");
        return;
    }
    state.sample = std::move(sample);
}

void ExecuteRead(RunState& state, const Statement& statement) {
    NoteIgnoredOptions(state, statement, {"FILE", "FORMAT"});
    const auto file = std::find_if(statement.options.begin(), statement.options.end(),
                                   [](const Option& o) { return o.name == "FILE"; });
    if (statement.series.empty()) {
        // READ; alone reads nothing (the new-program form writes it where the data follow
        // END;). With a file, the student has most likely left out the names.
        if (file != statement.options.end())
            ReportError(state, statement.line,
                        "READ names no series: list the names of the file's columns, as in "
                        "READ(FILE='data.csv') Y X1 X2;");
        return;
    }
    for (const SeriesRef& ref : statement.series) {
        if (IsConstantName(ref.name)) {
            ReportError(
                state, statement.line,
                ref.name + " is the constant of OLSQ and cannot be read; choose another name");
            return;
        }
    }
    if (file != statement.options.end())
        ReadFromFile(state, statement, file->value.value_or(""));
    else
        ReadInline(state, statement);
}

void ExecuteGenr(RunState& state, const Statement& statement) {
    if (IsConstantName(statement.target)) {
        ReportError(
            state, statement.line,
            statement.target + " is the constant of OLSQ; give the new series another name");
        return;
    }
    const std::vector<std::string> unknown = UnknownSeries(statement.value, state.workspace);
    if (!unknown.empty()) {
        std::string names;
        for (const std::string& name : unknown) names += (names.empty() ? "" : ", ") + name;
        ReportError(state, statement.line,
                    "unknown series " + names + " (read or generate it before this line)");
        return;
    }
    const Sample* sample = state.RequireSample(statement.line, "GENR");
    if (!sample) return;
    Series* target = state.workspace.Find(statement.target);
    bool readsSeries = false;
    ForEachSeries(statement.value, [&](const std::string&) { readsSeries = true; });
    const bool extended =
        (readsSeries ? ReadsOnlyExtended(statement.value, state.workspace)
                     : sample->Size() <= static_cast<long long>(kExtendedPrecisionObservations)) &&
        (!target || target->IsExtended());
    const PeriodRange span = sample->Span();
    if (target && !target->IsEmpty() &&
        std::max(span.last, target->Last()) - std::min(span.first, target->First()) >=
            kMaxPeriods) {
        ReportError(state, statement.line,
                    statement.target + " would span more than " + std::to_string(kMaxPeriods) +
                        " periods; choose a sample nearer to its data");
        return;
    }
    if (!target || target->IsExtended() != extended) {
        // A new series (or one changing precision) starts as the old values, if any, over
        // the sample's span; the periods in the sample are then computed in order.
        const std::size_t size = static_cast<std::size_t>(span.last - span.first + 1);
        Series fresh =
            extended ? Series::FromValues(span.first, std::vector<Real>(size, kMissing))
                     : Series::FromValues(
                           span.first,
                           std::vector<double>(size, std::numeric_limits<double>::quiet_NaN()));
        if (target && !target->IsEmpty())
            for (long long p = target->First(); p <= target->Last(); ++p)
                fresh.Set(p, target->At(p));
        state.workspace.Put(statement.target, std::move(fresh));
        target = state.workspace.Find(statement.target);
    }
    // Observation by observation, so that a lag of the series being made sees the values
    // just computed (GENR Y = Y(-1) + 1 counts up).
    for (const PeriodRange& range : sample->ranges)
        for (long long p = range.first; p <= range.last; ++p)
            target->Set(p, Evaluate(statement.value, state.workspace, p, state.PanelUnits()));
}

}  // namespace tamvel::engine
