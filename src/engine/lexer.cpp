#include "engine/lexer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "platform/text.h"

namespace tamvel::engine {
namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsHalfWidthKana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

bool StartsName(unsigned char c) {
    return IsLetter(c) || c == '@' || c == '_' || c == '%' || IsCp932LeadByte(c) ||
           IsHalfWidthKana(c);
}

// Dotted operators, as the symbols the parser knows them by.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kDottedOperators{{
    {"EQ", "=="},
    {"NE", "<>"},
    {"LT", "<"},
    {"LE", "<="},
    {"GT", ">"},
    {"GE", ">="},
    {"AND", "&"},
    {"OR", "|"},
    {"NOT", "!"},
}};

// The symbol of a dotted operator starting at `at` (the first '.'), and its length.
std::pair<std::string_view, std::size_t> DottedOperatorAt(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && IsLetter(static_cast<unsigned char>(text[end]))) ++end;
    if (end == at + 1 || end >= text.size() || text[end] != '.') return {{}, 0};
    const std::string_view word = text.substr(at + 1, end - at - 1);
    for (const auto& [name, symbol] : kDottedOperators)
        if (EqualsNoCase(word, name)) return {symbol, end + 1 - at};
    return {{}, 0};
}

// Length of the number starting at `at` (a digit, or a point before a digit).
std::size_t NumberLength(std::string_view text, std::size_t at) {
    std::size_t end = at;
    auto digits = [&] {
        while (end < text.size() && IsDigit(static_cast<unsigned char>(text[end]))) ++end;
    };
    digits();
    if (end < text.size() && text[end] == '.' && DottedOperatorAt(text, end).second == 0) {
        ++end;
        digits();
    }
    if (end < text.size() && (text[end] == 'E' || text[end] == 'e')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        if (exponent < text.size() && IsDigit(static_cast<unsigned char>(text[exponent]))) {
            end = exponent;
            digits();
        }
    }
    return end - at;
}

std::string DescribeByte(unsigned char c) {
    char buffer[48];
    if (c >= 0x20 && c < 0x7F)
        std::snprintf(buffer, sizeof buffer, "unexpected character '%c'", c);
    else
        std::snprintf(buffer, sizeof buffer, "unexpected byte 0x%02X", c);
    return buffer;
}

}  // namespace

Lexer::Lexer(std::string_view text) : m_text(text) {
    // A byte-order mark that an editor put before the first line is no part of the program.
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF") m_position = 3;
}

Token Lexer::Next() {
    const std::string_view text = m_text;
    std::size_t& i = m_position;
    int& line = m_line;
    auto make = [&](TokenKind kind, std::string tokenText) {
        return Token{kind, std::move(tokenText), line};
    };
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
            ++i;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == 0x1A) {
            ++i;  // 0x1A: the end-of-file mark that old DOS editors leave
        } else if (c == '?') {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (c == ';') {
            ++i;
            return make(TokenKind::Semicolon, ";");
        } else if (StartsName(c)) {
            const std::size_t start = i;
            while (i < text.size()) {
                const unsigned char d = static_cast<unsigned char>(text[i]);
                if (IsCp932LeadByte(d) && i + 1 < text.size() && text[i + 1] != '\n')
                    i += 2;
                else if (StartsName(d) || IsDigit(d) || d == '$' || d == '#')
                    ++i;
                else
                    break;
            }
            return make(TokenKind::Name, std::string(text.substr(start, i - start)));
        } else if (IsDigit(c) || (c == '.' && i + 1 < text.size() &&
                                  IsDigit(static_cast<unsigned char>(text[i + 1])))) {
            const std::size_t length = NumberLength(text, i);
            i += length;
            return make(TokenKind::Number, std::string(text.substr(i - length, length)));
        } else if (c == '\'') {
            std::string value;
            std::size_t j = i + 1;
            bool closed = false;
            while (j < text.size() && text[j] != '\n') {
                const unsigned char d = static_cast<unsigned char>(text[j]);
                if (IsCp932LeadByte(d) && j + 1 < text.size() && text[j + 1] != '\n') {
                    value.append(text.substr(j, 2));
                    j += 2;
                } else if (d == '\'' && j + 1 < text.size() && text[j + 1] == '\'') {
                    value.push_back('\'');
                    j += 2;
                } else if (d == '\'') {
                    closed = true;
                    ++j;
                    break;
                } else {
                    value.push_back(static_cast<char>(d));
                    ++j;
                }
            }
            if (!closed)
                m_errors.push_back({Severity::Error, line, "a quoted name has no closing '"});
            i = j;
            return make(TokenKind::String, std::move(value));
        } else if (c == '.') {
            const auto [symbol, length] = DottedOperatorAt(text, i);
            i += std::max<std::size_t>(length, 1);
            return make(TokenKind::Symbol, length > 0 ? std::string(symbol) : ".");
        } else {
            static constexpr std::string_view kTwoCharacter[] = {"**", "<=", ">=", "<>", "=="};
            for (std::string_view symbol : kTwoCharacter) {
                if (text.substr(i, 2) == symbol) {
                    i += 2;
                    return make(TokenKind::Symbol, std::string(symbol));
                }
            }
            static constexpr std::string_view kOneCharacter = "()=+-*/:<>,^&|";
            ++i;
            if (kOneCharacter.find(static_cast<char>(c)) != std::string_view::npos) {
                // '^' is another way to write '**'.
                return make(TokenKind::Symbol,
                            c == '^' ? "**" : std::string(1, static_cast<char>(c)));
            }
            m_errors.push_back({Severity::Error, line, DescribeByte(c)});
        }
    }
    return make(TokenKind::End, "");
}

Diagnostics Lexer::TakeErrors() { return std::move(m_errors); }

LexResult Lex(std::string_view text) {
    Lexer lexer(text);
    LexResult result;
    do {
        result.tokens.push_back(lexer.Next());
    } while (result.tokens.back().kind != TokenKind::End);
    result.errors = lexer.TakeErrors();
    return result;
}

}  // namespace tamvel::engine
