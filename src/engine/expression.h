#pragma once
// A GENR expression as a tree: numbers, series (with a lag or lead), functions, and the
// unary and binary operators of TSP's expression language.

#include <string>
#include <vector>

#include "engine/regression.h"

namespace tamvel::engine {

/// One node of an expression.
struct Expression {
    enum class Kind {
        Number,    ///< `number`
        Series,    ///< `name` shifted by `lag` (X(-1): lag -1, a lead is positive)
        Function,  ///< `name` (LOG, EXP, SQRT, ABS) of operands[0]
        Unary,     ///< `op` ("-" or "!") of operands[0]
        Binary,    ///< operands[0] `op` operands[1]: + - * / ** == <> < <= > >= & |
    };
    Kind kind = Kind::Number;
    Real number = 0;
    /// Series and functions: the name in upper case (ASCII letters folded).
    std::string name;
    int lag = 0;
    std::string op;
    std::vector<Expression> operands;
};

/// Calls `visit` with the name of every series the expression reads.
template <class Visit>
void ForEachSeries(const Expression& expression, Visit&& visit) {
    if (expression.kind == Expression::Kind::Series) visit(expression.name);
    for (const Expression& operand : expression.operands) ForEachSeries(operand, visit);
}

}  // namespace tamvel::engine
