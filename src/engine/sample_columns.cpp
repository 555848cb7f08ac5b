#include "engine/sample_columns.h"

#include <algorithm>
#include <cmath>

namespace tamvel::engine {
namespace {

template <class T>
std::span<const T> View(const Series& series, long long first, long long last) {
    if constexpr (std::is_same_v<T, Real>)
        return series.ExtendedView(first, last);
    else
        return series.DoubleView(first, last);
}

template <class T>
SampleColumns<T> Gather(const std::vector<SeriesRef>& refs, const Workspace& workspace,
                        const Sample& sample, const Series* unit) {
    constexpr bool kExtended = std::is_same_v<T, Real>;
    SampleColumns<T> out;
    std::vector<const Series*> series;
    for (const SeriesRef& ref : refs) series.push_back(workspace.Find(ref.name));

    // Which series have missing values in the sample (lags count as the series they shift).
    const std::vector<long long> periods = sample.Periods();
    std::vector<bool> anyMissing(refs.size(), false);
    for (std::size_t j = 0; j < refs.size(); ++j) {
        const bool direct =
            sample.ranges.size() == 1 && refs[j].lag == 0 && series[j]->IsExtended() == kExtended;
        if (direct) {
            // A scan of the values themselves: the common case of large data.
            const std::span<const T> values =
                View<T>(*series[j], sample.ranges.front().first, sample.ranges.front().last);
            anyMissing[j] =
                std::any_of(values.begin(), values.end(), [](T v) { return std::isnan(v); });
        } else {
            anyMissing[j] = std::any_of(periods.begin(), periods.end(), [&](long long p) {
                return IsMissing(LaggedValue(*series[j], p, refs[j].lag, unit));
            });
        }
        if (anyMissing[j] && std::find(out.withMissing.begin(), out.withMissing.end(),
                                       refs[j].name) == out.withMissing.end())
            out.withMissing.push_back(refs[j].name);
    }

    const bool viewable =
        sample.ranges.size() == 1 &&
        std::none_of(anyMissing.begin(), anyMissing.end(), [](bool b) { return b; }) &&
        std::all_of(refs.begin(), refs.end(), [](const SeriesRef& r) { return r.lag == 0; }) &&
        std::all_of(series.begin(), series.end(),
                    [](const Series* s) { return s->IsExtended() == kExtended; });
    if (viewable) {
        const PeriodRange range = sample.ranges.front();
        for (const Series* s : series) out.columns.push_back(View<T>(*s, range.first, range.last));
        out.observations = periods.size();
        out.periods = periods;
        return out;
    }

    out.storage.assign(refs.size(), {});
    for (auto& column : out.storage) column.reserve(periods.size());
    std::vector<Real> row(refs.size());
    for (long long p : periods) {
        bool complete = true;
        for (std::size_t j = 0; j < refs.size() && complete; ++j) {
            row[j] = LaggedValue(*series[j], p, refs[j].lag, unit);
            complete = !IsMissing(row[j]);
        }
        if (!complete) continue;
        for (std::size_t j = 0; j < refs.size(); ++j)
            out.storage[j].push_back(static_cast<T>(row[j]));
        out.periods.push_back(p);
    }
    out.observations = out.periods.size();
    for (const auto& column : out.storage) out.columns.emplace_back(column);
    return out;
}

}  // namespace

std::vector<std::size_t> GapsBefore(const std::vector<long long>& periods) {
    std::vector<std::size_t> gaps;
    for (std::size_t i = 1; i < periods.size(); ++i)
        if (periods[i] != periods[i - 1] + 1) gaps.push_back(i);
    return gaps;
}

std::string DisplayName(const SeriesRef& ref) {
    if (ref.lag == 0) return ref.name;
    return ref.name + "(" + (ref.lag > 0 ? "+" : "") + std::to_string(ref.lag) + ")";
}

std::optional<std::string> CheckCoverage(const std::vector<SeriesRef>& refs,
                                         const Workspace& workspace, const Sample& sample,
                                         Frequency frequency) {
    for (const SeriesRef& ref : refs) {
        if (ref.lag != 0) continue;
        const Series* series = workspace.Find(ref.name);
        const bool covered =
            std::all_of(sample.ranges.begin(), sample.ranges.end(),
                        [&](const PeriodRange& r) { return series->Covers(r.first, r.last); });
        if (covered) continue;
        if (series->IsEmpty()) return "the series " + ref.name + " holds no observations";
        return "the sample (SMPL " + FormatSample(sample, frequency) +
               ") lies outside the data: " + ref.name + " holds " +
               FormatPeriod(series->First(), frequency) + " to " +
               FormatPeriod(series->Last(), frequency) + "; change SMPL to periods within them";
    }
    return std::nullopt;
}

bool AllExtended(const std::vector<SeriesRef>& refs, const Workspace& workspace) {
    return std::all_of(refs.begin(), refs.end(), [&](const SeriesRef& ref) {
        return workspace.Find(ref.name)->IsExtended();
    });
}

SampleColumns<Real> GatherExtended(const std::vector<SeriesRef>& refs, const Workspace& workspace,
                                   const Sample& sample, const Series* unit) {
    return Gather<Real>(refs, workspace, sample, unit);
}

SampleColumns<double> GatherDouble(const std::vector<SeriesRef>& refs, const Workspace& workspace,
                                   const Sample& sample, const Series* unit) {
    return Gather<double>(refs, workspace, sample, unit);
}

}  // namespace tamvel::engine
