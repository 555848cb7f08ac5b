#include "engine/parser.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <deque>
#include <limits>
#include <utility>

#include "engine/lexer.h"
#include "platform/text.h"

namespace tamvel::engine {
namespace {

// Expressions nest no deeper than this, and hold no more nodes than that; a bigger one is
// reported rather than recursed into (evaluation and destruction recurse too).
constexpr int kMaxNesting = 200;
constexpr int kMaxNodes = 20000;

constexpr std::array<std::pair<std::string_view, Command>, 14> kCommands{{
    {"OPTIONS", Command::Options},
    {"FREQ", Command::Freq},
    {"SMPL", Command::Smpl},
    {"READ", Command::Read},
    {"GENR", Command::Genr},
    {"PRINT", Command::Print},
    {"MSD", Command::Msd},
    {"CORR", Command::Corr},
    {"OLSQ", Command::Olsq},
    {"PANEL", Command::Panel},
    {"END", Command::End},
    {"STOP", Command::Stop},
    {"QUIT", Command::Quit},
    {"EXIT", Command::Stop},
}};

constexpr std::array<std::string_view, 4> kFunctions{"LOG", "EXP", "SQRT", "ABS"};

std::string Upper(std::string_view name) {
    std::string upper(name);
    for (std::size_t i = 0; i < upper.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(upper[i]);
        if (IsCp932LeadByte(c))
            ++i;
        else if (c >= 'a' && c <= 'z')
            upper[i] = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// A syntax error: the message and the line it belongs to.
struct SyntaxError {
    int line;
    std::string text;
};

class Parser {
  public:
    explicit Parser(std::string_view text) : m_lexer(text) {}

    ParsedProgram Parse() {
        ParsedProgram parsed;
        bool inLoadSection = false;
        while (Peek().kind != TokenKind::End) {
            if (Peek().kind == TokenKind::Semicolon) {
                Next();  // an empty statement
                continue;
            }
            Statement statement;
            std::optional<SyntaxError> error = ParseStatement(statement);
            if (error) {
                parsed.errors.push_back({Severity::Error, error->line, error->text});
                SkipStatement();
                continue;
            }
            (inLoadSection ? parsed.load : parsed.program).push_back(std::move(statement));
            if (!inLoadSection && parsed.program.back().command == Command::End)
                inLoadSection = true;
        }
        for (Diagnostic& error : m_lexer.TakeErrors()) parsed.errors.push_back(std::move(error));
        std::stable_sort(parsed.errors.begin(), parsed.errors.end(),
                         [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
        return parsed;
    }

  private:
    // The token `ahead` places on; lexed on demand, at most two are held.
    const Token& Peek(std::size_t ahead = 0) {
        while (m_ahead.size() <= ahead) m_ahead.push_back(m_lexer.Next());
        return m_ahead[ahead];
    }
    // Moves on by one token and gives the one passed, valid until the next call.
    const Token& Next() {
        Peek();
        m_passed = std::move(m_ahead.front());
        m_ahead.pop_front();
        return m_passed;
    }
    bool IsSymbol(std::string_view symbol, std::size_t ahead = 0) {
        return Peek(ahead).kind == TokenKind::Symbol && Peek(ahead).text == symbol;
    }
    bool AtStatementEnd() {
        return Peek().kind == TokenKind::Semicolon || Peek().kind == TokenKind::End;
    }

    // Skips past the next ';' (or to the end).
    void SkipStatement() {
        while (!AtStatementEnd()) Next();
        if (Peek().kind == TokenKind::Semicolon) Next();
    }

    SyntaxError ErrorHere(std::string text) {
        std::string found;
        switch (Peek().kind) {
            case TokenKind::End:
                found = "the end of the file";
                break;
            case TokenKind::Semicolon:
                found = "';'";
                break;
            case TokenKind::String:
                found = "'" + Peek().text + "'";
                break;
            default:
                found = Peek().text;
        }
        return {Peek().line, "syntax error: " + text + ", found " + found};
    }

    std::optional<SyntaxError> ExpectStatementEnd() {
        if (Peek().kind == TokenKind::Semicolon) {
            Next();
            return std::nullopt;
        }
        if (Peek().kind == TokenKind::End)
            return SyntaxError{Peek().line, "syntax error: the statement has no closing ';'"};
        return ErrorHere("expected ';'");
    }

    std::optional<SyntaxError> ParseStatement(Statement& statement) {
        const Token& first = Peek();
        statement.line = first.line;
        if (first.kind != TokenKind::Name) return ErrorHere("expected a command");
        const std::string word = Upper(first.text);
        // NAME = expression; is GENR without its word.
        if (IsSymbol("=", 1)) {
            statement.command = Command::Genr;
            return ParseAssignment(statement);
        }
        const auto* command = std::find_if(kCommands.begin(), kCommands.end(),
                                           [&](const auto& entry) { return entry.first == word; });
        if (command == kCommands.end()) {
            return SyntaxError{
                first.line,
                "unknown command " + first.text +
                    " (this engine runs OPTIONS, FREQ, SMPL, READ, GENR, PRINT, MSD, CORR, "
                    "OLSQ, PANEL, END, STOP and QUIT; an assignment is written NAME = ...;)"};
        }
        statement.command = command->second;
        Next();
        if (statement.command == Command::Genr) return ParseAssignment(statement);
        if (IsSymbol("(")) {
            if (auto error = ParseOptionList(statement.options)) return error;
        }
        switch (statement.command) {
            case Command::Options:
                while (!AtStatementEnd()) {
                    if (IsSymbol(",")) {
                        Next();
                        continue;
                    }
                    if (auto error = ParseOption(statement.options)) return error;
                }
                return ExpectStatementEnd();
            case Command::Smpl:
                return ParseSample(statement);
            case Command::Read:
                return ParseRead(statement);
            case Command::End:
            case Command::Stop:
            case Command::Quit:
                return ExpectStatementEnd();
            default:
                if (auto error = ParseSeriesList(statement.series)) return error;
                return ExpectStatementEnd();
        }
    }

    std::optional<SyntaxError> ParseOption(std::vector<Option>& options) {
        if (Peek().kind != TokenKind::Name) return ErrorHere("expected an option name");
        Option option{Upper(Next().text), std::nullopt};
        if (IsSymbol("=")) {
            Next();
            const Token& value = Peek();
            if (value.kind == TokenKind::Name || value.kind == TokenKind::Number ||
                value.kind == TokenKind::String) {
                option.value = value.kind == TokenKind::Name ? Upper(value.text) : value.text;
                Next();
            } else {
                return ErrorHere("expected the value of option " + option.name);
            }
        }
        options.push_back(std::move(option));
        return std::nullopt;
    }

    std::optional<SyntaxError> ParseOptionList(std::vector<Option>& options) {
        Next();  // (
        while (!IsSymbol(")")) {
            if (AtStatementEnd()) return ErrorHere("expected ')' after the options");
            if (IsSymbol(",")) {
                Next();
                continue;
            }
            if (auto error = ParseOption(options)) return error;
        }
        Next();  // )
        return std::nullopt;
    }

    // A signed whole number in parentheses after a series name: its lag or lead.
    std::optional<SyntaxError> ParseLag(int& lag) {
        Next();  // (
        int sign = 1;
        if (IsSymbol("-") || IsSymbol("+")) sign = Next().text == "-" ? -1 : 1;
        const Token& number = Peek();
        int magnitude = 0;
        const auto [end, ec] =
            std::from_chars(number.text.data(), number.text.data() + number.text.size(), magnitude);
        if (number.kind != TokenKind::Number || ec != std::errc() ||
            end != number.text.data() + number.text.size() || magnitude > 100000)
            return ErrorHere("a lag or lead is a whole number, as in X(-1)");
        Next();
        if (!IsSymbol(")")) return ErrorHere("expected ')' after the lag");
        Next();
        lag = sign * magnitude;
        return std::nullopt;
    }

    std::optional<SyntaxError> ParseSeriesList(std::vector<SeriesRef>& list) {
        while (!AtStatementEnd()) {
            if (IsSymbol(",")) {
                Next();
                continue;
            }
            if (Peek().kind != TokenKind::Name) return ErrorHere("expected the name of a series");
            SeriesRef ref{Upper(Next().text), 0};
            if (IsSymbol("(")) {
                if (auto error = ParseLag(ref.lag)) return error;
            }
            list.push_back(std::move(ref));
        }
        return std::nullopt;
    }

    std::optional<SyntaxError> ParseSample(Statement& statement) {
        while (!AtStatementEnd()) {
            if (IsSymbol(",")) {
                Next();
                continue;
            }
            PeriodText period;
            if (Peek().kind != TokenKind::Number || !WholeNumber(Peek().text, period.major))
                return ErrorHere("expected a period such as 1975, 1975:1 or 150");
            Next();
            if (IsSymbol(":")) {
                Next();
                long long minor = 0;
                if (Peek().kind != TokenKind::Number || !WholeNumber(Peek().text, minor))
                    return ErrorHere("expected the quarter or month after ':'");
                Next();
                period.minor = minor;
            }
            statement.periods.push_back(period);
        }
        if (statement.periods.empty() || statement.periods.size() % 2 != 0)
            return SyntaxError{statement.line,
                               "syntax error: SMPL takes pairs of periods, first and last, as in "
                               "SMPL 1975:1 2003:4;"};
        return ExpectStatementEnd();
    }

    static bool WholeNumber(const std::string& text, long long& value) {
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc() && end == text.data() + text.size();
    }

    std::optional<SyntaxError> ParseRead(Statement& statement) {
        if (auto error = ParseSeriesList(statement.series)) return error;
        for (const SeriesRef& ref : statement.series)
            if (ref.lag != 0)
                return SyntaxError{statement.line, "syntax error: READ takes names without lags"};
        if (auto error = ExpectStatementEnd()) return error;
        const bool fromFile =
            std::any_of(statement.options.begin(), statement.options.end(),
                        [](const Option& option) { return option.name == "FILE"; });
        if (fromFile || statement.series.empty()) return std::nullopt;
        // The data follow the statement, up to the next ';'.
        while (Peek().kind != TokenKind::Semicolon) {
            if (Peek().kind == TokenKind::End)
                return SyntaxError{statement.line,
                                   "syntax error: the data of READ end without ';'"};
            int sign = 1;
            if (IsSymbol("-") || IsSymbol("+")) sign = Next().text == "-" ? -1 : 1;
            if (IsSymbol(".")) {
                Next();
                statement.data.push_back(std::numeric_limits<Real>::quiet_NaN());
                continue;
            }
            Real value = 0;
            if (Peek().kind != TokenKind::Number || !ParseReal(Peek().text, value))
                return ErrorHere(
                    "expected a number in the data of READ (is the ';' after the "
                    "last number missing?)");
            Next();
            statement.data.push_back(sign * value);
        }
        Next();  // ;
        return std::nullopt;
    }

    static bool ParseReal(const std::string& text, Real& value) {
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc() && end == text.data() + text.size();
    }

    std::optional<SyntaxError> ParseAssignment(Statement& statement) {
        if (Peek().kind != TokenKind::Name) return ErrorHere("expected the name of the new series");
        statement.target = Upper(Next().text);
        m_nodes = 0;
        if (!IsSymbol("=")) return ErrorHere("expected '=' after " + statement.target);
        Next();
        if (auto error = ParseExpression(statement.value, 0)) return error;
        return ExpectStatementEnd();
    }

    // Levels, loosest first: | & ! comparisons + - * / unary-minus ** primary.
    std::optional<SyntaxError> ParseExpression(Expression& out, int depth) {
        return ParseBinaryLevel(out, depth, 0);
    }

    std::optional<SyntaxError> ParseBinaryLevel(Expression& out, int depth, int level) {
        static const std::vector<std::vector<std::string_view>> kLevels = {
            {"|"}, {"&"}, {}, {"==", "=", "<>", "<", "<=", ">", ">="}, {"+", "-"}, {"*", "/"}};
        if (level == 2) {  // NOT
            if (IsSymbol("!")) {
                Next();
                Expression operand;
                if (depth > kMaxNesting) return ErrorHere("the expression is nested too deeply");
                if (auto error = ParseBinaryLevel(operand, depth + 1, 2)) return error;
                out = MakeUnary("!", std::move(operand));
                return std::nullopt;
            }
            return ParseBinaryLevel(out, depth, 3);
        }
        if (level == static_cast<int>(kLevels.size())) return ParseUnary(out, depth);
        if (auto error = ParseBinaryLevel(out, depth, level + 1)) return error;
        for (;;) {
            const auto& symbols = kLevels[static_cast<std::size_t>(level)];
            const auto match = std::find_if(symbols.begin(), symbols.end(),
                                            [&](std::string_view s) { return IsSymbol(s); });
            if (match == symbols.end()) return std::nullopt;
            Next();
            Expression right;
            if (auto error = ParseBinaryLevel(right, depth, level + 1)) return error;
            out = MakeBinary(*match == "=" ? "==" : std::string(*match), std::move(out),
                             std::move(right));
        }
    }

    std::optional<SyntaxError> ParseUnary(Expression& out, int depth) {
        if (depth > kMaxNesting) return ErrorHere("the expression is nested too deeply");
        if (IsSymbol("-") || IsSymbol("+")) {
            const bool negate = Next().text == "-";
            Expression operand;
            if (auto error = ParseUnary(operand, depth + 1)) return error;
            out = negate ? MakeUnary("-", std::move(operand)) : std::move(operand);
            return std::nullopt;
        }
        return ParsePower(out, depth);
    }

    std::optional<SyntaxError> ParsePower(Expression& out, int depth) {
        if (auto error = ParsePrimary(out, depth)) return error;
        if (!IsSymbol("**")) return std::nullopt;
        Next();
        Expression exponent;  // right-associative; the exponent may carry a sign
        if (auto error = ParseUnary(exponent, depth + 1)) return error;
        out = MakeBinary("**", std::move(out), std::move(exponent));
        return std::nullopt;
    }

    std::optional<SyntaxError> ParsePrimary(Expression& out, int depth) {
        if (depth > kMaxNesting) return ErrorHere("the expression is nested too deeply");
        if (++m_nodes > kMaxNodes) return ErrorHere("the expression is too long");
        const Token& token = Peek();
        if (token.kind == TokenKind::Number) {
            out.kind = Expression::Kind::Number;
            if (!ParseReal(token.text, out.number)) return ErrorHere("the number is out of range");
            Next();
            return std::nullopt;
        }
        if (IsSymbol("(")) {
            Next();
            if (auto error = ParseExpression(out, depth + 1)) return error;
            if (!IsSymbol(")")) return ErrorHere("expected ')'");
            Next();
            return std::nullopt;
        }
        if (token.kind != TokenKind::Name) return ErrorHere("expected a number, a series or '('");
        const std::string name = Upper(token.text);
        Next();
        const bool isFunction =
            std::find(kFunctions.begin(), kFunctions.end(), name) != kFunctions.end();
        if (isFunction && IsSymbol("(")) {
            Next();
            Expression argument;
            if (auto error = ParseExpression(argument, depth + 1)) return error;
            if (!IsSymbol(")")) return ErrorHere("expected ')' after the argument of " + name);
            Next();
            out = Expression{};
            out.kind = Expression::Kind::Function;
            out.name = name;
            out.operands.push_back(std::move(argument));
            return std::nullopt;
        }
        out = Expression{};
        out.kind = Expression::Kind::Series;
        out.name = name;
        if (IsSymbol("(")) return ParseLag(out.lag);
        return std::nullopt;
    }

    static Expression MakeUnary(std::string op, Expression operand) {
        Expression e;
        e.kind = Expression::Kind::Unary;
        e.op = std::move(op);
        e.operands.push_back(std::move(operand));
        return e;
    }
    static Expression MakeBinary(std::string op, Expression left, Expression right) {
        Expression e;
        e.kind = Expression::Kind::Binary;
        e.op = std::move(op);
        e.operands.push_back(std::move(left));
        e.operands.push_back(std::move(right));
        return e;
    }

    Lexer m_lexer;
    std::deque<Token> m_ahead;
    Token m_passed;
    int m_nodes = 0;
};

}  // namespace

ParsedProgram ParseProgram(std::string_view text) { return Parser(text).Parse(); }

}  // namespace tamvel::engine
