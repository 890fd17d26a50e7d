#pragma once

#include "completion/def_scanner_base.h"

namespace zev {

// Symbol numbers of the code preset grammar, the codes of its "expected" messages: the token
// classes, the terminals in the order of their texts, the unknown symbol and the pragma.
namespace snipsym {
inline constexpr int EOF_ = 0, ident = 1, integer = 2, float_ = 3, string = 4, hexLiteral = 5, bool_ = 6, int_ = 7,
                     stat = 8, skill = 9, script_var = 10, pid_id = 11, map_var = 12, local_var = 13, node = 14,
                     floatnode = 15, stringKw = 16, assign = 17, CodePreset = 18, lparen = 19, comma = 20, rparen = 21,
                     desc = 22, lbrace = 23, rbrace = 24, semicolon = 25, maxT = 25, noSym = 26, pragma = 27;
} // namespace snipsym

// The scanner of "codesnippets.def": strings with backslash escapes, and "#" pragma lines that
// are skipped like comments.
class TCodeSnippetsScanner : public TDefScannerBase {
public:
    TCodeSnippetsScanner();
};

} // namespace zev
