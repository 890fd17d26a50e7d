#include "completion/code_snippets_scanner.h"

#include <array>
#include <unordered_map>

namespace zev {

namespace S = snipsym;

namespace {

constexpr std::array<std::string_view, S::maxT + 1> kTerminalText {
    "",
    "",
    "",
    "",
    "",
    "",
    "bool",
    "int",
    "stat",
    "skill",
    "script_var",
    "pid_id",
    "map_var",
    "local_var",
    "node",
    "floatnode",
    "string",
    "=",
    "CodePreset",
    "(",
    ",",
    ")",
    "desc",
    "{",
    "}",
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

std::string_view SnippetTerminalText(int symbol)
{
    return symbol >= 0 && symbol <= S::maxT ? kTerminalText[static_cast<std::size_t>(symbol)] : std::string_view {};
}

int TCodeSnippetsScanner::Keyword(std::string_view word) const
{
    const auto& table = KeywordTable();
    auto it = table.find(word);
    return it == table.end() ? -1 : it->second;
}

int TCodeSnippetsScanner::ScanOther(int c)
{
    switch (c) {
    case '"':
        return ScanString();
    case '#':
        // A pragma runs to the end of its line and leaves no trace.
        Consume();
        while (!IsLineEnd(m_ch) && m_ch != 0)
            Consume();
        return m_ch == 0 ? EndOfInputInside() : S::pragma;
    case '=':
        Consume();
        return S::assign;
    case '(':
        Consume();
        return S::lparen;
    case ',':
        Consume();
        return S::comma;
    case ')':
        Consume();
        return S::rparen;
    case '{':
        Consume();
        return S::lbrace;
    case '}':
        Consume();
        return S::rbrace;
    case ';':
        Consume();
        return S::semicolon;
    default:
        return Unknown();
    }
}

// A double quote, any characters but a line end, up to a double quote that no backslash escapes.
// A backslash takes the next character with it, so "\\" before the quote does not escape it.
// A string cut off by its line end is one unknown symbol.
int TCodeSnippetsScanner::ScanString()
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
        if (c == '\\') {
            if (m_ch == 0)
                return EndOfInputInside();
            if (IsLineEnd(m_ch))
                return S::noSym;
            Consume();
        }
    }
}

} // namespace zev
