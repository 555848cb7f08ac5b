#include "engine/lexer.h"

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

LexResult Lex(std::string_view text) {
    LexResult result;
    int line = 1;
    std::size_t i = 0;
    auto push = [&](TokenKind kind, std::string tokenText) {
        result.tokens.push_back({kind, std::move(tokenText), line});
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
            push(TokenKind::Semicolon, ";");
            ++i;
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
            push(TokenKind::Name, std::string(text.substr(start, i - start)));
        } else if (IsDigit(c) || (c == '.' && i + 1 < text.size() &&
                                  IsDigit(static_cast<unsigned char>(text[i + 1])))) {
            const std::size_t length = NumberLength(text, i);
            push(TokenKind::Number, std::string(text.substr(i, length)));
            i += length;
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
                result.errors.push_back({Severity::Error, line, "a quoted name has no closing '"});
            push(TokenKind::String, std::move(value));
            i = j;
        } else if (c == '.') {
            const auto [symbol, length] = DottedOperatorAt(text, i);
            if (length > 0) {
                push(TokenKind::Symbol, std::string(symbol));
                i += length;
            } else {
                push(TokenKind::Symbol, ".");
                ++i;
            }
        } else {
            static constexpr std::string_view kTwoCharacter[] = {"**", "<=", ">=", "<>", "=="};
            bool matched = false;
            for (std::string_view symbol : kTwoCharacter) {
                if (text.substr(i, 2) == symbol) {
                    push(TokenKind::Symbol, std::string(symbol));
                    i += 2;
                    matched = true;
                    break;
                }
            }
            if (matched) continue;
            static constexpr std::string_view kOneCharacter = "()=+-*/:<>,^&|";
            if (kOneCharacter.find(static_cast<char>(c)) != std::string_view::npos) {
                // '^' is another way to write '**'.
                push(TokenKind::Symbol, c == '^' ? "**" : std::string(1, static_cast<char>(c)));
            } else {
                result.errors.push_back({Severity::Error, line, DescribeByte(c)});
            }
            ++i;
        }
    }
    push(TokenKind::End, "");
    return result;
}

}  // namespace tamvel::engine
