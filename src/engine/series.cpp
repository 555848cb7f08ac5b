#include "engine/series.h"

#include <limits>

namespace tamvel::engine {

Series Series::Empty(bool extended) {
    Series series;
    series.m_extended = extended;
    return series;
}

Series Series::FromValues(long long first, std::vector<Real> values) {
    Series series;
    series.m_first = first;
    series.m_wide = std::move(values);
    return series;
}

Series Series::FromValues(long long first, std::vector<double> values) {
    Series series;
    series.m_extended = false;
    series.m_first = first;
    series.m_narrow = std::move(values);
    return series;
}

bool Series::Covers(long long first, long long last) const {
    return !IsEmpty() && first >= m_first && last <= Last();
}

Real Series::At(long long period) const {
    if (!Covers(period, period)) return std::numeric_limits<Real>::quiet_NaN();
    const std::size_t i = static_cast<std::size_t>(period - m_first);
    return m_extended ? m_wide[i] : static_cast<Real>(m_narrow[i]);
}

void Series::Set(long long period, Real value) {
    auto place = [&](auto& values, auto missing) {
        using Value = typename std::decay_t<decltype(values)>::value_type;
        if (values.empty()) {
            m_first = period;
            values.push_back(static_cast<Value>(value));
            return;
        }
        if (period < m_first) {
            values.insert(values.begin(), static_cast<std::size_t>(m_first - period), missing);
            m_first = period;
        } else if (period > Last()) {
            values.resize(static_cast<std::size_t>(period - m_first) + 1, missing);
        }
        values[static_cast<std::size_t>(period - m_first)] = static_cast<Value>(value);
    };
    if (m_extended)
        place(m_wide, std::numeric_limits<Real>::quiet_NaN());
    else
        place(m_narrow, std::numeric_limits<double>::quiet_NaN());
}

std::span<const Real> Series::ExtendedView(long long first, long long last) const {
    return std::span<const Real>(m_wide).subspan(static_cast<std::size_t>(first - m_first),
                                                 static_cast<std::size_t>(last - first + 1));
}

std::span<const double> Series::DoubleView(long long first, long long last) const {
    return std::span<const double>(m_narrow).subspan(static_cast<std::size_t>(first - m_first),
                                                     static_cast<std::size_t>(last - first + 1));
}

Real LaggedValue(const Series& series, long long period, int lag, const Series* unit) {
    if (lag != 0 && unit && unit->At(period) != unit->At(period + lag))
        return std::numeric_limits<Real>::quiet_NaN();
    return series.At(period + lag);
}

const Series* Workspace::Find(const std::string& name) const {
    const auto found = m_series.find(name);
    return found == m_series.end() ? nullptr : &found->second;
}

Series* Workspace::Find(const std::string& name) {
    const auto found = m_series.find(name);
    return found == m_series.end() ? nullptr : &found->second;
}

void Workspace::Put(const std::string& name, Series series) {
    m_series.insert_or_assign(name, std::move(series));
}

}  // namespace tamvel::engine
