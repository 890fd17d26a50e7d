/* Compiled as C: reads records the C++ model built, through the plug-in header only. */
#include <stdio.h>
#include <string.h>

#include "zevdlg/plugin.h"

#include "c_reader.h"

static void append(char* out, size_t size, const char* text)
{
    size_t used = strlen(out);
    if (used + 1 < size)
        snprintf(out + used, size - used, "%s", text);
}

int zev_c_sizes_match(void)
{
    return sizeof(zev_dialog) == ZEV_SIZEOF_DIALOG && sizeof(zev_dlgnode) == ZEV_SIZEOF_DLGNODE
        && sizeof(zev_option) == ZEV_SIZEOF_OPTION && sizeof(zev_condition) == ZEV_SIZEOF_CONDITION
        && sizeof(zev_variable) == ZEV_SIZEOF_VARIABLE && sizeof(zev_player_char) == ZEV_SIZEOF_PLAYER_CHAR
        && sizeof(zev_dialog_oldformat) == ZEV_SIZEOF_DIALOG_OLDFORMAT;
}

/* A line per record: what a plug-in would see walking the dialogue. */
void zev_c_describe(const void* record, char* out, size_t size)
{
    const zev_dialog* d = (const zev_dialog*)record;
    char line[512];
    int n, o, c, i;
    out[0] = '\0';
    snprintf(line, sizeof line, "npc=%s(%d) loc=%s nodes=%d default=%d\n", zev_hstr_cstr(d->npc_name),
        (int)zev_hstr_len(d->npc_name), zev_hstr_cstr(d->location), (int)d->node_count, (int)d->default_condition);
    append(out, size, line);
    for (n = 0; n < d->node_count; ++n) {
        const zev_dlgnode* node = d->nodes[n];
        snprintf(line, sizeof line, "node %s hidden=%d checks=%d text=%s\n", zev_hstr_cstr(node->name), node->hidden,
            (int)node->skill_check_count, zev_hstr_cstr(node->npc_text));
        append(out, size, line);
        for (i = 0; i < node->skill_check_count; ++i) {
            const zev_skillcheck* s = node->skill_checks[i];
            snprintf(line, sizeof line, " check %s skill=%d mod=%d ok=%s fail=%s\n", zev_hstr_cstr(s->name),
                (int)s->skill, (int)s->difficulty_modifier, zev_hstr_cstr(s->on_success), zev_hstr_cstr(s->on_failure));
            append(out, size, line);
        }
        for (o = 0; o < node->option_count; ++o) {
            const zev_option* opt = node->options[o];
            snprintf(line, sizeof line, " option %s -> %s int=%d skill=%d proc=%d gender=%d conds=%d\n",
                zev_hstr_cstr(opt->text), zev_hstr_cstr(opt->link_target), (int)opt->intelligence, opt->to_skill_check,
                opt->to_custom_proc, (int)opt->gender, (int)opt->condition_count);
            append(out, size, line);
            for (c = 0; c < opt->condition_count; ++c) {
                const zev_condition* cond = opt->conditions[c];
                snprintf(line, sizeof line, "  cond type=%d subject=%d eval=%d value=%s next=%d\n",
                    (int)cond->check_type, (int)cond->subject, (int)cond->eval, zev_hstr_cstr(cond->value),
                    (int)cond->link_next);
                append(out, size, line);
            }
        }
    }
    for (i = 0; i < d->float_node_count; ++i) {
        const zev_floatnode* f = d->float_nodes[i];
        snprintf(line, sizeof line, "float %s messages=%d last=%s\n", zev_hstr_cstr(f->name), (int)f->message_count,
            f->message_count ? zev_hstr_cstr(f->messages[f->message_count - 1]) : "");
        append(out, size, line);
    }
    for (i = 0; i < d->timed_event_count; ++i) {
        const zev_time_event_data* e = d->timed_events[i];
        snprintf(line, sizeof line, "event %s enum=%d random=%d min=%d max=%d lines=%d first=%s\n",
            zev_hstr_cstr(e->fixed_param_name), (int)e->enum_value, e->is_random, (int)e->interval_min,
            (int)e->interval_max, (int)e->code_line_count, e->code_line_count ? zev_hstr_cstr(e->code[0]->line) : "");
        append(out, size, line);
    }
    for (i = 0; i < d->start_condition_count; ++i) {
        const zev_starting_condition* s = d->start_conditions[i];
        snprintf(line, sizeof line, "start %s lines=%d ssl=%s link=%d\n", zev_hstr_cstr(s->target_node),
            (int)s->line_count, s->line_count ? zev_hstr_cstr(s->lines[0]->ssl) : "",
            s->line_count ? (int)s->lines[0]->link : -1);
        append(out, size, line);
    }
    for (i = 0; i < d->custom_proc_count; ++i) {
        const zev_custom_proc* p = d->custom_procs[i];
        snprintf(line, sizeof line, "proc %s node=%d code=%d bytes\n", zev_hstr_cstr(p->name), (int)p->associate_node,
            (int)zev_hstr_len(p->code));
        append(out, size, line);
    }
    for (i = 0; i < d->variable_count; ++i) {
        const zev_variable* v = d->variables[i];
        switch (v->value.type) {
        case ZEV_VT_INT32:
            snprintf(line, sizeof line, "var %s int %d\n", zev_hstr_cstr(v->name), (int)v->value.value.i32);
            break;
        case ZEV_VT_FLOAT64:
            snprintf(line, sizeof line, "var %s float %.2f\n", zev_hstr_cstr(v->name), v->value.value.f64);
            break;
        case ZEV_VT_STRING:
            snprintf(
                line, sizeof line, "var %s string %s\n", zev_hstr_cstr(v->name), zev_hstr_cstr(v->value.value.str));
            break;
        default:
            snprintf(line, sizeof line, "var %s empty scope=%d\n", zev_hstr_cstr(v->name), (int)v->scope);
            break;
        }
        append(out, size, line);
    }
}

void zev_c_describe_old(const void* record, char* out, size_t size)
{
    const zev_dialog_oldformat* d = (const zev_dialog_oldformat*)record;
    char line[256];
    int n;
    out[0] = '\0';
    snprintf(line, sizeof line, "old %s/%s nodes=%d\n", zev_hstr_cstr(d->file_name), zev_hstr_cstr(d->detailed_desc),
        (int)d->node_count);
    append(out, size, line);
    for (n = 0; n < d->node_count; ++n) {
        snprintf(line, sizeof line, "node %s options=%d\n", zev_hstr_cstr(d->nodes[n]->name),
            (int)d->nodes[n]->option_count);
        append(out, size, line);
    }
}

void zev_c_describe_player(const void* record, char* out, size_t size)
{
    const zev_player_char* p = (const zev_player_char*)record;
    snprintf(out, size, "%s g=%d age=%d st=%d lk=%d money=%d %s=%d %s=%d", zev_hstr_cstr(p->name), (int)p->gender,
        (int)p->age, (int)p->strength, (int)p->luck, (int)p->money, zev_hstr_cstr(p->skills[0].name),
        (int)p->skills[0].value, zev_hstr_cstr(p->skills[17].name), (int)p->skills[17].value);
}
