#pragma once

// The dialogue's records. Field order and widths are the binary interface towards plug-ins
// (zevdlg/plugin.h declares the same layout in C; records_layout.cpp ties the two together), so
// fields keep their historical names and are never reordered. A table is a fixed array of
// pointers to heap records followed by its count; entries 0 .. count-1 are in use, without holes.

#include <cstdint>

#include "model/host_string.h"
#include "model/host_variant.h"

namespace zev {

using flag = uint8_t;

inline constexpr int32_t kMaxStartConditions = 513;
inline constexpr int32_t kMaxCustomProcs = 401;
inline constexpr int32_t kMaxTimedEvents = 129;
inline constexpr int32_t kMaxFloatNodes = 513;
inline constexpr int32_t kMaxNodes = 513;
inline constexpr int32_t kMaxVariables = 1001;
inline constexpr int32_t kMaxSkillChecks = 21;
inline constexpr int32_t kMaxOptions = 513;
inline constexpr int32_t kMaxConditions = 65;
inline constexpr int32_t kMaxFloatMessages = 257;
inline constexpr int32_t kMaxTimedEventLines = 65;
inline constexpr int32_t kMaxStartConditionLines = 31;

// Condition types, comparison operators and the other codes the records store.
enum CheckType : int32_t {
    CHECK_STAT = 1,
    CHECK_SKILL = 2,
    CHECK_MONEY = 3,
    GLOBAL_VARIABLE = 4,
    LOCAL_VARIABLE = 5,
    SCRIPT_VARIABLE = 6,
};
enum Reaction : int32_t { REACTION_NEUTRAL = 0, REACTION_GOOD = 1, REACTION_BAD = 2 };
enum Gender : int32_t { GENDER_ANY = 0, GENDER_MALE = 1, GENDER_FEMALE = 2 };
enum LinkNext : int32_t { LINK_NONE = 0, LINK_AND = 1, LINK_OR = 2 };
enum VariableScope : int32_t { SCOPE_NONE = 0, SCOPE_IMPORT = 1, SCOPE_EXPORT = 2, SCOPE_LOCAL = 3 };
enum VariableType : int32_t { VALUE_NONE = -1, VALUE_STRING = 0, VALUE_INTEGER = 1, VALUE_FLOAT = 2 };

// One extra condition of a player option.
struct condition {
    int32_t check_type = 0;
    int32_t subject = 0; // stat, skill or money code; 0 when the name is unknown
    int32_t eval = 0; // comparison operator 1..6
    HostString variable_name;
    HostString value; // as its token stood in the file, quotes of a string included
    HostString script_expr; // built from conditions.ini
    int32_t link_next = 0;
};

// A named skill check inside a node.
struct skillcheck {
    HostString name;
    int32_t skill = 0;
    int32_t difficulty_modifier = 0;
    HostString on_success;
    HostString on_failure;
};

// One player option of a node.
struct option {
    HostString text;
    HostString link_target; // node, skill check, custom procedure, "done" or "combat"
    int32_t link_index = -1; // cache kept by link resolution
    flag to_custom_proc = 0;
    flag to_skill_check = 0;
    int32_t reaction = 0;
    int32_t gender = 0;
    int32_t intelligence = 0;
    HostString notes;
    condition* conditions[kMaxConditions] = {};
    int32_t condition_count = 0;
};

// One dialogue node.
struct dlgnode {
    HostString custom_code;
    skillcheck* skill_checks[kMaxSkillChecks] = {};
    int32_t skill_check_count = 0;
    HostString name;
    HostString npc_text;
    HostString npc_female_text;
    HostString notes;
    flag hidden = 0; // never stored in the file
    option* options[kMaxOptions] = {};
    int32_t option_count = 0;
};

// A float-message node: a named list of messages held inline.
struct floatnode {
    HostString name;
    HostString notes;
    HostString messages[kMaxFloatMessages];
    int32_t message_count = 0;
};

// One code line of a timed event.
struct action {
    HostString line;
};

struct time_event_data {
    HostString fixed_param_name;
    int32_t enum_value = 0;
    action* code[kMaxTimedEventLines] = {};
    int32_t code_line_count = 0;
    flag is_random = 0;
    int32_t interval_min = 0; // seconds
    int32_t interval_max = 0;
    int32_t interval = 0;
};

struct TVariable {
    HostString name;
    int32_t scope = 0;
    int32_t value_type = -1;
    HostString notes;
    HostVariant value;
};

// One line of a start condition.
struct cond_data {
    HostString ssl;
    HostString var_param;
    int32_t eval = 0;
    HostString value_to_check;
    int32_t ini_index = 0;
    int32_t link = 0;
};

struct starting_condition {
    cond_data* lines[kMaxStartConditionLines] = {};
    int32_t line_count = 0;
    HostString target_node;
};

struct custom_proc {
    HostString name;
    HostString code; // lines separated by CR LF
    int32_t associate_node = 0;
};

// The whole dialogue.
struct dialog {
    HostString file_name;
    HostString npc_name;
    HostString description;
    HostString location;
    HostString unknown_desc;
    HostString known_desc;
    HostString detailed_desc;
    int32_t default_event = 0;
    starting_condition* start_conditions[kMaxStartConditions] = {};
    int32_t start_condition_count = 0;
    int32_t default_condition = 0;
    custom_proc* custom_procs[kMaxCustomProcs] = {};
    int32_t custom_proc_count = 0;
    time_event_data* timed_events[kMaxTimedEvents] = {};
    int32_t timed_event_count = 0;
    floatnode* float_nodes[kMaxFloatNodes] = {};
    int32_t float_node_count = 0;
    dlgnode* nodes[kMaxNodes] = {};
    int32_t node_count = 0;
    TVariable* variables[kMaxVariables] = {};
    int32_t variable_count = 0;
};

// The older layout still handed to plug-ins: the seven texts and the node table.
struct dialog_oldformat {
    HostString file_name;
    HostString npc_name;
    HostString description;
    HostString location;
    HostString unknown_desc;
    HostString known_desc;
    HostString detailed_desc;
    dlgnode* nodes[kMaxNodes] = {};
    int32_t node_count = 0;
};

inline constexpr int kSkillCount = 18;

// One skill of the test player character.
struct _skill {
    HostString name;
    int32_t value = 0;
};

// The test player character.
struct PlayerChar {
    HostString name;
    int32_t gender = 1;
    int32_t age = 16;
    int32_t strength = 5;
    int32_t perception = 5;
    int32_t endurance = 5;
    int32_t charisma = 5;
    int32_t intelligence = 5;
    int32_t agility = 5;
    int32_t luck = 5;
    int32_t money = 0;
    _skill skills[kSkillCount]; // skill number k is entry k-1
};

} // namespace zev
