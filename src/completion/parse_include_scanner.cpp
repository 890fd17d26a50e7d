#include "completion/parse_include_scanner.h"

#include <array>
#include <unordered_map>

namespace zev {

namespace S = incsym;

namespace {

constexpr std::array<std::string_view, S::maxT + 1> kTerminalText {
    "",
    "",
    "",
    "",
    "",
    "",
    "AddDefine",
    "(",
    "integer",
    "procptr",
    "string",
    "objectptr",
    ",",
    ")",
    "=",
    ";",
};

const std::unordered_map<std::string_view, int>& KeywordTable()
{
    static const std::unordered_map<std::string_view, int> table = [] {
        std::unordered_map<std::string_view, int> t;
        for (int i = S::hexLiteral + 1; i <= S::maxT; ++i) {
            std::string_view text = kTerminalText[static_cast<std::size_t>(i)];
            if (IsDefLetter(static_cast<unsigned char>(text[0])))
                t.emplace(text, i);
        }
        return t;
    }();
    return table;
}

} // namespace

std::string_view IncludeTerminalText(int symbol)
{
    return symbol >= 0 && symbol <= S::maxT ? kTerminalText[static_cast<std::size_t>(symbol)] : std::string_view {};
}

int TParseIncludeScanner::Keyword(std::string_view word) const
{
    const auto& table = KeywordTable();
    auto it = table.find(word);
    return it == table.end() ? -1 : it->second;
}

int TParseIncludeScanner::ScanOther(int c)
{
    switch (c) {
    case '"':
        return ScanString();
    case '(':
        Consume();
        return S::lparen;
    case ')':
        Consume();
        return S::rparen;
    case ',':
        Consume();
        return S::comma;
    case '=':
        Consume();
        return S::assign;
    case ';':
        Consume();
        return S::semicolon;
    default:
        return Unknown();
    }
}

// A double quote, any characters but a line end and the double quote, a double quote. A string
// cut off by its line end is one unknown symbol.
int TParseIncludeScanner::ScanString()
{
    Consume();
    for (;;) {
        int c = m_ch;
        if (c == 0)
            return EndOfInputInside();
        if (IsLineEnd(c))
            return S::noSym;
        Consume();
        if (c == '"')
            return S::string;
    }
}

} // namespace zev
