#include "engine/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tamvel::engine {
namespace {

// Drops the zero before the point: 0.5 -> .5, -0.5 -> -.5.
std::string DropLeadingZero(std::string text) {
    const std::size_t at = text[0] == '-' ? 1 : 0;
    if (text.size() > at + 1 && text[at] == '0' && text[at + 1] == '.') text.erase(at, 1);
    return text;
}

// Drops zeros after the point, and a point left last ("2.50000" -> "2.5", "27." -> "27").
std::string DropTrailingZeros(std::string text) {
    if (text.find('.') == std::string::npos) return text;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

std::string FormatNumber(Real value, int digits) {
    if (std::isnan(value)) return ".";
    if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
    if (value == 0) return "0";
    char buffer[96];
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    if (exponent >= -3 && exponent < digits) {
        // Fixed notation with `digits` significant digits.
        const int decimals = std::max(0, digits - 1 - exponent);
        std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, value);
        std::string text = DropTrailingZeros(buffer);
        // Rounding may carry into a new digit (9.999995 -> 10.00000): still fine to show.
        return DropLeadingZero(text == "-0" ? "0" : text);
    }
    // Mantissa in [0.1, 1) and a two-digit exponent: .429797E-03.
    std::snprintf(buffer, sizeof buffer, "%.*Le", digits - 1, value);
    std::string text = buffer;  // d.ddddde+XX
    const std::size_t e = text.find('e');
    const int printedExponent = std::atoi(text.c_str() + e + 1) + 1;
    std::string mantissa = text.substr(0, e);
    const bool negative = mantissa[0] == '-';
    if (negative) mantissa.erase(0, 1);
    std::string digitsOnly;
    for (char c : mantissa)
        if (c != '.') digitsOnly.push_back(c);
    while (digitsOnly.size() > 1 && digitsOnly.back() == '0') digitsOnly.pop_back();
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", printedExponent < 0 ? '-' : '+',
                  std::abs(printedExponent));
    return std::string(negative ? "-" : "") + "." + digitsOnly + exponentText;
}

std::string FormatPValue(Real value) {
    if (std::isnan(value)) return "[.]";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3Lf", value);
    return "[" + DropLeadingZero(buffer) + "]";
}

}  // namespace tamvel::engine
