#include "script/engine/lexer.h"

#include <cmath>
#include <cstdlib>

#include "script/engine/text_util.h"

namespace zev::script {

namespace {

struct Keyword {
    std::string_view name;
    Tok tok;
};

constexpr Keyword kKeywords[] = {
    { "and", Tok::KwAnd },
    { "array", Tok::KwArray },
    { "begin", Tok::KwBegin },
    { "break", Tok::KwBreak },
    { "case", Tok::KwCase },
    { "const", Tok::KwConst },
    { "continue", Tok::KwContinue },
    { "div", Tok::KwDiv },
    { "do", Tok::KwDo },
    { "downto", Tok::KwDownto },
    { "else", Tok::KwElse },
    { "end", Tok::KwEnd },
    { "except", Tok::KwExcept },
    { "exit", Tok::KwExit },
    { "finally", Tok::KwFinally },
    { "for", Tok::KwFor },
    { "function", Tok::KwFunction },
    { "if", Tok::KwIf },
    { "in", Tok::KwIn },
    { "mod", Tok::KwMod },
    { "nil", Tok::KwNil },
    { "not", Tok::KwNot },
    { "of", Tok::KwOf },
    { "on", Tok::KwOn },
    { "or", Tok::KwOr },
    { "out", Tok::KwOut },
    { "procedure", Tok::KwProcedure },
    { "program", Tok::KwProgram },
    { "raise", Tok::KwRaise },
    { "repeat", Tok::KwRepeat },
    { "shl", Tok::KwShl },
    { "shr", Tok::KwShr },
    { "then", Tok::KwThen },
    { "to", Tok::KwTo },
    { "try", Tok::KwTry },
    { "type", Tok::KwType },
    { "until", Tok::KwUntil },
    { "uses", Tok::KwUses },
    { "var", Tok::KwVar },
    { "while", Tok::KwWhile },
    { "xor", Tok::KwXor },
    { "true", Tok::KwTrue },
    { "false", Tok::KwFalse },
};

bool IsIdentStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsHex(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

class Lexer {
public:
    explicit Lexer(std::string_view src)
        : m_src(src)
    {
    }

    std::vector<Token> Run()
    {
        std::vector<Token> out;
        for (;;) {
            SkipBlanksAndComments(out);
            Token t;
            t.line = m_line;
            t.col = Col();
            if (m_pos >= m_src.size()) {
                t.kind = Tok::Eof;
                out.push_back(std::move(t));
                return out;
            }
            Next(t);
            out.push_back(std::move(t));
        }
    }

private:
    int Col() const { return static_cast<int>(m_pos - m_lineStart) + 1; }
    char Peek(size_t ahead = 0) const { return m_pos + ahead < m_src.size() ? m_src[m_pos + ahead] : '\0'; }
    void Advance()
    {
        if (m_src[m_pos] == '\n') {
            ++m_line;
            m_lineStart = m_pos + 1;
        }
        ++m_pos;
    }

    void SkipBlanksAndComments(std::vector<Token>& out)
    {
        while (m_pos < m_src.size()) {
            char c = Peek();
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
                Advance();
            } else if (c == '/' && Peek(1) == '/') {
                while (m_pos < m_src.size() && Peek() != '\n')
                    Advance();
            } else if (c == '{' || (c == '(' && Peek(1) == '*')) {
                SkipBlock(out, c == '{');
            } else {
                return;
            }
        }
    }

    // `{ }` does not nest: the first `}` ends it.
    void SkipBlock(std::vector<Token>& out, bool brace)
    {
        Token start;
        start.line = m_line;
        start.col = Col();
        Advance();
        if (!brace)
            Advance();
        while (m_pos < m_src.size()) {
            if (brace && Peek() == '}') {
                Advance();
                return;
            }
            if (!brace && Peek() == '*' && Peek(1) == ')') {
                Advance();
                Advance();
                return;
            }
            Advance();
        }
        start.kind = Tok::Invalid;
        start.text = "Unterminated comment";
        out.push_back(std::move(start));
    }

    void Next(Token& t)
    {
        char c = Peek();
        if (IsIdentStart(c))
            return Ident(t);
        if (IsDigit(c))
            return Number(t);
        if (c == '$' && IsHex(Peek(1)))
            return HexNumber(t);
        if (c == '\'' || c == '#')
            return StringLit(t);
        Punct(t);
    }

    void Ident(Token& t)
    {
        size_t start = m_pos;
        while (m_pos < m_src.size() && (IsIdentStart(Peek()) || IsDigit(Peek())))
            Advance();
        t.text.assign(m_src.substr(start, m_pos - start));
        t.kind = Tok::Ident;
        for (auto& k : kKeywords)
            if (EqualsNoCase(k.name, t.text)) {
                t.kind = k.tok;
                break;
            }
    }

    void Number(Token& t)
    {
        size_t start = m_pos;
        while (IsDigit(Peek()))
            Advance();
        bool isFloat = false;
        if (Peek() == '.' && IsDigit(Peek(1))) {
            isFloat = true;
            Advance();
            while (IsDigit(Peek()))
                Advance();
        }
        if ((Peek() == 'e' || Peek() == 'E')
            && (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
            isFloat = true;
            Advance();
            if (Peek() == '+' || Peek() == '-')
                Advance();
            while (IsDigit(Peek()))
                Advance();
        }
        std::string digits(m_src.substr(start, m_pos - start));
        t.text = digits;
        if (isFloat) {
            t.kind = Tok::FloatLit;
            t.fval = std::strtod(digits.c_str(), nullptr);
            return;
        }
        t.kind = Tok::IntLit;
        uint64_t v = 0;
        for (char d : digits) {
            if (v > (UINT64_C(9223372036854775807) - static_cast<uint64_t>(d - '0')) / 10) {
                t.kind = Tok::Invalid;
                t.text = "Integer constant too large: " + digits;
                return;
            }
            v = v * 10 + static_cast<uint64_t>(d - '0');
        }
        t.ival = static_cast<int64_t>(v);
    }

    void HexNumber(Token& t)
    {
        size_t start = m_pos;
        Advance();
        uint64_t v = 0;
        bool overflow = false;
        while (IsHex(Peek())) {
            if (v >> 60)
                overflow = true;
            v = v * 16 + static_cast<uint64_t>(HexDigitValue(Peek()));
            Advance();
        }
        t.text.assign(m_src.substr(start, m_pos - start));
        if (overflow) {
            t.kind = Tok::Invalid;
            t.text = "Integer constant too large: " + t.text;
            return;
        }
        t.kind = Tok::IntLit;
        t.ival = static_cast<int64_t>(v);
    }

    // 'abc''d'#13#$0A'e' — pieces that touch form one literal.
    void StringLit(Token& t)
    {
        t.kind = Tok::StrLit;
        for (;;) {
            if (Peek() == '\'') {
                Advance();
                for (;;) {
                    if (m_pos >= m_src.size() || Peek() == '\n' || Peek() == '\r') {
                        t.kind = Tok::Invalid;
                        t.text = "Unterminated string";
                        return;
                    }
                    if (Peek() == '\'') {
                        if (Peek(1) == '\'') {
                            t.text += '\'';
                            Advance();
                            Advance();
                            continue;
                        }
                        Advance();
                        break;
                    }
                    t.text += Peek();
                    Advance();
                }
            } else if (Peek() == '#') {
                if (!CharCode(t))
                    return;
            } else {
                return;
            }
        }
    }

    bool CharCode(Token& t)
    {
        Advance();
        int64_t code = 0;
        bool any = false;
        if (Peek() == '$') {
            Advance();
            while (IsHex(Peek())) {
                code = code * 16 + HexDigitValue(Peek());
                any = true;
                if (code > 255)
                    break;
                Advance();
            }
        } else {
            while (IsDigit(Peek())) {
                code = code * 10 + (Peek() - '0');
                any = true;
                if (code > 255)
                    break;
                Advance();
            }
        }
        if (!any || code > 255) {
            t.kind = Tok::Invalid;
            t.text = "Invalid character code";
            while (IsHex(Peek()))
                Advance();
            return false;
        }
        t.text += static_cast<char>(code);
        return true;
    }

    void Punct(Token& t)
    {
        char c = Peek();
        char n = Peek(1);
        auto two = [&](Tok k) {
            Advance();
            Advance();
            t.kind = k;
        };
        auto one = [&](Tok k) {
            Advance();
            t.kind = k;
        };
        switch (c) {
        case '+':
            return n == '=' ? two(Tok::PlusAssign) : one(Tok::Plus);
        case '-':
            return n == '=' ? two(Tok::MinusAssign) : one(Tok::Minus);
        case '*':
            return n == '=' ? two(Tok::StarAssign) : one(Tok::Star);
        case '/':
            return n == '=' ? two(Tok::SlashAssign) : one(Tok::Slash);
        case '=':
            return one(Tok::Eq);
        case '<':
            return n == '>' ? two(Tok::NotEq) : n == '=' ? two(Tok::LessEq) : one(Tok::Less);
        case '>':
            return n == '=' ? two(Tok::GreaterEq) : one(Tok::Greater);
        case '(':
            return one(Tok::LParen);
        case ')':
            return one(Tok::RParen);
        case '[':
            return one(Tok::LBracket);
        case ']':
            return one(Tok::RBracket);
        case ',':
            return one(Tok::Comma);
        case ';':
            return one(Tok::Semicolon);
        case ':':
            return n == '=' ? two(Tok::Assign) : one(Tok::Colon);
        case '.':
            return n == '.' ? two(Tok::DotDot) : one(Tok::Dot);
        default:
            break;
        }
        Advance();
        t.kind = Tok::Invalid;
        unsigned char u = static_cast<unsigned char>(c);
        t.text = (u >= 32 && u < 127) ? "Unexpected character \"" + std::string(1, c) + "\""
                                      : "Unexpected character #" + std::to_string(u);
    }

    std::string_view m_src;
    size_t m_pos = 0;
    size_t m_lineStart = 0;
    int m_line = 1;
};

} // namespace

std::vector<Token> Tokenize(std::string_view src)
{
    return Lexer(src).Run();
}

std::string_view TokName(Tok t)
{
    switch (t) {
    case Tok::Eof:
        return "end of file";
    case Tok::Ident:
        return "identifier";
    case Tok::IntLit:
        return "integer";
    case Tok::FloatLit:
        return "float";
    case Tok::StrLit:
        return "string";
    case Tok::Plus:
        return "+";
    case Tok::Minus:
        return "-";
    case Tok::Star:
        return "*";
    case Tok::Slash:
        return "/";
    case Tok::Eq:
        return "=";
    case Tok::NotEq:
        return "<>";
    case Tok::Less:
        return "<";
    case Tok::LessEq:
        return "<=";
    case Tok::Greater:
        return ">";
    case Tok::GreaterEq:
        return ">=";
    case Tok::LParen:
        return "(";
    case Tok::RParen:
        return ")";
    case Tok::LBracket:
        return "[";
    case Tok::RBracket:
        return "]";
    case Tok::Comma:
        return ",";
    case Tok::Semicolon:
        return ";";
    case Tok::Colon:
        return ":";
    case Tok::Dot:
        return ".";
    case Tok::DotDot:
        return "..";
    case Tok::Assign:
        return ":=";
    case Tok::PlusAssign:
        return "+=";
    case Tok::MinusAssign:
        return "-=";
    case Tok::StarAssign:
        return "*=";
    case Tok::SlashAssign:
        return "/=";
    case Tok::Invalid:
        return "invalid token";
    default:
        break;
    }
    for (auto& k : kKeywords)
        if (k.tok == t)
            return k.name;
    return "?";
}

std::string TokDisplay(const Token& t)
{
    switch (t.kind) {
    case Tok::Ident:
    case Tok::IntLit:
    case Tok::FloatLit:
        return t.text;
    case Tok::StrLit:
        return "string constant";
    case Tok::Eof:
        return "end of file";
    default:
        return std::string(TokName(t.kind));
    }
}

} // namespace zev::script
