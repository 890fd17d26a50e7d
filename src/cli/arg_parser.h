#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/command_table.h"

namespace zev {

// What the command line asks for.
struct CliInvocation {
    enum class Action {
        Run, // run `command` with `args`
        Help, // the tool's help, or the command's when `command` is set
        Version, // --version
        NoArguments, // nothing given: usage on stderr
        UsageError, // `error` says what is wrong; `command` is set when it was named
    };
    Action action = Action::NoArguments;
    CliCommonOptions common;
    const CliCommand* command = nullptr;
    CliCommandArgs args;
    std::string error;
};

// Parses the arguments after the program name. Common options may stand before or after the
// command; "--name=value" and "--name value" are both accepted; "--" ends the options.
CliInvocation ParseCliArguments(const CliCommandTable& table, const std::vector<std::string>& args);

// Checks a value against its kind (and a number against the option's range); returns the
// complaint, empty when fine. The numbers read are appended to numbers when given.
std::string CheckCliValue(const CliOption& option, const std::string& value, std::vector<int64_t>* numbers = nullptr);

} // namespace zev
