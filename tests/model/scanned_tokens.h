#pragma once

#include <string>
#include <vector>

#include "model/base_scanner.h"

namespace zev::test {

// What a scanner makes of its source from the start: "number text" per symbol up to the end of
// file, which is not listed; with positions, "line:col number text".
inline std::vector<std::string> ReadTokens(TBaseScanner& scanner, bool positions = false)
{
    scanner.Reset();
    std::vector<std::string> out;
    for (int n = 0; n < 10000; ++n) {
        int symbol = scanner.Get();
        if (symbol == toksym::EOF_)
            break;
        const TSymbolPosition& s = scanner.NextSymbol;
        std::string where = positions ? std::to_string(s.Line) + ":" + std::to_string(s.Col) + " " : "";
        out.push_back(where + std::to_string(symbol) + " " + scanner.GetName(s));
    }
    return out;
}

inline std::vector<std::string> ScannedTokens(TBaseScanner& scanner, std::string text, bool positions = false)
{
    scanner.SrcStream() = std::move(text);
    return ReadTokens(scanner, positions);
}

} // namespace zev::test
