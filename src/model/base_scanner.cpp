// Cutting symbols by a language's scanner table. The scanner never backtracks: it looks ahead
// with CharAt and consumes only what a symbol holds.
#include "model/base_scanner.h"

namespace zev {

namespace {

int Byte(char c)
{
    return static_cast<unsigned char>(c);
}

// Blanks are the bytes 1 to 32; runs stop at CR, LF and byte 26 too.
constexpr std::array<bool, 256> kBlankStops = [] {
    std::array<bool, 256> stops {};
    for (std::size_t c = 0; c < 256; ++c)
        stops[c] = c == 0 || c > 32 || c == '\r' || c == '\n' || c == 26;
    return stops;
}();

} // namespace

bool TBaseScanner::At(std::string_view text) const
{
    if (m_ch != Byte(text[0]))
        return false;
    for (std::size_t i = 1; i < text.size(); ++i)
        if (CharAt(m_bufferPosition + static_cast<int64_t>(i)) != Byte(text[i]))
            return false;
    return true;
}

void TBaseScanner::BeginSymbol()
{
    CurrentSymbol = NextSymbol;
    NextSymbol.Pos = static_cast<int32_t>(m_bufferPosition);
    NextSymbol.Col = static_cast<int32_t>(m_bufferPosition - m_startOfLine);
    NextSymbol.Line = m_currLine;
    NextSymbol.Len = 0;
}

int TBaseScanner::EndOfInputInside()
{
    NextSymbol.Len = 0;
    return toksym::EOF_;
}

int32_t TBaseScanner::SkipRun(const std::array<bool, 256>& stops)
{
    const uint64_t first = static_cast<uint64_t>(m_bufferPosition - m_windowStart);
    if (first >= m_windowSize) { // a look-ahead moved the window past the current character
        NextCh();
        return 1;
    }
    uint64_t end = first + 1;
    while (end < m_windowSize && !stops[static_cast<unsigned char>(m_window[end])])
        ++end;
    m_bufferPosition += static_cast<int64_t>(end - first - 1);
    m_ch = static_cast<unsigned char>(m_window[end - 1]);
    NextCh();
    return static_cast<int32_t>(end - first);
}

void TBaseScanner::SkipBlanksAndComments()
{
    for (;;) {
        while (m_ch >= 1 && m_ch <= 32)
            SkipRun(kBlankStops);
        if (!Flag(m_ch, TScannerTable::kCommentStart) || !SkipComment())
            return;
    }
}

// Skips one comment at the current character; false when none starts there, and then nothing
// is consumed. A comment without a closing text leaves its line end to the blanks.
bool TBaseScanner::SkipComment()
{
    for (const TCommentRule& comment : m_table.m_comments) {
        if (!At(comment.open))
            continue;
        for (std::size_t i = 0; i < comment.open.size(); ++i)
            NextCh();
        if (comment.close.empty()) {
            while (m_ch != 0 && !Flag(m_ch, TScannerTable::kLineEnd))
                SkipRun(m_table.m_lineStops);
            return true;
        }
        while (m_ch != 0) {
            if (At(comment.close)) {
                for (std::size_t i = 0; i < comment.close.size(); ++i)
                    NextCh();
                return true;
            }
            NextCh();
        }
        return true;
    }
    return false;
}

int TBaseScanner::Get()
{
    SkipBlanksAndComments();
    BeginSymbol();
    const int c = m_ch;
    switch (m_table.m_start[static_cast<std::size_t>(c)]) {
    case TScannerTable::kEnd:
        return toksym::EOF_;
    case TScannerTable::kLetter:
        return ScanIdentifier();
    case TScannerTable::kDigit:
        return ScanNumber(true);
    case TScannerTable::kString:
        return ScanString(m_table.m_strings[m_table.m_kind[static_cast<std::size_t>(c)]]);
    case TScannerTable::kPragma:
        return ScanPragma(m_table.m_pragmas[m_table.m_kind[static_cast<std::size_t>(c)]]);
    case TScannerTable::kSign:
        return ScanSigned();
    case TScannerTable::kDot:
        return Flag(CharAt(m_bufferPosition + 1), TScannerTable::kDigitChar) ? ScanFraction() : ScanOperator();
    case TScannerTable::kHexPrefix:
        Consume();
        while (Flag(m_ch, TScannerTable::kIdentifierChar))
            Consume();
        return toksym::hexLiteral;
    default:
        return ScanOperator();
    }
}

int TBaseScanner::ScanIdentifier()
{
    do
        NextSymbol.Len += SkipRun(m_table.m_identifierStops);
    while (Flag(m_ch, TScannerTable::kIdentifierChar));
    int keyword = m_table.Keyword(SymbolText(NextSymbol));
    return keyword >= 0 ? keyword : toksym::ident;
}

// Digits, then for a number that may have one a "." starts the fraction.
int TBaseScanner::ScanNumber(bool allowFraction)
{
    while (Flag(m_ch, TScannerTable::kDigitChar))
        Consume();
    if (allowFraction && m_ch == '.')
        return ScanFraction();
    return toksym::integer;
}

// At a ".": a digit must follow ("5." alone is one unknown symbol), then digits and the suffix.
int TBaseScanner::ScanFraction()
{
    Consume();
    if (!Flag(m_ch, TScannerTable::kDigitChar))
        return m_table.m_noSym;
    while (Flag(m_ch, TScannerTable::kDigitChar))
        Consume();
    const char suffix = m_table.m_numbers.floatSuffix;
    if (suffix != 0 && m_ch == Byte(suffix))
        Consume();
    return toksym::float_;
}

// A sign with a digit after it starts a number; otherwise it is what the operators make of it.
int TBaseScanner::ScanSigned()
{
    const bool minus = m_ch == '-';
    if (!Flag(CharAt(m_bufferPosition + 1), TScannerTable::kDigitChar))
        return ScanOperator();
    Consume();
    const TNumberRules& numbers = m_table.m_numbers;
    return ScanNumber(minus ? numbers.minusTakesFraction : numbers.plusTakesFraction);
}

// The longest operator standing here, else one unknown character.
int TBaseScanner::ScanOperator()
{
    const std::size_t c = static_cast<std::size_t>(m_ch);
    for (uint32_t i = m_table.m_opBegin[c]; i < m_table.m_opEnd[c]; ++i) {
        const TScannerTable::Operator& op = m_table.m_operators[i];
        if (!At(op.text))
            continue;
        for (std::size_t k = 0; k < op.text.size(); ++k)
            Consume();
        return op.symbol;
    }
    Consume();
    return m_table.m_noSym;
}

int TBaseScanner::ScanString(const TScannerTable::StringKind& kind)
{
    const TStringRule& rule = kind.rule;
    const int delimiter = Byte(rule.delimiter);
    const int escape = rule.escape == 0 ? -1 : Byte(rule.escape);
    enum { Plain, Escape, AfterEscapedDelimiter } state = Plain;
    Consume();
    for (;;) {
        const int c = m_ch;
        if (state == Plain && !kind.stops[static_cast<std::size_t>(c)]) {
            NextSymbol.Len += SkipRun(kind.stops);
            continue;
        }
        if (c == 0)
            return EndOfInputInside();
        if (Flag(c, TScannerTable::kLineEnd))
            return state == AfterEscapedDelimiter ? toksym::string : m_table.m_noSym;
        Consume();
        if (state == Escape) {
            if (c == delimiter && rule.escapedDelimiterClosesAtLineEnd)
                state = AfterEscapedDelimiter;
            else if (!(c == escape && rule.escapesChain))
                state = Plain;
        } else if (c == delimiter) {
            return toksym::string;
        } else {
            state = c == escape ? Escape : Plain;
        }
    }
}

int TBaseScanner::ScanPragma(const TPragmaRule& pragma)
{
    do
        NextSymbol.Len += SkipRun(m_table.m_lineStops);
    while (m_ch != 0 && !Flag(m_ch, TScannerTable::kLineEnd));
    return m_ch == 0 ? EndOfInputInside() : pragma.symbol;
}

} // namespace zev
