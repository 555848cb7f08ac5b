#pragma once
// Series and the workspace that holds them by name. A series holds consecutive periods
// from its first one; a missing value is NaN. Small data sets are kept in extended
// precision (Real) so that powers made by GENR keep their digits; large ones in double,
// which halves their memory.

#include <cmath>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/regression.h"

namespace tamvel::engine {

/// One series.
class Series {
  public:
    /// An empty series of the given precision.
    static Series Empty(bool extended);
    /// A series of `values` from period `first`, taken over without a copy.
    static Series FromValues(long long first, std::vector<Real> values);
    static Series FromValues(long long first, std::vector<double> values);

    /// True when values are kept in extended precision.
    bool IsExtended() const { return m_extended; }
    /// True when the series has no periods at all.
    bool IsEmpty() const { return Size() == 0; }
    /// First and last period held (meaningless when empty).
    long long First() const { return m_first; }
    long long Last() const { return m_first + static_cast<long long>(Size()) - 1; }
    /// True when every period from `first` to `last` is held.
    bool Covers(long long first, long long last) const;
    /// The value at a period; NaN (missing) when the period is not held.
    Real At(long long period) const;
    /// Sets the value at a period, holding more periods (missing) where needed.
    void Set(long long period, Real value);
    /// The values of periods `first` to `last`, which must be held.
    std::span<const Real> ExtendedView(long long first, long long last) const;
    std::span<const double> DoubleView(long long first, long long last) const;

  private:
    std::size_t Size() const { return m_extended ? m_wide.size() : m_narrow.size(); }

    bool m_extended = true;
    long long m_first = 0;
    std::vector<Real> m_wide;
    std::vector<double> m_narrow;
};

/// The series of a run, by upper-case name.
class Workspace {
  public:
    /// The series of that name, or null.
    const Series* Find(const std::string& name) const;
    Series* Find(const std::string& name);
    /// Stores a series under a name, replacing any of that name.
    void Put(const std::string& name, Series series);

  private:
    std::map<std::string, Series> m_series;
};

/// The value `lag` periods away from `period` (negative: earlier). With panel data, `unit`
/// is the series that tells the individuals apart: a lag or lead that reaches another
/// individual gives a missing value, so that lags stay within an individual.
Real LaggedValue(const Series& series, long long period, int lag, const Series* unit);

/// True for a missing value.
inline bool IsMissing(Real value) { return std::isnan(value); }

}  // namespace tamvel::engine
