#pragma once

// What the two condition editors share: the operator and linkage lists, and how each turns its
// template into a script expression. A condition stores the position in the lists (eval 0..6,
// link 0..2), so their order is fixed.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zev {

inline constexpr std::array<std::string_view, 7> kOperatorItems = { "none (check for true)", "== (equal)",
    "!= (not equal)", "> (larger than)", "< (less than)", ">= (larger than or equal)", "<= (less than or equal)" };
// Position 0 checks for true: no symbol.
inline constexpr std::array<std::string_view, 7> kOperatorSymbols = { "", "==", "!=", ">", "<", ">=", "<=" };
inline constexpr std::array<std::string_view, 3> kLinkageItems = { "None", "And", "Or" };

// The symbol of an operator position; empty outside the list.
constexpr std::string_view OperatorSymbol(int position)
{
    return position >= 0 && static_cast<std::size_t>(position) < kOperatorSymbols.size() ? kOperatorSymbols[position]
                                                                                         : std::string_view();
}

// Position clamped into a list of that size (a stored code from a damaged file stays in range).
constexpr int ClampPosition(int position, std::size_t size)
{
    return position < 0 ? 0 : static_cast<std::size_t>(position) >= size ? static_cast<int>(size) - 1 : position;
}

// Counts read from definition files are trusted only this far: a damaged count must not make a
// list of millions of empty entries.
inline constexpr int kMaxDefinitionItems = 1024;

// The script expression of a condition: in templ the first "%eval%" takes op, then the first
// "%value%" takes value, then the first "%s" that came from the template takes item. Every other
// '%' stays as written; the value (typed text) is never read as a placeholder.
std::string ResolveConditionCode(
    std::string_view templ, std::string_view op, std::string_view value, std::string_view item);

// Every "%eval%", "%value%" and "%selection%" of templ replaced, in one pass over the template:
// text put in is never searched again.
std::string ResolveStartConditionCode(
    std::string_view templ, std::string_view op, std::string_view value, std::string_view selection);

} // namespace zev
