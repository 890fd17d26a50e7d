#pragma once

#include <string_view>

#include "completion/def_scanner_base.h"

namespace zev {

// Terminal numbers of the code preset language.
namespace snipsym {
enum : int {
    EOF_ = 0,
    ident = 1,
    integer = 2,
    float_ = 3,
    string = 4,
    hexLiteral = 5,
    bool_ = 6,
    int_ = 7,
    stat = 8,
    skill = 9,
    script_var = 10,
    pid_id = 11,
    map_var = 12,
    local_var = 13,
    node = 14,
    floatnode = 15,
    stringKw = 16,
    assign = 17,
    CodePreset = 18,
    lparen = 19,
    comma = 20,
    rparen = 21,
    desc = 22,
    lbrace = 23,
    rbrace = 24,
    semicolon = 25,
    maxT = 25,
    noSym = 26,
    pragma = 27,
};
} // namespace snipsym

// The terminal's text as the messages quote it ("CodePreset", "="); empty for the token classes.
std::string_view SnippetTerminalText(int symbol);

// The scanner of "codesnippets.def": strings with backslash escapes, and "#" pragma lines that
// are skipped like comments.
class TCodeSnippetsScanner : public TDefScannerBase {
public:
    TCodeSnippetsScanner()
        : TDefScannerBase(snipsym::noSym)
    {
    }

protected:
    int Keyword(std::string_view word) const override;
    int ScanOther(int c) override;

private:
    int ScanString();
};

} // namespace zev
