#pragma once

#include <string>
#include <vector>

#include "model/parser_runtime.h"

namespace zev::test {

// The stored errors of the last parse as "line:col code", in report order.
inline std::vector<std::string> ErrorList(const TBaseGrammar& grammar)
{
    std::vector<std::string> out;
    for (const TParseError& e : grammar.Errors())
        out.push_back(std::to_string(e.Line) + ":" + std::to_string(e.Col) + " " + std::to_string(e.ErrorCode));
    return out;
}

} // namespace zev::test
