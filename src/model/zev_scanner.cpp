#include "model/zev_scanner.h"

#include <array>
#include <unordered_map>

namespace zev {

namespace {

constexpr std::array<std::string_view, 82> kTerminalText {
    "",
    "",
    "",
    "",
    "",
    "",
    "==",
    "!=",
    "<",
    ">",
    ">=",
    "<=",
    "link_next",
    "NONE",
    "AND",
    "OR",
    "int",
    "=",
    "linkflags",
    "skill_check",
    "custom_proc",
    "Reaction",
    "REACTION_BAD",
    "REACTION_NEUTRAL",
    "REACTION_GOOD",
    "Gender",
    "FEMALE",
    "MALE",
    "playertext",
    "linkto",
    "conditions",
    "{",
    ",",
    "}",
    "notes",
    "Floatnode",
    "SSL",
    "var_param",
    "eval",
    "value_to_check",
    "ini_index",
    "link",
    "cond",
    "target_node",
    "start_conditions",
    "default_condition",
    ";",
    "associate_node",
    "exec_script_code",
    "import",
    "local",
    "export",
    "var",
    "vars",
    "define_skill_check",
    "skill_num",
    "difficulty_modifier",
    "onsuccess",
    "=>",
    "onfailure",
    "Node",
    "insert_custom_code",
    "NPCText",
    "NPCFemaleText",
    "options",
    "TimeEvent",
    "fixed_param_name",
    "enum",
    "IsRandomInterval",
    "True",
    "IntervalMin",
    "IntervalMax",
    "False",
    "Interval",
    "code",
    "Default_Event",
    "NPCName",
    "Location",
    "Description",
    "Unknown_Desc",
    "Known_Desc",
    "Detailed_Desc",
};

const std::unordered_map<std::string_view, int>& KeywordTable()
{
    static const std::unordered_map<std::string_view, int> table = [] {
        std::unordered_map<std::string_view, int> t;
        for (int i = zevsym::link_next; i <= zevsym::maxT; ++i) {
            std::string_view text = kTerminalText[static_cast<std::size_t>(i)];
            char c = text[0];
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
                t.emplace(text, i);
        }
        return t;
    }();
    return table;
}

bool IsLetter(int c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == 196 || c == 197 || c == 214 || c == 228
        || c == 229 || c == 246;
}

bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string_view ZevTerminalText(int symbol)
{
    return symbol >= 0 && symbol <= zevsym::maxT ? kTerminalText[static_cast<std::size_t>(symbol)]
                                                 : std::string_view {};
}

int ZevKeyword(std::string_view word)
{
    const auto& table = KeywordTable();
    auto it = table.find(word);
    return it == table.end() ? -1 : it->second;
}

// Skips one comment at the current character; false when there is none. A "/" that starts no
// comment is left in place.
bool TZEVScanner::SkipComment()
{
    if (m_ch != '/')
        return false;
    int next = CharAt(m_bufferPosition + 1);
    if (next == '/') {
        // Up to and including the next CR; in an LF-only file that runs on.
        NextCh();
        NextCh();
        while (m_ch != '\r' && m_ch != 0)
            NextCh();
        if (m_ch == '\r')
            NextCh();
        return true;
    }
    if (next == '*') {
        SkipBlockComment(); // an open comment ends with the input; end of file stands there
        return true;
    }
    return false;
}

int TZEVScanner::Get()
{
    for (;;) {
        while (m_ch >= 1 && m_ch <= 32)
            NextCh();
        if (!SkipComment())
            break;
    }
    BeginSymbol();
    int c = m_ch;
    if (c == 0)
        return zevsym::EOF_;
    if (IsLetter(c)) {
        do
            Consume();
        while (IsLetter(m_ch) || IsDigit(m_ch));
        std::string_view word = SymbolText(NextSymbol);
        int kw = ZevKeyword(word);
        return kw >= 0 ? kw : zevsym::ident;
    }
    if (IsDigit(c))
        return ScanNumberTail(true);
    switch (c) {
    case '"':
        return ScanString();
    case '#':
        Consume();
        while (m_ch != '\r' && m_ch != 0)
            Consume();
        if (m_ch == 0) {
            NextSymbol.Len = 0; // the end of the input inside a directive is the end of file
            return zevsym::EOF_;
        }
        return zevsym::directive;
    case '$':
        Consume();
        while (IsLetter(m_ch) || IsDigit(m_ch))
            Consume();
        return zevsym::hexLiteral;
    case '+':
        Consume();
        if (!IsDigit(m_ch))
            return zevsym::noSym;
        return ScanNumberTail(false);
    case '-':
        Consume();
        if (!IsDigit(m_ch))
            return zevsym::noSym;
        return ScanNumberTail(true);
    case '.':
        return ScanFraction();
    case '!':
        Consume();
        if (m_ch != '=')
            return zevsym::noSym;
        Consume();
        return zevsym::ne;
    case '=':
        Consume();
        if (m_ch == '=') {
            Consume();
            return zevsym::eq;
        }
        if (m_ch == '>') {
            Consume();
            return zevsym::arrow;
        }
        return zevsym::assign;
    case '<':
        Consume();
        if (m_ch == '=') {
            Consume();
            return zevsym::le;
        }
        return zevsym::lt;
    case '>':
        Consume();
        if (m_ch == '=') {
            Consume();
            return zevsym::ge;
        }
        return zevsym::gt;
    case '{':
        Consume();
        return zevsym::lbrace;
    case '}':
        Consume();
        return zevsym::rbrace;
    case ',':
        Consume();
        return zevsym::comma;
    case ';':
        Consume();
        return zevsym::semicolon;
    default:
        Consume();
        return zevsym::noSym;
    }
}

// Digits, then for a signed or plain number a "." and a digit make it a float.
int TZEVScanner::ScanNumberTail(bool allowFraction)
{
    while (IsDigit(m_ch))
        Consume();
    if (allowFraction && m_ch == '.')
        return ScanFraction();
    return zevsym::integer;
}

// At a ".": digits must follow, then an optional "f".
int TZEVScanner::ScanFraction()
{
    Consume();
    if (!IsDigit(m_ch))
        return zevsym::noSym;
    while (IsDigit(m_ch))
        Consume();
    if (m_ch == 'f')
        Consume();
    return zevsym::float_;
}

int TZEVScanner::ScanString()
{
    enum { Plain, Escape, AfterEscapedQuote } state = Plain;
    Consume();
    for (;;) {
        int c = m_ch;
        if (c == 0) {
            NextSymbol.Len = 0; // the end of the input inside a string is the end of file
            return zevsym::EOF_;
        }
        switch (state) {
        case Plain:
            if (c == '\r')
                return zevsym::noSym;
            Consume();
            if (c == '"')
                return zevsym::string;
            if (c == '\\')
                state = Escape;
            break;
        case Escape:
            if (c == '\r')
                return zevsym::noSym;
            Consume();
            if (c == '"')
                state = AfterEscapedQuote;
            else if (c != '\\')
                state = Plain;
            break;
        case AfterEscapedQuote:
            if (c == '\r')
                return zevsym::string; // the escaped quote served as the closing one
            Consume();
            if (c == '"')
                return zevsym::string;
            state = c == '\\' ? Escape : Plain;
            break;
        }
    }
}

} // namespace zev
