#include "engine/period.h"

#include <algorithm>

namespace tamvel::engine {
namespace {

long long PeriodsPerYear(Frequency frequency) {
    switch (frequency) {
        case Frequency::Quarterly:
            return 4;
        case Frequency::Monthly:
            return 12;
        default:
            return 1;
    }
}

// Floor division, so that periods before year 0 still format.
long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

long long Sample::Size() const {
    long long size = 0;
    for (const PeriodRange& range : ranges) size += range.last - range.first + 1;
    return size;
}

std::vector<long long> Sample::Periods() const {
    std::vector<long long> periods;
    periods.reserve(static_cast<std::size_t>(Size()));
    for (const PeriodRange& range : ranges)
        for (long long p = range.first; p <= range.last; ++p) periods.push_back(p);
    return periods;
}

PeriodRange Sample::Span() const {
    PeriodRange span{ranges.front().first, ranges.front().last};
    for (const PeriodRange& range : ranges) {
        span.first = std::min(span.first, range.first);
        span.last = std::max(span.last, range.last);
    }
    return span;
}

std::optional<long long> ToPeriod(const PeriodText& text, Frequency frequency, std::string& error) {
    constexpr long long kLimit = 1000000000;  // keeps every sum of periods far from overflow
    const long long perYear = PeriodsPerYear(frequency);
    if (text.major < 0 || text.major > kLimit) {
        error = "the period " + std::to_string(text.major) + " is out of range";
        return std::nullopt;
    }
    if (perYear == 1) {
        if (text.minor) {
            error = frequency == Frequency::Annual
                        ? "annual periods are years, as in SMPL 1976 2003;"
                        : "undated observations are numbers, as in SMPL 1 150; (FREQ Q or M "
                          "for periods such as 1975:1)";
            return std::nullopt;
        }
        return text.major;
    }
    const std::string example =
        frequency == Frequency::Quarterly ? "1975:1 2003:4" : "1976:1 2003:12";
    if (!text.minor) {
        error = "give the " + std::string(frequency == Frequency::Quarterly ? "quarter" : "month") +
                " of each period, as in SMPL " + example + ";";
        return std::nullopt;
    }
    if (*text.minor < 1 || *text.minor > perYear) {
        error = std::to_string(text.major) + ":" + std::to_string(*text.minor) + " is not a " +
                (frequency == Frequency::Quarterly ? "quarter (1 to 4)" : "month (1 to 12)");
        return std::nullopt;
    }
    return text.major * perYear + (*text.minor - 1);
}

std::string FormatPeriod(long long period, Frequency frequency) {
    const long long perYear = PeriodsPerYear(frequency);
    if (perYear == 1) return std::to_string(period);
    const long long year = FloorDiv(period, perYear);
    return std::to_string(year) + ":" + std::to_string(period - year * perYear + 1);
}

std::string FormatSample(const Sample& sample, Frequency frequency) {
    std::string text;
    for (const PeriodRange& range : sample.ranges) {
        if (!text.empty()) text += ", ";
        text += FormatPeriod(range.first, frequency) + " to " + FormatPeriod(range.last, frequency);
    }
    return text;
}

}  // namespace tamvel::engine
