/*
 * zevdlg records: the layout of the dialogue and player character records that the program hands
 * to plug-ins. Plain C. Every field in the order and width the program uses; do not reorder.
 *
 * Texts are host strings (zev_hstr): a pointer to zero-terminated 8-bit characters in the
 * program's code page, or NULL for an empty text. The 32-bit length stands in the 4 bytes before
 * the first character, a 32-bit reference count in the 4 bytes before that. Treat them as
 * read-only: the program owns them.
 *
 * A table is an array of pointers to records followed by its count; entries 0 .. count-1 are in
 * use. Capacities are fixed.
 */
#ifndef ZEVDLG_RECORDS_H
#define ZEVDLG_RECORDS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef const char* zev_hstr;
typedef uint8_t zev_flag;

/* The length of a host string, without reading up to its terminator. */
static inline int32_t zev_hstr_len(zev_hstr s)
{
    return s ? ((const int32_t*)(const void*)s)[-1] : 0;
}
/* A host string as a C text: never NULL. */
static inline const char* zev_hstr_cstr(zev_hstr s)
{
    return s ? s : "";
}

#define ZEV_MAX_START_CONDITIONS 513
#define ZEV_MAX_CUSTOM_PROCS 401
#define ZEV_MAX_TIMED_EVENTS 129
#define ZEV_MAX_FLOAT_NODES 513
#define ZEV_MAX_NODES 513
#define ZEV_MAX_VARIABLES 1001
#define ZEV_MAX_SKILL_CHECKS 21
#define ZEV_MAX_OPTIONS 513
#define ZEV_MAX_CONDITIONS 65
#define ZEV_MAX_FLOAT_MESSAGES 257
#define ZEV_MAX_TIMED_EVENT_LINES 65
#define ZEV_MAX_START_CONDITION_LINES 31
#define ZEV_SKILL_COUNT 18

/* Variant tags of zev_variant.type */
#define ZEV_VT_EMPTY 0
#define ZEV_VT_INT32 3
#define ZEV_VT_FLOAT64 5
#define ZEV_VT_STRING 0x0100

typedef struct zev_variant {
    uint16_t type;
    uint16_t reserved1, reserved2, reserved3;
    union {
        int32_t i32;
        double f64;
        zev_hstr str;
        uint64_t raw;
    } value;
} zev_variant;

typedef struct zev_condition {
    int32_t check_type; /* 1 CHECK_STAT .. 6 SCRIPT_VARIABLE */
    int32_t subject; /* stat, skill or money code */
    int32_t eval; /* 1 "==" 2 "!=" 3 ">" 4 "<" 5 ">=" 6 "<=" */
    zev_hstr variable_name;
    zev_hstr value;
    zev_hstr script_expr;
    int32_t link_next; /* 0 NONE, 1 AND, 2 OR */
} zev_condition;

typedef struct zev_skillcheck {
    zev_hstr name;
    int32_t skill;
    int32_t difficulty_modifier;
    zev_hstr on_success;
    zev_hstr on_failure;
} zev_skillcheck;

typedef struct zev_option {
    zev_hstr text;
    zev_hstr link_target;
    int32_t link_index;
    zev_flag to_custom_proc;
    zev_flag to_skill_check;
    int32_t reaction; /* 0 neutral, 1 good, 2 bad */
    int32_t gender; /* 0 any, 1 male, 2 female */
    int32_t intelligence;
    zev_hstr notes;
    zev_condition* conditions[ZEV_MAX_CONDITIONS];
    int32_t condition_count;
} zev_option;

typedef struct zev_dlgnode {
    zev_hstr custom_code;
    zev_skillcheck* skill_checks[ZEV_MAX_SKILL_CHECKS];
    int32_t skill_check_count;
    zev_hstr name;
    zev_hstr npc_text;
    zev_hstr npc_female_text;
    zev_hstr notes;
    zev_flag hidden;
    zev_option* options[ZEV_MAX_OPTIONS];
    int32_t option_count;
} zev_dlgnode;

typedef struct zev_floatnode {
    zev_hstr name;
    zev_hstr notes;
    zev_hstr messages[ZEV_MAX_FLOAT_MESSAGES];
    int32_t message_count;
} zev_floatnode;

