#include "editors/condition_code.h"

namespace zev {

std::string ResolveConditionCode(
    std::string_view templ, std::string_view op, std::string_view value, std::string_view item)
{
    std::string head(templ);
    if (auto at = head.find("%eval%"); at != std::string::npos)
        head.replace(at, 6, op);
    // The value is user text: it goes in last, between the template's two halves, so a '%' typed
    // into it is never taken for a placeholder.
    std::string tail;
    const auto valueAt = head.find("%value%");
    if (valueAt != std::string::npos) {
        tail = head.substr(valueAt + 7);
        head.resize(valueAt);
    }
    if (auto at = head.find("%s"); at != std::string::npos)
        head.replace(at, 2, item);
    else if (auto later = tail.find("%s"); later != std::string::npos)
        tail.replace(later, 2, item);
    return valueAt == std::string::npos ? head : head + std::string(value) + tail;
}

std::string ResolveStartConditionCode(
    std::string_view templ, std::string_view op, std::string_view value, std::string_view selection)
{
    static constexpr std::string_view kEval = "%eval%", kValue = "%value%", kSelection = "%selection%";
    std::string out;
    for (std::size_t i = 0; i < templ.size();) {
        const std::string_view rest = templ.substr(i);
        if (rest.starts_with(kEval)) {
            out += op;
            i += kEval.size();
        } else if (rest.starts_with(kValue)) {
            out += value;
            i += kValue.size();
        } else if (rest.starts_with(kSelection)) {
            out += selection;
            i += kSelection.size();
        } else {
            out += templ[i++];
        }
    }
    return out;
}

} // namespace zev
