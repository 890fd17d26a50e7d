#include "cli/command_table.h"

#include "cli/cmd_dialogue_file.h"
#include "cli/cmd_play.h"
#include "cli/cmd_plugins.h"
#include "cli/cmd_script.h"
#include "model/records.h"

#include <stdexcept>

namespace zev {

bool CliCommandArgs::Has(std::string_view option) const
{
    return options.find(option) != options.end();
}

std::string CliCommandArgs::Value(std::string_view option, std::string_view fallback) const
{
    auto it = options.find(option);
    if (it == options.end() || it->second.empty())
        return std::string(fallback);
    return it->second.back();
}

std::vector<std::string> CliCommandArgs::Values(std::string_view option) const
{
    auto it = options.find(option);
    return it == options.end() ? std::vector<std::string> {} : it->second;
}

std::vector<int64_t> CliCommandArgs::Numbers(std::string_view option) const
{
    auto it = numbers.find(option);
    return it == numbers.end() ? std::vector<int64_t> {} : it->second;
}

const CliOption* CliCommand::FindOption(std::string_view name) const
{
    for (const CliOption& o : options)
        if (o.name == name)
            return &o;
    return nullptr;
}

void CliCommandTable::Add(CliCommand command)
{
    if (Find(command.name))
        throw std::logic_error("command registered twice: " + command.name);
    m_commands.push_back(std::move(command));
}

const CliCommand* CliCommandTable::Find(std::string_view name) const
{
    for (const CliCommand& c : m_commands)
        if (c.name == name)
            return &c;
    return nullptr;
}

bool CliCommandTable::SetHandler(std::string_view name, CliHandler handler)
{
    for (CliCommand& c : m_commands)
        if (c.name == name) {
            c.handler = std::move(handler);
            return true;
        }
    return false;
}

const std::vector<CliOption>& CliCommonOptionList()
{
    static const std::vector<CliOption> kCommon {
        { "--home", CliValue::Path, "DIR", false, false,
            "the program folder (default: $ZEVDLG_HOME, else the executable's folder)" },
        { "--verbose", CliValue::None, "", false, false, "copy the log to stderr" },
        { "--log", CliValue::Path, "FILE", false, false, "write the log to FILE (without it no log file is written)" },
    };
    return kCommon;
}

namespace {

CliOption Flag(std::string name, std::string help)
{
    return { std::move(name), CliValue::None, "", false, false, std::move(help) };
}

CliOption Valued(std::string name, CliValue value, std::string valueName, std::string help, bool repeatable = false)
{
    return { std::move(name), value, std::move(valueName), repeatable, false, std::move(help) };
}

CliOption Number(std::string name, CliValue value, std::string valueName, std::string help, int64_t min, int64_t max)
{
    CliOption o = Valued(std::move(name), value, std::move(valueName), std::move(help));
    o.min = min;
    o.max = max;
    return o;
}

// A script's time limit, in whole seconds (a day at most).
CliOption Timeout()
{
    return Number("--timeout", CliValue::Integer, "SECONDS", "stop the script after SECONDS seconds", 1, 86400);
}

const CliOption kDialogue { "--dialogue", CliValue::Path, "FILE", false, false, "load this dialogue file first" };
const CliOption kSave { "--save", CliValue::Path, "FILE", false, false,
    "write the dialogue to FILE after the command" };
const CliOption kAllowScripts { "--allow-scripts", CliValue::None, "", false, false,
    "run the script sections embedded in dialogue files" };

} // namespace

CliCommandTable BuiltinCommands()
{
    CliCommandTable t;
    t.Add({ "check", "check [--listing] FILE",
        "read a dialogue file and print its parse errors as FILE:LINE:COL: MESSAGE",
        { Flag("--listing", "print the parser's listing instead of the error lines") }, { "FILE" }, {} });
    t.Add({ "format", "format [--allow-scripts] FILE",
        "read a dialogue file and write it to stdout as the writer writes it", { kAllowScripts }, { "FILE" }, {} });
    t.Add({ "lint", "lint FILE", "report what will break in the game or in a test run, one line per finding", {},
        { "FILE" }, {} });
    t.Add({ "run-script",
        "run-script [--dialogue FILE] [--save FILE] [--allow-scripts] [--answer A]... [--timeout SECONDS] SCRIPT",
        "run a script file with the host unit attached; its output goes to stdout",
        { kDialogue, kSave, kAllowScripts,
            Valued("--answer", CliValue::Text, "A",
                "answer the next dialog box: yes, no, cancel, ok, or a text for input boxes", true),
            Timeout() },
        { "SCRIPT" }, {} });
    t.Add({ "exec", "exec [--dialogue FILE] [--save FILE] [--timeout SECONDS] LINE", "run one script console line",
        { kDialogue, kSave, Timeout() }, { "LINE" }, {} });
    CliOption start = Valued("--start", CliValue::Text, "NODE", "the node the run starts at");
    start.required = true;
    t.Add({ "play", "play FILE --start NODE [--choose I,J,...] [--seed N] [--female] [--name NAME]",
        "play a dialogue as the test run does and print the transcript",
        { start,
            Number("--choose", CliValue::IntegerList, "I,J,...", "choose the options with these Index values, in order",
                0, kMaxOptions - 1),
            Number("--seed", CliValue::Integer, "N", "seed the random generator", std::numeric_limits<int64_t>::min(),
                std::numeric_limits<int64_t>::max()),
            Flag("--female", "play with a female player character"),
            Valued("--name", CliValue::Text, "NAME", "the player character's name") },
        { "FILE" }, {} });
    t.Add({ "plugins", "plugins", "list the plug-ins of the program folder", {}, {}, {} });
    t.Add({ "run-plugin", "run-plugin [--dialogue FILE] [--save FILE] PATH",
        "load the plug-in library at PATH and run it as its menu entry does", { kDialogue, kSave }, { "PATH" }, {} });
    RegisterDialogueFileCommands(t);
    RegisterPlayCommand(t);
    RegisterScriptCommands(t);
    RegisterPluginCommands(t);
    return t;
}

} // namespace zev