typedef struct zev_action {
    zev_hstr line;
} zev_action;

typedef struct zev_time_event_data {
    zev_hstr fixed_param_name;
    int32_t enum_value;
    zev_action* code[ZEV_MAX_TIMED_EVENT_LINES];
    int32_t code_line_count;
    zev_flag is_random;
    int32_t interval_min;
    int32_t interval_max;
    int32_t interval;
} zev_time_event_data;

typedef struct zev_variable {
    zev_hstr name;
    int32_t scope; /* 0 none, 1 import, 2 export, 3 local */
    int32_t value_type; /* -1 none, 0 string, 1 integer, 2 float */
    zev_hstr notes;
    zev_variant value;
} zev_variable;

typedef struct zev_cond_data {
    zev_hstr ssl;
    zev_hstr var_param;
    int32_t eval;
    zev_hstr value_to_check;
    int32_t ini_index;
    int32_t link;
} zev_cond_data;

typedef struct zev_starting_condition {
    zev_cond_data* lines[ZEV_MAX_START_CONDITION_LINES];
    int32_t line_count;
    zev_hstr target_node;
} zev_starting_condition;

typedef struct zev_custom_proc {
    zev_hstr name;
    zev_hstr code;
    int32_t associate_node;
} zev_custom_proc;

typedef struct zev_dialog {
    zev_hstr file_name;
    zev_hstr npc_name;
    zev_hstr description;
    zev_hstr location;
    zev_hstr unknown_desc;
    zev_hstr known_desc;
    zev_hstr detailed_desc;
    int32_t default_event;
    zev_starting_condition* start_conditions[ZEV_MAX_START_CONDITIONS];
    int32_t start_condition_count;
    int32_t default_condition; /* -1: none */
    zev_custom_proc* custom_procs[ZEV_MAX_CUSTOM_PROCS];
    int32_t custom_proc_count;
    zev_time_event_data* timed_events[ZEV_MAX_TIMED_EVENTS];
    int32_t timed_event_count;
    zev_floatnode* float_nodes[ZEV_MAX_FLOAT_NODES];
    int32_t float_node_count;
    zev_dlgnode* nodes[ZEV_MAX_NODES];
    int32_t node_count;
    zev_variable* variables[ZEV_MAX_VARIABLES];
    int32_t variable_count;
} zev_dialog;

typedef struct zev_dialog_oldformat {
    zev_hstr file_name;
    zev_hstr npc_name;
    zev_hstr description;
    zev_hstr location;
    zev_hstr unknown_desc;
    zev_hstr known_desc;
    zev_hstr detailed_desc;
    zev_dlgnode* nodes[ZEV_MAX_NODES];
    int32_t node_count;
} zev_dialog_oldformat;

typedef struct zev_skill {
    zev_hstr name;
    int32_t value;
} zev_skill;

typedef struct zev_player_char {
    zev_hstr name;
    int32_t gender; /* 1 male, 2 female */
    int32_t age;
    int32_t strength, perception, endurance, charisma, intelligence, agility, luck;
    int32_t money;
    zev_skill skills[ZEV_SKILL_COUNT];
} zev_player_char;

/* The sizes this header was written for, on 64-bit Linux. A plug-in can compare them with its own
 * sizeof() to catch a header that does not match its compiler or platform. */
#define ZEV_SIZEOF_CONDITION 48
#define ZEV_SIZEOF_SKILLCHECK 32
#define ZEV_SIZEOF_OPTION 576
#define ZEV_SIZEOF_DLGNODE 4336
#define ZEV_SIZEOF_FLOATNODE 2080
#define ZEV_SIZEOF_ACTION 8
#define ZEV_SIZEOF_TIME_EVENT_DATA 560
#define ZEV_SIZEOF_VARIABLE 40
#define ZEV_SIZEOF_COND_DATA 40
#define ZEV_SIZEOF_STARTING_CONDITION 264
#define ZEV_SIZEOF_CUSTOM_PROC 24
#define ZEV_SIZEOF_DIALOG 24672
#define ZEV_SIZEOF_DIALOG_OLDFORMAT 4168
#define ZEV_SIZEOF_PLAYER_CHAR 336

#ifdef __cplusplus
}
#endif

#endif /* ZEVDLG_RECORDS_H */
