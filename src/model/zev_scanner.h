#pragma once

#include <string_view>

#include "model/base_scanner.h"

namespace zev {

// Symbol numbers of the dialogue file grammar, the codes of its "expected" messages: the token
// classes, the terminals in the order of their texts, the unknown symbol and the directive.
namespace zevsym {
inline constexpr int EOF_ = 0, ident = 1, integer = 2, float_ = 3, string = 4, hexLiteral = 5, eq = 6, ne = 7, lt = 8,
                     gt = 9, ge = 10, le = 11, link_next = 12, NONE = 13, AND = 14, OR = 15, int_ = 16, assign = 17,
                     linkflags = 18, skill_check = 19, custom_proc = 20, Reaction = 21, REACTION_BAD = 22,
                     REACTION_NEUTRAL = 23, REACTION_GOOD = 24, Gender = 25, FEMALE = 26, MALE = 27, playertext = 28,
                     linkto = 29, conditions = 30, lbrace = 31, comma = 32, rbrace = 33, notes = 34, Floatnode = 35,
                     SSL = 36, var_param = 37, eval = 38, value_to_check = 39, ini_index = 40, link = 41, cond = 42,
                     target_node = 43, start_conditions = 44, default_condition = 45, semicolon = 46,
                     associate_node = 47, exec_script_code = 48, import = 49, local = 50, export_ = 51, var = 52,
                     vars = 53, define_skill_check = 54, skill_num = 55, difficulty_modifier = 56, onsuccess = 57,
                     arrow = 58, onfailure = 59, Node = 60, insert_custom_code = 61, NPCText = 62, NPCFemaleText = 63,
                     options = 64, TimeEvent = 65, fixed_param_name = 66, enum_ = 67, IsRandomInterval = 68, True = 69,
                     IntervalMin = 70, IntervalMax = 71, False = 72, Interval = 73, code = 74, Default_Event = 75,
                     NPCName = 76, Location = 77, Description = 78, Unknown_Desc = 79, Known_Desc = 80,
                     Detailed_Desc = 81, maxT = 81, noSym = 82, directive = 83;
} // namespace zevsym

// The keyword's terminal number, or -1 (exact, case-sensitive).
int ZevKeyword(std::string_view word);

// The dialogue file's scanner: "//" comments and "#" directives end at a CR only (an LF-only file
// runs them on); in strings a run of backslashes escapes, and an escaped quote before the line end
// serves as the closing one.
class TZEVScanner : public TBaseScanner {
public:
    TZEVScanner();
};

} // namespace zev
