#pragma once

#include <string>
#include <string_view>

namespace zev {

// The multi-line text control a console plug-in lends the program: console output is appended to
// its lines while it is held. The program never destroys it.
class OutputControl {
public:
    virtual ~OutputControl() = default;
    virtual std::string Name() const = 0;
    virtual void AppendLine(std::string_view text) = 0;
    virtual void Clear() = 0;
};

} // namespace zev
