#pragma once
// Numbers as TSP prints them: a given number of significant digits, no leading zero before
// the point (.992999), very small or large values with a mantissa below one and an
// exponent (.429797E-03), a missing value as a lone point.

#include <string>

#include "engine/regression.h"

namespace tamvel::engine {

/// The default number of significant digits, and the most that OPTIONS SIGNIF= allows.
inline constexpr int kDefaultSignificantDigits = 6;
inline constexpr int kMaxSignificantDigits = 15;

/// `value` with `digits` significant digits.
std::string FormatNumber(Real value, int digits);

/// A p-value in brackets with three decimals: [.068].
std::string FormatPValue(Real value);

}  // namespace tamvel::engine
