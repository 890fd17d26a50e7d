#include "model/codes.h"

#include <array>

namespace zev {

namespace {

constexpr std::array<std::string_view, 19> kSkills {
    "",
    "small_guns",
    "big_guns",
    "energy_weapons",
    "unarmed_combat",
    "melee_combat",
    "throwing",
    "first_aid",
    "doctor",
    "sneak",
    "lockpick",
    "steal",
    "traps",
    "science",
    "repair",
    "speech",
    "barter",
    "gambling",
    "outdoorsman",
};
constexpr std::array<std::string_view, 15> kStats {
    "",
    "strength",
    "perception",
    "endurance",
    "charisma",
    "intelligence",
    "agility",
    "luck",
    "armor_class",
    "carry_amount",
    "healing_rate",
    "max_hp",
    "cur_hp",
    "cur_rad_lev",
    "cur_poison_lev",
};
constexpr std::array<std::string_view, 2> kMoney { "", "dude_caps" };
constexpr std::array<std::string_view, 7> kCheckTypes {
    "",
    "CHECK_STAT",
    "CHECK_SKILL",
    "CHECK_MONEY",
    "GLOBAL_VARIABLE",
    "LOCAL_VARIABLE",
    "SCRIPT_VARIABLE",
};
constexpr std::array<std::string_view, 7> kEvals { "", "==", "!=", ">", "<", ">=", "<=" };
constexpr std::array<std::string_view, 3> kLinkNext { "NONE", "AND", "OR" };
constexpr std::array<std::string_view, 3> kReactions { "REACTION_NEUTRAL", "REACTION_GOOD", "REACTION_BAD" };
constexpr std::array<std::string_view, 3> kGenders { "", "MALE", "FEMALE" };
constexpr std::array<std::string_view, 4> kScopes { "", "import", "export", "local" };

template <std::size_t N> std::string_view NameOf(const std::array<std::string_view, N>& table, int32_t code)
{
    return code >= 0 && static_cast<std::size_t>(code) < N ? table[static_cast<std::size_t>(code)]
                                                           : std::string_view {};
}

// Codes start at 1 in tables whose entry 0 is empty.
template <std::size_t N>
int32_t CodeOf(const std::array<std::string_view, N>& table, std::string_view name, int32_t missing)
{
    if (name.empty())
        return missing;
    for (std::size_t i = 0; i < N; ++i)
        if (table[i] == name)
            return static_cast<int32_t>(i);
    return missing;
}

} // namespace

std::string_view SkillName(int32_t code)
{
    return NameOf(kSkills, code);
}
std::string_view StatName(int32_t code)
{
    return NameOf(kStats, code);
}
std::string_view MoneyName(int32_t code)
{
    return NameOf(kMoney, code);
}
std::string_view CheckTypeName(int32_t code)
{
    return NameOf(kCheckTypes, code);
}
std::string_view EvalName(int32_t code)
{
    return NameOf(kEvals, code);
}
std::string_view LinkNextName(int32_t code)
{
    return NameOf(kLinkNext, code);
}
std::string_view ReactionName(int32_t code)
{
    return NameOf(kReactions, code);
}
std::string_view GenderName(int32_t code)
{
    return NameOf(kGenders, code);
}
std::string_view ScopeName(int32_t code)
{
    return NameOf(kScopes, code);
}

int32_t SkillCode(std::string_view name)
{
    return CodeOf(kSkills, name, 0);
}
int32_t StatCode(std::string_view name)
{
    return CodeOf(kStats, name, 0);
}
int32_t MoneyCode(std::string_view name)
{
    return CodeOf(kMoney, name, 0);
}
int32_t CheckTypeCode(std::string_view name)
{
    return CodeOf(kCheckTypes, name, 0);
}
int32_t EvalCode(std::string_view op)
{
    return CodeOf(kEvals, op, -1);
}
int32_t LinkNextCode(std::string_view name)
{
    return CodeOf(kLinkNext, name, -1);
}

std::string SubjectName(const condition& c)
{
    switch (c.check_type) {
    case CHECK_STAT:
        return std::string(StatName(c.subject));
    case CHECK_SKILL:
        return std::string(SkillName(c.subject));
    case CHECK_MONEY:
        return std::string(MoneyName(c.subject));
    case GLOBAL_VARIABLE:
    case LOCAL_VARIABLE:
    case SCRIPT_VARIABLE:
        return c.variable_name.str();
    default:
        return {};
    }
}

std::string ConditionText(const condition& c)
{
    std::string out;
    if (!CheckTypeName(c.check_type).empty()) {
        out += CheckTypeName(c.check_type);
        out += ' ';
        out += SubjectName(c);
        out += ' ';
        out += EvalName(c.eval);
        out += ' ';
        out += c.value.view();
    }
    out += " link_next ";
    out += LinkNextName(c.link_next);
    return out;
}

} // namespace zev
