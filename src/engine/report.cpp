#include "engine/report.h"

#include <algorithm>

#include "engine/number_format.h"

namespace tamvel::engine {
namespace {

std::string PadLeft(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string PadRight(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::size_t WidestLabel(const std::vector<LabelledValue>& items) {
    std::size_t width = 0;
    for (const LabelledValue& item : items) width = std::max(width, item.label.size());
    return width;
}

std::size_t WidestValue(const std::vector<LabelledValue>& items) {
    std::size_t width = 0;
    for (const LabelledValue& item : items) width = std::max(width, item.value.size());
    return width;
}

// Right-trims a line: the layout pads, the file keeps no blanks at line ends.
std::string TrimRight(std::string line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace

void AppendEquationHeading(ReportLines& out, const EquationHeading& heading,
                           std::size_t observations) {
    const std::string title = "Equation " + std::to_string(heading.number);
    out.push_back("");
    out.push_back(std::string(30, ' ') + title);
    out.push_back(std::string(30, ' ') + std::string(title.size(), '='));
    out.push_back("");
    out.push_back("Method of estimation = " + heading.method);
    out.push_back("");
    out.push_back("Dependent variable: " + heading.dependent);
    out.push_back("Current sample:  " + heading.sample);
    out.push_back("Number of observations:  " + std::to_string(observations));
    out.push_back("");
}

void AppendStatistics(ReportLines& out, const std::vector<LabelledValue>& left,
                      const std::vector<LabelledValue>& right) {
    const std::size_t leftLabel = WidestLabel(left);
    const std::size_t leftValue = std::max<std::size_t>(WidestValue(left), 10);
    const std::size_t rightLabel = WidestLabel(right);
    const std::size_t rows = std::max(left.size(), right.size());
    for (std::size_t i = 0; i < rows; ++i) {
        std::string line;
        if (i < left.size())
            line = PadLeft(left[i].label, leftLabel) + " = " + PadRight(left[i].value, leftValue);
        else
            line = std::string(leftLabel + 3 + leftValue, ' ');
        if (i < right.size())
            line += "   " + PadLeft(right[i].label, rightLabel) + " = " + right[i].value;
        out.push_back(TrimRight(line));
    }
    out.push_back("");
}

void OlsStatistics(const OlsResult& fit, int digits, std::vector<LabelledValue>& left,
                   std::vector<LabelledValue>& right) {
    auto number = [&](Real value) { return FormatNumber(value, digits); };
    left = SummaryStatistics(fit, digits);
    right = {{"Durbin-Watson statistic", number(fit.durbinWatson)}};
    if (fit.fStatistic) {
        std::string value = number(*fit.fStatistic);
        if (fit.fPValue) value += " " + FormatPValue(*fit.fPValue);
        right.push_back({"F (zero slopes)", value});
    }
    right.push_back({"Log likelihood", number(fit.logLikelihood)});
}

void AppendCoefficientTable(ReportLines& out, const std::vector<std::string>& names,
                            const std::vector<Coefficient>& coefficients, int digits) {
    std::size_t nameWidth = 10;
    for (const std::string& name : names) nameWidth = std::max(nameWidth, name.size() + 2);
    const std::size_t width = static_cast<std::size_t>(std::max(14, digits + 9));
    out.push_back(TrimRight(std::string(nameWidth, ' ') + PadLeft("Estimated", width) +
                            PadLeft("Standard", width)));
    out.push_back(TrimRight(PadRight("Variable", nameWidth) + PadLeft("Coefficient", width) +
                            PadLeft("Error", width) + PadLeft("t-statistic", width) +
                            PadLeft("P-value", 10)));
    for (std::size_t i = 0; i < coefficients.size() && i < names.size(); ++i) {
        const Coefficient& c = coefficients[i];
        out.push_back(PadRight(names[i], nameWidth) +
                      PadLeft(FormatNumber(c.estimate, digits), width) +
                      PadLeft(FormatNumber(c.standardError, digits), width) +
                      PadLeft(FormatNumber(c.tStatistic, digits), width) +
                      PadLeft(FormatPValue(c.pValue), 10));
    }
    out.push_back("");
}

void AppendTable(ReportLines& out, const std::string& corner,
                 const std::vector<std::string>& headings, const std::vector<std::string>& rowNames,
                 const std::vector<std::vector<std::string>>& cells) {
    std::size_t nameWidth = corner.size() + 2;
    for (const std::string& name : rowNames) nameWidth = std::max(nameWidth, name.size() + 2);
    std::size_t width = 12;
    for (const std::string& heading : headings) width = std::max(width, heading.size() + 2);
    for (const auto& row : cells)
        for (const std::string& cell : row) width = std::max(width, cell.size() + 2);
    // At most six numeric columns side by side; more go into further blocks.
    constexpr std::size_t kColumnsPerBlock = 6;
    for (std::size_t from = 0; from < headings.size(); from += kColumnsPerBlock) {
        const std::size_t to = std::min(headings.size(), from + kColumnsPerBlock);
        std::string line = PadRight(corner, nameWidth);
        for (std::size_t j = from; j < to; ++j) line += PadLeft(headings[j], width);
        out.push_back(TrimRight(line));
        for (std::size_t i = 0; i < rowNames.size(); ++i) {
            line = PadRight(rowNames[i], nameWidth);
            for (std::size_t j = from; j < to; ++j)
                line += PadLeft(j < cells[i].size() ? cells[i][j] : "", width);
            out.push_back(TrimRight(line));
        }
        out.push_back("");
    }
}

}  // namespace tamvel::engine
