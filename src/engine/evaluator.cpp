#include "engine/evaluator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tamvel::engine {
namespace {

constexpr Real kMissing = std::numeric_limits<Real>::quiet_NaN();

Real Truth(bool value) { return value ? 1 : 0; }

Real ApplyFunction(const std::string& name, Real x) {
    if (IsMissing(x)) return kMissing;
    if (name == "LOG") return x > 0 ? std::log(x) : kMissing;
    if (name == "EXP") return std::exp(x);
    if (name == "SQRT") return x >= 0 ? std::sqrt(x) : kMissing;
    return std::fabs(x);  // ABS
}

Real ApplyBinary(const std::string& op, Real a, Real b) {
    if (IsMissing(a) || IsMissing(b)) return kMissing;
    if (op == "+") return a + b;
    if (op == "-") return a - b;
    if (op == "*") return a * b;
    if (op == "/") return b == 0 ? kMissing : a / b;
    if (op == "**") {
        const Real result = std::pow(a, b);
        return std::isfinite(result) ? result : kMissing;
    }
    if (op == "==") return Truth(a == b);
    if (op == "<>") return Truth(a != b);
    if (op == "<") return Truth(a < b);
    if (op == "<=") return Truth(a <= b);
    if (op == ">") return Truth(a > b);
    if (op == ">=") return Truth(a >= b);
    if (op == "&") return Truth(a != 0 && b != 0);
    return Truth(a != 0 || b != 0);  // |
}

}  // namespace

Real Evaluate(const Expression& expression, const Workspace& workspace, long long period,
              const Series* unit) {
    switch (expression.kind) {
        case Expression::Kind::Number:
            return expression.number;
        case Expression::Kind::Series: {
            const Series* series = workspace.Find(expression.name);
            return series ? LaggedValue(*series, period, expression.lag, unit) : kMissing;
        }
        case Expression::Kind::Function:
            return ApplyFunction(expression.name,
                                 Evaluate(expression.operands[0], workspace, period, unit));
        case Expression::Kind::Unary: {
            const Real x = Evaluate(expression.operands[0], workspace, period, unit);
            if (IsMissing(x)) return kMissing;
            return expression.op == "-" ? -x : Truth(x == 0);
        }
        case Expression::Kind::Binary:
            return ApplyBinary(expression.op,
                               Evaluate(expression.operands[0], workspace, period, unit),
                               Evaluate(expression.operands[1], workspace, period, unit));
    }
    return kMissing;
}

std::vector<std::string> UnknownSeries(const Expression& expression, const Workspace& workspace) {
    std::vector<std::string> unknown;
    ForEachSeries(expression, [&](const std::string& name) {
        if (!workspace.Find(name) &&
            std::find(unknown.begin(), unknown.end(), name) == unknown.end())
            unknown.push_back(name);
    });
    return unknown;
}

bool ReadsOnlyExtended(const Expression& expression, const Workspace& workspace) {
    bool extended = true;
    ForEachSeries(expression, [&](const std::string& name) {
        const Series* series = workspace.Find(name);
        if (series && !series->IsExtended()) extended = false;
    });
    return extended;
}

}  // namespace tamvel::engine
