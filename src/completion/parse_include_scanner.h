#pragma once

#include "completion/def_scanner_base.h"

namespace zev {

// Symbol numbers of the definition file grammar, the codes of its "expected" messages: the token
// classes, the terminals in the order of their texts and the unknown symbol.
namespace incsym {
inline constexpr int EOF_ = 0, ident = 1, integer = 2, float_ = 3, string = 4, hexLiteral = 5, AddDefine = 6,
                     lparen = 7, integerKw = 8, procptr = 9, stringKw = 10, objectptr = 11, comma = 12, rparen = 13,
                     assign = 14, semicolon = 15, maxT = 15, noSym = 16;
} // namespace incsym

// The scanner of definition files: strings without escapes, no pragmas ("#" is an unknown symbol).
class TParseIncludeScanner : public TDefScannerBase {
public:
    TParseIncludeScanner();
};

} // namespace zev
