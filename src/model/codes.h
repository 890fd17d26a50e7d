#pragma once

// The names of the codes the records store, as the dialogue file and the game script write them.
// Code to name and name to code use one table each, in both directions.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/records.h"

namespace zev {

// The skills as the windows name them; skill code k is entry k-1.
inline constexpr std::array<std::string_view, kSkillCount> kSkillTitles
    = { "Small Guns", "Big Guns", "Energy Weapons", "Unarmed Combat", "Melee", "Throwing", "First Aid", "Doctor",
          "Sneak", "Lockpick", "Steal", "Traps", "Science", "Repair", "Speech", "Barter", "Gambling", "Outdoorsman" };

inline constexpr std::string_view kLinkDone = "done";
inline constexpr std::string_view kLinkCombat = "combat";

// Each gives an empty text for a code outside its table.
std::string_view SkillName(int32_t code); // 1 "small_guns" .. 18 "outdoorsman"
std::string_view StatName(int32_t code); // 1 "strength" .. 14 "cur_poison_lev"
std::string_view MoneyName(int32_t code); // 1 "dude_caps"
std::string_view CheckTypeName(int32_t code); // 1 "CHECK_STAT" .. 6 "SCRIPT_VARIABLE"
std::string_view EvalName(int32_t code); // 1 "==" .. 6 "<="
std::string_view LinkNextName(int32_t code); // 0 "NONE", 1 "AND", 2 "OR"
std::string_view ReactionName(int32_t code); // 0 "REACTION_NEUTRAL", 1 "REACTION_GOOD", 2 "REACTION_BAD"
std::string_view GenderName(int32_t code); // 1 "MALE", 2 "FEMALE"
std::string_view ScopeName(int32_t code); // 1 "import", 2 "export", 3 "local"

// Each gives 0 for a name outside its table (exact, case-sensitive), -1 for EvalCode and
// LinkNextCode, whose tables hold 0.
int32_t SkillCode(std::string_view name);
int32_t StatCode(std::string_view name);
int32_t MoneyCode(std::string_view name);
int32_t CheckTypeCode(std::string_view name);
int32_t EvalCode(std::string_view op);
int32_t LinkNextCode(std::string_view name);

// The subject of a condition by its type: the stat, skill or money name, or the variable name.
std::string SubjectName(const condition& c);

// The one-line form of a condition as the dialogue file stores it:
// "CHECK_STAT strength >= 6 link_next NONE". A condition of an unknown type gives only the part
// from " link_next " on.
std::string ConditionText(const condition& c);

} // namespace zev
