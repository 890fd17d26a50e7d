// Ties the records to the C layout of zevdlg/records.h: a field moved or resized on either side
// stops the build.
#include <cstddef>
#include <type_traits>

#include "model/records.h"
#include "zevdlg/records.h"

namespace zev {
namespace {

#define ZEV_SAME_SIZE(T, C)                                                                                            \
    static_assert(std::is_standard_layout_v<T>, #T " must stay standard-layout");                                      \
    static_assert(sizeof(T) == sizeof(C), #T " differs in size from " #C)
#define ZEV_SAME_FIELD(T, C, F)                                                                                        \
    static_assert(offsetof(T, F) == offsetof(C, F), #T "::" #F " is not where " #C " has it")

ZEV_SAME_SIZE(condition, zev_condition);
static_assert(sizeof(condition) == ZEV_SIZEOF_CONDITION);
ZEV_SAME_FIELD(condition, zev_condition, check_type);
ZEV_SAME_FIELD(condition, zev_condition, subject);
ZEV_SAME_FIELD(condition, zev_condition, eval);
ZEV_SAME_FIELD(condition, zev_condition, variable_name);
ZEV_SAME_FIELD(condition, zev_condition, value);
ZEV_SAME_FIELD(condition, zev_condition, script_expr);
ZEV_SAME_FIELD(condition, zev_condition, link_next);

ZEV_SAME_SIZE(skillcheck, zev_skillcheck);
static_assert(sizeof(skillcheck) == ZEV_SIZEOF_SKILLCHECK);
ZEV_SAME_FIELD(skillcheck, zev_skillcheck, name);
ZEV_SAME_FIELD(skillcheck, zev_skillcheck, skill);
ZEV_SAME_FIELD(skillcheck, zev_skillcheck, difficulty_modifier);
ZEV_SAME_FIELD(skillcheck, zev_skillcheck, on_success);
ZEV_SAME_FIELD(skillcheck, zev_skillcheck, on_failure);

ZEV_SAME_SIZE(option, zev_option);
static_assert(sizeof(option) == ZEV_SIZEOF_OPTION);
ZEV_SAME_FIELD(option, zev_option, text);
ZEV_SAME_FIELD(option, zev_option, link_target);
ZEV_SAME_FIELD(option, zev_option, link_index);
ZEV_SAME_FIELD(option, zev_option, to_custom_proc);
ZEV_SAME_FIELD(option, zev_option, to_skill_check);
ZEV_SAME_FIELD(option, zev_option, reaction);
ZEV_SAME_FIELD(option, zev_option, gender);
ZEV_SAME_FIELD(option, zev_option, intelligence);
ZEV_SAME_FIELD(option, zev_option, notes);
ZEV_SAME_FIELD(option, zev_option, conditions);
ZEV_SAME_FIELD(option, zev_option, condition_count);

ZEV_SAME_SIZE(dlgnode, zev_dlgnode);
static_assert(sizeof(dlgnode) == ZEV_SIZEOF_DLGNODE);
ZEV_SAME_FIELD(dlgnode, zev_dlgnode, custom_code);
ZEV_SAME_FIELD(dlgnode, zev_dlgnode, skill_checks);
ZEV_SAME_FIELD(dlgnode, zev_dlgnode, skill_check_count);
ZEV_SAME_FIELD(dlgnode, zev_dlgnode, name);
ZEV_SAME_FIELD(dlgnode, zev_dlgnode, npc_text);
ZEV_SAME_FIELD(dlgnode, zev_dlgnode, npc_female_text);
ZEV_SAME_FIELD(dlgnode, zev_dlgnode, notes);
ZEV_SAME_FIELD(dlgnode, zev_dlgnode, hidden);
ZEV_SAME_FIELD(dlgnode, zev_dlgnode, options);
ZEV_SAME_FIELD(dlgnode, zev_dlgnode, option_count);

ZEV_SAME_SIZE(floatnode, zev_floatnode);
static_assert(sizeof(floatnode) == ZEV_SIZEOF_FLOATNODE);
ZEV_SAME_FIELD(floatnode, zev_floatnode, name);
ZEV_SAME_FIELD(floatnode, zev_floatnode, notes);
ZEV_SAME_FIELD(floatnode, zev_floatnode, messages);
ZEV_SAME_FIELD(floatnode, zev_floatnode, message_count);

ZEV_SAME_SIZE(action, zev_action);
static_assert(sizeof(action) == ZEV_SIZEOF_ACTION);
ZEV_SAME_FIELD(action, zev_action, line);

ZEV_SAME_SIZE(time_event_data, zev_time_event_data);
static_assert(sizeof(time_event_data) == ZEV_SIZEOF_TIME_EVENT_DATA);
ZEV_SAME_FIELD(time_event_data, zev_time_event_data, fixed_param_name);
ZEV_SAME_FIELD(time_event_data, zev_time_event_data, enum_value);
ZEV_SAME_FIELD(time_event_data, zev_time_event_data, code);
ZEV_SAME_FIELD(time_event_data, zev_time_event_data, code_line_count);
ZEV_SAME_FIELD(time_event_data, zev_time_event_data, is_random);
ZEV_SAME_FIELD(time_event_data, zev_time_event_data, interval_min);
ZEV_SAME_FIELD(time_event_data, zev_time_event_data, interval_max);
ZEV_SAME_FIELD(time_event_data, zev_time_event_data, interval);

ZEV_SAME_SIZE(HostVariant, zev_variant);
ZEV_SAME_SIZE(TVariable, zev_variable);
static_assert(sizeof(TVariable) == ZEV_SIZEOF_VARIABLE);
ZEV_SAME_FIELD(TVariable, zev_variable, name);
ZEV_SAME_FIELD(TVariable, zev_variable, scope);
ZEV_SAME_FIELD(TVariable, zev_variable, value_type);
ZEV_SAME_FIELD(TVariable, zev_variable, notes);
ZEV_SAME_FIELD(TVariable, zev_variable, value);

ZEV_SAME_SIZE(cond_data, zev_cond_data);
static_assert(sizeof(cond_data) == ZEV_SIZEOF_COND_DATA);
ZEV_SAME_FIELD(cond_data, zev_cond_data, ssl);
ZEV_SAME_FIELD(cond_data, zev_cond_data, var_param);
ZEV_SAME_FIELD(cond_data, zev_cond_data, eval);
ZEV_SAME_FIELD(cond_data, zev_cond_data, value_to_check);
ZEV_SAME_FIELD(cond_data, zev_cond_data, ini_index);
ZEV_SAME_FIELD(cond_data, zev_cond_data, link);

ZEV_SAME_SIZE(starting_condition, zev_starting_condition);
static_assert(sizeof(starting_condition) == ZEV_SIZEOF_STARTING_CONDITION);
ZEV_SAME_FIELD(starting_condition, zev_starting_condition, lines);
ZEV_SAME_FIELD(starting_condition, zev_starting_condition, line_count);
ZEV_SAME_FIELD(starting_condition, zev_starting_condition, target_node);

ZEV_SAME_SIZE(custom_proc, zev_custom_proc);
static_assert(sizeof(custom_proc) == ZEV_SIZEOF_CUSTOM_PROC);
ZEV_SAME_FIELD(custom_proc, zev_custom_proc, name);
ZEV_SAME_FIELD(custom_proc, zev_custom_proc, code);
ZEV_SAME_FIELD(custom_proc, zev_custom_proc, associate_node);

ZEV_SAME_SIZE(dialog, zev_dialog);
static_assert(sizeof(dialog) == ZEV_SIZEOF_DIALOG);
ZEV_SAME_FIELD(dialog, zev_dialog, file_name);
ZEV_SAME_FIELD(dialog, zev_dialog, npc_name);
ZEV_SAME_FIELD(dialog, zev_dialog, description);
ZEV_SAME_FIELD(dialog, zev_dialog, location);
ZEV_SAME_FIELD(dialog, zev_dialog, unknown_desc);
ZEV_SAME_FIELD(dialog, zev_dialog, known_desc);
ZEV_SAME_FIELD(dialog, zev_dialog, detailed_desc);
ZEV_SAME_FIELD(dialog, zev_dialog, default_event);
ZEV_SAME_FIELD(dialog, zev_dialog, start_conditions);
ZEV_SAME_FIELD(dialog, zev_dialog, start_condition_count);
ZEV_SAME_FIELD(dialog, zev_dialog, default_condition);
ZEV_SAME_FIELD(dialog, zev_dialog, custom_procs);
ZEV_SAME_FIELD(dialog, zev_dialog, custom_proc_count);
ZEV_SAME_FIELD(dialog, zev_dialog, timed_events);
ZEV_SAME_FIELD(dialog, zev_dialog, timed_event_count);
ZEV_SAME_FIELD(dialog, zev_dialog, float_nodes);
ZEV_SAME_FIELD(dialog, zev_dialog, float_node_count);
ZEV_SAME_FIELD(dialog, zev_dialog, nodes);
ZEV_SAME_FIELD(dialog, zev_dialog, node_count);
ZEV_SAME_FIELD(dialog, zev_dialog, variables);
ZEV_SAME_FIELD(dialog, zev_dialog, variable_count);

ZEV_SAME_SIZE(dialog_oldformat, zev_dialog_oldformat);
static_assert(sizeof(dialog_oldformat) == ZEV_SIZEOF_DIALOG_OLDFORMAT);
ZEV_SAME_FIELD(dialog_oldformat, zev_dialog_oldformat, detailed_desc);
ZEV_SAME_FIELD(dialog_oldformat, zev_dialog_oldformat, nodes);
ZEV_SAME_FIELD(dialog_oldformat, zev_dialog_oldformat, node_count);

ZEV_SAME_SIZE(_skill, zev_skill);
ZEV_SAME_FIELD(_skill, zev_skill, name);
ZEV_SAME_FIELD(_skill, zev_skill, value);
ZEV_SAME_SIZE(PlayerChar, zev_player_char);
static_assert(sizeof(PlayerChar) == ZEV_SIZEOF_PLAYER_CHAR);
ZEV_SAME_FIELD(PlayerChar, zev_player_char, name);
ZEV_SAME_FIELD(PlayerChar, zev_player_char, gender);
ZEV_SAME_FIELD(PlayerChar, zev_player_char, age);
ZEV_SAME_FIELD(PlayerChar, zev_player_char, strength);
ZEV_SAME_FIELD(PlayerChar, zev_player_char, luck);
ZEV_SAME_FIELD(PlayerChar, zev_player_char, money);
ZEV_SAME_FIELD(PlayerChar, zev_player_char, skills);

} // namespace
} // namespace zev
