#include "model/scanner_rules.h"

#include <algorithm>
#include <stdexcept>

namespace zev {

namespace {

uint8_t Byte(char c)
{
    return static_cast<uint8_t>(c);
}

// Where the scanner's runs over plain bytes stop whatever the language: the end of the input and
// the bytes lines are counted at.
bool IsRunEnd(std::size_t c)
{
    return c == 0 || c == 26 || c == '\r' || c == '\n';
}

} // namespace

TScannerTable::TScannerTable(const TScannerRules& rules)
    : m_pragmas(rules.pragmas.begin(), rules.pragmas.end())
    , m_numbers(rules.numbers)
    , m_terminals(rules.terminals.begin(), rules.terminals.end())
    , m_noSym(rules.noSym)
{
    // m_kind holds a byte-sized index.
    if (rules.strings.size() > 256 || rules.pragmas.size() > 256)
        throw std::length_error("too many string or pragma rules");
    for (const TCommentRule& comment : rules.comments)
        if (!comment.open.empty())
            m_comments.push_back(comment);
    SetFlags(rules);
    AddTerminals(rules.letters);
    SetStarts(rules);
}

void TScannerTable::SetFlags(const TScannerRules& rules)
{
    for (char c : rules.letters)
        m_flags[Byte(c)] |= kIdentifierChar;
    for (char c : rules.identifierTail)
        m_flags[Byte(c)] |= kIdentifierChar;
    for (char c : rules.lineEnds)
        m_flags[Byte(c)] |= kLineEnd;
    for (int c = '0'; c <= '9'; ++c)
        m_flags[c] |= kDigitChar;
    for (const TCommentRule& comment : m_comments)
        m_flags[Byte(comment.open[0])] |= kCommentStart;
    for (std::size_t c = 0; c < 256; ++c) {
        m_identifierStops[c] = (m_flags[c] & kIdentifierChar) == 0 || IsRunEnd(c);
        m_lineStops[c] = (m_flags[c] & kLineEnd) != 0 || IsRunEnd(c);
    }
}

// Keywords into the hash table, operators by first byte with the longest first.
void TScannerTable::AddTerminals(std::string_view letters)
{
    std::size_t slots = 4;
    while (slots < 2 * m_terminals.size())
        slots *= 2;
    m_keywords.resize(slots);
    m_keywordMask = slots - 1;
    for (std::size_t i = 0; i < m_terminals.size(); ++i) {
        std::string_view text = m_terminals[i];
        int symbol = toksym::firstTerminal + static_cast<int>(i);
        if (text.empty())
            continue;
        if (letters.find(text[0]) != std::string_view::npos)
            AddKeyword(text, symbol);
        else
            m_operators.push_back({ text, symbol });
    }
    std::stable_sort(m_operators.begin(), m_operators.end(), [](const Operator& a, const Operator& b) {
        if (a.text[0] != b.text[0])
            return Byte(a.text[0]) < Byte(b.text[0]);
        return a.text.size() > b.text.size();
    });
    for (std::size_t i = 0; i < m_operators.size(); ++i) {
        uint8_t first = Byte(m_operators[i].text[0]);
        if (m_opEnd[first] == 0)
            m_opBegin[first] = static_cast<uint32_t>(i);
        m_opEnd[first] = static_cast<uint32_t>(i + 1);
    }
}

// Where one byte could start two kinds of symbol, the later assignment wins: letters, then digits,
// strings, pragmas, the number signs, and operators last.
void TScannerTable::SetStarts(const TScannerRules& rules)
{
    for (const Operator& op : m_operators)
        m_start[Byte(op.text[0])] = kOperator;
    if (m_numbers.enabled) {
        SetStart("+-", kSign);
        SetStart(".", kDot);
        if (m_numbers.hexPrefix != 0)
            SetStart(std::string_view(&m_numbers.hexPrefix, 1), kHexPrefix);
    }
    for (std::size_t i = 0; i < m_pragmas.size(); ++i) {
        m_start[Byte(m_pragmas[i].start)] = kPragma;
        m_kind[Byte(m_pragmas[i].start)] = static_cast<uint8_t>(i);
    }
    for (const TStringRule& rule : rules.strings) {
        StringKind kind { rule, {} };
        for (std::size_t c = 0; c < 256; ++c)
            kind.stops[c] = IsRunEnd(c) || (m_flags[c] & kLineEnd) != 0;
        kind.stops[Byte(rule.delimiter)] = true;
        if (rule.escape != 0)
            kind.stops[Byte(rule.escape)] = true;
        m_start[Byte(rule.delimiter)] = kString;
        m_kind[Byte(rule.delimiter)] = static_cast<uint8_t>(m_strings.size());
        m_strings.push_back(kind);
    }
    if (m_numbers.enabled)
        SetStart("0123456789", kDigit);
    SetStart(rules.letters, kLetter);
    m_start[0] = kEnd;
}

void TScannerTable::SetStart(std::string_view bytes, Start start)
{
    for (char c : bytes)
        m_start[Byte(c)] = start;
}

std::string_view TScannerTable::TerminalText(int symbol) const
{
    if (symbol < toksym::firstTerminal || symbol > MaxT())
        return {};
    return m_terminals[static_cast<std::size_t>(symbol - toksym::firstTerminal)];
}

std::size_t TScannerTable::Hash(std::string_view word)
{
    // The length and three bytes: cheap, and a collision costs only a probe.
    if (word.empty())
        return 0;
    std::size_t h = word.size();
    h = h * 31 + Byte(word.front());
    h = h * 31 + Byte(word[word.size() / 2]);
    return h * 31 + Byte(word.back());
}

void TScannerTable::AddKeyword(std::string_view text, int symbol)
{
    // Fewer keywords than half the slots: a free one is always found.
    std::size_t slot = Hash(text) & m_keywordMask;
    while (m_keywords[slot].symbol >= 0) {
        if (m_keywords[slot].text == text)
            return; // the first number of a text stays
        slot = (slot + 1) & m_keywordMask;
    }
    m_keywords[slot] = { text, symbol };
}

int TScannerTable::Keyword(std::string_view word) const
{
    for (std::size_t slot = Hash(word) & m_keywordMask;; slot = (slot + 1) & m_keywordMask) {
        const KeywordSlot& k = m_keywords[slot];
        if (k.symbol < 0 || k.text == word)
            return k.symbol;
    }
}

} // namespace zev
