#pragma once

// The node filter's search mask, a file-name mask: "*" stands for any run of characters, "?" for
// one character, "[...]" for one character of a set or range ("[a-z]", "[abc]", "[!x]" any but
// those); letters compare without regard to case.

#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zev {

class NameMask {
public:
    // The mask; nothing, with error saying why, when it is malformed (an unclosed "[").
    static std::optional<NameMask> Parse(std::string_view pattern, std::string& error);
    bool Matches(std::string_view name) const;

private:
    struct Item {
        enum class Kind { Char, AnyRun, AnyOne, Set } kind = Kind::Char;
        std::bitset<256> accepts; // Char and Set: the bytes it matches (both cases of a letter)
    };
    bool MatchOne(const Item& item, unsigned char c) const;

    std::vector<Item> m_items;
};

} // namespace zev
