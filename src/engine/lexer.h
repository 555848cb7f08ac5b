#pragma once
// The TSP program as tokens: names, numbers, quoted strings and symbols, each with the line
// it stands on. '?' starts a comment to the end of the line. Names may hold CP932
// double-byte characters; letter case is kept (the parser compares without regard to it).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/diagnostic.h"

namespace tamvel::engine {

/// What a token is.
enum class TokenKind {
    Name,       ///< a letter, '@', '_' or a double-byte character, then those and digits
    Number,     ///< digits with an optional point and exponent, or a point and digits
    String,     ///< text in single quotes, quotes removed ('' stands for one quote)
    Symbol,     ///< ( ) , = + - * / ** : < > <= >= <> == . and dotted operators (.EQ. ...)
    Semicolon,  ///< the end of a statement
    End,        ///< the end of the text
};

/// One token. A dotted operator such as .GE. comes as the symbol ">=".
struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    int line = 1;
};

/// Tokens of a whole program and the characters that no token could start with.
struct LexResult {
    std::vector<Token> tokens;  ///< always ends with an End token
    Diagnostics errors;
};

/// Splits CP932 program text into tokens.
LexResult Lex(std::string_view program);

}  // namespace tamvel::engine
