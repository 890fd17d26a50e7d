#pragma once

#include <string_view>

#include "completion/def_scanner_base.h"

namespace zev {

// Terminal numbers of the definition file language.
namespace incsym {
enum : int {
    EOF_ = 0,
    ident = 1,
    integer = 2,
    float_ = 3,
    string = 4,
    hexLiteral = 5,
    AddDefine = 6,
    lparen = 7,
    integerKw = 8,
    procptr = 9,
    stringKw = 10,
    objectptr = 11,
    comma = 12,
    rparen = 13,
    assign = 14,
    semicolon = 15,
    maxT = 15,
    noSym = 16,
};
} // namespace incsym

// The terminal's text as the messages quote it ("AddDefine", ";"); empty for the token classes.
std::string_view IncludeTerminalText(int symbol);

// The scanner of definition files: strings without escapes, no pragmas ("#" is an unknown symbol).
class TParseIncludeScanner : public TDefScannerBase {
public:
    TParseIncludeScanner()
        : TDefScannerBase(incsym::noSym)
    {
    }

protected:
    int Keyword(std::string_view word) const override;
    int ScanOther(int c) override;

private:
    int ScanString();
};

} // namespace zev
