#pragma once

// The lexical rules of a language as data, and the tables the scanner base reads them from.
// Each grammar fills one TScannerRules and keeps one TScannerTable built from it for good; the
// table refers to the rules' texts, which must therefore be static.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zev {

// The token classes every grammar numbers alike, before its own terminals.
namespace toksym {
enum : int { EOF_ = 0, ident = 1, integer = 2, float_ = 3, string = 4, hexLiteral = 5, firstTerminal = 6 };
} // namespace toksym

// A comment from its opening text to its closing one, or to the end of its line when it has none.
// One without a closing text left open runs to the end of the input, which then stands there.
struct TCommentRule {
    std::string_view open;
    std::string_view close;
};

// A string from its delimiter to the next one an escape does not take, on one line. Cut off by
// a line end it is an unknown symbol; cut off by the end of the input, the end of file.
struct TStringRule {
    char delimiter = '"';
    char escape = 0; // 0: none
    // A run of escapes is one escape (the second "\" of "\\" escapes what follows it too); else an
    // escape takes the next character with it, whatever it is.
    bool escapesChain = false;
    // An escaped delimiter right before a line end closes the string.
    bool escapedDelimiterClosesAtLineEnd = false;
};

// Numbers: digits [ "." digits [ suffix ] ]; a sign right before a digit belongs to the number;
// a "." followed by a digit starts a fraction; the hex prefix takes the identifier characters
// after it ("$" alone too). A sign or "." that starts no number is left to the operators.
struct TNumberRules {
    bool enabled = false;
    char hexPrefix = 0; // 0: no hex literals
    bool plusTakesFraction = false;
    bool minusTakesFraction = false;
    char floatSuffix = 0; // 0: none
};

// A pragma: from its character to the end of its line; its number lies above noSym, so the
// parser hands it to HandlePragma and reads on.
struct TPragmaRule {
    char start;
    int symbol;
};

struct TScannerRules {
    // The texts of the grammar's terminals, numbered from toksym::firstTerminal. A text that starts
    // with a letter is a keyword, matched exactly against whole identifiers; any other is an
    // operator, matched longest first where its first character stands.
    std::span<const std::string_view> terminals;
    int noSym = 0;
    std::string_view letters; // the bytes that start an identifier
    std::string_view identifierTail; // the bytes besides the letters that continue one
    std::string_view lineEnds; // the bytes that end comments, strings and pragmas
    std::span<const TCommentRule> comments;
    std::span<const TStringRule> strings;
    std::span<const TPragmaRule> pragmas;
    TNumberRules numbers;
};

class TScannerTable {
public:
    explicit TScannerTable(const TScannerRules& rules);

    // The terminal's text ("==", "Node"); empty for the token classes and unknown numbers.
    std::string_view TerminalText(int symbol) const;
    // The last terminal's number.
    int MaxT() const { return toksym::firstTerminal + static_cast<int>(m_terminals.size()) - 1; }
    // The keyword's terminal number, or -1.
    int Keyword(std::string_view word) const;
    int NoSym() const { return m_noSym; }

private:
    friend class TBaseScanner;

    // What a byte starts when a symbol begins there.
    enum Start : uint8_t { kUnknown, kEnd, kLetter, kDigit, kString, kPragma, kSign, kDot, kHexPrefix, kOperator };
    enum Flag : uint8_t { kIdentifierChar = 1, kLineEnd = 2, kCommentStart = 4, kDigitChar = 8 };
    struct Operator {
        std::string_view text;
        int symbol;
    };
    struct StringKind {
        TStringRule rule;
        std::array<bool, 256> stops {}; // bytes the plain part of the string cannot simply take
    };

    void SetFlags(const TScannerRules& rules);
    void AddTerminals(std::string_view letters);
    void SetStarts(const TScannerRules& rules);
    void AddKeyword(std::string_view text, int symbol);
    static std::size_t Hash(std::string_view word);
    void SetStart(std::string_view bytes, Start start);

    std::array<uint8_t, 256> m_start {};
    std::array<uint8_t, 256> m_flags {};
    std::array<uint8_t, 256> m_kind {}; // the string or pragma rule a byte starts
    std::array<bool, 256> m_identifierStops {}; // what ends an identifier
    std::array<bool, 256> m_lineStops {}; // what ends a line comment or a pragma
    // Operators by first byte, longest first: [m_opBegin[c], m_opEnd[c]) of m_operators.
    std::vector<Operator> m_operators;
    std::array<uint32_t, 256> m_opBegin {};
    std::array<uint32_t, 256> m_opEnd {};
    std::vector<TCommentRule> m_comments;
    std::vector<StringKind> m_strings;
    std::vector<TPragmaRule> m_pragmas;
    TNumberRules m_numbers;
    std::vector<std::string_view> m_terminals;
    // Open addressing, a power of two at least twice the keywords; -1 marks a free slot.
    struct KeywordSlot {
        std::string_view text;
        int symbol = -1;
    };
    std::vector<KeywordSlot> m_keywords;
    std::size_t m_keywordMask = 0;
    int m_noSym;
};

} // namespace zev
