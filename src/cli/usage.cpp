#include "cli/usage.h"

#include <algorithm>

namespace zev {

namespace {

std::string OptionLabel(const CliOption& o)
{
    std::string label = o.name;
    if (o.value != CliValue::None)
        label += " " + o.valueName;
    return label;
}

// Options as an aligned two-column list.
std::string OptionList(const std::vector<CliOption>& options)
{
    std::size_t width = 0;
    for (const CliOption& o : options)
        width = std::max(width, OptionLabel(o).size());
    std::string out;
    for (const CliOption& o : options) {
        std::string label = OptionLabel(o);
        out += "  " + label + std::string(width - label.size() + 2, ' ') + o.help;
        if (o.repeatable)
            out += " (may be repeated)";
        if (o.required)
            out += " (required)";
        out += "\n";
    }
    return out;
}

const char* const kExitCodes = "Exit codes:\n"
                               "  0  success\n"
                               "  1  the input had errors (parse errors, script errors, lint findings)\n"
                               "  2  usage error, or a file that cannot be read or written\n";

} // namespace

std::string CliHelpText(const CliCommandTable& table)
{
    std::string name = kCliName;
    std::string out = "usage: " + name + " [--home DIR] [--verbose] [--log FILE] COMMAND [ARGS...]\n";
    out += "       " + name + " --version\n";
    out += "       " + name + " [COMMAND] --help\n\n";
    out += "Commands:\n";
    for (const CliCommand& c : table.Commands())
        out += "  " + c.synopsis + "\n      " + c.summary + "\n";
    out += "\nCommon options:\n";
    out += OptionList(CliCommonOptionList());
    out += "  --help      print this help, or a command's usage after the command\n";
    out += "  --version   print the version\n\n";
    out += kExitCodes;
    return out;
}

std::string CliCommandHelpText(const CliCommand& command)
{
    std::string out = "usage: " + std::string(kCliName) + " [COMMON OPTIONS] " + command.synopsis + "\n\n";
    out += command.summary + "\n";
    if (!command.options.empty())
        out += "\nOptions:\n" + OptionList(command.options);
    out += "\nCommon options:\n" + OptionList(CliCommonOptionList());
    out += "\n";
    out += kExitCodes;
    return out;
}

std::string CliUsageHint(const CliCommand* command)
{
    std::string name = kCliName;
    if (!command)
        return "Try '" + name + " --help' for more information.\n";
    return "usage: " + name + " " + command->synopsis + "\nTry '" + name + " " + command->name
        + " --help' for more information.\n";
}

} // namespace zev
