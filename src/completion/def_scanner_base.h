#pragma once

#include <string_view>

#include "model/parser_runtime.h"

namespace zev {

// The token classes both definition languages number alike.
namespace defsym {
enum : int { EOF_ = 0, ident = 1, integer = 2, float_ = 3, string = 4, hexLiteral = 5 };
} // namespace defsym

// The lexical rules the code preset file and the definition files share: blanks, comments,
// identifiers with their keyword lookup, numbers and hex literals. The concrete scanner adds its
// strings, punctuation and pragmas. A line ends at CR or at LF, so a comment or a pragma never
// runs on past the end of its line in a file with LF line ends. The scanner never backtracks.
class TDefScannerBase : public TBaseScanner {
public:
    int Get() final;

protected:
    explicit TDefScannerBase(int noSym)
        : m_noSym(noSym)
    {
    }

    // The keyword's terminal number (exact, case-sensitive), or -1.
    virtual int Keyword(std::string_view word) const = 0;
    // A symbol that starts at a character the shared rules leave to the language.
    virtual int ScanOther(int c) = 0;

    void Consume()
    {
        ++NextSymbol.Len;
        NextCh();
    }
    static bool IsLineEnd(int c) { return c == '\r' || c == '\n'; }
    // The end of the input inside a symbol: end of file, standing at the symbol's start.
    int EndOfInputInside()
    {
        NextSymbol.Len = 0;
        return defsym::EOF_;
    }
    // An unknown symbol of one character.
    int Unknown()
    {
        Consume();
        return m_noSym;
    }

    const int m_noSym;

private:
    bool SkipComment();
    int ScanNumber(bool allowFraction);
    int ScanFraction();
};

// Identifier letters: A-Z, a-z, "_" and the six Latin-1 letters Ä Å Ö ä å ö.
bool IsDefLetter(int c);

} // namespace zev
