#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zev::script {

enum class Tok : uint8_t {
    Eof,
    Ident,
    IntLit,
    FloatLit,
    StrLit,
    // punctuation
    Plus,
    Minus,
    Star,
    Slash,
    Eq,
    NotEq,
    Less,
    LessEq,
    Greater,
    GreaterEq,
    LParen,
    RParen,
    LBracket,
    RBracket,
    Comma,
    Semicolon,
    Colon,
    Dot,
    DotDot,
    Assign,
    PlusAssign,
    MinusAssign,
    StarAssign,
    SlashAssign,
    // keywords
    KwAnd,
    KwArray,
    KwBegin,
    KwBreak,
    KwCase,
    KwConst,
    KwContinue,
    KwDiv,
    KwDo,
    KwDownto,
    KwElse,
    KwEnd,
    KwExcept,
    KwExit,
    KwFinally,
    KwFor,
    KwFunction,
    KwIf,
    KwIn,
    KwMod,
    KwNil,
    KwNot,
    KwOf,
    KwOn,
    KwOr,
    KwOut,
    KwProcedure,
    KwProgram,
    KwRaise,
    KwRepeat,
    KwShl,
    KwShr,
    KwThen,
    KwTo,
    KwTry,
    KwType,
    KwUntil,
    KwUses,
    KwVar,
    KwWhile,
    KwXor,
    KwTrue,
    KwFalse,
    Invalid, // a character or literal the lexer could not read; text holds the reason
};

struct Token {
    Tok kind = Tok::Eof;
    int line = 1, col = 1;
    std::string text; // identifier as written, decoded string literal, or the reason of Invalid
    int64_t ival = 0;
    double fval = 0;
};

// Splits the whole text at once; the parser walks the vector.
std::vector<Token> Tokenize(std::string_view src);

std::string_view TokName(Tok t);
// The token as the user wrote it, for messages.
std::string TokDisplay(const Token& t);

} // namespace zev::script
