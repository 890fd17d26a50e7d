#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/log.h"

namespace zev::test {

// Collects every line a Logger writes, with its category.
class LogCapture {
public:
    explicit LogCapture(Logger& log)
    {
        log.SetMirror([this](std::string_view m, std::string_view c) { lines.emplace_back(m, c); });
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> out;
        for (auto& l : lines)
            out.push_back(l.first);
        return out;
    }
    std::vector<std::pair<std::string, std::string>> lines;
};

} // namespace zev::test
