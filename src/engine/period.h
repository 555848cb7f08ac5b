#pragma once
// Frequencies, periods and samples. A period is a whole number on one axis per frequency:
// the year (annual), year*4 + quarter-1 (quarterly), year*12 + month-1 (monthly), or the
// observation number (undated and panel data). A sample is a list of ranges of periods.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/statement.h"

namespace tamvel::engine {

/// The frequency set by FREQ.
enum class Frequency { Undated, Annual, Quarterly, Monthly };

/// One range of periods, first and last included.
struct PeriodRange {
    long long first = 0;
    long long last = 0;
};

/// The current sample: its ranges in the order SMPL gave them.
struct Sample {
    std::vector<PeriodRange> ranges;

    /// Number of periods in all ranges.
    long long Size() const;
    /// The periods in order.
    std::vector<long long> Periods() const;
    /// The first and last period of all ranges.
    PeriodRange Span() const;
};

/// The period a SMPL argument names, or a message saying why it names none.
std::optional<long long> ToPeriod(const PeriodText& text, Frequency frequency, std::string& error);

/// A period as TSP writes it: 1975, 1975:1, 150.
std::string FormatPeriod(long long period, Frequency frequency);

/// A sample as TSP writes it: "1975:1 to 2003:4", ranges separated by ", ".
std::string FormatSample(const Sample& sample, Frequency frequency);

}  // namespace tamvel::engine
