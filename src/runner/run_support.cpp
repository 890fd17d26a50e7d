#include "runner/run_support.h"

#include <charconv>

namespace zev {

const dlgnode* NodeAtIndex(const dialog& d, int32_t index)
{
    return index >= 0 && index < d.node_count && index < kMaxNodes ? d.nodes[index] : nullptr;
}

const option* OptionAtIndex(const dialog& d, int32_t node, int32_t index)
{
    const dlgnode* n = NodeAtIndex(d, node);
    return n && index >= 0 && index < n->option_count && index < kMaxOptions ? n->options[index] : nullptr;
}

std::string SubstitutePlayerName(std::string_view text, std::string_view playerName)
{
    return ReplaceAll(ReplaceAll(text, "<PC>", playerName), "${dude_name}", playerName);
}

std::optional<int32_t> ParseDecimalInt(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    if (text.empty())
        return std::nullopt;
    int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string ZeroPad3(int value)
{
    std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
    if (digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

} // namespace zev
