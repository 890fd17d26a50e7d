#include "completion/def_scanner_base.h"

namespace zev {

namespace {

bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool IsDefLetter(int c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == 196 || c == 197 || c == 214 || c == 228
        || c == 229 || c == 246;
}

// Skips one comment at the current character; false when there is none. A "/" that starts no
// comment is left in place and becomes an unknown symbol.
bool TDefScannerBase::SkipComment()
{
    if (m_ch != '/')
        return false;
    int next = CharAt(m_bufferPosition + 1);
    if (next == '/') {
        NextCh();
        NextCh();
        while (!IsLineEnd(m_ch) && m_ch != 0)
            NextCh();
        return true;
    }
    if (next == '*') {
        SkipBlockComment(); // an open comment ends with the input; end of file stands there
        return true;
    }
    return false;
}

int TDefScannerBase::Get()
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
        return defsym::EOF_;
    if (IsDefLetter(c)) {
        do
            Consume();
        while (IsDefLetter(m_ch) || IsDigit(m_ch));
        std::string_view word = SymbolText(NextSymbol);
        int kw = Keyword(word);
        return kw >= 0 ? kw : defsym::ident;
    }
    if (IsDigit(c))
        return ScanNumber(true);
    switch (c) {
    case '$':
        Consume();
        while (IsDefLetter(m_ch) || IsDigit(m_ch))
            Consume();
        return defsym::hexLiteral;
    case '+':
        // A signed integer; "+" takes no fraction.
        Consume();
        return IsDigit(m_ch) ? ScanNumber(false) : m_noSym;
    case '-':
        Consume();
        return IsDigit(m_ch) ? ScanNumber(true) : m_noSym;
    case '.':
        return ScanFraction();
    default:
        return ScanOther(c);
    }
}

int TDefScannerBase::ScanNumber(bool allowFraction)
{
    while (IsDigit(m_ch))
        Consume();
    if (allowFraction && m_ch == '.')
        return ScanFraction();
    return defsym::integer;
}

// At a ".": a digit must follow ("5." alone is one unknown symbol), then digits and an optional "f".
int TDefScannerBase::ScanFraction()
{
    Consume();
    if (!IsDigit(m_ch))
        return m_noSym;
    while (IsDigit(m_ch))
        Consume();
    if (m_ch == 'f')
        Consume();
    return defsym::float_;
}

} // namespace zev
