#include "editors/name_mask.h"

namespace zev {

namespace {

unsigned char Lower(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}
unsigned char Upper(unsigned char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
}

void AcceptBothCases(std::bitset<256>& set, unsigned char c)
{
    set.set(Lower(c));
    set.set(Upper(c));
}

} // namespace

std::optional<NameMask> NameMask::Parse(std::string_view pattern, std::string& error)
{
    NameMask mask;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const auto c = static_cast<unsigned char>(pattern[i]);
        Item item;
        if (c == '*') {
            // A run of stars is one star.
            if (!mask.m_items.empty() && mask.m_items.back().kind == Item::Kind::AnyRun)
                continue;
            item.kind = Item::Kind::AnyRun;
        } else if (c == '?') {
            item.kind = Item::Kind::AnyOne;
        } else if (c == '[') {
            const std::size_t close = pattern.find(']', i + 1);
            if (close == std::string_view::npos) {
                error = "The search mask \"" + std::string(pattern) + "\" has a \"[\" without its \"]\".";
                return std::nullopt;
            }
            std::string_view body = pattern.substr(i + 1, close - i - 1);
            const bool negate = !body.empty() && body.front() == '!';
            if (negate)
                body.remove_prefix(1);
            item.kind = Item::Kind::Set;
            for (std::size_t k = 0; k < body.size(); ++k) {
                auto from = static_cast<unsigned char>(body[k]);
                if (k + 2 < body.size() && body[k + 1] == '-') {
                    auto to = static_cast<unsigned char>(body[k + 2]);
                    for (unsigned v = std::min(from, to); v <= std::max(from, to); ++v)
                        AcceptBothCases(item.accepts, static_cast<unsigned char>(v));
                    k += 2;
                } else {
                    AcceptBothCases(item.accepts, from);
                }
            }
            if (negate)
                item.accepts.flip();
            i = close;
        } else {
            AcceptBothCases(item.accepts, c);
        }
        mask.m_items.push_back(item);
    }
    return mask;
}

bool NameMask::MatchOne(const Item& item, unsigned char c) const
{
    return item.kind == Item::Kind::AnyOne || item.accepts.test(c);
}

bool NameMask::Matches(std::string_view name) const
{
    // Greedy with one back-track point: the last star and where its run would end next.
    std::size_t p = 0, n = 0;
    std::size_t starItem = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        const auto c = static_cast<unsigned char>(name[n]);
        if (p < m_items.size() && m_items[p].kind == Item::Kind::AnyRun) {
            starItem = p++;
            starName = n;
        } else if (p < m_items.size() && MatchOne(m_items[p], c)) {
            ++p;
            ++n;
        } else if (starItem != std::string_view::npos) {
            p = starItem + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < m_items.size() && m_items[p].kind == Item::Kind::AnyRun)
        ++p;
    return p == m_items.size();
}

} // namespace zev
