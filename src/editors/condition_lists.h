#pragma once

// The operator and linkage lists the two condition editors share. A condition stores the position
// in these lists (eval 0..6, link 0..2), so their order is fixed.

#include <array>
#include <cstddef>
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

} // namespace zev
