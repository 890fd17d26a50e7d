#include "model/zev_scanner.h"

#include <iterator>

namespace zev {

namespace {

// From zevsym::eq on.
constexpr std::string_view kTerminals[] = { "==", "!=", "<", ">", ">=", "<=", "link_next", "NONE", "AND", "OR", "int",
    "=", "linkflags", "skill_check", "custom_proc", "Reaction", "REACTION_BAD", "REACTION_NEUTRAL", "REACTION_GOOD",
    "Gender", "FEMALE", "MALE", "playertext", "linkto", "conditions", "{", ",", "}", "notes", "Floatnode", "SSL",
    "var_param", "eval", "value_to_check", "ini_index", "link", "cond", "target_node", "start_conditions",
    "default_condition", ";", "associate_node", "exec_script_code", "import", "local", "export", "var", "vars",
    "define_skill_check", "skill_num", "difficulty_modifier", "onsuccess", "=>", "onfailure", "Node",
    "insert_custom_code", "NPCText", "NPCFemaleText", "options", "TimeEvent", "fixed_param_name", "enum",
    "IsRandomInterval", "True", "IntervalMin", "IntervalMax", "False", "Interval", "code", "Default_Event", "NPCName",
    "Location", "Description", "Unknown_Desc", "Known_Desc", "Detailed_Desc" };
constexpr TCommentRule kComments[] = { { "//", {} }, { "/*", "*/" } };
constexpr TStringRule kStrings[] = { { '"', '\\', true, true } };
constexpr TPragmaRule kDirectives[] = { { '#', zevsym::directive } };

static_assert(std::size(kTerminals) == zevsym::maxT - toksym::firstTerminal + 1);

const TScannerTable& Language()
{
    static const TScannerTable table(TScannerRules {
        .terminals = kTerminals,
        .noSym = zevsym::noSym,
        .letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_\xC4\xC5\xD6\xE4\xE5\xF6",
        .identifierTail = "0123456789",
        .lineEnds = "\r",
        .comments = kComments,
        .strings = kStrings,
        .pragmas = kDirectives,
        .numbers = { .enabled = true, .hexPrefix = '$', .minusTakesFraction = true, .floatSuffix = 'f' },
    });
    return table;
}

} // namespace

int ZevKeyword(std::string_view word)
{
    return Language().Keyword(word);
}

TZEVScanner::TZEVScanner()
    : TBaseScanner(Language())
{
}

} // namespace zev
