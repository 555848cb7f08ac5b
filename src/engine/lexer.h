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

/// Tokens one at a time, so that a long program never holds all its tokens at once.
class Lexer {
  public:
    /// Reads `program` (CP932), which must outlive the lexer.
    explicit Lexer(std::string_view program);
    /// The next token; an End token at the end, and again after it.
    Token Next();
    /// The characters that no token could start with, so far.
    Diagnostics TakeErrors();

  private:
    std::string_view m_text;
    std::size_t m_position = 0;
    int m_line = 1;
    Diagnostics m_errors;
};

/// Tokens of a whole program and the characters that no token could start with.
struct LexResult {
    std::vector<Token> tokens;  ///< always ends with an End token
    Diagnostics errors;
};

/// Splits CP932 program text into tokens, all at once.
LexResult Lex(std::string_view program);

}  // namespace tamvel::engine
